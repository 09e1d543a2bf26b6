#include <gtest/gtest.h>

#include <cstring>

#include "suite/CaptureStartFile.h"
#include "suite/PatientHandOverFile.h"
#include "suite/RecordBlocks.h"
#include "suite/ReportStartFile.h"
#include "suite/ViewerStartFile.h"

using namespace tolmar::suite;

namespace {

std::vector<std::uint8_t> PatternBlock(std::size_t size, std::uint8_t seed) {
  std::vector<std::uint8_t> block(size);
  for (std::size_t i = 0; i < size; ++i) block[i] = static_cast<std::uint8_t>(seed + i * 7);
  return block;
}

std::uint32_t ReadU32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
         (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

void PutU32At(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

ViewerStartFile SampleViewerFile() {
  ViewerStartFile file;
  file.entryList = ";~;/archive/1.dcm;~;/archive/2.dcm";
  file.studyBlock = PatternBlock(kStudyRecordSize, 3);
  return file;
}

ReportStartFile SampleReportFile() {
  ReportStartFile file;
  file.studyBlock = PatternBlock(kStudyRecordSize, 1);
  file.reportBlock = PatternBlock(kReportRecordFixedSize, 9);
  return file;
}

TEST(ViewerStartFileTest, LayoutIsMagicLengthListAndStudyBlock) {
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(SampleViewerFile().Encode(bytes), StartFileError::None);
  const std::string list = SampleViewerFile().entryList;
  ASSERT_EQ(bytes.size(), 6 + list.size() + kStudyRecordSize);
  EXPECT_EQ(bytes[0], 'Q');
  EXPECT_EQ(bytes[1], 'V');
  EXPECT_EQ(ReadU32At(bytes, 2), list.size());
  EXPECT_EQ(std::memcmp(bytes.data() + 6, list.data(), list.size()), 0);
  EXPECT_EQ(bytes[6 + list.size()], SampleViewerFile().studyBlock[0]);

  ViewerStartFile decoded;
  ASSERT_EQ(ViewerStartFile::Decode(bytes, decoded), StartFileError::None);
  EXPECT_EQ(decoded.entryList, list);
  EXPECT_EQ(decoded.studyBlock, SampleViewerFile().studyBlock);
}

TEST(ViewerStartFileTest, RefusesBadMagicEmptyListAndHugeLength) {
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(SampleViewerFile().Encode(bytes), StartFileError::None);
  ViewerStartFile decoded;

  std::vector<std::uint8_t> badMagic = bytes;
  badMagic[1] = 'X';
  EXPECT_EQ(ViewerStartFile::Decode(badMagic, decoded), StartFileError::BadMagic);

  std::vector<std::uint8_t> hugeLength = bytes;
  PutU32At(hugeLength, 2, 0xFFFFFFF0u);
  EXPECT_EQ(ViewerStartFile::Decode(hugeLength, decoded), StartFileError::Truncated);

  ViewerStartFile noItems = SampleViewerFile();
  noItems.entryList = "/archive/1.dcm";  // no separator, so no items
  ASSERT_EQ(noItems.Encode(bytes), StartFileError::None);
  EXPECT_EQ(ViewerStartFile::Decode(bytes, decoded), StartFileError::NoEntries);
}

TEST(ViewerStartFileTest, EveryTruncationIsRefused) {
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(SampleViewerFile().Encode(bytes), StartFileError::None);
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    ViewerStartFile decoded;
    EXPECT_NE(ViewerStartFile::Decode(std::span(bytes.data(), size), decoded), StartFileError::None)
        << size;
  }
}

TEST(ViewerStartFileTest, WriterRefusesAStudyBlockOfTheWrongSize) {
  ViewerStartFile file = SampleViewerFile();
  file.studyBlock.resize(100);
  std::vector<std::uint8_t> bytes;
  EXPECT_EQ(file.Encode(bytes), StartFileError::BadBlockSize);
}

TEST(ReportStartFileTest, SixEmptyTextsGiveNineteenEightyBytes) {
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(SampleReportFile().Encode(bytes), StartFileError::None);
  ASSERT_EQ(bytes.size(), 1980u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), "MODIFY REPORT");
  EXPECT_EQ(bytes[15], 0);
  EXPECT_EQ(bytes[16], SampleReportFile().studyBlock[0]);
  EXPECT_EQ(bytes[1428], SampleReportFile().reportBlock[0]);
  for (std::size_t at = 1956; at < 1980; at += 4) EXPECT_EQ(ReadU32At(bytes, at), 0u);
}

TEST(ReportStartFileTest, TextsRoundTripInOrder) {
  ReportStartFile file = SampleReportFile();
  for (std::size_t i = 0; i < file.texts.size(); ++i)
    file.texts[i] = std::string(i * 3, static_cast<char>('a' + i));
  file.texts[5] = ";~;img1.jpg;~;img2.jpg";
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(file.Encode(bytes), StartFileError::None);
  ReportStartFile decoded;
  ASSERT_EQ(ReportStartFile::Decode(bytes, decoded), StartFileError::None);
  EXPECT_EQ(decoded.texts, file.texts);
  EXPECT_EQ(decoded.studyBlock, file.studyBlock);
  EXPECT_EQ(decoded.reportBlock, file.reportBlock);
}

TEST(ReportStartFileTest, ModeTextIsRightTrimmedAndOtherwiseMustMatch) {
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(SampleReportFile().Encode(bytes), StartFileError::None);
  ReportStartFile decoded;

  std::vector<std::uint8_t> blanks = bytes;
  std::memcpy(blanks.data(), "MODIFY REPORT   ", 16);
  EXPECT_EQ(ReportStartFile::Decode(blanks, decoded), StartFileError::None);

  std::vector<std::uint8_t> other = bytes;
  std::memcpy(other.data(), "NEW REPORT\0\0\0\0\0\0", 16);
  EXPECT_EQ(ReportStartFile::Decode(other, decoded), StartFileError::BadMode);
}

TEST(ReportStartFileTest, CountedTextLengthsAreNeverTrusted) {
  ReportStartFile file = SampleReportFile();
  file.texts[0] = "abc";
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(file.Encode(bytes), StartFileError::None);
  ReportStartFile decoded;

  std::vector<std::uint8_t> beyondEnd = bytes;
  PutU32At(beyondEnd, 1956, 5000);
  EXPECT_EQ(ReportStartFile::Decode(beyondEnd, decoded), StartFileError::Truncated);

  std::vector<std::uint8_t> tooLong = bytes;
  PutU32At(tooLong, 1956, 0x7FFFFFFF);
  EXPECT_EQ(ReportStartFile::Decode(tooLong, decoded), StartFileError::TextTooLong);

  for (std::size_t size = 0; size < bytes.size(); ++size)
    EXPECT_NE(ReportStartFile::Decode(std::span(bytes.data(), size), decoded), StartFileError::None)
        << size;
}

TEST(ReportStartFileTest, TextsOfSixtyFourKibibytesAreRefusedBothWays) {
  ReportStartFile file = SampleReportFile();
  file.texts[5] = std::string(65535, 'x');
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(file.Encode(bytes), StartFileError::None);
  ReportStartFile decoded;
  EXPECT_EQ(ReportStartFile::Decode(bytes, decoded), StartFileError::None);

  file.texts[5] = std::string(65536, 'x');
  EXPECT_EQ(file.Encode(bytes), StartFileError::TextTooLong);

  // A file written elsewhere with such a text is refused too.
  std::vector<std::uint8_t> withLong;
  ASSERT_EQ(SampleReportFile().Encode(withLong), StartFileError::None);
  PutU32At(withLong, 1956, 65536);
  withLong.insert(withLong.begin() + 1960, 65536, 'y');
  EXPECT_EQ(ReportStartFile::Decode(withLong, decoded), StartFileError::TextTooLong);
}

TEST(CaptureStartFileTest, LayoutPutsTheStudyBlockAfterBothCountedTexts) {
  CaptureStartFile file;
  file.kind = CaptureKind::Scanning;
  file.commandNumber = 32805;
  file.functionName = "图像扫描";
  file.deviceText = "SCANNER1";
  file.studyBlock = PatternBlock(kStudyRecordSize, 5);
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(file.Encode(bytes), StartFileError::None);
  const std::size_t n = file.functionName.size();
  const std::size_t m = file.deviceText.size();
  ASSERT_EQ(bytes.size(), 16 + n + m + kStudyRecordSize);
  EXPECT_EQ(ReadU32At(bytes, 0), 1u);
  EXPECT_EQ(ReadU32At(bytes, 4), 32805u);
  EXPECT_EQ(ReadU32At(bytes, 8), n);
  EXPECT_EQ(ReadU32At(bytes, 12 + n), m);
  EXPECT_EQ(bytes[16 + n + m], file.studyBlock[0]);

  CaptureStartFile decoded;
  ASSERT_EQ(CaptureStartFile::Decode(bytes, decoded), StartFileError::None);
  EXPECT_EQ(decoded.kind, CaptureKind::Scanning);
  EXPECT_EQ(decoded.functionName, file.functionName);
  EXPECT_EQ(decoded.deviceText, file.deviceText);
  for (std::size_t size = 0; size < bytes.size(); ++size)
    EXPECT_NE(CaptureStartFile::Decode(std::span(bytes.data(), size), decoded),
              StartFileError::None)
        << size;
}

TEST(CaptureStartFileTest, PatientEntryEmptiesOnlyTheStudyUid) {
  std::vector<std::uint8_t> block = PatternBlock(kStudyRecordSize, 1);
  const std::vector<std::uint8_t> before = block;
  ClearStudyUid(block);
  for (std::size_t i = 0; i < block.size(); ++i) {
    if (i >= kStudyUidOffset && i < kStudyUidOffset + kStudyUidSize)
      EXPECT_EQ(block[i], 0) << i;
    else
      EXPECT_EQ(block[i], before[i]) << i;
  }
}

TEST(PatientHandOverFileTest, StationIsThirtyThreeZeroPaddedBytes) {
  PatientHandOverFile file;
  file.station = std::string(40, 'S');
  file.studyBlock = PatternBlock(kStudyRecordSize, 2);
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(file.Encode(bytes), StartFileError::None);
  ASSERT_EQ(bytes.size(), 33 + kStudyRecordSize);
  EXPECT_EQ(bytes[32], 0);
  PatientHandOverFile decoded;
  ASSERT_EQ(PatientHandOverFile::Decode(bytes, decoded), StartFileError::None);
  EXPECT_EQ(decoded.station, std::string(32, 'S'));
  EXPECT_EQ(decoded.studyBlock, file.studyBlock);
  EXPECT_EQ(PatientHandOverFile::Decode(std::span(bytes.data(), bytes.size() - 1), decoded),
            StartFileError::Truncated);
}

}  // namespace
