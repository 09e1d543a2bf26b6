#include "suite/SuiteStrings.h"

namespace tolmar::suite {
namespace {

// Built-in Chinese texts of {'Pictorium': 'the image viewer', 'Reporter': 'the report writer',
// 'Stowmark': 'the archive manager'}, by number: messages and strings below 32768, command captions
// from 32768, the application name at 57344. New texts are added here in number order.
constexpr StringTable::Entry kEntries[] = {
    {138, "该项已经使用，不能删除，请先删除其关联项！"},
    {142, "您确认要删除该模板吗？"},
    {144, "报告模板"},
    {145, "是否清空现有信息？"},
    {153, "对不起，您没有权限进行此项操作！"},
    {155, "视频采集控件“Vidrake”建立失败！"},
    {157, "模板协议编号已经存在！"},
    {159, "请先打印报告单！"},
    {189, "COM调用错误！\r\n错误码：%ld\r\n详细内容：%s"},
    {190, "Pictorium COM对象建立失败，请重新安装系统！"},
    {57344, "Reporter"},
};

}  // namespace

StringTable& ReporterStrings() {
  static StringTable table(kEntries);
  return table;
}

}  // namespace tolmar::suite
