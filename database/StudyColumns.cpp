#include "database/StudyColumns.h"

#include <array>

#include "database/DbConnection.h"

namespace tolmar::db {
namespace {

constexpr StudyColumn Pat(int id, const char* name, const char* title, int length, bool listed = false) {
  return {id, name, title, false, length, listed, true};
}
constexpr StudyColumn Stu(int id, const char* name, const char* title, int length, bool listed = false) {
  return {id, name, title, false, length, listed, false};
}
constexpr StudyColumn Num(int id, const char* name, const char* title, bool patient, bool listed = false) {
  return {id, name, title, true, 0, listed, patient};
}

constexpr std::array kColumns = {
    Num(1, "F_PAT_ID", "病人序号", true),
    Num(2, "F_DEV_ID", "设备号", false),
    Pat(3, "F_PAT_NO", "病人编号", 64, true),
    Pat(4, "F_PAT_NAME", "病人姓名", 32, true),
    Stu(5, "F_STU_NO", "检查号", 32, true),
    Pat(6, "F_SEX", "性别", 1, true),
    Pat(7, "F_PAT_BIRTH", "出生日期", 50, true),
    Pat(8, "F_PAT_SPARE1", "病人备注1", 50),
    Pat(9, "F_PAT_SPARE2", "病人备注2", 50),
    Pat(10, "F_PAT_SPARE3", "病人备注3", 50),
    Pat(11, "F_PAT_SPARE4", "病人备注4", 50),
    Pat(12, "F_PAT_SPARE5", "病人备注5", 20),
    Pat(13, "F_PAT_SPARE6", "病人备注6", 20),
    Pat(14, "F_PAT_SPARE7", "病人备注7", 20),
    Pat(15, "F_PAT_SPARE8", "病人备注8", 20),
    Pat(16, "F_PAT_SPARE9", "病人备注9", 20),
    Num(20, "F_STU_ID", "检查序号", false),
    Stu(21, "F_STU_UID", "检查UID", 64),
    Stu(22, "F_REQ_NO", "申请单号", 20, true),
    Stu(23, "F_PAT_AGE", "年龄", 4, true),
    Stu(24, "F_STU_DATE", "检查日期", 10, true),
    Stu(25, "F_STU_PLACE", "检查部位", 20, true),
    Stu(26, "F_STU_DESCRIB", "检查描述", 100, true),
    Stu(27, "F_STU_SPARE1", "检查备注1", 20),
    Stu(28, "F_STU_SPARE2", "检查备注2", 40),
    Stu(29, "F_STU_SPARE3", "检查备注3", 20),
    Stu(30, "F_STU_SPARE4", "检查备注4", 20),
    Stu(31, "F_STU_SPARE5", "检查备注5", 20),
    Stu(32, "F_STU_SPARE6", "检查备注6", 20),
    Stu(33, "F_STU_SPARE7", "检查备注7", 20),
    Stu(34, "F_STU_SPARE8", "检查备注8", 20),
    Stu(35, "F_STU_SPARE9", "传输时间", 20, true),
    Stu(36, "F_STU_SPARE10", "检查备注10", 20),
    Stu(37, "F_STU_SPARE11", "检查备注11", 20),
    Stu(38, "F_STU_SPARE12", "检查备注12", 50),
    Stu(39, "F_STU_SPARE13", "检查备注13", 50),
    Stu(40, "F_STU_SPARE14", "检查备注14", 50),
    Stu(41, "F_STU_SPARE15", "检查备注15", 50),
    Stu(42, "F_STU_SPARE16", "检查备注16", 50),
    Stu(43, "F_CD_NO", "光盘号", 32, true),
    Stu(44, "F_CD_DATE", "刻盘日期", 10),
    Stu(56, "F_MODALITY", "设备类型", 10, true),
    Stu(93, "F_RPT_UID", "报告UID", 64),
    Num(131, "F_SER_COUNT", "序列数", false, true),
    Num(132, "F_IMG_COUNT", "图像数", false, true),
    Num(133, "F_STU_FLAG", "检查标志", false),
    Num(134, "F_STU_PERCENT", "完成进度", false),
    Stu(150, "F_REF_DOCTOR", "申请医生", 32, true),
};

}  // namespace

std::span<const StudyColumn> StudyColumns() { return kColumns; }

const StudyColumn* FindStudyColumn(int columnId) {
  for (const auto& column : kColumns) {
    if (column.columnId == columnId) return &column;
  }
  return nullptr;
}

bool ReadStudyRecords(DbConnection& db, const QString& filter, const QString& sort,
                      std::vector<STUDY_RECORD>& records) {
  QStringList names;
  for (const auto& column : kColumns) names << QString::fromLatin1(column.name);
  QString sql = QStringLiteral("SELECT %1 FROM V_STUDY").arg(names.join(u','));
  if (!filter.trimmed().isEmpty()) sql += QStringLiteral(" WHERE ") + filter;
  if (!sort.trimmed().isEmpty()) sql += QStringLiteral(" ORDER BY ") + sort;
  std::vector<SqlRow> rows;
  if (!db.Select(sql, {}, rows)) return false;
  for (const auto& row : rows) {
    STUDY_RECORD record;
    for (size_t i = 0; i < kColumns.size() && static_cast<qsizetype>(i) < row.size(); ++i) {
      const QVariant& value = row[static_cast<qsizetype>(i)];
      if (value.isNull()) continue;
      record.SetColumn(kColumns[i].columnId, value.toString().toUtf8().toStdString());
    }
    records.push_back(record);
  }
  return true;
}

}  // namespace tolmar::db
