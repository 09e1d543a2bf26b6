// `tolmar convert --compress`, `tolmar pixels` and the compressed demo images, on the demo
// CT series: every lossless kind gives back the slice's pixels bit for bit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ToolRunner.h"
#include "dicom/DicomCodec.h"
#include "dicom/PixelCompression.h"

namespace tolmar {
namespace {

using test::RunCommand;
using test::RunTolmar;
using test::ScratchFolder;

std::vector<char> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool CodecInstalled() {
  return std::filesystem::exists(std::string(TOLMAR_PROGRAM_DIR) + "/libPixcodec.so");
}

class CompressedDemo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = new ScratchFolder();
    const auto r = RunTolmar("make-demo '" + s_folder->File("demo") + "' --slices 5");
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }
  static void TearDownTestSuite() {
    delete s_folder;
    s_folder = nullptr;
  }
  static std::string Demo(const std::string& relative) {
    return s_folder->File("demo/" + relative);
  }
  // Raw decoded pixels of a file through `tolmar pixels`.
  static std::vector<char> Pixels(const std::string& path) {
    const std::string out = path + ".raw";
    const auto r = RunTolmar("pixels '" + path + "' '" + out + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return FileBytes(out);
  }
  static ScratchFolder* s_folder;
};
ScratchFolder* CompressedDemo::s_folder = nullptr;

TEST_F(CompressedDemo, LosslessKindsGiveBackTheSliceExactly) {
  const std::string slice = Demo("CT/IM0003.dcm");
  const auto original = Pixels(slice);
  ASSERT_EQ(original.size(), 512u * 512u * 2u);
  for (const char* kind : {"ZIP", "ZIP 9", "ELPEG", "JPEGLOSSLESS"}) {
    if (std::string(kind) == "JPEGLOSSLESS" && !CodecInstalled()) continue;
    const std::string out = s_folder->File(std::string("c-") + kind + ".dcm");
    const auto r = RunTolmar("convert '" + slice + "' '" + out +
                             "' --layout implicit --compress '" + kind + "'");
    ASSERT_EQ(r.exitCode, 0) << kind << ": " << r.err;
    EXPECT_LT(std::filesystem::file_size(out), std::filesystem::file_size(slice)) << kind;
    EXPECT_EQ(Pixels(out), original) << kind;
  }
}

TEST_F(CompressedDemo, RecompressingACompressedFileStartsFromItsPixels) {
  if (!CodecInstalled()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  const std::string slice = Demo("CT/IM0002.dcm");
  const std::string jpeg = s_folder->File("r-jpeg.dcm");
  const std::string zip = s_folder->File("r-zip.dcm");
  ASSERT_EQ(
      RunTolmar("convert '" + slice + "' '" + jpeg + "' --layout explicit --compress JPEGLOSSLESS")
          .exitCode,
      0);
  const auto r = RunTolmar("convert '" + jpeg + "' '" + zip + "' --layout explicit --compress ZIP");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto header = ReadDicomFile(zip, ReadMode::HeaderOnly);
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->GetText(0x0500, 0x0001), "ZIP");
  EXPECT_EQ(header->GetText(0x0002, 0x0010), "1.2.840.10008.1.2.1");
  EXPECT_EQ(Pixels(zip), Pixels(slice));
}

TEST_F(CompressedDemo, DemoHasAReadableImageOfEveryKind) {
  const auto reference = Pixels(Demo("CT/IM0001.dcm"));
  const std::pair<const char*, const char*> images[] = {{"COMPRESSED/IM0001.dcm", "ZIP"},
                                                        {"COMPRESSED/IM0002.dcm", "ELPEG"},
                                                        {"COMPRESSED/IM0003.dcm", "JPEGLOSSLESS"},
                                                        {"COMPRESSED/IM0004.dcm", "JPEGLOSSY"},
                                                        {"COMPRESSED/IM0005.dcm", "JPEGLOSSLESS"}};
  for (const auto& [file, kind] : images) {
    auto header = ReadDicomFile(Demo(file), ReadMode::HeaderOnly);
    ASSERT_NE(header, nullptr) << file;
    if (CodecInstalled() || std::string(kind).rfind("JPEG", 0) != 0) {
      EXPECT_EQ(CompressionKind(*header), kind) << file;
    }
    EXPECT_FALSE(Pixels(Demo(file)).empty()) << file;
  }
  // The first variant is slice 1 itself.
  EXPECT_EQ(Pixels(Demo("COMPRESSED/IM0001.dcm")), reference);
}

TEST_F(CompressedDemo, ZipImageFailsToOpenWithoutZlib) {
  const auto r = RunCommand("TOLMAR_ZLIB_LIBRARY=libz-not-installed.so '" +
                            std::string(TOLMAR_EXE) + "' pixels '" + Demo("COMPRESSED/IM0001.dcm") +
                            "' '" + s_folder->File("x.raw") + "'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("zlib"), std::string::npos) << r.err;
}

TEST_F(CompressedDemo, FailedCompressionExitsWithOneAndWritesNothing) {
  const std::string out = s_folder->File("refused.dcm");
  // ELPEG codes single-frame images only.
  const auto r = RunTolmar("convert '" + Demo("COMPRESSED/IM0005.dcm") + "' '" + out +
                           "' --layout implicit --compress ELPEG");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(ToolPixels, WrongCommandLinesExitWithTwo) {
  EXPECT_EQ(RunTolmar("pixels").exitCode, 2);
  EXPECT_EQ(RunTolmar("pixels a").exitCode, 2);
  EXPECT_EQ(RunTolmar("pixels a b --frame 2").exitCode, 2);
  EXPECT_EQ(RunTolmar("convert a b --layout implicit --compress").exitCode, 2);
}

TEST(ToolPixels, UnreadableInputExitsWithOne) {
  ScratchFolder folder;
  const auto r =
      RunTolmar("pixels '" + folder.File("missing.dcm") + "' '" + folder.File("o") + "'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("missing.dcm"), std::string::npos);
}

}  // namespace
}  // namespace tolmar
