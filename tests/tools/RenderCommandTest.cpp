// tolmar render and the demo images, driven as a user would.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "dicom/SopClassTable.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string output;
};

Result RunTolmar(const std::string& arguments) {
  Result result;
  const std::string command = std::string(TOLMAR_EXE) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe)) result.output += buffer;
  const int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

class RenderCommand : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = fs::temp_directory_path() / ("tolmar-render-" + std::to_string(::getpid()));
    s_demo = RunTolmar("make-demo '" + (s_folder / "demo").string() + "' --slices 2");
  }
  static void TearDownTestSuite() { fs::remove_all(s_folder); }
  static std::string Demo(const std::string& name) { return "'" + (s_folder / "demo" / name).string() + "'"; }
  static std::string Out(const std::string& name) { return "'" + (s_folder / name).string() + "'"; }

  static inline fs::path s_folder;
  static inline Result s_demo;
};

TEST_F(RenderCommand, DemoStudyHasTheImagePartsAndTheSopClassTable) {
  ASSERT_EQ(s_demo.status, 0) << s_demo.output;
  for (const char* file : {"MR/IM0001.dcm", "SC/PALETTE.dcm", "SC/RGB.dcm", "US/CINE.dcm"}) {
    EXPECT_TRUE(fs::exists(s_folder / "demo" / file)) << file;
  }
  const auto entries = tolmar::ReadSopClassTable(std::string(TOLMAR_PROGRAM_DIR) + "/SOPCLASS");
  bool mr = false;
  for (const auto& e : entries) mr = mr || (e.uid == "1.2.840.10008.5.1.4.1.1.4" && e.code == 2);
  EXPECT_TRUE(mr);
}

TEST_F(RenderCommand, WritesGreyBmpAtTheRequestedSize) {
  ASSERT_EQ(s_demo.status, 0);
  const auto r = RunTolmar("render " + Demo("CT/IM0001.dcm") + " " + Out("ct.bmp") + " --window 400,40 --size 100x50");
  ASSERT_EQ(r.status, 0) << r.output;
  const auto bmp = ReadAll(s_folder / "ct.bmp");
  ASSERT_GT(bmp.size(), 54u + 1024u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(U32(bmp, 18), 100u);
  EXPECT_EQ(U32(bmp, 22), 50u);
  EXPECT_EQ(bmp[28], 8);
  EXPECT_EQ(bmp.size(), 14u + 40u + 1024u + 100u * 50u);
}

TEST_F(RenderCommand, WritesColourAndMultiFramePng) {
  ASSERT_EQ(s_demo.status, 0);
  for (const auto& [input, output] : std::vector<std::pair<std::string, std::string>>{
           {"SC/PALETTE.dcm", "palette.png"}, {"SC/RGB.dcm", "rgb.PNG"}, {"MR/IM0002.dcm", "mr.png"}}) {
    const auto r = RunTolmar("render " + Demo(input) + " " + Out(output));
    ASSERT_EQ(r.status, 0) << input << r.output;
    const auto png = ReadAll(s_folder / output);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(png[2], 'N');
  }
  EXPECT_EQ(RunTolmar("render " + Demo("US/CINE.dcm") + " " + Out("cine.png") + " --frame 24").status, 0);
}

struct FailureCase {
  const char* name;
  std::string arguments;  // {demo} stands for the demo folder, {out} for the output folder
  int status;
  const char* message;
};

TEST_F(RenderCommand, ReportsUsageErrorsAndFailures) {
  ASSERT_EQ(s_demo.status, 0);
  const std::string ct = Demo("CT/IM0001.dcm");
  const FailureCase cases[] = {
      {"NoArguments", "render", 2, "usage: tolmar render"},
      {"BadExtension", "render " + ct + " " + Out("x.jpg"), 2, ".bmp or .png"},
      {"WindowWithoutCentre", "render " + ct + " " + Out("x.bmp") + " --window 400", 2, "WIDTH,CENTRE"},
      {"ZeroSize", "render " + ct + " " + Out("x.bmp") + " --size 0x10", 2, "WxH"},
      {"FrameZero", "render " + ct + " " + Out("x.bmp") + " --frame 0", 2, "--frame"},
      {"UnknownOption", "render " + ct + " " + Out("x.bmp") + " --fast", 2, "unknown option"},
      {"MissingFile", "render " + Out("absent.dcm") + " " + Out("x.bmp"), 1, "absent.dcm: "},
      {"FrameBeyondTheImage", "render " + ct + " " + Out("x.bmp") + " --frame 2", 1, "frame 2 does not exist"},
      {"ColourAtAnotherSize", "render " + Demo("SC/RGB.dcm") + " " + Out("x.bmp") + " --size 10x10", 1,
       "cannot be rendered at that size"},
      {"ColourWindow", "render " + Demo("SC/RGB.dcm") + " " + Out("x.bmp") + " --window 10,10", 1, "no window"},
      {"OutputFolderMissing", "render " + ct + " " + Out("no/such/x.bmp"), 1, "cannot be written"},
  };
  for (const auto& c : cases) {
    const auto r = RunTolmar(c.arguments);
    EXPECT_EQ(r.status, c.status) << c.name << ": " << r.output;
    EXPECT_NE(r.output.find(c.message), std::string::npos) << c.name << ": " << r.output;
    if (c.status == 1) {
      EXPECT_EQ(r.output.rfind("tolmar: ", 0), 0u) << c.name;
    }
  }
}

}  // namespace
