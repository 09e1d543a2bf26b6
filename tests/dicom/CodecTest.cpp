// Reading and writing DICOM byte streams: encodings, transfer syntax switches, sequences,
// encapsulated pixel data, header-only modes, the meta header and hostile input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "ByteBuilder.h"
#include "dicom/DicomCodec.h"
#include "dicom/DicomDump.h"
#include "dicom/IconReader.h"
#include "dicom/MultiFrameReader.h"

namespace tolmar {
namespace {

using test::ByteBuilder;
using namespace std::string_literals;

std::unique_ptr<DicomDataSet> Parse(const ByteBuilder& b, ReadMode mode = ReadMode::FullRead,
                                    DicomError* error = nullptr) {
  return ReadDicomMemory(b.Bytes().data(), b.Size(), mode, error);
}

std::vector<uint8_t> Encode(std::unique_ptr<DicomDataSet> ds, FileLayout layout) {
  std::vector<uint8_t> out;
  DicomError error;
  EXPECT_TRUE(EncodeDicomFile(layout, *ds, out, &error)) << error.ToString();
  return out;
}

std::unique_ptr<DicomDataSet> Reparse(const std::vector<uint8_t>& bytes) {
  DicomError error;
  auto ds = ReadDicomMemory(bytes.data(), bytes.size(), ReadMode::FullRead, &error);
  EXPECT_TRUE(ds) << error.ToString();
  return ds;
}

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/tolmar-codec-XXXXXX";
    m_path = mkdtemp(pattern);
  }
  ~TempFolder() { std::filesystem::remove_all(m_path); }
  std::string File(const std::string& name) const { return m_path + "/" + name; }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream out(File(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

 private:
  std::string m_path;
};

// ---- encodings and transfer syntaxes ----

TEST(DicomReader, FileWithoutPreambleIsExplicitWhenTheSixthByteIsALetter) {
  ByteBuilder b;
  b.Explicit(0x0008, 0x0060, "CS", "CT").Explicit(0x0010, 0x0010, "PN", "DOE^J ");
  auto ds = Parse(b);
  ASSERT_TRUE(ds);
  EXPECT_EQ(ds->GetText(0x0008, 0x0060), "CT");
  EXPECT_EQ(ds->FindElement(0x0010, 0x0010)->vr, vr::PN);

  ByteBuilder implicit;
  implicit.Implicit(0x0008, 0x0060, "CT").Implicit(0x0010, 0x0010, "DOE^J ");
  auto ids = Parse(implicit);
  ASSERT_TRUE(ids);
  EXPECT_EQ(ids->FindElement(0x0010, 0x0010)->vr, vr::kUnknown);
  EXPECT_EQ(ids->GetText(0x0010, 0x0010), "DOE^J");
}

TEST(DicomReader, PreambleWithoutMarkerIsParsedFromTheFirstByte) {
  ByteBuilder b;
  b.Zeros(128).Raw("XXXX").Explicit(0x0008, 0x0060, "CS", "CT");
  DicomError error;
  auto ds = Parse(b, ReadMode::FullRead, &error);
  // The zero preamble reads as an element of group 0000 with length 0, which ends the parse.
  if (ds) {
    EXPECT_EQ(ds->FindElement(0x0008, 0x0060), nullptr);
  }
}

TEST(DicomReader, BigEndianSyntaxSwitchesAfterTheMetaHeader) {
  ByteBuilder b;
  b.Preamble().Meta(kExplicitBigUid).BigEndian(true);
  b.Explicit(0x0008, 0x0060, "CS", "MR").ExplicitUs(0x0028, 0x0010, 0x0102);
  b.Tag(0x0028, 0x0030).Raw("FL").U16(4).U32(0x3F800000);  // 1.0f
  auto ds = Parse(b);
  ASSERT_TRUE(ds);
  EXPECT_EQ(ds->GetText(0x0008, 0x0060), "MR");
  EXPECT_EQ(ds->GetUShort(0x0028, 0x0010), 0x0102);  // held in host order
  float f = 0;
  std::memcpy(&f, ds->FindElement(0x0028, 0x0030)->Value(), 4);
  EXPECT_EQ(f, 1.0f);
}

struct SyntaxCase {
  const char* name;
  const char* uid;
  bool supported;
};

class TransferSyntaxTable : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(TransferSyntaxTable, UnknownSyntaxesFailTheRead) {
  ByteBuilder b;
  b.Preamble().Meta(GetParam().uid).Explicit(0x0008, 0x0060, "CS", "CT");
  DicomError error;
  auto ds = Parse(b, ReadMode::FullRead, &error);
  EXPECT_EQ(ds != nullptr, GetParam().supported);
  if (!GetParam().supported) {
    EXPECT_NE(error.what.find("unsupported transfer syntax"), std::string::npos) << error.what;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransferSyntaxTable,
    ::testing::Values(SyntaxCase{"ExplicitLittle", "1.2.840.10008.1.2.1", true},
                      SyntaxCase{"Deflate", "1.2.840.10008.1.2.1.99", false},
                      SyntaxCase{"JpegBaseline", "1.2.840.10008.1.2.4.50", true},
                      SyntaxCase{"JpegLossless", "1.2.840.10008.1.2.4.70", true},
                      SyntaxCase{"Jpeg2000", "1.2.840.10008.1.2.4.90", false},
                      SyntaxCase{"Rle", "1.2.840.10008.1.2.5", true},
                      SyntaxCase{"CaseMatters", "1.2.840.10008.1.2.4.5O", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DicomReader, SuitesOwnJpegSyntaxBodyIsImplicit) {
  ByteBuilder b;
  b.Preamble().Meta("1.2.840.780701.1.2.4.70").Implicit(0x0008, 0x0060, "CT");
  auto ds = Parse(b);
  ASSERT_TRUE(ds);
  EXPECT_EQ(ds->GetText(0x0008, 0x0060), "CT");
}

// ---- lengths ----

TEST(DicomReader, LongPrivateElementFailsButLongPixelDataDoesNot) {
  const std::string big(6 * 1024 * 1024, 'x');
  ByteBuilder privateElement;
  privateElement.Explicit(0x0008, 0x0060, "CS", "CT").Explicit(0x0009, 0x1010, "OB", big);
  DicomError error;
  EXPECT_FALSE(Parse(privateElement, ReadMode::FullRead, &error));
  EXPECT_EQ(error.group, 0x0009);

  ByteBuilder pixels;
  pixels.Explicit(0x0008, 0x0060, "CS", "CT").Explicit(0x7FE0, 0x0010, "OW", big);
  auto ds = Parse(pixels);
  ASSERT_TRUE(ds);
  EXPECT_EQ(ds->FindElement(0x7FE0, 0x0010)->length, big.size());
}

TEST(DicomReader, LengthsBeyondTheDataFailWithoutAllocating) {
  struct Case {
    const char* name;
    ByteBuilder bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"value", ByteBuilder()
                                .Explicit(0x0008, 0x0060, "CS", "CT")
                                .ExplicitHeader(0x7FE0, 0x0010, "OW", 0xFFFFFFF0u)});
  cases.push_back(
      {"item", ByteBuilder().ExplicitHeader(0x0008, 0x1140, "SQ", 0xFFFFFFFFu).Item(0x7FFFFFF0u)});
  cases.push_back({"sequence", ByteBuilder().ExplicitHeader(0x0008, 0x1140, "SQ", 0x00400000u)});
  cases.push_back(
      {"fragment",
       ByteBuilder().ExplicitHeader(0x7FE0, 0x0010, "OB", 0xFFFFFFFFu).Item(0).Item(0xFFFFFF00u)});
  for (const auto& c : cases) {
    DicomError error;
    EXPECT_FALSE(Parse(c.bytes, ReadMode::FullRead, &error)) << c.name;
    EXPECT_FALSE(error.what.empty()) << c.name;
  }
}

TEST(DicomReader, EveryTruncationOfAGoodFileFailsCleanlyOrReadsAPrefix) {
  ByteBuilder b;
  b.Preamble().Meta(kExplicitLittleUid).Explicit(0x0008, 0x0060, "CS", "CT");
  b.ExplicitHeader(0x0008, 0x1140, "SQ", 0xFFFFFFFFu).Item(0xFFFFFFFFu);
  b.Explicit(0x0008, 0x1150, "UI", "1.2.3.4 ").ItemEnd().SequenceEnd();
  b.ExplicitHeader(0x7FE0, 0x0010, "OB", 0xFFFFFFFFu).Item(4).U32(0).Item(6).Raw("ABCDEF");
  b.SequenceEnd();
  ASSERT_TRUE(Parse(b));
  for (size_t cut = 0; cut < b.Size(); ++cut) {
    DicomError error;
    auto ds = ReadDicomMemory(b.Bytes().data(), cut, ReadMode::FullRead, &error);
    if (!ds) {
      EXPECT_FALSE(error.what.empty()) << "cut at " << cut;
    }
  }
}

TEST(DicomReader, DeepNestingIsRefused) {
  ByteBuilder b;
  b.Explicit(0x0008, 0x0060, "CS", "CT");
  const int depth = kMaxNestingDepth + 5;
  for (int i = 0; i < depth; ++i)
    b.ExplicitHeader(0x0008, 0x1140, "SQ", 0xFFFFFFFFu).Item(0xFFFFFFFFu);
  for (int i = 0; i < depth; ++i) b.ItemEnd().SequenceEnd();
  DicomError error;
  EXPECT_FALSE(Parse(b, ReadMode::FullRead, &error));
  EXPECT_NE(error.what.find("nested"), std::string::npos) << error.what;
}

TEST(DicomReader, UnexpectedItemTagWithALengthFails) {
  ByteBuilder b;
  b.Explicit(0x0008, 0x0060, "CS", "CT").Tag(0xFFFE, 0xE001).U32(4).U32(0);
  EXPECT_FALSE(Parse(b));
}

// ---- sequences ----

TEST(DicomReader, ImplicitSequencesSplitIntoItemsOnlyWithUndefinedLength) {
  ByteBuilder inner;
  inner.Item(16).Implicit(0x0008, 0x1150, "1.2.3.4 ");
  ByteBuilder undefinedLength;
  undefinedLength.Implicit(0x0008, 0x0060, "CT").ImplicitHeader(0x0008, 0x1140, 0xFFFFFFFFu);
  undefinedLength.Raw(inner.Bytes()).SequenceEnd();
  auto a = Parse(undefinedLength);
  ASSERT_TRUE(a);
  const DicomElement* seq = a->FindElement(0x0008, 0x1140);
  ASSERT_NE(seq, nullptr);
  ASSERT_EQ(seq->ItemCount(), 1u);
  EXPECT_EQ((*seq->Items())[0]->GetText(0x0008, 0x1150), "1.2.3.4");

  ByteBuilder definedLength;
  definedLength.Implicit(0x0008, 0x0060, "CT")
      .ImplicitHeader(0x0008, 0x1140, static_cast<uint32_t>(inner.Size()))
      .Raw(inner.Bytes());
  auto b = Parse(definedLength);
  ASSERT_TRUE(b);
  const DicomElement* raw = b->FindElement(0x0008, 0x1140);
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(raw->ItemCount(), 0u);
  EXPECT_EQ(raw->length, inner.Size());
}

TEST(DicomReader, ExplicitDefinedLengthSequenceKeepsItsItems) {
  ByteBuilder item;
  item.Item(16).Explicit(0x0008, 0x1150, "UI", "1.2.3.4 ");
  ByteBuilder b;
  b.Explicit(0x0008, 0x0060, "CS", "CT");
  b.ExplicitHeader(0x0008, 0x1140, "SQ", static_cast<uint32_t>(item.Size())).Raw(item.Bytes());
  b.Explicit(0x0010, 0x0010, "PN", "DOE ");
  auto ds = Parse(b);
  ASSERT_TRUE(ds);
  const DicomElement* seq = ds->FindElement(0x0008, 0x1140);
  ASSERT_EQ(seq->ItemCount(), 1u);
  // Items of a defined-length sequence count from the start of the sequence's value.
  EXPECT_EQ((*seq->Items())[0]->itemOffset, 0u);
  EXPECT_EQ(ds->GetText(0x0010, 0x0010), "DOE");
}

// Recovery paths for files that other writers get slightly wrong.
TEST(DicomReaderRecovery, SequenceOfUnknownVrIsReadAsImplicitAndWrittenAsSq) {
  ByteBuilder b;
  b.Preamble().Meta(kExplicitLittleUid).Explicit(0x0008, 0x0060, "CS", "CT");
  b.ExplicitHeader(0x0008, 0x1115, "UN", 0xFFFFFFFFu).Item(0xFFFFFFFFu);
  b.Implicit(0x0008, 0x1150, "1.2.3.4 ").ItemEnd().SequenceEnd();
  b.Explicit(0x0010, 0x0010, "PN", "DOE ");
  auto ds = Parse(b);
  ASSERT_TRUE(ds);
  const DicomElement* seq = ds->FindElement(0x0008, 0x1115);
  ASSERT_EQ(seq->ItemCount(), 1u);
  EXPECT_EQ((*seq->Items())[0]->GetText(0x0008, 0x1150), "1.2.3.4");
  EXPECT_EQ(ds->GetText(0x0010, 0x0010), "DOE");

  auto reread = Reparse(Encode(std::move(ds), FileLayout::PartTenExplicit));
  ASSERT_TRUE(reread);
  EXPECT_EQ(reread->FindElement(0x0008, 0x1115)->vr, vr::SQ);
  EXPECT_EQ((*reread->FindElement(0x0008, 0x1115)->Items())[0]->GetText(0x0008, 0x1150), "1.2.3.4");
}

TEST(DicomReaderRecovery, BodyStartingWithAGroupBelowTwoStillSwitchesEncoding) {
  ByteBuilder b;
  b.Preamble().Meta(kImplicitLittleUid).Implicit(0x0001, 0x0001, "private!");
  b.Implicit(0x0008, 0x0060, "CT");
  auto ds = Parse(b);
  ASSERT_TRUE(ds);
  EXPECT_EQ(ds->GetText(0x0001, 0x0001), "private!");
  EXPECT_EQ(ds->GetText(0x0008, 0x0060), "CT");
}

// ---- encapsulated pixel data ----

TEST(DicomReader, LegacyFragmentTerminatorReadsLikeTheStandardOne) {
  for (uint16_t terminatorGroup : {uint16_t{0xFFFE}, uint16_t{0xFFE0}}) {
    ByteBuilder b;
    b.Explicit(0x0008, 0x0060, "CS", "CT").ExplicitHeader(0x7FE0, 0x0010, "OB", 0xFFFFFFFFu);
    b.Item(0).Item(4).Raw("JPEG").Tag(terminatorGroup, 0xE0DD).U32(0);
    b.Explicit(0xFFFC, 0xFFFC, "OB", "pd");
    auto ds = Parse(b);
    ASSERT_TRUE(ds) << std::hex << terminatorGroup;
    const DicomElement* pixels = ds->FindElement(0x7FE0, 0x0010);
    ASSERT_EQ(pixels->ItemCount(), 2u);
    EXPECT_EQ((*pixels->Items())[1]->FindElement(0xFFFE, 0xE000)->Text(), "JPEG");
    EXPECT_NE(ds->FindElement(0xFFFC, 0xFFFC), nullptr);
    EXPECT_EQ(ds->pixelDataLength, kUndefinedLength);

    auto written = Encode(std::move(ds), FileLayout::PartTenExplicit);
    const uint8_t standard[8] = {0xFE, 0xFF, 0xDD, 0xE0, 0, 0, 0, 0};
    auto at = std::search(written.begin(), written.end(), std::begin(standard), std::end(standard));
    EXPECT_NE(at, written.end());
  }
}

TEST(DicomReader, JoinsUncompressedFragmentsSwappingBytePairs) {
  DicomDataSet ds;
  const uint8_t one[2] = {1, 0}, two[2] = {2, 0}, eight[2] = {8, 0};
  ds.AddElement(DicomElement::FromBytes(0x0028, 0x0010, vr::US, one));
  ds.AddElement(DicomElement::FromBytes(0x0028, 0x0011, vr::US, two));
  ds.AddElement(DicomElement::FromBytes(0x0028, 0x0100, vr::US, eight));
  ds.AddElement(DicomElement::Empty(0x7FE0, 0x0010, vr::OB));
  auto addFragment = [&](std::vector<uint8_t> bytes) {
    auto item = std::make_unique<DicomDataSet>();
    item->AddElement(DicomElement::FromBytes(0xFFFE, 0xE000, 0, bytes));
    ds.AddItem(std::move(item));
  };
  addFragment({});  // offset table
  addFragment({0xA1, 0xA2});
  addFragment({0xB1, 0xB2, 0xEE, 0xEE});  // longer than a frame: cut at the frame
  JoinFragments(ds);
  const DicomElement* pixels = ds.FindElement(0x7FE0, 0x0010);
  ASSERT_TRUE(pixels->HasValue());
  EXPECT_EQ(pixels->ItemCount(), 0u);
  ASSERT_EQ(pixels->length, 4u);
  EXPECT_EQ(std::vector<uint8_t>(pixels->Value(), pixels->Value() + 4),
            (std::vector<uint8_t>{0xA2, 0xA1, 0xB2, 0xB1}));
}

TEST(DicomReader, DoesNotJoinFragmentsFarShorterThanTheFramesTheHeaderPromises) {
  DicomDataSet ds;
  const uint8_t big[2] = {0x40, 0x1F}, sixteen[2] = {16, 0};  // 8000 x 8000 x 16 bits
  ds.AddElement(DicomElement::FromBytes(0x0028, 0x0010, vr::US, big));
  ds.AddElement(DicomElement::FromBytes(0x0028, 0x0011, vr::US, big));
  ds.AddElement(DicomElement::FromBytes(0x0028, 0x0100, vr::US, sixteen));
  ds.AddElement(DicomElement::Empty(0x7FE0, 0x0010, vr::OB));
  for (int i = 0; i < 3; ++i) {
    auto item = std::make_unique<DicomDataSet>();
    item->AddElement(DicomElement::FromBytes(0xFFFE, 0xE000, 0, std::vector<uint8_t>(16, 7)));
    ds.AddItem(std::move(item));
  }
  JoinFragments(ds);  // 256 MB promised, 32 bytes held: left as fragments
  const DicomElement* pixels = ds.FindElement(0x7FE0, 0x0010);
  EXPECT_FALSE(pixels->HasValue());
  EXPECT_EQ(pixels->ItemCount(), 3u);
}

// ---- header-only modes ----

ByteBuilder ImageWithFrames(const char* frames) {
  ByteBuilder b;
  b.Explicit(0x0008, 0x0060, "CS", "CT");
  if (frames) b.Explicit(0x0028, 0x0008, "IS", frames);
  b.ExplicitUs(0x0028, 0x0010, 2).ExplicitUs(0x0028, 0x0011, 2).ExplicitUs(0x0028, 0x0100, 8);
  b.Explicit(0x7FE0, 0x0010, "OB", "abcdefgh");
  return b;
}

TEST(DicomReader, HeaderModesStopAtThePixelDataAndRecordItsLength) {
  struct Case {
    const char* name;
    const char* frames;
    ReadMode mode;
    bool pixelsRead;
  } cases[] = {
      {"header only", nullptr, ReadMode::HeaderOnly, false},
      {"full", nullptr, ReadMode::FullRead, true},
      {"single frame in mode 2", "1 ", ReadMode::HeaderIfMultiFrame, true},
      {"two frames in mode 2", "2 ", ReadMode::HeaderIfMultiFrame, false},
  };
  for (const auto& c : cases) {
    auto ds = Parse(ImageWithFrames(c.frames), c.mode);
    ASSERT_TRUE(ds) << c.name;
    EXPECT_EQ(ds->FindElement(0x7FE0, 0x0010) != nullptr, c.pixelsRead) << c.name;
    EXPECT_EQ(ds->pixelDataLength, 8u) << c.name;
    EXPECT_EQ(ds->GetUShort(0x0028, 0x0010), 2) << c.name;
  }
}

TEST(DicomReader, IconPixelDataInsideASequenceDoesNotStopTheHeaderRead) {
  ByteBuilder b;
  b.Explicit(0x0008, 0x0060, "CS", "CT").ExplicitHeader(0x0088, 0x0200, "SQ", 0xFFFFFFFFu);
  b.Item(0xFFFFFFFFu).Explicit(0x7FE0, 0x0010, "OB", "icon").ItemEnd().SequenceEnd();
  b.Explicit(0x0010, 0x0010, "PN", "AFTER ");
  auto ds = Parse(b, ReadMode::HeaderOnly);
  ASSERT_TRUE(ds);
  EXPECT_EQ(ds->GetText(0x0010, 0x0010), "AFTER");
}

// ---- writing ----

std::unique_ptr<DicomDataSet> SampleDataSet() {
  auto ds = std::make_unique<DicomDataSet>();
  ds->AddElement(DicomElement::FromText(0x0008, 0x0016, vr::UI, "1.2.840.10008.5.1.4.1.1.2"));
  ds->AddElement(DicomElement::FromText(0x0008, 0x0018, vr::UI, "1.2.3.4.5"));
  ds->AddElement(DicomElement::FromText(0x0008, 0x0060, vr::CS, "CT"));
  ds->AddElement(DicomElement::FromText(0x0010, 0x0010, vr::PN, "ODDNAME"));
  const uint8_t rows[2] = {2, 0};
  ds->AddElement(DicomElement::FromBytes(0x0028, 0x0010, vr::US, rows));
  ds->AddElement(DicomElement::Empty(0x0008, 0x1140, vr::SQ));
  for (const char* uid : {"1.2.3", "1.2.3.4.5.6.7"}) {
    auto item = std::make_unique<DicomDataSet>();
    item->AddElement(DicomElement::FromText(0x0008, 0x1150, vr::UI, uid));
    ds->AddItem(std::move(item));
  }
  ds->AddElement(DicomElement::FromText(0x0009, 0x1001, vr::LO, "PRIVATE"));
  const uint8_t pixels[4] = {1, 2, 3, 4};
  ds->AddElement(DicomElement::FromBytes(0x7FE0, 0x0010, vr::OW, pixels));
  return ds;
}

std::string Describe(const DicomDataSet& ds, const std::string& prefix = "") {
  std::string out;
  for (const DicomElement* e : ds.SortedElements()) {
    char head[32];
    std::snprintf(head, sizeof head, "(%04X,%04X)%u:", e->group, e->element, e->length);
    out += prefix + head + std::string(e->Bytes().begin(), e->Bytes().end()) + "\n";
    if (e->Items()) {
      for (const auto& item : *e->Items()) out += Describe(*item, prefix + ">");
    }
  }
  return out;
}

class LayoutRoundTrip : public ::testing::TestWithParam<FileLayout> {};

TEST_P(LayoutRoundTrip, KeepsEveryElementItemAndPrivateValue) {
  auto original = SampleDataSet();
  const std::string before = Describe(*original);
  auto reread = Reparse(Encode(std::move(original), GetParam()));
  ASSERT_TRUE(reread);
  // The meta header is new; the rest must match byte for byte.
  DicomDataSet body;
  while (auto e = reread->PopNext()) {
    if (e->group != 0x0002 && e->element != 0x0000) body.AddElement(std::move(e));
  }
  EXPECT_EQ(Describe(body), before);
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutRoundTrip,
                         ::testing::Values(FileLayout::RawDataSet, FileLayout::PartTenImplicit,
                                           FileLayout::PartTenExplicit),
                         [](const auto& info) {
                           return std::string(info.param == FileLayout::RawDataSet ? "Raw"
                                              : info.param == FileLayout::PartTenImplicit
                                                  ? "Implicit"
                                                  : "Explicit");
                         });

TEST(DicomWriter, MetaHeaderComesFirstEvenBeforeGroupsBelowTwo) {
  for (FileLayout layout : {FileLayout::PartTenImplicit, FileLayout::PartTenExplicit}) {
    auto ds = SampleDataSet();
    ds->AddElement(DicomElement::FromText(0x0001, 0x0001, vr::LO, "private!"));
    const auto bytes = Encode(std::move(ds), layout);
    ASSERT_GT(bytes.size(), 136u);
    EXPECT_EQ(bytes[132], 0x02);  // (0002,0000) right after "DICM"
    EXPECT_EQ(bytes[133], 0x00);
    auto reread = Reparse(bytes);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->GetText(0x0001, 0x0001), "private!");
    EXPECT_EQ(reread->GetText(0x0010, 0x0010), "ODDNAME");
  }
}

TEST(DicomWriter, OddLengthIsWrittenEvenWithATrailingZero) {
  DicomDataSet ds;
  uint8_t seven[7] = {'A', 'B', 'C', 'D', 'E', 'F', 'G'};
  ds.AddElement(DicomElement::Borrow(0x0010, 0x0010, vr::PN, seven, 7));
  auto stream = DicomStream::ForWriting();
  ASSERT_TRUE(EncodeDataSet(*stream, Encoding::ImplicitLittle, ds));
  const auto bytes = stream->TakeOutput();
  // (0010,0000) UL 4 value, then (0010,0010) with length 8.
  ASSERT_EQ(bytes.size(), 12u + 8u + 8u);
  uint32_t length = 0;
  std::memcpy(&length, bytes.data() + 12 + 4, 4);
  EXPECT_EQ(length, 8u);
  EXPECT_EQ(bytes.back(), 0);
  EXPECT_EQ(bytes[bytes.size() - 2], 'G');
}

struct MetaCase {
  const char* name;
  FileLayout layout;
  const char* existing;
  const char* expected;
};

class MetaHeader : public ::testing::TestWithParam<MetaCase> {};

TEST_P(MetaHeader, TransferSyntaxComesFromTheDataSetOrTheLayout) {
  auto ds = SampleDataSet();
  if (GetParam().existing) {
    ds->AddElement(DicomElement::FromText(0x0002, 0x0010, vr::UI, GetParam().existing));
  }
  ds->AddElement(DicomElement::FromText(0x0002, 0x0013, vr::SH, "OTHER_WRITER"));
  BuildFileMetaHeader(*ds, GetParam().layout);
  EXPECT_EQ(ds->GetText(0x0002, 0x0010), GetParam().expected);
  EXPECT_EQ(ds->GetText(0x0002, 0x0012), kImplementationClassUid);
  EXPECT_EQ(ds->GetText(0x0002, 0x0013), kImplementationVersionName);
  EXPECT_EQ(ds->GetText(0x0002, 0x0002), "1.2.840.10008.5.1.4.1.1.2");
  EXPECT_EQ(ds->GetText(0x0002, 0x0003), "1.2.3.4.5");
  const DicomElement* version = ds->FindElement(0x0002, 0x0001);
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->Value()[1], 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MetaHeader,
    ::testing::Values(
        MetaCase{"ImplicitDefault", FileLayout::PartTenImplicit, nullptr, kImplicitLittleUid},
        MetaCase{"ExplicitDefault", FileLayout::PartTenExplicit, nullptr, kExplicitLittleUid},
        MetaCase{"ImplicitKeepsExisting", FileLayout::PartTenImplicit, "1.2.840.10008.1.2.2",
                 "1.2.840.10008.1.2.2"},
        MetaCase{"ExplicitKeepsExisting", FileLayout::PartTenExplicit, "1.2.840.10008.1.2",
                 "1.2.840.10008.1.2"}),
    [](const auto& info) { return std::string(info.param.name); });

// Walks an encoded top-level data set from group length to group length: each declared
// length must land exactly on the next group (or the end of the file).
void ExpectTrueGroupLengths(const std::vector<uint8_t>& bytes, size_t start) {
  size_t at = start;
  while (at + 12 <= bytes.size()) {
    const uint16_t group = static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
    uint32_t declared = 0;
    // Group length elements take 8 header bytes in both encodings (explicit UL has a 16-bit
    // length).
    std::memcpy(&declared, bytes.data() + at + 8, 4);
    const size_t next = at + 12 + declared;
    ASSERT_LE(next, bytes.size()) << std::hex << group;
    if (next < bytes.size()) {
      const uint16_t nextGroup = static_cast<uint16_t>(bytes[next] | (bytes[next + 1] << 8));
      const uint16_t nextElement = static_cast<uint16_t>(bytes[next + 2] | (bytes[next + 3] << 8));
      EXPECT_NE(nextGroup, group) << "group " << std::hex << group << " length too short";
      EXPECT_EQ(nextElement, 0) << "group " << std::hex << group << " length misses a boundary";
    }
    at = next;
  }
  EXPECT_EQ(at, bytes.size());
}

TEST(DicomWriter, GroupLengthsMatchTheWrittenBytesInBothEncodings) {
  for (FileLayout layout : {FileLayout::PartTenImplicit, FileLayout::PartTenExplicit}) {
    auto ds = SampleDataSet();
    // Encapsulated pixel data with an odd fragment instead of native pixels.
    ds->RemoveElement(0x7FE0, 0x0010);
    ds->AddElement(DicomElement::Empty(0x7FE0, 0x0010, vr::OB));
    for (std::vector<uint8_t> fragment : {std::vector<uint8_t>{}, std::vector<uint8_t>{1, 2, 3}}) {
      auto item = std::make_unique<DicomDataSet>();
      item->AddElement(DicomElement::FromBytes(0xFFFE, 0xE000, 0, fragment));
      ds->AddItem(std::move(item));
    }
    const auto bytes = Encode(std::move(ds), layout);
    ExpectTrueGroupLengths(bytes, 132);
    auto reread = Reparse(bytes);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->FindElement(0x7FE0, 0x0010)->ItemCount(), 2u);
  }
}

TEST(DicomWriter, BigEndianOutputSwapsBinaryValuesAndReadsBack) {
  auto ds = SampleDataSet();
  ds->AddElement(DicomElement::FromText(0x0002, 0x0010, vr::UI, kExplicitBigUid));
  auto bytes = Encode(std::move(ds), FileLayout::PartTenExplicit);
  // Rows 2 appears as 00 02 in the big-endian body.
  const uint8_t rowsTag[8] = {0x00, 0x28, 0x00, 0x10, 'U', 'S', 0x00, 0x02};
  auto at = std::search(bytes.begin(), bytes.end(), std::begin(rowsTag), std::end(rowsTag));
  ASSERT_NE(at, bytes.end());
  EXPECT_EQ(at[8], 0x00);
  EXPECT_EQ(at[9], 0x02);
  auto reread = Reparse(bytes);
  ASSERT_TRUE(reread);
  EXPECT_EQ(reread->GetUShort(0x0028, 0x0010), 2);
  EXPECT_EQ(reread->GetText(0x0010, 0x0010), "ODDNAME");
}

TEST(DicomWriter, UnknownTransferSyntaxFailsAndLeavesTheTargetFileAlone) {
  TempFolder folder;
  const std::string path = folder.File("existing.dcm");
  folder.Write("existing.dcm", {'k', 'e', 'e', 'p'});
  auto ds = SampleDataSet();
  ds->AddElement(DicomElement::FromText(0x0002, 0x0010, vr::UI, "1.2.840.10008.1.2.4.90"));
  DicomError error;
  EXPECT_FALSE(WriteDicomFile(path, FileLayout::PartTenExplicit, std::move(ds), &error));
  EXPECT_NE(error.what.find("unsupported transfer syntax"), std::string::npos);
  EXPECT_EQ(std::filesystem::file_size(path), 4u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.File("")),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(DicomWriter, WrittenFileReadsBackFromDisk) {
  TempFolder folder;
  const std::string path = folder.File("out.dcm");
  ASSERT_TRUE(WriteDicomFile(path, FileLayout::PartTenExplicit, SampleDataSet()));
  DicomError error;
  auto ds = ReadDicomFile(path, ReadMode::FullRead, &error);
  ASSERT_TRUE(ds) << error.ToString();
  EXPECT_EQ(ds->GetText(0x0009, 0x1001), "PRIVATE");
  EXPECT_FALSE(ReadDicomFile(folder.File("missing.dcm"), ReadMode::FullRead, &error));
  EXPECT_NE(error.what.find("cannot open"), std::string::npos);
}

// ---- multi-frame reader ----

std::vector<uint8_t> MultiFrameFile(uint32_t frames, uint32_t declaredLength) {
  ByteBuilder b;
  b.Preamble().Meta(kExplicitLittleUid);
  b.Explicit(0x0028, 0x0004, "CS", "MONOCHROME2 ");
  b.Explicit(0x0028, 0x0008, "IS", std::to_string(frames) + (frames < 10 ? " " : ""));
  b.ExplicitUs(0x0028, 0x0010, 512).ExplicitUs(0x0028, 0x0011, 512).ExplicitUs(0x0028, 0x0100, 16);
  b.ExplicitHeader(0x7FE0, 0x0010, "OW", declaredLength);
  std::vector<uint8_t> bytes = b.Bytes();
  const size_t frameSize = 512 * 512 * 2;
  for (uint32_t f = 0; f < frames; ++f)
    bytes.insert(bytes.end(), frameSize, static_cast<uint8_t>(f + 1));
  return bytes;
}

TEST(MultiFrameReader, OpensOnlyWhenThePixelLengthCoversEveryFrame) {
  TempFolder folder;
  folder.Write("exact.dcm", MultiFrameFile(10, 5242880));
  folder.Write("short.dcm", MultiFrameFile(10, 5242878));
  MultiFrameReader exact;
  DicomError error;
  ASSERT_TRUE(exact.Open(folder.File("exact.dcm"), &error)) << error.ToString();
  EXPECT_EQ(exact.FrameCount(), 10);
  std::vector<uint8_t> frame;
  for (int f = 0; f < 10; ++f) {
    ASSERT_TRUE(exact.NextFrame(frame)) << f;
    ASSERT_EQ(frame.size(), 524288u);
    EXPECT_EQ(frame.front(), f + 1);
    EXPECT_EQ(frame.back(), f + 1);
  }
  EXPECT_FALSE(exact.NextFrame(frame));
  MultiFrameReader shortFile;
  EXPECT_FALSE(shortFile.Open(folder.File("short.dcm")));
}

TEST(MultiFrameReader, EncapsulatedFramesSkipTheOffsetTable) {
  TempFolder folder;
  ByteBuilder b;
  b.Preamble().Meta("1.2.840.10008.1.2.1");
  b.Explicit(0x0028, 0x0004, "CS", "MONOCHROME2 ").Explicit(0x0028, 0x0008, "IS", "2 ");
  b.ExplicitUs(0x0028, 0x0010, 1).ExplicitUs(0x0028, 0x0011, 2).ExplicitUs(0x0028, 0x0100, 16);
  b.ExplicitHeader(0x7FE0, 0x0010, "OB", 0xFFFFFFFFu).Item(8).U32(0).U32(12);
  b.Item(4).Raw("ABCD").Item(4).Raw("EFGH").SequenceEnd();
  folder.Write("frames.dcm", b.Bytes());
  MultiFrameReader reader;
  DicomError error;
  ASSERT_TRUE(reader.Open(folder.File("frames.dcm"), &error)) << error.ToString();
  std::vector<uint8_t> frame;
  ASSERT_TRUE(reader.NextFrame(frame, &error)) << error.ToString();
  EXPECT_EQ(std::string(frame.begin(), frame.end()), "ABCD");
  ASSERT_TRUE(reader.NextFrame(frame));
  EXPECT_EQ(std::string(frame.begin(), frame.end()), "EFGH");
  EXPECT_FALSE(reader.NextFrame(frame));
}

// ---- icon ----

std::vector<uint8_t> IconFile(const std::vector<uint8_t>& value, bool explicitVr) {
  ByteBuilder b;
  b.Preamble();
  const uint32_t groupLength = static_cast<uint32_t>((explicitVr ? 12 : 8) + value.size());
  if (explicitVr) {
    b.Tag(0x0002, 0x0000)
        .Raw("UL")
        .U16(4)
        .U32(14)
        .Explicit(0x0002, 0x0001, "OB", std::string("\0\1", 2));
    b.Tag(0x0007, 0x0000).Raw("UL").U16(4).U32(groupLength);
    b.ExplicitHeader(0x0007, 0x0001, "OB", static_cast<uint32_t>(value.size())).Raw(value);
  } else {
    b.ImplicitHeader(0x0002, 0x0000, 4).U32(10).Implicit(0x0002, 0x0001, std::string("\0\1", 2));
    b.ImplicitHeader(0x0007, 0x0000, 4).U32(groupLength);
    b.ImplicitHeader(0x0007, 0x0001, static_cast<uint32_t>(value.size())).Raw(value);
  }
  b.Explicit(0x0008, 0x0060, "CS", "CT");
  return b.Bytes();
}

TEST(IconReader, ReadsBothFormsAndIgnoresOthers) {
  // Grey form: marker, width 3, height 2, top row first; plus a padding byte.
  std::vector<uint8_t> grey = {0x75, 0x78, 3, 0, 2, 0, 10, 20, 30, 40, 50, 60};
  for (bool explicitVr : {false, true}) {
    auto file = IconFile(grey, explicitVr);
    std::vector<uint8_t> dib;
    DicomError error;
    ASSERT_TRUE(ReadDicomIconFromMemory(file.data(), file.size(), dib, &error)) << error.ToString();
    ASSERT_EQ(dib.size(), 40u + 1024u + 2u * 4u);
    EXPECT_EQ(dib[14], 8);  // bits per pixel
    // Bottom-up rows: the second image row comes first.
    EXPECT_EQ(dib[1064], 40);
    EXPECT_EQ(dib[1068], 10);
    EXPECT_EQ(dib[40 + 4 * 200], 200);  // grey palette
  }
  std::vector<uint8_t> packed = {'Q', 'V', '-', 'K', 'T', 40, 0, 0, 0};
  auto file = IconFile(packed, false);
  std::vector<uint8_t> dib;
  ASSERT_TRUE(ReadDicomIconFromMemory(file.data(), file.size(), dib));
  EXPECT_EQ(dib, (std::vector<uint8_t>{40, 0, 0, 0}));

  auto other = IconFile({1, 2, 3, 4}, false);
  EXPECT_FALSE(ReadDicomIconFromMemory(other.data(), other.size(), dib));
  // A grey icon whose size runs past its value is refused.
  auto lying = IconFile({0x75, 0x78, 100, 0, 100, 0, 1, 2}, false);
  EXPECT_FALSE(ReadDicomIconFromMemory(lying.data(), lying.size(), dib));
  // A preamble that does not sum to zero is refused.
  auto noisy = IconFile(grey, false);
  noisy[5] = 1;
  EXPECT_FALSE(ReadDicomIconFromMemory(noisy.data(), noisy.size(), dib));
}

// ---- dump ----

TEST(DicomDump, WritesBannerHeadsAndSixteenByteLines) {
  DicomDataSet ds;
  ds.AddElement(DicomElement::FromText(0x0002, 0x0010, vr::UI, "1.2.840.10008.1.2"));
  ds.AddElement(DicomElement::FromText(0x0008, 0x0018, vr::UI, "ABCDEFGHIJKLMNOPQRST"));
  ds.AddElement(DicomElement::Empty(0x0008, 0x1140, vr::SQ));
  auto item = std::make_unique<DicomDataSet>();
  item->AddElement(DicomElement::FromText(0x0008, 0x1150, vr::UI, "XY"));
  ds.AddItem(std::move(item));
  ds.AddElement(DicomElement::Create(0x7FE0, 0x0010, vr::OW, 4));
  const std::string text = DumpDataSet(ds);
  const std::string rule = "//" + std::string(82, '=') + "\r\n";
  const std::string expected =
      rule + "//Tolmar PACS DICOM Dump file\r\n" + rule +
      "(0008,0000)00000004 52 00 00 00                                     R\0\0\0\r\n"s +
      "(0008,0018)00000014 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 ABCDEFGHIJKLMNOP\r\n" +
      std::string(20, ' ') + "51 52 53 54 " + std::string(36, ' ') + "QRST\r\n" +
      "(0008,1140)00000000 \r\n" +
      ">(0008,0000)00000004 0A 00 00 00                                     \n\0\0\0\r\n"s +
      ">(0008,1150)00000002 58 59                                           XY\r\n";
  EXPECT_EQ(text, expected);
}

}  // namespace
}  // namespace tolmar
