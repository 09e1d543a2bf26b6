// Recordsets of every table and view class on both engines.
#include <functional>

#include "EngineFixture.h"
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
#include "database/CViewColCfg.h"
#include "database/CViewRptTabCond.h"
#include "database/CViewRptTabDef.h"
#include "database/CViewRptTemplDict.h"
#include "database/StudyRecord.h"
#include "database/UniqueIdAllocator.h"

namespace tolmar::db::test {
namespace {

using Factory = std::function<std::unique_ptr<CQVRecordset>(DbConnection*)>;

struct TableCase {
  const char* name;
  Factory make;
  int columns;
};

template <typename T>
Factory Make() {
  return [](DbConnection* db) { return std::make_unique<T>(db); };
}

// Every class that binds a table, with its column count.
const TableCase kTables[] = {
    {"Report", Make<CTableReport>(), 25},           {"RptFormat", Make<CTableRptFormat>(), 4},
    {"RptTemplDict", Make<CTableRptTemplDict>(), 6}, {"RptTermDict", Make<CTableRptTermDict>(), 3},
    {"RptPlaceName", Make<CTableRptPlaceName>(), 4}, {"Device", Make<CTableDevice>(), 5},
    {"DevParam", Make<CTableDevParam>(), 5},         {"UniqueID", Make<CTableUniqueID>(), 3},
    {"QuickReport", Make<CTableQuickReport>(), 13},  {"ImgGroup", Make<CTableImgGroup>(), 3},
    {"User", Make<CTableUser>(), 7},                 {"ColCfg", Make<CTableColCfg>(), 11},
    {"RptTabDef", Make<CTableRptTabDef>(), 9},       {"RptTabCond", Make<CTableRptTabCond>(), 2},
    {"PrintQueue", Make<CTablePrintQueue>(), 5},     {"Patient", Make<CTablePatient>(), 15},
    {"Study", Make<CTableStudy>(), 35},              {"Series", Make<CTableSeries>(), 8},
    {"Image", Make<CTableImage>(), 8},
};

// Values that a careless layer breaks: quotes, per-cent signs, Chinese text.
QString TrickyText(int salt) {
  return QStringLiteral("O'Brien 100% 张伟 ") + QString::number(salt);
}

// A row of values for a class's columns: numbers from `seed`, texts with quotes,
// per-cent signs and Chinese, a long memo.
QVariantList MakeRow(const std::vector<ColumnDef>& columns, int seed) {
  QVariantList row;
  int n = 0;
  for (const auto& column : columns) {
    ++n;
    switch (column.type) {
      case FieldType::Long: row << seed * 100 + n; break;
      case FieldType::Int: row << (seed * 10 + n) % 30000; break;
      case FieldType::Double: row << seed + 0.25 * n; break;
      case FieldType::Text: row << TrickyText(seed * 100 + n).left(column.width > 30 ? 255 : 30); break;
      case FieldType::Memo: row << QString(3000, QChar(u'报')) + TrickyText(seed); break;
    }
  }
  return row;
}

void LoadInto(CQVRecordset& rs, const QVariantList& row) {
  CFieldExchange fx(CFieldExchange::Operation::Load, &row);
  rs.DoFieldExchange(fx);
}

QVariantList StoreFrom(CQVRecordset& rs) {
  CFieldExchange fx(CFieldExchange::Operation::Store);
  rs.DoFieldExchange(fx);
  return fx.StoredValues();
}

// Compares values through the members' own types (a double read back as text, an
// integer as a long, and so on).
void ExpectSameRow(CQVRecordset& rs, const QVariantList& expected) {
  const auto columns = rs.Columns();
  const QVariantList actual = StoreFrom(rs);
  ASSERT_EQ(actual.size(), expected.size());
  for (qsizetype i = 0; i < actual.size(); ++i) {
    const auto& column = columns[static_cast<size_t>(i)];
    if (column.type == FieldType::Double) {
      EXPECT_DOUBLE_EQ(actual[i].toDouble(), expected[i].toDouble()) << column.name.toStdString();
    } else {
      EXPECT_EQ(actual[i].toString(), expected[i].toString()) << column.name.toStdString();
    }
  }
}

// A filter that finds the row by its key values, with texts escaped as literals.
QString KeyFilter(CQVRecordset& rs, const QVariantList& row) {
  const auto columns = rs.Columns();
  QStringList parts;
  for (const QString& key : rs.KeyColumns()) {
    for (size_t i = 0; i < columns.size(); ++i) {
      if (columns[i].name != key) continue;
      const QVariant& value = row[static_cast<qsizetype>(i)];
      const bool text = columns[i].type == FieldType::Text || columns[i].type == FieldType::Memo;
      parts << key + QStringLiteral("=") + (text ? SqlDialect::Literal(value.toString()) : value.toString());
    }
  }
  return parts.join(QStringLiteral(" AND "));
}

class TableClasses : public EngineFixtureBase<std::tuple<Engine, TableCase>> {
 protected:
  Engine CurrentEngine() const override { return std::get<0>(GetParam()); }
  const TableCase& Case() const { return std::get<1>(GetParam()); }
};

TEST_P(TableClasses, AddReadEditDeleteRoundTripsEveryColumn) {
  auto rs = Case().make(m_db.get());
  EXPECT_EQ(rs->m_nFields, Case().columns);
  EXPECT_EQ(static_cast<int>(rs->Columns().size()), Case().columns);
  EXPECT_EQ(rs->GetDefaultConnect(), QStringLiteral("ODBC;DSN=TolmarPacs"));
  EXPECT_EQ(rs->GetDefaultSQL(), u'[' + rs->TableName() + u']');

  ASSERT_TRUE(rs->Open()) << rs->LastError().toStdString();
  const long rowsBefore = rs->GetRecordCount();
  rs->Close();

  // Create: open with no rows, add, update.
  rs->m_strFilter = QStringLiteral("1=0");
  ASSERT_TRUE(rs->Open()) << rs->LastError().toStdString();
  EXPECT_TRUE(rs->IsEOF());
  const QVariantList first = MakeRow(rs->Columns(), 1);
  const QVariantList second = MakeRow(rs->Columns(), 2);
  for (const auto& row : {first, second}) {
    ASSERT_TRUE(rs->AddNew());
    LoadInto(*rs, row);
    ASSERT_TRUE(rs->Update()) << rs->LastError().toStdString();
  }
  rs->Close();

  // Read it back by its key.
  rs->m_strFilter = KeyFilter(*rs, first);
  ASSERT_TRUE(rs->Open()) << rs->LastError().toStdString();
  ASSERT_FALSE(rs->IsEOF());
  ExpectSameRow(*rs, first);
  EXPECT_EQ(rs->GetRecordCount(), 1);

  // Edit every column but the key ones, then find the changed row again.
  QVariantList edited = MakeRow(rs->Columns(), 3);
  const auto columns = rs->Columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    if (rs->KeyColumns().contains(columns[i].name)) edited[static_cast<qsizetype>(i)] = first[static_cast<qsizetype>(i)];
  }
  ASSERT_TRUE(rs->Edit());
  LoadInto(*rs, edited);
  ASSERT_TRUE(rs->Update()) << rs->LastError().toStdString();
  ASSERT_TRUE(rs->Requery());
  ASSERT_FALSE(rs->IsEOF());
  ExpectSameRow(*rs, edited);

