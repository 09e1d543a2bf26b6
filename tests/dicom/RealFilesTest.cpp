// Files that no one here wrote: every file among Debian's python3-pydicom test files is
// read with our reader and compared with pydicom's raw view of it
// (tests/dicom/pydicom_oracle.py): tags, lengths, value bytes and sequence items,
// recursively. Expectations for the files that must fail are in data/pydicom-files.txt.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "ConformanceHelpers.h"
#include "dicom/DicomCodec.h"
#include "dicom/DicomDump.h"

namespace tolmar {
namespace {

using namespace tolmar::test;

std::string CaseName(const testing::TestParamInfo<std::string>& info) {
  return NameFromPath(info.param);
}

struct OracleView {
  std::string transferSyntax;  // "-" when the file has no meta header
  std::string body;
  std::string pixelLength;  // "-" when there is no top-level pixel data
  std::vector<std::string> lines;
};

OracleView RunOracle(const std::string& path, std::string& failure) {
  OracleView view;
  const CommandResult result = RunCommand(PydicomOracleCommand(path) + " 2>&1");
  if (result.status != 0) {
    failure = "pydicom oracle failed (" + std::to_string(result.status) +
              "): " + Shorten(result.out, 2000);
    return view;
  }
  auto lines = SplitLines(result.out);
  if (lines.size() < 3 || lines[0].rfind("TS ", 0) != 0 || lines[1].rfind("BODY ", 0) != 0 ||
      lines[2].rfind("PIXLEN ", 0) != 0) {
    failure = "unexpected oracle output: " + Shorten(result.out, 2000);
    return view;
  }
  view.transferSyntax = lines[0].substr(3);
  view.body = lines[1].substr(5);
  view.pixelLength = lines[2].substr(7);
  view.lines.assign(lines.begin() + 3, lines.end());
  return view;
}

// The top level of a data set without (7FE0,0010) and what follows it: what a
// header-only read keeps.
std::unique_ptr<DicomDataSet> HeaderPart(const DicomDataSet& full) {
  auto header = full.Clone();
  if (!full.FindElement(0x7FE0, 0x0010)) return header;
  std::vector<std::pair<uint16_t, uint16_t>> later;
  for (const DicomElement* e : header->SortedElements()) {
    if (e->Tag() >= 0x7FE00010u) later.emplace_back(e->group, e->element);
  }
  for (const auto& [g, e] : later) header->RemoveElement(g, e);
  return header;
}

const ReadMode kModes[] = {ReadMode::HeaderOnly, ReadMode::FullRead, ReadMode::HeaderIfMultiFrame};

class PydicomFileTest : public testing::TestWithParam<std::string> {
 protected:
  std::string Path() const { return PydicomTestFilesDir() + "/" + GetParam(); }

