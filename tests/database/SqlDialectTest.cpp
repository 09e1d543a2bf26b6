// The dialect helper: the programs' SQL forms become SQL both engines accept.
#include <gtest/gtest.h>

#include "database/SqlDialect.h"

namespace tolmar::db {
namespace {

struct TranslateCase {
  const char* name;
  const char* input;
  const char* expected;
};

class DialectTranslate : public ::testing::TestWithParam<TranslateCase> {};

TEST_P(DialectTranslate, GivesPortableSql) {
  EXPECT_EQ(SqlDialect().Translate(QString::fromUtf8(GetParam().input)),
            QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialectTranslate,
    ::testing::Values(
        TranslateCase{"BracketedTable", "SELECT * FROM [T_REPORT]", "SELECT * FROM \"T_REPORT\""},
        TranslateCase{"BareColumnsQuoted", "F_RPT_ID=5 AND F_STU_ID<>0", "\"F_RPT_ID\"=5 AND \"F_STU_ID\"<>0"},
        TranslateCase{"LenBecomesLength", "F_MODALITY_ID=1 AND ( LEN ( F_PLACE_ID ) = 3 )",
                      "\"F_MODALITY_ID\"=1 AND ( LENGTH ( \"F_PLACE_ID\" ) = 3 )"},
        TranslateCase{"PlusBesideLiteralConcatenates", "( 'CT,MR' LIKE '%'+F_MODALITY+'%' )",
                      "( 'CT,MR' LIKE '%'||\"F_MODALITY\"||'%' )"},
        TranslateCase{"NumericPlusStays", "F_UNIQUE_ID=F_UNIQUE_ID+1", "\"F_UNIQUE_ID\"=\"F_UNIQUE_ID\"+1"},
        TranslateCase{"LiteralsUntouched", "F_PAT_NAME='[F_X] LEN( ''T_Y'' + '",
                      "\"F_PAT_NAME\"='[F_X] LEN( ''T_Y'' + '"},
        TranslateCase{"LowerCaseAndOtherWordsStay", "f_pat_name IS NULL AND q.F_CD_NO is NULL",
                      "f_pat_name IS NULL AND q.\"F_CD_NO\" is NULL"},
        TranslateCase{"UnclosedLiteralCopiedToEnd", "F_PAT_NAME='abc", "\"F_PAT_NAME\"='abc"},
        TranslateCase{"UnclosedBracketKept", "F_A=[x", "\"F_A\"=[x"},
        TranslateCase{"ChineseInLiteral", "F_PAT_NAME LIKE '%张伟%'", "\"F_PAT_NAME\" LIKE '%张伟%'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Dialect, LiteralDoublesQuotesSoTheValueStaysOneString) {
  EXPECT_EQ(SqlDialect::Literal(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
  EXPECT_EQ(SqlDialect().Translate(QStringLiteral("F_PAT_NAME=") + SqlDialect::Literal(QStringLiteral("a' OR '1'='1"))),
            QStringLiteral("\"F_PAT_NAME\"='a'' OR ''1''=''1'"));
}

TEST(Dialect, EnginesDifferOnlyWhereTheyMust) {
  const SqlDialect sqlite(SqlEngine::Sqlite);
  const SqlDialect postgres = SqlDialect::FromDbmsName(QStringLiteral("PostgreSQL"));
  EXPECT_EQ(postgres.Engine(), SqlEngine::Postgres);
  EXPECT_EQ(SqlDialect::FromDbmsName(QStringLiteral("SQLite")).Engine(), SqlEngine::Sqlite);
  EXPECT_EQ(sqlite.Translate(QStringLiteral("[T_A]")), postgres.Translate(QStringLiteral("[T_A]")));
  EXPECT_NE(sqlite.CreateViewPrefix(), postgres.CreateViewPrefix());
}

}  // namespace
}  // namespace tolmar::db