  // Delete it; the other row stays.
  ASSERT_TRUE(rs->Delete()) << rs->LastError().toStdString();
  ASSERT_TRUE(rs->Requery());
  EXPECT_TRUE(rs->IsEOF());
  rs->m_strFilter.clear();
  ASSERT_TRUE(rs->Requery());
  EXPECT_EQ(rs->GetRecordCount(), rowsBefore + 1);
  rs->Close();
}

INSTANTIATE_TEST_SUITE_P(
    Classes, TableClasses,
    ::testing::Combine(::testing::Values(Engine::Sqlite, Engine::Postgres), ::testing::ValuesIn(kTables)),
    [](const auto& info) {
      return EngineName(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name;
    });

class Recordsets : public EngineTest {};

TEST_P(Recordsets, FilterMatchingNothingIsAtEndAtOnce) {
  CTableReport reports(m_db.get());
  reports.m_strFilter = QStringLiteral("F_RPT_ID=%1").arg(12345);
  ASSERT_TRUE(reports.Open());
  EXPECT_TRUE(reports.IsEOF());
  EXPECT_TRUE(reports.IsBOF());
  EXPECT_FALSE(reports.Edit());
  EXPECT_FALSE(reports.Delete());
  reports.MoveNext();  // harmless at the end
  EXPECT_TRUE(reports.IsEOF());
}

TEST_P(Recordsets, QuotedNameInAFilterFindsThePatient) {
  int id = 0;
  for (const QString& name : {QStringLiteral("O'Brien"), QStringLiteral("OBrien"), QStringLiteral("张'伟")}) {
    ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("INSERT INTO T_USER (F_USER_ID,F_USER_NAME) VALUES (?,?)"),
                                 {++id, name}));
  }
  CTableUser users(m_db.get());
  users.m_strFilter = QStringLiteral("F_USER_NAME=") + SqlDialect::Literal(QStringLiteral("O'Brien"));
  ASSERT_TRUE(users.Open()) << users.LastError().toStdString();
  ASSERT_EQ(users.GetRecordCount(), 1);
  EXPECT_EQ(users.m_F_USER_NAME, QStringLiteral("O'Brien"));
  users.m_strFilter = QStringLiteral("F_USER_NAME LIKE '%") + SqlDialect::LikePattern(QStringLiteral("'伟")).replace(u'\'', QStringLiteral("''")) +
                      QStringLiteral("%'") + SqlDialect::LikeEscapeClause();
  ASSERT_TRUE(users.Requery()) << users.LastError().toStdString();
  ASSERT_EQ(users.GetRecordCount(), 1);
  EXPECT_EQ(users.m_F_USER_NAME, QStringLiteral("张'伟"));
}

