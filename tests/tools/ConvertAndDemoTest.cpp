// `tolmar make-demo`, `convert` and `scan` as a user scripts them, with DCMTK as the
// outside reader of what we write.
#include <gtest/gtest.h>

#include <filesystem>

#include "ToolRunner.h"
#include "dicom/DicomCodec.h"

namespace tolmar {
namespace {

using test::RunCommand;
using test::RunTolmar;
using test::ScratchFolder;

class DemoStudy : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = new ScratchFolder();
    const auto r = RunTolmar("make-demo '" + s_folder->File("demo") + "' --slices 4");
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }
  static void TearDownTestSuite() {
    delete s_folder;
    s_folder = nullptr;
  }
  static std::string Slice(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "/demo/CT/IM%04d.dcm", n);
    return s_folder->Path() + name;
  }
  static ScratchFolder* s_folder;
};
ScratchFolder* DemoStudy::s_folder = nullptr;

TEST_F(DemoStudy, CtSlicesCarryTheGeometryAndWindowsOfARealSeries) {
  DicomError error;
  auto first = ReadDicomImage(Slice(1), ReadMode::FullRead, &error);
  auto second = ReadDicomImage(Slice(2), ReadMode::FullRead, &error);
  ASSERT_TRUE(first && second) << error.ToString();
  EXPECT_EQ(first->GetUShort(0x0028, 0x0010), 512);
  EXPECT_EQ(first->GetUShort(0x0028, 0x0011), 512);
  EXPECT_EQ(first->GetUShort(0x0028, 0x0100), 16);
  EXPECT_EQ(first->GetText(0x0028, 0x1052), "-1024");
  EXPECT_EQ(first->GetText(0x0028, 0x1050), "40\\-600");
  EXPECT_EQ(first->GetText(0x0028, 0x1051), "400\\1500");
  EXPECT_EQ(first->GetText(0x0020, 0x0037), "1\\0\\0\\0\\1\\0");
  EXPECT_EQ(first->GetText(0x0020, 0x000D), second->GetText(0x0020, 0x000D));
  EXPECT_NE(first->GetText(0x0008, 0x0018), second->GetText(0x0008, 0x0018));
  EXPECT_NE(first->GetText(0x0020, 0x0032), second->GetText(0x0020, 0x0032));
  EXPECT_FALSE(first->GetText(0x0020, 0x0052).empty());
  EXPECT_FALSE(first->GetText(0x0018, 0x0050).empty());
  EXPECT_FALSE(first->GetText(0x0020, 0x1041).empty());
  const DicomElement* pixels = first->FindElement(0x7FE0, 0x0010);
  ASSERT_NE(pixels, nullptr);
  ASSERT_EQ(pixels->length, 512u * 512u * 2u);
  // Air outside the body, soft tissue and bone inside: a spread of stored values.
  uint16_t lowest = 0xFFFF, highest = 0;
  for (uint32_t i = 0; i < pixels->length; i += 2) {
    const uint16_t v = static_cast<uint16_t>(pixels->Value()[i] | (pixels->Value()[i + 1] << 8));
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  EXPECT_LT(lowest, 100);    // about -1000 HU
  EXPECT_GT(highest, 1600);  // bone
}

TEST_F(DemoStudy, LocalizerIsSagittal) {
  auto scout = ReadDicomFile(s_folder->File("demo/LOCALIZER/IM0001.dcm"), ReadMode::HeaderOnly);
  ASSERT_TRUE(scout);
  EXPECT_EQ(scout->GetText(0x0020, 0x0037), "0\\1\\0\\0\\0\\-1");
  EXPECT_NE(scout->GetText(0x0008, 0x0008).find("LOCALIZER"), std::string::npos);
}

TEST_F(DemoStudy, DcmtkReadsEveryLayoutWeConvertTo) {
  for (const char* layout : {"raw", "implicit", "explicit"}) {
    const std::string out = s_folder->File(std::string("converted-") + layout + ".dcm");
    const auto r = RunTolmar("convert '" + Slice(1) + "' '" + out + "' --layout " + layout);
    ASSERT_EQ(r.exitCode, 0) << layout << ": " << r.err;
    const std::string readAs = std::string(layout) == "raw" ? " -f -t=" : " ";
    const auto dump =
        RunCommand("dcmdump -q" + readAs + " +P 0010,0010 +P 0028,0010 +P 0020,0032 '" + out + "'");
    ASSERT_EQ(dump.exitCode, 0) << layout << ": " << dump.err;
    EXPECT_NE(dump.out.find("ZHANG^WEI"), std::string::npos) << layout << dump.out;
    EXPECT_NE(dump.out.find("512"), std::string::npos) << layout;
    EXPECT_NE(dump.out.find("-178.85\\-178.85"), std::string::npos) << layout << dump.out;
    if (std::string(layout) != "raw") {
      const auto meta = RunCommand("dcmdump -q +P 0002,0010 '" + out + "'");
      const std::string syntax =
          std::string(layout) == "implicit" ? "LittleEndianImplicit" : "LittleEndianExplicit";
      EXPECT_NE(meta.out.find(syntax), std::string::npos) << layout << meta.out;
    }
  }
}

TEST_F(DemoStudy, ConvertKeepsThePixelsExactly) {
  const std::string out = s_folder->File("pixels.dcm");
  ASSERT_EQ(RunTolmar("convert '" + Slice(3) + "' '" + out + "' --layout implicit").exitCode, 0);
  auto a = ReadDicomFile(Slice(3), ReadMode::FullRead);
  auto b = ReadDicomFile(out, ReadMode::FullRead);
  ASSERT_TRUE(a && b);
  const DicomElement* pa = a->FindElement(0x7FE0, 0x0010);
  const DicomElement* pb = b->FindElement(0x7FE0, 0x0010);
  ASSERT_TRUE(pa && pb);
  ASSERT_EQ(pa->length, pb->length);
  EXPECT_TRUE(std::equal(pa->Bytes().begin(), pa->Bytes().end(), pb->Bytes().begin()));
}

size_t CountFiles(const std::string& folder) {
  size_t n = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) ++n;
  }
  return n;
}

