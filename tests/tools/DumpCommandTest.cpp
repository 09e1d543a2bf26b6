// `tolmar dump` with a file that cannot be read among good ones: the bad file is named on
// standard error with the reason, the exit status is 1, and every good file is still dumped.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "ToolRunner.h"
#include "dicom/DicomCodec.h"

namespace tolmar {
namespace {

using test::RunTolmar;
using test::ScratchFolder;

std::string Quote(const std::string& path) { return "'" + path + "'"; }

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A small file in explicit VR little endian, written by our own writer.
std::string WriteGoodFile(const ScratchFolder& folder) {
  auto ds = std::make_unique<DicomDataSet>();
  ds->AddElement(DicomElement::FromText(0x0008, 0x0016, vr::UI, "1.2.840.10008.5.1.4.1.1.7"));
  ds->AddElement(DicomElement::FromText(0x0008, 0x0060, vr::CS, "OT"));
  ds->AddElement(DicomElement::FromText(0x0010, 0x0010, vr::PN, "GOOD^FILE"));
  ds->AddElement(DicomElement::FromText(0x0010, 0x0020, vr::LO, "ID-GOOD1"));
  const std::string path = folder.File("good.dcm");
  DicomError error;
  EXPECT_TRUE(WriteDicomFile(path, FileLayout::PartTenExplicit, std::move(ds), &error))
      << error.ToString();
  return path;
}

// The good file declaring JPEG 2000, which the reader does not support: written with the
// JPEG baseline syntax, whose UID has the same length, which is then replaced.
std::string UnsupportedSyntax(const std::string& good) {
  auto ds = ReadDicomFile(good, ReadMode::FullRead);
  if (!ds) return {};
  ds->SetElement(DicomElement::FromText(0x0002, 0x0010, vr::UI, "1.2.840.10008.1.2.4.50"));
  std::vector<uint8_t> encoded;
  if (!EncodeDicomFile(FileLayout::PartTenExplicit, *ds, encoded)) return {};
  std::string bytes(encoded.begin(), encoded.end());
  const size_t at = bytes.find("1.2.840.10008.1.2.4.50");
  if (at != std::string::npos) bytes.replace(at, 22, "1.2.840.10008.1.2.4.90");
  return bytes;
}

struct BadFileCase {
  std::string name;
  std::string reason;  // what the message must say
  // Makes the bad file (or not, for a missing one) from the good file's bytes.
  std::string (*make)(const std::string& good);
  bool create = true;
};

void PrintTo(const BadFileCase& c, std::ostream* os) { *os << c.name; }

class DumpWithBadFile : public testing::TestWithParam<BadFileCase> {};

TEST_P(DumpWithBadFile, NamesTheBadFileAndStillDumpsTheGoodOnes) {
  ScratchFolder folder;
  const std::string good = WriteGoodFile(folder);
  const auto alone = RunTolmar("dump " + Quote(good));
  ASSERT_EQ(alone.exitCode, 0) << alone.err;
  ASSERT_NE(alone.out.find("GOOD^FILE"), std::string::npos) << alone.out;

  const std::string bad = folder.File("bad-" + GetParam().name + ".dcm");
  if (GetParam().create) WriteBytes(bad, GetParam().make(good));

  const auto r = RunTolmar("dump " + Quote(good) + " " + Quote(bad) + " " + Quote(good));
  EXPECT_EQ(r.exitCode, 1);
  // Both good files are dumped in full, in order, as if the bad one were not there.
  EXPECT_EQ(r.out, alone.out + alone.out);
  const std::string prefix = "tolmar: " + bad + ": ";
  EXPECT_EQ(r.err.rfind(prefix, 0), 0u) << r.err;
  EXPECT_NE(r.err.find(GetParam().reason, prefix.size()), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line on standard error: " << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Tool, DumpWithBadFile,
    testing::Values(BadFileCase{"Missing", "cannot open file",
                                [](const std::string&) { return std::string(); }, false},
                    BadFileCase{"Truncated", "runs past the end of the file",
                                [](const std::string& good) {
                                  const std::string bytes = ReadBytes(good);
                                  return bytes.substr(0, bytes.size() - 5);
                                }},
                    BadFileCase{"UnsupportedTransferSyntax",
                                "unsupported transfer syntax 1.2.840.10008.1.2.4.90",
                                UnsupportedSyntax},
                    BadFileCase{"TextFile", "runs past the end of the file",
                                [](const std::string&) {
                                  return std::string(
                                      "This is a text file, not a DICOM file at all.\n");
                                }}),
    [](const testing::TestParamInfo<BadFileCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tolmar
