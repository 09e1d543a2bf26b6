#include <gtest/gtest.h>

#include <random>

#include "suite/CaptureStartFile.h"
#include "suite/PrivateProfile.h"
#include "suite/RecordBlocks.h"
#include "suite/ReportStartFile.h"
#include "suite/ViewerStartFile.h"

using namespace tolmar::suite;

namespace {

// Damaged start files: random bytes overwritten, lengths in particular. Every
// reader must refuse or accept without reading past the end; an accepted
// file never holds more text than the bytes it came from (bytes after the
// last part are ignored, as before).
template <typename File>
void MutateAndDecode(const std::vector<std::uint8_t>& valid, std::uint32_t seed) {
  std::mt19937 random(seed);
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::uint8_t> bytes = valid;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < changes; ++i)
      bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    if (random() % 3 == 0) bytes.resize(random() % (bytes.size() + 1));
    File decoded;
    if (File::Decode(bytes, decoded) == StartFileError::None) {
      EXPECT_EQ(decoded.studyBlock.size(), kStudyRecordSize);
    }
  }
}

TEST(StartFileMutationTest, DamagedViewerFilesAreReadSafely) {
  ViewerStartFile file;
  file.entryList = ";~;/a/1.dcm;~;/a/2.dcm";
  file.studyBlock.assign(kStudyRecordSize, 7);
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(file.Encode(bytes), StartFileError::None);
  MutateAndDecode<ViewerStartFile>(bytes, 1);
}

TEST(StartFileMutationTest, DamagedReportFilesAreReadSafely) {
  ReportStartFile file;
  file.studyBlock.assign(kStudyRecordSize, 1);
  file.reportBlock.assign(kReportRecordFixedSize, 2);
  file.texts = {"a", "bb", "", "dddd", "e", ";~;x.jpg"};
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(file.Encode(bytes), StartFileError::None);
  // Keep the mode text intact so the damage reaches the counted texts.
  std::mt19937 random(2);
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::uint8_t> damaged = bytes;
    const std::size_t at = 1956 + random() % (damaged.size() - 1956);
    damaged[at] = static_cast<std::uint8_t>(random());
    if (random() % 2) damaged.resize(1956 + random() % (damaged.size() - 1956 + 1));
    ReportStartFile decoded;
    if (ReportStartFile::Decode(damaged, decoded) == StartFileError::None) {
      std::size_t total = 0;
      for (const std::string& text : decoded.texts) total += text.size() + 4;
      EXPECT_LE(1956 + total, damaged.size());
    }
  }
}

TEST(StartFileMutationTest, DamagedCaptureFilesAreReadSafely) {
  CaptureStartFile file;
  file.functionName = "scan";
  file.deviceText = "SCANNER";
  file.studyBlock.assign(kStudyRecordSize, 3);
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(file.Encode(bytes), StartFileError::None);
  MutateAndDecode<CaptureStartFile>(bytes, 3);
}

TEST(PrivateProfileMutationTest, ArbitraryBytesNeverBreakTheReader) {
  std::mt19937 random(4);
  for (int round = 0; round < 500; ++round) {
    QByteArray bytes("[Trelmnd4.0]\nLANGUAGE=CHS\nHOSPITAL NAME=x\n");
    for (int i = 0; i < 20; ++i)
      bytes[static_cast<qsizetype>(random() % bytes.size())] = static_cast<char>(random());
    const QString value = PrivateProfile::FromBytes(bytes).GetString(
        QStringLiteral("Trelmnd4.0"), QStringLiteral("LANGUAGE"), QStringLiteral("CHS"));
    EXPECT_LE(value.size(), PrivateProfile::kBufferSize);
  }
}

}  // namespace