TEST_P(Recordsets, PerCentInAPatternIsTakenLiterally) {
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("INSERT INTO T_USER (F_USER_ID,F_USER_NAME) VALUES (1,'100%'),(2,'1000')")));
  CTableUser users(m_db.get());
  users.m_strFilter = QStringLiteral("F_USER_NAME LIKE '") + SqlDialect::LikePattern(QStringLiteral("100%")) +
                      QStringLiteral("%'") + SqlDialect::LikeEscapeClause();
  ASSERT_TRUE(users.Open()) << users.LastError().toStdString();
  ASSERT_EQ(users.GetRecordCount(), 1);
  EXPECT_EQ(users.m_F_USER_ID, 1);
}

TEST_P(Recordsets, BrokenFilterIsAnErrorNotACrash) {
  CTableUser users(m_db.get());
  users.m_strFilter = QStringLiteral("F_USER_NAME='unclosed");
  EXPECT_FALSE(users.Open());
  EXPECT_FALSE(users.LastError().isEmpty());
  EXPECT_FALSE(users.IsOpen());
  // SQLite reads an unknown double-quoted name as a text, so only the server can
  // tell an unknown column.
  if (GetParam() == Engine::Postgres) {
    users.m_strFilter = QStringLiteral("F_NO_SUCH_COLUMN=1");
    EXPECT_FALSE(users.Open());
  }
}

TEST_P(Recordsets, RequeryWithAnotherFilterReadsTheNextParameter) {
  const char* names[] = {"ImageFormat", "Image path", "File Prefix"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("INSERT INTO T_DEV_PARAM (F_PARAM_ID,F_DEV_ID,F_PARAM_FLAG,F_PARAM_NAME,F_PARAM_VALUE) VALUES (?,17,0,?,?)"),
                                 {i + 1, QString::fromLatin1(names[i]), QStringLiteral("value %1").arg(i)}));
  }
  CTableDevParam params(m_db.get());
  params.m_strFilter = QStringLiteral("F_DEV_ID=17 AND F_PARAM_NAME=") + SqlDialect::Literal(QString::fromLatin1(names[0]));
  ASSERT_TRUE(params.Open());
  for (int i = 0; i < 3; ++i) {
    params.m_strFilter = QStringLiteral("F_DEV_ID=17 AND F_PARAM_NAME=") + SqlDialect::Literal(QString::fromLatin1(names[i]));
    ASSERT_TRUE(params.Requery());
    ASSERT_FALSE(params.IsEOF());
    EXPECT_EQ(params.m_F_PARAM_VALUE, QStringLiteral("value %1").arg(i));
  }
}

TEST_P(Recordsets, SortAndStepping) {
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("INSERT INTO T_RPT_TERM_DICT (F_TERM_ID,F_TERM_INDEX,F_TERM_DETAIL) VALUES (1,'c','三'),(2,'a','一'),(3,'b','二')")));
  CTableRptTermDict terms(m_db.get());
  terms.m_strSort = QStringLiteral("F_TERM_INDEX");
  ASSERT_TRUE(terms.Open());
  QString order;
  for (; !terms.IsEOF(); terms.MoveNext()) order += terms.m_F_TERM_DETAIL;
  EXPECT_EQ(order, QStringLiteral("一二三"));
}

