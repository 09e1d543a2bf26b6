// The in-memory data set: storage, lookup, destructive enumeration and running lengths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "dicom/DicomCodec.h"
#include "dicom/DicomDataSet.h"
#include "dicom/DicomText.h"

namespace tolmar {
namespace {

std::unique_ptr<DicomElement> Text(uint16_t g, uint16_t e, const std::string& s,
                                   uint16_t v = vr::LO) {
  return DicomElement::FromText(g, e, v, s);
}

std::vector<uint32_t> PopAllTags(DicomDataSet& ds) {
  std::vector<uint32_t> tags;
  while (auto e = ds.PopNext()) tags.push_back(e->Tag());
  return tags;
}

TEST(DicomElement, OddLengthIsRoundedUpWithZeroPad) {
  auto e = DicomElement::Create(0x0010, 0x0010, vr::PN, 7);
  EXPECT_EQ(e->length, 8u);
  ASSERT_TRUE(e->HasValue());
  EXPECT_EQ(e->Value()[7], 0);
  auto t = DicomElement::FromText(0x0010, 0x0010, vr::PN, "ABCDEFG");
  EXPECT_EQ(t->length, 8u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(t->Value()), 7), "ABCDEFG");
  EXPECT_EQ(t->Value()[7], 0);
}

TEST(DicomElement, TakeValueMovesOnlyBetweenSameTags) {
  auto name = Text(0x0010, 0x0010, "DOE^JOHN");
  auto id = Text(0x0010, 0x0020, "12345678");
  EXPECT_FALSE(TakeValue(*name, *id));
  EXPECT_EQ(name->Text(), "DOE^JOHN");
  EXPECT_EQ(id->Text(), "12345678");
  EXPECT_FALSE(id->Detached());

  auto other = Text(0x0010, 0x0010, "ROE^JANE^X");
  EXPECT_TRUE(TakeValue(*name, *other));
  EXPECT_EQ(name->Text(), "ROE^JANE^X");
  EXPECT_EQ(name->length, 10u);
  EXPECT_FALSE(other->HasValue());
  EXPECT_EQ(other->length, 0u);
  EXPECT_TRUE(other->Detached());
}

TEST(DicomDataSet, GroupLengthElementIsDroppedAndMadeAnewOnOutput) {
  DicomDataSet ds;
  auto length = DicomElement::Create(0x0028, 0x0000, vr::UL, 4);
  EXPECT_TRUE(ds.AddElement(std::move(length)));
  EXPECT_TRUE(ds.IsEmpty());
  ds.AddElement(DicomElement::Create(0x0028, 0x0010, vr::US, 2));
  EXPECT_EQ(ds.FindElement(0x0028, 0x0000), nullptr);

  auto first = ds.PopNext();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Tag(), 0x00280000u);
  EXPECT_EQ(first->length, 4u);
  uint32_t value = 0;
  std::memcpy(&value, first->Value(), 4);
  EXPECT_EQ(value, 10u);  // one US element: 8 bytes of header, 2 of value
  EXPECT_EQ(ds.PopNext()->Tag(), 0x00280010u);
  EXPECT_EQ(ds.PopNext(), nullptr);
}

TEST(DicomDataSet, DuplicateTagsAreBothKeptAndBothWritten) {
  DicomDataSet ds;
  ds.AddElement(Text(0x0010, 0x0010, "FIRST "));
  ds.AddElement(Text(0x0010, 0x0010, "SECOND"));
  const DicomElement* found = ds.FindElement(0x0010, 0x0010);
  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(found->Text() == "FIRST " || found->Text() == "SECOND");
  EXPECT_EQ(PopAllTags(ds), (std::vector<uint32_t>{0x00100000u, 0x00100010u, 0x00100010u}));
}

