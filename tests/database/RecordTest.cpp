// Study and report records: layout by column id, truncation, byte forms.
#include <gtest/gtest.h>

#include "database/ByteCodec.h"
#include "database/ReportRecord.h"
#include "database/StudyRecord.h"

namespace tolmar::db {
namespace {

struct StudyFieldCase {
  const char* name;
  int columnId;
  size_t offset;
  size_t maxLength;  // 0 for integers
};

class StudyRecordLayout : public ::testing::TestWithParam<StudyFieldCase> {};

// A value written by id lands at the field's offset in the 1412-byte block and a text
// longer than the field keeps exactly its maximum length, terminated.
TEST_P(StudyRecordLayout, ColumnIdWritesItsOffsetAndCutsToItsLength) {
  const auto& c = GetParam();
  STUDY_RECORD record;
  if (c.maxLength == 0) {
    ASSERT_TRUE(record.SetColumn(c.columnId, "-123456"));
    const auto bytes = record.ToBytes();
    EXPECT_EQ(GetInt32At(bytes, c.offset), -123456);
    EXPECT_EQ(record.GetColumn(c.columnId), "-123456");
    return;
  }
  const std::string longText(c.maxLength + 9, 'x');
  ASSERT_TRUE(record.SetColumn(c.columnId, longText));
  const auto bytes = record.ToBytes();
  ASSERT_EQ(bytes.size(), STUDY_RECORD::kSize);
  EXPECT_EQ(bytes[c.offset], 'x');
  EXPECT_EQ(bytes[c.offset + c.maxLength - 1], 'x');
  EXPECT_EQ(bytes[c.offset + c.maxLength], 0) << "terminator";
  EXPECT_EQ(record.GetColumn(c.columnId), std::string(c.maxLength, 'x'));
  // Nothing spilled into the byte after the field.
  if (c.offset + c.maxLength + 1 < bytes.size()) {
    EXPECT_EQ(bytes[c.offset + c.maxLength + 1], 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, StudyRecordLayout,
    ::testing::Values(StudyFieldCase{"PatientKey", 1, 0, 0}, StudyFieldCase{"Two", 2, 4, 0},
                      StudyFieldCase{"PatientNumber", 3, 8, 64}, StudyFieldCase{"PatientName", 4, 73, 32},
                      StudyFieldCase{"ExaminationNumber", 5, 106, 32}, StudyFieldCase{"Sex", 6, 139, 1},
                      StudyFieldCase{"Seven", 7, 141, 50}, StudyFieldCase{"Nine", 9, 243, 50},
                      StudyFieldCase{"Ten", 10, 1104, 50}, StudyFieldCase{"Eleven", 11, 1155, 50},
                      StudyFieldCase{"Twelve", 12, 1206, 20}, StudyFieldCase{"Sixteen", 16, 1290, 20},
                      StudyFieldCase{"StudyKey", 20, 296, 0}, StudyFieldCase{"StudyUid", 21, 300, 64},
                      StudyFieldCase{"RequestKey", 22, 365, 20}, StudyFieldCase{"Age", 23, 386, 4},
                      StudyFieldCase{"StudyDate", 24, 391, 10}, StudyFieldCase{"Place", 25, 402, 20},
                      StudyFieldCase{"TwentySix", 26, 423, 100}, StudyFieldCase{"TwentySeven", 27, 524, 20},
                      StudyFieldCase{"TwentyEight", 28, 545, 40}, StudyFieldCase{"ThirtyFour", 34, 691, 20},
                      StudyFieldCase{"ThirtyFive", 35, 712, 20}, StudyFieldCase{"ThirtySeven", 37, 754, 20},
                      StudyFieldCase{"ThirtyEight", 38, 775, 50}, StudyFieldCase{"FortyTwo", 42, 979, 50},
                      StudyFieldCase{"FortyThree", 43, 1060, 32}, StudyFieldCase{"FortyFour", 44, 1093, 10},
                      StudyFieldCase{"Modality", 56, 1030, 10}, StudyFieldCase{"ReportUid", 93, 1344, 64},
                      StudyFieldCase{"Count131", 131, 1044, 0}, StudyFieldCase{"Count133", 133, 1052, 0},
                      StudyFieldCase{"OneFifty", 150, 1311, 32}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StudyRecord, ColumnWithValueOutsidePercentRangeReadsZero) {
  STUDY_RECORD record;
  record.SetColumn(134, "100");
  EXPECT_EQ(record.GetColumn(134), "100");
  record.SetColumn(134, "101");
  EXPECT_EQ(record.GetColumn(134), "0");
  record.SetColumn(134, "-1");
  EXPECT_EQ(record.GetColumn(134), "0");
}

TEST(StudyRecord, UnknownColumnReadsEmptyAndCannotBeWritten) {
  STUDY_RECORD record;
  EXPECT_EQ(record.GetColumn(57), "");
  EXPECT_FALSE(record.SetColumn(57, "x"));
  EXPECT_EQ(record.ToBytes(), STUDY_RECORD().ToBytes());
}

TEST(StudyRecord, FromBytesRefusesAnyOtherSize) {
  STUDY_RECORD record;
  record.SetColumn(4, "KEEP");
  std::vector<uint8_t> shortBlock(STUDY_RECORD::kSize - 1, 'A');
  EXPECT_FALSE(record.FromBytes(shortBlock));
  EXPECT_EQ(record.GetColumn(4), "KEEP");
  std::vector<uint8_t> block(STUDY_RECORD::kSize, 0);
  block[73] = 'Z';
  EXPECT_TRUE(record.FromBytes(block));
  EXPECT_EQ(record.GetColumn(4), "Z");
}

TEST(StudyRecord, FieldWithoutTerminatorReadsOnlyItsOwnBytes) {
  std::vector<uint8_t> block(STUDY_RECORD::kSize, 'Q');
  STUDY_RECORD record;
  ASSERT_TRUE(record.FromBytes(block));
  EXPECT_EQ(record.GetColumn(6), "QQ");  // 1 + terminator byte, both 'Q'
  EXPECT_EQ(record.GetColumn(4).size(), 33u);
}

struct CutCase {
  const char* name;
  std::string text;
  size_t maxBytes;
  std::string expected;
};

class TextCutting : public ::testing::TestWithParam<CutCase> {};

TEST_P(TextCutting, NeverEndsInsideACharacter) {
  EXPECT_EQ(CutText(GetParam().text, GetParam().maxBytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextCutting,
    ::testing::Values(CutCase{"AsciiCutAtLimit", std::string(40, 'a'), 32, std::string(32, 'a')},
                      CutCase{"ShortTextUnchanged", "abc", 32, "abc"},
                      // 张 is three bytes in UTF-8: five of them do not fit in 14 bytes.
                      CutCase{"Utf8BacksOffToWholeCharacter", "张张张张张", 14, "张张张张"},
                      // 张 in GB18030 is D5 C5.
                      CutCase{"Gb18030BacksOffToWholePair", "a\xD5\xC5\xD5\xC5", 4, "a\xD5\xC5"},
                      CutCase{"Gb18030FourByteForm", "\x81\x30\x81\x30x", 3, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportRecord, FixedPartIs528BytesWithFieldsInOrder) {
  REPORT_RECORD record;
  record.F_RPT_ID = 7;
  record.F_STU_ID = 8;
  record.F_FMT_ID = 9;
  record.F_RPT_FLAG = 0x10;
  record.SetColumn(93, "1.2.3");
  record.SetColumn(104, "last spare");
  record.SetColumn(107, "3.25");
  const auto bytes = record.FixedPartBytes();
  ASSERT_EQ(bytes.size(), REPORT_RECORD::kFixedSize);
  EXPECT_EQ(GetInt32At(bytes, 0), 7);
  EXPECT_EQ(GetInt32At(bytes, 12), 0x10);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[16])), "1.2.3");
  // Spares 1..7 follow the auditor at 124 + 21 = 145, 51 bytes each.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[145 + 6 * 51])), "last spare");
  REPORT_RECORD back;
  ASSERT_TRUE(back.ReadFixedPart(bytes));
  EXPECT_EQ(back.GetColumn(107), "3.25");
  EXPECT_EQ(back.GetColumn(104), "last spare");
}

struct ReportColumnCase {
  const char* name;
  int columnId;
  std::string written;
  std::string read;
};

class ReportColumns : public ::testing::TestWithParam<ReportColumnCase> {};

TEST_P(ReportColumns, ReadsBackWhatWasWrittenWithinItsField) {
  REPORT_RECORD record;
  ASSERT_TRUE(record.SetColumn(GetParam().columnId, GetParam().written));
  EXPECT_EQ(record.GetColumn(GetParam().columnId), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportColumns,
    ::testing::Values(ReportColumnCase{"Key", 90, "12", "12"},
                      ReportColumnCase{"NonNumberIsZero", 91, "abc", "0"},
                      ReportColumnCase{"UidCutTo64", 93, std::string(70, '1'), std::string(64, '1')},
                      ReportColumnCase{"DateCutTo10", 94, "2001.03.09 12:00", "2001.03.09"},
                      ReportColumnCase{"WriterCutTo20", 96, std::string(25, 'w'), std::string(20, 'w')},
                      ReportColumnCase{"SpareCutTo50", 98, std::string(60, 's'), std::string(50, 's')},
                      ReportColumnCase{"DoubleTwoDecimals", 105, "2.5", "2.50"},
                      ReportColumnCase{"MemoKeepsLength", 108, std::string(3000, 'm'), std::string(3000, 'm')},
                      ReportColumnCase{"ImageList", 113, ";~;a;~;b", ";~;a;~;b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordPair, SharedColumnsWriteBothAndReadTheStudyCopy) {
  STUDY_RECORD study;
  REPORT_RECORD report;
  ASSERT_TRUE(WriteRecordColumn(study, report, 20, "4711"));
  EXPECT_EQ(study.GetColumn(20), "4711");
  EXPECT_EQ(report.GetColumn(20), "4711");
  report.F_STU_ID = 5;
  EXPECT_EQ(ReadRecordColumn(study, report, 20), "4711");
  ASSERT_TRUE(WriteRecordColumn(study, report, 93, "1.2.840.1"));
  EXPECT_EQ(report.F_RPT_UID, "1.2.840.1");
  EXPECT_EQ(ReadRecordColumn(study, report, 96), "");
  EXPECT_EQ(ReadRecordColumn(study, report, 57), "");
  EXPECT_FALSE(WriteRecordColumn(study, report, 57, "x"));
}

TEST(RecordPair, FortyCharacterNameKeepsThirtyTwo) {
  STUDY_RECORD study;
  REPORT_RECORD report;
  WriteRecordColumn(study, report, 4, std::string(40, 'N'));
  EXPECT_EQ(ReadRecordColumn(study, report, 4), std::string(32, 'N'));
}

TEST(ReportRecord, ByteFormCarriesSixCountedTextsInOrder) {
  REPORT_RECORD record;
  record.F_RPT_ID = 3;
  for (int i = 0; i < 5; ++i) record.F_MEMO_SPARE[static_cast<size_t>(i)] = "memo" + std::to_string(i + 1);
  record.F_RPT_IMG_LIST = ";~;image";
  const auto bytes = record.ToBytes();
  EXPECT_EQ(bytes.size(), 528u + 5 * (4 + 5) + 4 + 8);
  EXPECT_EQ(GetInt32At(bytes, 528), 5);
  REPORT_RECORD back;
  size_t consumed = 0;
  ASSERT_TRUE(back.FromBytes(bytes, &consumed));
  EXPECT_EQ(consumed, bytes.size());
  EXPECT_EQ(back.F_MEMO_SPARE[4], "memo5");
  EXPECT_EQ(back.F_RPT_IMG_LIST, ";~;image");
  EXPECT_EQ(back.F_RPT_ID, 3);
}

TEST(ReportRecord, HostileCountsAreRefusedWithoutReadingPastTheEnd) {
  REPORT_RECORD record;
  auto bytes = record.ToBytes();
  // First count claims more than remains.
  PutInt32At(bytes, 528, 1000);
  REPORT_RECORD back;
  back.F_RPT_ID = 99;
  EXPECT_FALSE(back.FromBytes(bytes));
  EXPECT_EQ(back.F_RPT_ID, 99);
  // A count above 65535 is refused even when the bytes are there.
  std::vector<uint8_t> big = record.FixedPartBytes();
  ByteWriter writer(big);
  writer.WriteUInt32(70000);
  writer.WriteBytes(std::string(70000, 'x'));
  for (int i = 0; i < 5; ++i) writer.WriteUInt32(0);
  EXPECT_FALSE(back.FromBytes(big));
  // Short fixed part.
  EXPECT_FALSE(back.FromBytes(std::span<const uint8_t>(bytes.data(), 100)));
}

TEST(ReportRecord, OverlongMemoIsCutInTheByteForm) {
  REPORT_RECORD record;
  record.F_MEMO_SPARE[0] = std::string(70000, 'm');
  const auto bytes = record.ToBytes();
  REPORT_RECORD back;
  ASSERT_TRUE(back.FromBytes(bytes));
  EXPECT_EQ(back.F_MEMO_SPARE[0].size(), REPORT_RECORD::kMaxCountedText);
}

}  // namespace
}  // namespace tolmar::db