TEST_P(Recordsets, ExecuteSqlRunsOnTheRecordsetsConnection) {
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("INSERT INTO T_IMG_GROUP VALUES (1,1,1),(2,2,2)")));
  CTableImgGroup groups(m_db.get());
  ASSERT_TRUE(groups.Open());
  EXPECT_EQ(groups.GetRecordCount(), 2);
  ASSERT_TRUE(groups.ExecuteSQL(QStringLiteral("DELETE FROM T_IMG_GROUP")));
  ASSERT_TRUE(groups.Requery());
  EXPECT_TRUE(groups.IsEOF());
  EXPECT_FALSE(groups.ExecuteSQL(QStringLiteral("DELETE FROM T_NO_SUCH_TABLE")));
}

TEST_P(Recordsets, PutRecordAllocatesTheKeyOfANewReport) {
  CTableReport reports(m_db.get());
  reports.m_strFilter = QStringLiteral("1=0");
  ASSERT_TRUE(reports.Open());
  REPORT_RECORD record;
  record.F_STU_ID = 42;
  record.F_MEMO_SPARE[0] = "所见: O'Brien 100%";
  record.F_RPT_IMG_LIST = ";~;OBJECT_UID=1.2.3";
  record.F_RPT_SPARE_NUM[2] = 7.5;
  ASSERT_TRUE(reports.AddNew());
  ASSERT_EQ(reports.PutRecord(record), 1);
  EXPECT_EQ(record.F_RPT_ID, 1) << "the new key is stored back into the record";
  ASSERT_TRUE(reports.Update()) << reports.LastError().toStdString();
  reports.m_strFilter = QStringLiteral("F_STU_ID=42");
  ASSERT_TRUE(reports.Requery());
  ASSERT_FALSE(reports.IsEOF());
  const REPORT_RECORD back = reports.GetRecord();
  EXPECT_EQ(back.F_RPT_ID, 1);
  EXPECT_EQ(back.F_MEMO_SPARE[0], record.F_MEMO_SPARE[0]);
  EXPECT_EQ(back.F_RPT_IMG_LIST, record.F_RPT_IMG_LIST);
  EXPECT_EQ(back.GetColumn(107), "7.50");
  // A record that has its key keeps it.
  ASSERT_TRUE(reports.Edit());
  record.F_RPT_FLAG = 3;
  ASSERT_EQ(reports.PutRecord(record), 1);
  EXPECT_EQ(reports.m_F_RPT_ID, 1);
}

TEST_P(Recordsets, ViewsReadThroughTheirBaseTables) {
  // A template body, its place and the template.
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("INSERT INTO T_REPORT (F_RPT_ID,F_STU_ID,F_FMT_ID,F_MEMO_SPARE1,F_RPT_SPARE8) VALUES (5,0,0,'正常',1.5)")));
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("INSERT INTO T_RPT_PLACE_NAME VALUES ('001',2,'头部',1),('001002',2,'颅脑',1),('001002003',2,'x',1)")));
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("INSERT INTO T_RPT_TEMPL_DICT VALUES (9,'头颅平扫',0,'001002',5,9)")));
  CViewRptTemplDict templates(m_db.get());
  templates.m_strFilter = QStringLiteral(" ( F_USER_ID=%1 OR F_USER_ID=0 ) AND %2").arg(3).arg(QStringLiteral(" F_PLACE_ID LIKE '%1%2'").arg(QStringLiteral("001")).arg(QStringLiteral("%")));
  templates.m_strSort = QStringLiteral("F_DICT_ORDER");
  ASSERT_TRUE(templates.Open()) << templates.LastError().toStdString();
  ASSERT_FALSE(templates.IsEOF()) << templates.m_strFilter.toStdString();
  EXPECT_EQ(templates.m_F_MODALITY_ID, 2);
  EXPECT_EQ(templates.m_F_MEMO_SPARE1, QStringLiteral("正常"));
  EXPECT_DOUBLE_EQ(templates.m_F_RPT_SPARE8, 1.5);

  // Places: the top level by length alone, then the children of 001 only.
  CTableRptPlaceName places(m_db.get());
  places.m_strFilter = QStringLiteral("F_MODALITY_ID=%1 AND ( %2 ( F_PLACE_ID ) = %3 )").arg(2).arg(QStringLiteral("LEN")).arg(3);
  ASSERT_TRUE(places.Open()) << places.LastError().toStdString();
  EXPECT_EQ(places.GetRecordCount(), 1);
  places.m_strFilter = QStringLiteral(" ( F_PLACE_ID LIKE '%1%2' ) AND ( %3 ( F_PLACE_ID ) = %4 )").arg(QStringLiteral("001")).arg(QStringLiteral("%")).arg(QStringLiteral("LEN")).arg(6);
  ASSERT_TRUE(places.Requery()) << places.LastError().toStdString();
  ASSERT_EQ(places.GetRecordCount(), 1);
  EXPECT_EQ(places.m_F_PLACE_ID, QStringLiteral("001002"));

  // Term table definitions and their conditions.
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("INSERT INTO T_RPT_TAB_DEF VALUES (0,1,'T_TERM_A','甲','F_ID','F_TEXT',64,0,''),(0,2,'T_TERM_B','乙','F_ID','F_TEXT',32,1,'F_ORDER')")));
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("INSERT INTO T_RPT_TAB_COND VALUES (1,2)")));
  CViewRptTabDef defs(m_db.get());
  defs.m_strFilter = QStringLiteral("F_TAB_ID=%1").arg(2);
  ASSERT_TRUE(defs.Open());
  ASSERT_FALSE(defs.IsEOF());
  EXPECT_EQ(defs.m_F_TAB_NAME, QStringLiteral("T_TERM_B"));
  EXPECT_EQ(defs.m_F_COL_FLAG, 1);
  CViewRptTabCond conds(m_db.get());
  conds.m_strFilter = QStringLiteral("F_CON_TAB_ID=%1").arg(1);
  ASSERT_TRUE(conds.Open());
  ASSERT_FALSE(conds.IsEOF());
  EXPECT_EQ(conds.m_F_TAB_TITLE, QStringLiteral("乙"));
  EXPECT_EQ(conds.m_F_COL_NAME_ORDER, QStringLiteral("F_ORDER"));
}