TEST(DicomDataSet, GetUShortAnswersOnlyForTwoByteValues) {
  DicomDataSet ds;
  const uint8_t rows[2] = {0x00, 0x02};
  const uint8_t four[4] = {1, 0, 0, 0};
  ds.AddElement(DicomElement::FromBytes(0x0028, 0x0010, vr::US, rows));
  ds.AddElement(DicomElement::FromBytes(0x0028, 0x0011, vr::UL, four));
  ds.AddElement(DicomElement::Empty(0x0028, 0x0100, vr::US));
  EXPECT_EQ(ds.GetUShort(0x0028, 0x0010), 512);
  EXPECT_EQ(ds.GetUShort(0x0028, 0x0011), 0);  // length 4
  EXPECT_EQ(ds.GetUShort(0x0028, 0x0100), 0);  // no value
  EXPECT_EQ(ds.GetUShort(0x0028, 0x0101), 0);  // absent
}

TEST(DicomDataSet, EnumerationLocksTheSetUntilDrained) {
  DicomDataSet ds;
  ds.AddElement(Text(0x0008, 0x0060, "CT"));
  ds.AddElement(Text(0x0010, 0x0010, "DOE^JOHN"));
  ASSERT_TRUE(ds.PopNext());
  EXPECT_TRUE(ds.Iterating());
  EXPECT_EQ(ds.FindElement(0x0010, 0x0010), nullptr);
  EXPECT_FALSE(ds.AddElement(Text(0x0020, 0x0010, "1")));
  EXPECT_FALSE(ds.AddItem(std::make_unique<DicomDataSet>()));
  while (ds.PopNext()) {
  }
  EXPECT_FALSE(ds.Iterating());
  EXPECT_TRUE(ds.IsEmpty());
  EXPECT_TRUE(ds.AddElement(Text(0x0020, 0x0010, "1")));
  EXPECT_NE(ds.FindElement(0x0020, 0x0010), nullptr);
}

TEST(DicomDataSet, EmptySetPopsNothingAndStaysCollecting) {
  DicomDataSet ds;
  EXPECT_EQ(ds.PopNext(), nullptr);
  EXPECT_FALSE(ds.Iterating());
  EXPECT_FALSE(ds.AddItem(std::make_unique<DicomDataSet>()));  // no element yet
}

TEST(DicomDataSet, PopsInAscendingTagOrderWhateverTheInsertionOrder) {
  std::vector<uint32_t> tags;
  for (uint16_t g : {0x0008, 0x0010, 0x0028, 0x7FE0, 0x8001, 0xFFFC}) {
    for (uint16_t e : {0x0001, 0x0010, 0x0100, 0x1000, 0x8000, 0xFFFF}) {
      tags.push_back((static_cast<uint32_t>(g) << 16) | e);
    }
  }
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    std::shuffle(tags.begin(), tags.end(), random);
    DicomDataSet ds;
    for (uint32_t t : tags) {
      ds.AddElement(DicomElement::Create(static_cast<uint16_t>(t >> 16), static_cast<uint16_t>(t),
                                         vr::UN, 2));
    }
    std::vector<uint32_t> popped = PopAllTags(ds);
    popped.erase(
        std::remove_if(popped.begin(), popped.end(), [](uint32_t t) { return (t & 0xFFFF) == 0; }),
        popped.end());
    std::vector<uint32_t> sorted = tags;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_EQ(popped, sorted) << "round " << round;
  }
}

TEST(DicomDataSet, RemoveKeepsTheRestInOrder) {
  DicomDataSet ds;
  for (uint16_t e : {0x0050, 0x0010, 0x0040, 0x0020, 0x0030, 0x0060}) {
    ds.AddElement(DicomElement::Create(0x0009, e, vr::UN, 2));
  }
  EXPECT_TRUE(ds.RemoveElement(0x0009, 0x0010));
  EXPECT_FALSE(ds.RemoveElement(0x0009, 0x0010));
  EXPECT_TRUE(ds.RemoveElement(0x0009, 0x0040));
  EXPECT_EQ(PopAllTags(ds),
            (std::vector<uint32_t>{0x00090000, 0x00090020, 0x00090030, 0x00090050, 0x00090060}));
}