  // The file must fail in FullRead, from the file and from memory, with `reason` in the
  // message; every other mode must come back without crashing. An empty reason: any
  // outcome will do, as long as nothing crashes and what was read dumps.
  void ExpectFailure(const std::string& reason) {
    const std::string path = Path();
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    for (ReadMode mode : kModes) {
      DicomError fileError, memoryError;
      auto fromFile = ReadDicomFile(path, mode, &fileError);
      auto fromMemory = ReadDicomMemory(bytes.data(), bytes.size(), mode, &memoryError);
      EXPECT_EQ(fromFile != nullptr, fromMemory != nullptr) << "mode " << static_cast<int>(mode);
      if (fromFile) {
        // A header-only read may well succeed when the damage lies in the pixel data;
        // what it read must still dump.
        if (!reason.empty()) {
          EXPECT_NE(mode, ReadMode::FullRead);
        }
        DumpDataSet(*fromFile);
        continue;
      }
      EXPECT_FALSE(fileError.what.empty()) << "a failed read must say why";
      EXPECT_EQ(fileError.what, memoryError.what);
      if (mode == ReadMode::FullRead && !reason.empty()) {
        EXPECT_NE(fileError.what.find(reason), std::string::npos)
            << "reason: " << fileError.ToString() << "\nexpected it to contain: " << reason;
      }
    }
  }
};

TEST_P(PydicomFileTest, ReadsAsPydicomDoes) {
  const std::string path = Path();
  const auto& expectations = Expectations();
  if (auto it = expectations.find(GetParam()); it != expectations.end()) {
    RecordProperty("expectation", it->second.kind + ": " + it->second.why);
    ExpectFailure(it->second.kind == "garbage" ? std::string() : it->second.reason);
    return;
  }

  std::string failure;
  const OracleView oracle = RunOracle(path, failure);
  ASSERT_TRUE(failure.empty()) << failure;
  Encoding encoding;
  if (oracle.transferSyntax != "-" && !LookupTransferSyntax(oracle.transferSyntax, encoding)) {
    ExpectFailure("unsupported transfer syntax");
    DicomError error;
    EXPECT_EQ(ReadDicomFile(path, ReadMode::HeaderOnly, &error), nullptr);
    EXPECT_NE(error.what.find("unsupported transfer syntax " + oracle.transferSyntax),
              std::string::npos)
        << error.ToString();
    return;
  }

  DicomError error;
  auto full = ReadDicomFile(path, ReadMode::FullRead, &error);
  ASSERT_NE(full, nullptr) << "transfer syntax " << oracle.transferSyntax << " (" << oracle.body
                           << "): " << error.ToString();
  const std::vector<std::string> ours = CanonicalLines(*full);
  EXPECT_EQ(FirstDifference(oracle.lines, ours, "pydicom", "ours"), "")
      << "transfer syntax " << oracle.transferSyntax << ", body " << oracle.body;

  // The same bytes from memory read the same.
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  auto fromMemory = ReadDicomMemory(bytes.data(), bytes.size(), ReadMode::FullRead, &error);
  ASSERT_NE(fromMemory, nullptr) << error.ToString();
  EXPECT_EQ(FirstDifference(ours, CanonicalLines(*fromMemory), "file", "memory"), "");

  // Header only: everything before the pixel data, and its declared length.
  const std::vector<std::string> headerLines = CanonicalLines(*HeaderPart(*full));
  auto header = ReadDicomFile(path, ReadMode::HeaderOnly, &error);
  ASSERT_NE(header, nullptr) << error.ToString();
  EXPECT_EQ(FirstDifference(headerLines, CanonicalLines(*header), "full read", "header only"), "");
  if (oracle.pixelLength != "-") {
    const auto declared = static_cast<uint32_t>(std::stoul(oracle.pixelLength));
    EXPECT_EQ(full->pixelDataLength, declared);
    EXPECT_EQ(header->pixelDataLength, declared);
  }

  // Header if multi-frame: stops at the pixel data only when (0028,0008) exceeds 1.
  const long frames = std::strtol(full->GetText(0x0028, 0x0008).c_str(), nullptr, 10);
  auto multi = ReadDicomFile(path, ReadMode::HeaderIfMultiFrame, &error);
  ASSERT_NE(multi, nullptr) << error.ToString();
  EXPECT_EQ(FirstDifference(frames > 1 ? headerLines : ours, CanonicalLines(*multi),
                            frames > 1 ? "header only" : "full read", "header if multi-frame"),
            "")
      << "frames " << frames;
}

INSTANTIATE_TEST_SUITE_P(Pydicom, PydicomFileTest, testing::ValuesIn(PydicomFiles()), CaseName);

TEST(PydicomFiles, FolderHoldsTheTestFiles) {
  const auto files = PydicomFiles();
  EXPECT_GE(files.size(), 100u) << "python3-pydicom's test files are missing from "
                                << PydicomTestFilesDir()
                                << " (scripts/install-deps.sh installs them)";
  std::set<std::string> names;
  for (const auto& f : files)
    EXPECT_TRUE(names.insert(CaseName({f, 0})).second) << "two files named like " << f;
}

TEST(PydicomFiles, EveryExpectationNamesAFile) {
  const auto files = PydicomFiles();
  const std::set<std::string> present(files.begin(), files.end());
  ASSERT_FALSE(Expectations().empty()) << "data/pydicom-files.txt is missing or empty";
  for (const auto& [file, expectation] : Expectations()) {
    EXPECT_TRUE(present.count(file)) << file << " is listed in data/pydicom-files.txt but absent";
    EXPECT_TRUE(expectation.kind == "bad" || expectation.kind == "deviation" ||
                expectation.kind == "garbage")
        << file;
    EXPECT_FALSE(expectation.reason.empty()) << file;
  }
}

}  // namespace
}  // namespace tolmar