TEST_F(DemoStudy, ScanCountsReadAndFailedFiles) {
  // Every file of the demo study is DICOM; other parts of the demo may add files.
  const std::string demo = s_folder->File("demo");
  const size_t files = CountFiles(demo);
  const auto good = RunTolmar("scan '" + demo + "'");
  EXPECT_EQ(good.exitCode, 0) << good.err;
  EXPECT_NE(good.out.find("header scan: " + std::to_string(files) + " files read, 0 failed"),
            std::string::npos)
      << good.out;
  const auto full = RunTolmar("scan --full '" + s_folder->File("demo/CT") + "'");
  EXPECT_NE(full.out.find("full scan: 4 files read, 0 failed"), std::string::npos) << full.out;

  RunCommand("echo 'not dicom' > '" + s_folder->File("demo/notes.txt") + "'");
  const auto mixed = RunTolmar("scan --verbose '" + demo + "'");
  EXPECT_EQ(mixed.exitCode, 1);
  EXPECT_NE(mixed.out.find(std::to_string(files) + " files read, 1 failed"), std::string::npos)
      << mixed.out;
  EXPECT_NE(mixed.err.find("notes.txt"), std::string::npos) << mixed.err;
  std::remove(s_folder->File("demo/notes.txt").c_str());
}

struct UsageCase {
  const char* name;
  const char* arguments;
};

class ToolUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(ToolUsage, WrongCommandLinesExitWithTwo) {
  const auto r = RunTolmar(GetParam().arguments);
  EXPECT_EQ(r.exitCode, 2) << r.err;
  EXPECT_FALSE(r.err.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolUsage,
    ::testing::Values(UsageCase{"NoCommand", ""}, UsageCase{"UnknownCommand", "frobnicate"},
                      UsageCase{"DumpWithoutFiles", "dump"},
                      UsageCase{"ConvertWithoutLayout", "convert a b"},
                      UsageCase{"ConvertBadLayout", "convert a b --layout sideways"},
                      UsageCase{"ConvertOneOperand", "convert a --layout raw"},
                      UsageCase{"ScanUnknownOption", "scan --fast /tmp"},
                      UsageCase{"MakeDemoBadSlices", "make-demo /tmp/x --slices zero"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolConvert, UnreadableInputExitsWithOneAndNamesTheFile) {
  ScratchFolder folder;
  const auto r = RunTolmar("convert '" + folder.File("missing.dcm") + "' '" +
                           folder.File("out.dcm") + "' --layout explicit");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("tolmar: " + folder.File("missing.dcm") + ": cannot open file"),
            std::string::npos)
      << r.err;
}

}  // namespace
}  // namespace tolmar