TEST_P(Recordsets, ColumnConfigurationNamesEveryStudyColumn) {
  CViewColCfg config(m_db.get());
  config.m_strFilter = QStringLiteral("F_DEV_ID=%1 AND F_COL_FLAG>0 AND F_TAB_ID=%2").arg(0).arg(101);
  config.m_strSort = QStringLiteral("F_COL_INDEX");
  ASSERT_TRUE(config.Open()) << config.LastError().toStdString();
  QSet<int> ids;
  for (; !config.IsEOF(); config.MoveNext()) {
    ids.insert(config.m_F_COL_ID);
    EXPECT_FALSE(config.m_F_COL_NAME.isEmpty());
    EXPECT_FALSE(config.m_F_COL_TITLE.isEmpty());
    if (config.m_F_COL_ID == 4) {
      EXPECT_EQ(config.m_F_COL_TITLE, QStringLiteral("病人姓名"));
    }
  }
  for (const auto& field : STUDY_RECORD::Fields()) EXPECT_TRUE(ids.contains(field.columnId)) << field.columnId;
  // Seeding again leaves the configuration as it is.
  ASSERT_TRUE(CreateSchema(*m_db)) << m_db->LastError().toStdString();
  ASSERT_TRUE(config.Requery());
  EXPECT_EQ(config.GetRecordCount(), static_cast<long>(STUDY_RECORD::Fields().size()));
}

TEST_P(Recordsets, ViewRefusesChangesWithAnError) {
  CViewColCfg config(m_db.get());
  ASSERT_TRUE(config.Open());
  EXPECT_FALSE(config.CanUpdate());
  EXPECT_FALSE(config.AddNew());
  EXPECT_FALSE(config.LastError().isEmpty());
  ASSERT_FALSE(config.IsEOF());
  EXPECT_FALSE(config.Edit());
  EXPECT_FALSE(config.Delete());
}

TEST_P(Recordsets, TemplateBodiesAreNotReportsOfAStudy) {
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("INSERT INTO T_REPORT (F_RPT_ID,F_STU_ID,F_FMT_ID) VALUES (1,0,0),(2,7,1)")));
  CTableReport reports(m_db.get());
  reports.m_strFilter = QStringLiteral("F_STU_ID=%1").arg(7);
  ASSERT_TRUE(reports.Open());
  ASSERT_EQ(reports.GetRecordCount(), 1);
  EXPECT_EQ(reports.m_F_RPT_ID, 2);
}

