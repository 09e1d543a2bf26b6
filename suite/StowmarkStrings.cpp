#include "suite/SuiteStrings.h"

namespace tolmar::suite {
namespace {

// Built-in Chinese texts of {'Pictorium': 'the image viewer', 'Reporter': 'the report writer',
// 'Stowmark': 'the archive manager'}, by number: messages and strings below 32768, command captions
// from 32768, the application name at 57344. New texts are added here in number order.
constexpr StringTable::Entry kEntries[] = {
    {104, "Windows 通信端口初始化失败。"},
    {140, "命令应答超时，请检查Relayhouse，是否继续等待？"},
    {160, "（严重错误！）没有找到PATIENT LIST设备！系统配置错误！"},
    {175, "病人信息被修改，是否保存？"},
    {177, "下一步：请选择一查询项目开始定义新公式。"},
    {178, "下一步：请选择一关系运算符。"},
    {179, "下一步：请输入值结束公式，或选择逻辑符。"},
    {180, "表达式非法！该表达式无效！"},
    {194, "建立进程失败！检查程序是否存在？"},
    {219, "您确认要删除所选数据吗？"},
    {237, "查看"},
    {251, "大图标(&G)"},
    {257, "建立临时文件失败！"},
    {283, "OLE 程序初始化失败。请确认 OLE 库程序是正确的版本。"},
    {285, "COM调用错误！\r\n错误码：%ld\r\n详细内容：%s"},
    {286, "Relayhouse COM对象建立失败！"},
    {312, "光盘刻录软件启动失败！"},
    {313, "启动维护模块失败，请检查程序是否存在？\r\n文件名：%s"},
    {319, "正在读取HIS病人信息，请稍候..."},
    {320, "HIS信息控件(GetInfo)建立失败！检查是否安装或注册信息是否正确！"},
    {322, "RIS信息COM对象建立失败！检查是否安装或注册信息是否正确！"},
    {325, "所做配置修改在下次运行软件时生效！"},
    {348, "系统参数配置"},
    {350, "Casebook COM 对象建立失败！"},
    {360, "    您没有输入任何条件，将查询所有记录，如果记录较多，所需时间较长，您确认继续查询吗？"},
    {363, "您确认要清除光盘“%s”--“%s”的图像吗？"},
    {364, "您确认要清除光盘“%s”中的图像吗？"},
    {366,
     "是否重新从设备中查询病人信息？\r\n<是>：重新查询，所需时间较长。\r\n<否>"
     "：不重新查询设备，取上次查询缓存信息"},
    {32776, "刷新"},
    {32778, "后退"},
    {32779, "前进"},
    {32780, "向上"},
    {32785, "条件查询(&Q)..."},
    {32786, "图像"},
    {32790, "系统维护(&C)..."},
    {32799, "报告"},
    {32801, "读取RIS病人信息(R)"},
    {32803, "取消条件(&E)"},
    {32805, "图像扫描"},
    {32806, "视频采集"},
    {32807, "统计分析"},
    {32816, "光盘刻录(&W)"},
    {32817, "读取HIS病人信息(&H)"},
    {32825, "展开下级(&E)"},
    {57344, "Stowmark"},
};

}  // namespace

StringTable& StowmarkStrings() {
  static StringTable table(kEntries);
  return table;
}

}  // namespace tolmar::suite