TEST(DicomDataSet, SetElementReplacesAnExistingValueOrAdds) {
  DicomDataSet ds;
  ds.AddElement(Text(0x0010, 0x0010, "OLD^NAME"));
  EXPECT_TRUE(ds.SetElement(Text(0x0010, 0x0010, "NEW^NAME^LONGER")));
  EXPECT_EQ(ds.GetText(0x0010, 0x0010), "NEW^NAME^LONGER");
  EXPECT_TRUE(ds.SetElement(Text(0x0010, 0x0020, "ID")));
  EXPECT_EQ(ds.GetText(0x0010, 0x0020), "ID");
  EXPECT_EQ(PopAllTags(ds), (std::vector<uint32_t>{0x00100000, 0x00100010, 0x00100020}));
}

TEST(DicomDataSet, RunningTotalMatchesTheImplicitEncodingWithoutSequences) {
  DicomDataSet ds;
  ds.AddElement(Text(0x0008, 0x0060, "CT"));
  ds.AddElement(Text(0x0010, 0x0010, "ODD"));  // padded to 4
  ds.AddElement(DicomElement::Create(0x0028, 0x0010, vr::US, 2));
  ds.AddElement(DicomElement::Create(0x7FE0, 0x0010, vr::OW, 64));
  EXPECT_EQ(ds.Total(), ds.EncodedSize(false));

  auto stream = DicomStream::ForWriting();
  const uint64_t expected = ds.Total();
  ASSERT_TRUE(EncodeDataSet(*stream, Encoding::ImplicitLittle, ds));
  EXPECT_EQ(stream->WrittenSize(), expected);
  EXPECT_EQ(ds.Total(), 0u);
}

TEST(DicomDataSet, CloneCopiesItemsAndLeavesTheOriginal) {
  DicomDataSet ds;
  ds.AddElement(DicomElement::Empty(0x0008, 0x1140, vr::SQ));
  auto item = std::make_unique<DicomDataSet>();
  item->AddElement(Text(0x0008, 0x1155, "1.2.3"));
  ds.AddItem(std::move(item));
  auto copy = ds.Clone();
  const DicomElement* seq = copy->FindElement(0x0008, 0x1140);
  ASSERT_NE(seq, nullptr);
  ASSERT_EQ(seq->ItemCount(), 1u);
  EXPECT_EQ((*seq->Items())[0]->GetText(0x0008, 0x1155), "1.2.3");
  EXPECT_NE(ds.FindElement(0x0008, 0x1140), nullptr);
}

struct TextCase {
  const char* name;
  const char* input;
  const char* date;
  const char* time;
};

class DicomTextFormat : public ::testing::TestWithParam<TextCase> {};

TEST_P(DicomTextFormat, DatesAndTimesTakeTheSuitesForm) {
  std::string date = GetParam().input;
  FormatDicomDate(date);
  EXPECT_EQ(date, GetParam().date);
  std::string time = GetParam().input;
  FormatDicomTime(time);
  EXPECT_EQ(time, GetParam().time);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DicomTextFormat,
    ::testing::Values(TextCase{"EightDigits", "20261201", "2026.12.01", "20:26:1201"},
                      TextCase{"SixDigits", "093000", "093000", "09:30:00"},
                      TextCase{"TimeWithFraction", "093000.123456", "093000.123456",
                               "09:30:00.123456"},
                      TextCase{"AlreadyDotted", "2026.12.01", "2026.12.01", "2026.12.01"},
                      TextCase{"AlreadyColoned", "09:30:00", "09:30:00", "09:30:00"},
                      TextCase{"DateWithTail", "20261201XYZ", "2026.12.01XYZ", "20:26:1201XYZ"},
                      TextCase{"TooLong", "202612010930001234567", "202612010930001234567",
                               "202612010930001234567"},
                      TextCase{"Empty", "", "", ""}, TextCase{"Short", "2026", "2026", "2026"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tolmar