TEST_P(Recordsets, EditKeepsNullTextsNullAndEmptyTextsEmpty) {
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("INSERT INTO T_STUDY (F_STU_ID,F_PAT_ID,F_DEV_ID,F_STU_PLACE,F_CD_NO) VALUES (1,1,1,'',NULL)")));
  CTableStudy studies(m_db.get());
  ASSERT_TRUE(studies.Open());
  ASSERT_FALSE(studies.IsEOF());
  ASSERT_TRUE(studies.Edit());
  studies.m_F_STU_DESCRIB = QStringLiteral("复查");
  ASSERT_TRUE(studies.Update()) << studies.LastError().toStdString();
  QVariant count;
  ASSERT_TRUE(m_db->SelectValue(QStringLiteral("SELECT COUNT(*) FROM T_STUDY WHERE F_CD_NO IS NULL AND F_STU_PLACE=''"), {}, count));
  EXPECT_EQ(count.toInt(), 1);
  // A new row leaves the texts it does not set NULL.
  ASSERT_TRUE(studies.AddNew());
  studies.m_F_STU_ID = 2;
  studies.m_F_STU_PLACE = QStringLiteral("胸部");
  ASSERT_TRUE(studies.Update()) << studies.LastError().toStdString();
  ASSERT_TRUE(m_db->SelectValue(QStringLiteral("SELECT COUNT(*) FROM T_STUDY WHERE F_CD_NO IS NULL AND F_STU_PLACE='胸部'"), {}, count));
  EXPECT_EQ(count.toInt(), 1);
}

TOLMAR_ON_BOTH_ENGINES(Recordsets);

// Without a database object a recordset opens its own connection from the default
// connect text (here the test's "TolmarPacs" data source) and releases it on Close.
TEST(RecordsetConnection, EachRecordsetOwnsItsConnectionFromOpenToClose) {
  QString reason;
  ASSERT_TRUE(TestDatabases::Instance().Wipe(Engine::Sqlite, reason));
  {
    DbConnection setup;
    ASSERT_TRUE(setup.Open());
    ASSERT_TRUE(CreateSchema(setup)) << setup.LastError().toStdString();
  }
  CTableUser first;
  CTableUser second;
  EXPECT_EQ(first.Database(), nullptr);
  ASSERT_TRUE(first.Open()) << first.LastError().toStdString();
  ASSERT_TRUE(second.Open());
  ASSERT_NE(first.Database(), nullptr);
  EXPECT_NE(first.Database(), second.Database());
  EXPECT_EQ(first.Database()->GetConnect(), QStringLiteral("ODBC;DSN=TolmarPacs"));
  EXPECT_EQ(first.Database()->GetDatabaseName(), TestDatabases::Instance().SqliteFile());
  EXPECT_TRUE(first.Database()->IsFileDataSource());
  ASSERT_TRUE(first.AddNew());
  first.m_F_USER_ID = 1;
  first.m_F_USER_NAME = QStringLiteral("管理员");
  ASSERT_TRUE(first.Update()) << first.LastError().toStdString();
  first.Close();
  EXPECT_EQ(first.Database(), nullptr);
  ASSERT_TRUE(second.Requery());
  EXPECT_EQ(second.m_F_USER_NAME, QStringLiteral("管理员"));
}

TEST(RecordsetConnection, UnknownDataSourceFailsToOpen) {
  CTableUser users;
  users.m_strDefaultSQL = QStringLiteral("[T_USER]");
  struct OtherSource : CTableUser {
    QString GetDefaultConnect() const override { return QStringLiteral("ODBC;DSN=NoSuchSource"); }
  } other;
  EXPECT_FALSE(other.Open());
  EXPECT_FALSE(other.LastError().isEmpty());
  EXPECT_EQ(other.Database(), nullptr);
}

TEST(RecordsetConnection, ServerDataSourceIsNotAFile) {
  QString reason;
  bool missing = false;
  if (!TestDatabases::Instance().EnsurePostgres(reason, missing)) {
    if (missing) GTEST_SKIP() << reason.toStdString();
    FAIL() << reason.toStdString();
  }
  DbConnection db;
  ASSERT_TRUE(db.Open(QStringLiteral("ODBC;DSN=TolmarPg"))) << db.LastError().toStdString();
  EXPECT_EQ(db.GetDatabaseName(), QStringLiteral("postgres"));
  EXPECT_FALSE(db.IsFileDataSource());
  EXPECT_EQ(db.Dialect().Engine(), SqlEngine::Postgres);
}

}  // namespace
}  // namespace tolmar::db::test
