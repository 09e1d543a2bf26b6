#include <gtest/gtest.h>

#include "suite/ItemText.h"
#include "suite/ObjectText.h"

using namespace tolmar::suite;

namespace {

struct SplitCase {
  const char* name;
  std::string text;
  std::vector<std::string> items;
};

class SplitItemsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitItemsTest, YieldsTheItemsBetweenSeparators) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(SplitItems(c.text), c.items);
  QStringList expected;
  for (const std::string& item : c.items) expected.append(QString::fromStdString(item));
  EXPECT_EQ(SplitItems(QString::fromStdString(c.text)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    EntryLists, SplitItemsTest,
    ::testing::Values(
        SplitCase{
            "LeadingSeparatorGivesTwoItems", ";~;/a/1.dcm;~;/a/2.dcm", {"/a/1.dcm", "/a/2.dcm"}},
        SplitCase{"TextBeforeFirstSeparatorIsIgnored", "/a/1.dcm;~;/a/2.dcm", {"/a/2.dcm"}},
        SplitCase{"NoSeparatorNoItems", "/a/1.dcm", {}}, SplitCase{"EmptyTextNoItems", "", {}},
        SplitCase{"DoubledSeparatorGivesEmptyItem", ";~;;~;OBJECT_ID=7", {"", "OBJECT_ID=7"}},
        SplitCase{"TrailingSeparatorGivesEmptyLastItem", ";~;a;~;", {"a", ""}},
        SplitCase{"PartialSeparatorStaysInItem", ";~;a;~b", {"a;~b"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ItemTextTest, JoinThenSplitRoundTrips) {
  const std::vector<std::string> items{"/data/x y/1.dcm", "", "\xB2\xE2\xCA\xD4.dcm"};
  EXPECT_EQ(SplitItems(JoinItems(items)), items);
}

TEST(ObjectTextTest, MarkerBeforeFirstItemIsNotAnItem) {
  EXPECT_EQ(FindObjectValues(QStringLiteral("|*|;~;OBJECT_ID=12"), ObjectKey::kObjectId),
            QStringList{QStringLiteral("12")});
}

TEST(ObjectTextTest, ReaderSkipsItemsWithOtherKeys) {
  const QString text = ObjectTextBuilder()
                           .BeginObject()
                           .Add(ObjectKey::kLevel, ObjectLevel::kStudy)
                           .Add(ObjectKey::kObjectId, 5L)
                           .Add(ObjectKey::kObjectUid, QStringLiteral("1.2.3"))
                           .Add(ObjectKey::kContext, QStringLiteral("张三"))
                           .Text();
  EXPECT_EQ(text,
            QStringLiteral("|*|;~;LEVEL=STUDY;~;OBJECT_ID=5;~;OBJECT_UID=1.2.3;~;CONTEXT=张三"));
  EXPECT_EQ(FindObjectValue(text, ObjectKey::kObjectId), QStringLiteral("5"));
  EXPECT_EQ(FindObjectValue(text, ObjectKey::kStudyUid), QString());
}

TEST(ObjectTextTest, JoinedObjectsKeepTheirValuesFreeOfTheNextMarker) {
  const QString first = ObjectTextBuilder()
                            .BeginObject()
                            .Add(ObjectKey::kObjectId, 1L)
                            .Add(ObjectKey::kContext, QStringLiteral("A"))
                            .Text();
  const QString second = ObjectTextBuilder()
                             .BeginObject()
                             .Add(ObjectKey::kObjectId, 2L)
                             .Add(ObjectKey::kContext, QStringLiteral("B"))
                             .Text();
  const QString joined = first + second;
  EXPECT_EQ(FindObjectValues(joined, ObjectKey::kContext),
            (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
  EXPECT_EQ(FindObjectValues(joined, ObjectKey::kObjectId),
            (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
  const QStringList objects = SplitObjects(joined);
  ASSERT_EQ(objects.size(), 2);
  EXPECT_EQ(FindObjectValue(objects[1], ObjectKey::kContext), QStringLiteral("B"));
}

TEST(ObjectTextTest, ViewTextWithEmptyFirstItemFindsTheId) {
  const QString text = ObjectTextBuilder().AddEmptyItem().Add(ObjectKey::kObjectId, 42L).Text();
  EXPECT_EQ(text, QStringLiteral(";~;;~;OBJECT_ID=42"));
  EXPECT_EQ(FindObjectValue(text, ObjectKey::kObjectId), QStringLiteral("42"));
}

}  // namespace
