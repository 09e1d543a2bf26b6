#include "database/DatabaseSchema.h"

#include <memory>

#include "database/CTableColCfg.h"
#include "database/CTableDevParam.h"
#include "database/CTableDevice.h"
#include "database/CTableImage.h"
#include "database/CTableImgGroup.h"
#include "database/CTablePatient.h"
#include "database/CTablePrintQueue.h"
#include "database/CTableQuickReport.h"
#include "database/CTableReport.h"
#include "database/CTableRptFormat.h"
#include "database/CTableRptPlaceName.h"
#include "database/CTableRptTabCond.h"
#include "database/CTableRptTabDef.h"
#include "database/CTableRptTemplDict.h"
#include "database/CTableRptTermDict.h"
#include "database/CTableSeries.h"
#include "database/CTableStudy.h"
#include "database/CTableUniqueID.h"
#include "database/CTableUser.h"
#include "database/DbConnection.h"
#include "database/StudyColumns.h"

namespace tolmar::db {
namespace {

template <typename Table>
TableSchema Describe() {
  Table table;
  return {table.TableName(), table.Columns(), table.KeyColumns()};
}

// Column layouts of the archive manager's lists that the study columns seed, by
// table number (information modes: standard patient, enhanced patient, study).
constexpr int kStudyTableNumbers[] = {1, 100, 101};
constexpr int kListedFlag = 0x1 | 0x800 | 0x1000;
constexpr int kPresentFlag = 0x1;

struct IndexSchema {
  const char* name;
  const char* table;
  const char* columns;
  bool unique;
};

constexpr IndexSchema kIndexes[] = {
    {"I_PATIENT_NO", "T_PATIENT", "F_DEV_ID,F_PAT_NO", false},
    {"I_STUDY_UID", "T_STUDY", "F_DEV_ID,F_STU_UID", true},
    {"I_STUDY_PATIENT", "T_STUDY", "F_PAT_ID", false},
    {"I_SERIES_UID", "T_SERIES", "F_STU_ID,F_SER_UID", true},
    {"I_IMAGE_UID", "T_IMAGE", "F_SER_ID,F_SOP_UID", true},
    {"I_REPORT_STUDY", "T_REPORT", "F_STU_ID", false},
    {"I_DEV_PARAM", "T_DEV_PARAM", "F_DEV_ID,F_PARAM_NAME", false},
};

QString StudyViewSelect() {
  QStringList columns;
  for (const auto& column : StudyColumns()) {
    const QString name = QString::fromLatin1(column.name);
    columns << (column.fromPatient ? QStringLiteral("p.") : QStringLiteral("s.")) + name;
  }
  return QStringLiteral("SELECT %1 FROM T_STUDY s JOIN T_PATIENT p ON p.F_PAT_ID=s.F_PAT_ID")
      .arg(columns.join(u','));
}

bool SeedColumnConfiguration(DbConnection& db) {
  QVariant count;
  if (!db.SelectValue(QStringLiteral("SELECT COUNT(*) FROM T_COL_CFG WHERE F_DEV_ID=0"), {}, count)) {
    return false;
  }
  if (count.toLongLong() > 0) return true;  // the installation's own layout stays
  if (!db.BeginTransaction()) return false;
  const QString insert = QStringLiteral(
      "INSERT INTO T_COL_CFG (F_DEV_ID,F_TAB_ID,F_COL_ID,F_COL_NAME,F_COL_TITLE,F_COL_TYPE,F_COL_LEN,"
      "F_COL_FORMAT,F_COL_INDEX,F_COL_WIDTH,F_COL_FLAG) VALUES (0,?,?,?,?,?,?,0,?,?,?)");
  for (int table : kStudyTableNumbers) {
    int index = 0;
    for (const auto& column : StudyColumns()) {
      const QVariantList params{table,
                                column.columnId,
                                QString::fromLatin1(column.name),
                                QString::fromUtf8(column.title),
                                column.isInteger ? QStringLiteral("INTEGER") : QStringLiteral("VARCHAR"),
                                column.isInteger ? 4 : column.length,
                                index++,
                                column.isInteger ? 60 : 100,
                                column.listed ? kListedFlag : kPresentFlag};
      if (!db.ExecuteSQL(insert, params)) {
        const QString reason = db.LastError();
        db.RollbackTransaction();
        db.SetLastError(reason);
        return false;
      }
    }
  }
  return db.CommitTransaction();
}

}  // namespace

std::vector<TableSchema> SchemaTables() {
  return {Describe<CTableUniqueID>(),    Describe<CTableDevice>(),       Describe<CTableDevParam>(),
          Describe<CTableUser>(),        Describe<CTableRptFormat>(),    Describe<CTableReport>(),
          Describe<CTableRptTemplDict>(), Describe<CTableRptTermDict>(), Describe<CTableRptPlaceName>(),
          Describe<CTableRptTabDef>(),   Describe<CTableRptTabCond>(),   Describe<CTableQuickReport>(),
          Describe<CTableImgGroup>(),    Describe<CTableColCfg>(),       Describe<CTablePrintQueue>(),
          Describe<CTablePatient>(),     Describe<CTableStudy>(),        Describe<CTableSeries>(),
          Describe<CTableImage>()};
}

std::vector<ViewSchema> SchemaViews() {
  QStringList memoAndSpares;
  for (int i = 1; i <= 5; ++i) memoAndSpares << QStringLiteral("r.F_MEMO_SPARE%1").arg(i);
  for (int i = 1; i <= 10; ++i) memoAndSpares << QStringLiteral("r.F_RPT_SPARE%1").arg(i);
  return {
      {QStringLiteral("V_RPT_TEMPL_DICT"),
       QStringLiteral("SELECT COALESCE(p.F_MODALITY_ID,0) AS F_MODALITY_ID,d.F_TEMPL_ID,d.F_TEMPL_NAME,"
                      "d.F_USER_ID,d.F_PLACE_ID,d.F_RPT_ID,%1,d.F_DICT_ORDER "
                      "FROM T_RPT_TEMPL_DICT d LEFT JOIN T_REPORT r ON r.F_RPT_ID=d.F_RPT_ID "
                      "LEFT JOIN T_RPT_PLACE_NAME p ON p.F_PLACE_ID=d.F_PLACE_ID")
           .arg(memoAndSpares.join(u','))},
      {QStringLiteral("V_RPT_TAB_DEF"),
       QStringLiteral("SELECT F_MAIN_TAB_ID,F_TAB_ID,F_TAB_NAME,F_TAB_TITLE,F_COL_NAME_ID,"
                      "F_COL_NAME_CONTENT,F_COL_LEN_CONTENT,F_COL_FLAG,F_COL_NAME_ORDER FROM T_RPT_TAB_DEF")},
      {QStringLiteral("V_RPT_TAB_COND"),
       QStringLiteral("SELECT c.F_CON_TAB_ID,d.F_TAB_ID,d.F_TAB_NAME,d.F_TAB_TITLE,d.F_COL_NAME_ID,"
                      "d.F_COL_NAME_CONTENT,d.F_COL_LEN_CONTENT,d.F_COL_NAME_ORDER "
                      "FROM T_RPT_TAB_COND c JOIN T_RPT_TAB_DEF d ON d.F_TAB_ID=c.F_TAB_ID")},
      {QStringLiteral("V_COL_CFG"),
       QStringLiteral("SELECT F_DEV_ID,F_TAB_ID,F_COL_ID,F_COL_NAME,F_COL_TITLE,F_COL_TYPE,F_COL_LEN,"
                      "F_COL_FORMAT,F_COL_INDEX,F_COL_WIDTH,F_COL_FLAG FROM T_COL_CFG")},
      {QStringLiteral("V_STUDY"), StudyViewSelect()},
  };
}

QStringList SchemaStatements(const SqlDialect& dialect) {
  QStringList statements;
  for (const auto& table : SchemaTables()) {
    QStringList parts;
    for (const auto& column : table.columns) {
      // Text columns are all as wide as a bound text may be; the widths the programs
      // name are what they produce, not what the engine should refuse.
      parts << SqlDialect::QuoteIdentifier(column.name) + u' ' +
                   dialect.ColumnType(column.type, kTextBindLength);
    }
    QStringList key;
    for (const auto& name : table.primaryKey) key << SqlDialect::QuoteIdentifier(name);
    if (!key.isEmpty()) parts << QStringLiteral("PRIMARY KEY (%1)").arg(key.join(u','));
    statements << QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
                      .arg(SqlDialect::QuoteIdentifier(table.name), parts.join(u','));
  }
  for (const auto& index : kIndexes) {
    statements << dialect.Translate(
        QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
            .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(), QString::fromLatin1(index.name),
                 QString::fromLatin1(index.table), QString::fromLatin1(index.columns)));
  }
  for (const auto& view : SchemaViews()) {
    statements << dialect.CreateViewPrefix() + SqlDialect::QuoteIdentifier(view.name) +
                      QStringLiteral(" AS ") + dialect.Translate(view.select);
  }
  return statements;
}

bool CreateSchema(DbConnection& db) {
  // One transaction: a half-made schema never stays behind, and SQLite writes once.
  if (!db.BeginTransaction()) return false;
  for (const QString& statement : SchemaStatements(db.Dialect())) {
    if (!db.ExecuteSQL(statement)) {
      const QString reason = db.LastError();
      db.RollbackTransaction();
      db.SetLastError(reason);
      return false;
    }
  }
  if (!SeedColumnConfiguration(db)) {
    const QString reason = db.LastError();
    db.RollbackTransaction();
    db.SetLastError(reason);
    return false;
  }
  return db.CommitTransaction();
}

}  // namespace tolmar::db
