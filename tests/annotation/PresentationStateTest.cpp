// Presentation states: reading the texts, applying them once to the referenced
// image, waiting for an image, and the loader's call for every data set.
#include <gtest/gtest.h>

#include <cstring>

#include "AnnotationFixtures.h"
#include "annotation/DrawObjList.h"
#include "annotation/DrawText.h"
#include "annotation/GSPSSObject.h"
#include "annotation/ImageAnnotationLoader.h"

namespace tolmar {
namespace {

std::vector<uint8_t> Floats(float a, float b) {
  std::vector<uint8_t> bytes(8);
  std::memcpy(bytes.data(), &a, 4);
  std::memcpy(bytes.data() + 4, &b, 4);
  return bytes;
}

struct TextObject {
  std::string text;
  float left, top, right, bottom;
  bool complete = true;
};

// Builds a presentation state data set in code.
class StateBuilder {
 public:
  explicit StateBuilder(std::string uid = "9.9.1") : m_uid(std::move(uid)) {}
  StateBuilder& Reference(std::string uid) {
    m_references.push_back(std::move(uid));
    return *this;
  }
  StateBuilder& Text(TextObject t) {
    m_texts.push_back(std::move(t));
    return *this;
  }
  StateBuilder& WithoutSeries() {
    m_series = false;
    return *this;
  }
  StateBuilder& GraphicsOnly() {
    m_graphicsOnly = true;
    return *this;
  }
  std::unique_ptr<DicomDataSet> Build() const {
    auto ds = std::make_unique<DicomDataSet>();
    ds->AddElement(
        DicomElement::FromText(0x0008, 0x0016, vr::UI, std::string(kGspsSopClassUid) + " "));
    ds->AddElement(DicomElement::FromText(0x0008, 0x0018, vr::UI, m_uid));
    if (m_series) {
      auto series = std::make_unique<DicomDataSet>();
      series->AddElement(DicomElement::Empty(0x0008, 0x1140, vr::SQ));
      for (const auto& uid : m_references) {
        auto item = std::make_unique<DicomDataSet>();
        item->AddElement(
            DicomElement::FromText(0x0008, 0x1150, vr::UI, "1.2.840.10008.5.1.4.1.1.2"));
        item->AddElement(DicomElement::FromText(0x0008, 0x1155, vr::UI, uid));
        series->AddItem(std::move(item));
      }
      ds->AddElement(DicomElement::Empty(0x0008, 0x1115, vr::SQ));
      ds->AddItem(std::move(series));
    }
    auto annotation = std::make_unique<DicomDataSet>();
    if (m_graphicsOnly) {
      annotation->AddElement(DicomElement::Empty(0x0070, 0x0009, vr::SQ));
      annotation->AddItem(std::make_unique<DicomDataSet>());
    } else {
      annotation->AddElement(DicomElement::Empty(0x0070, 0x0008, vr::SQ));
      for (const auto& t : m_texts) {
        auto item = std::make_unique<DicomDataSet>();
        item->AddElement(DicomElement::FromText(0x0070, 0x0003, vr::CS, "PIXEL"));
        item->AddElement(DicomElement::FromText(0x0070, 0x0006, vr::ST, t.text));
        item->AddElement(DicomElement::FromBytes(0x0070, 0x0010, vr::FL, Floats(t.left, t.top)));
        if (t.complete)
          item->AddElement(
              DicomElement::FromBytes(0x0070, 0x0011, vr::FL, Floats(t.right, t.bottom)));
        annotation->AddItem(std::move(item));
      }
    }
    ds->AddElement(DicomElement::Empty(0x0070, 0x0001, vr::SQ));
    ds->AddItem(std::move(annotation));
    return ds;
  }

 private:
  std::string m_uid;
  std::vector<std::string> m_references;
  std::vector<TextObject> m_texts;
  bool m_series = true;
  bool m_graphicsOnly = false;
};

std::vector<std::string> TextsOf(DicomImage& image) {
  std::vector<std::string> texts;
  for (const auto& o : DrawObjList::Of(image).Objects()) {
    if (auto* t = dynamic_cast<CDrawText*>(o.get())) texts.push_back(t->Text());
  }
  return texts;
}

class PresentationState : public ::testing::Test {
 protected:
  void SetUp() override { PendingPresentationStates::Program().Clear(); }
  void TearDown() override { PendingPresentationStates::Program().Clear(); }
};

TEST_F(PresentationState, ReadsIdentityReferenceAndTextsInOrder) {
  CGSPSSObject state;
  const auto ds = StateBuilder()
                      .Reference("1.2.3.4")
                      .Reference("1.2.3.5")
                      .Text({"one", 10.7f, 20.2f, 100.9f, 40.5f})
                      .Text({"broken", 1, 1, 2, 2, false})
                      .Text({"two ", -3.9f, 0, 5, 5})
                      .Text({"far away", 1e30f, 0, 1, 1})
                      .Text({"three", 1, 2, 3, 4})
                      .Build();
  ASSERT_TRUE(state.LoadFromDataSet(*ds));
  EXPECT_EQ(state.SopClassUid(), kGspsSopClassUid);
  EXPECT_EQ(state.SopInstanceUid(), "9.9.1");
  EXPECT_EQ(state.ReferencedSopInstanceUid(), "1.2.3.4");
  ASSERT_EQ(state.Objects().size(), 3u);
  EXPECT_EQ(state.Objects()[0]->Position(), (ImageRect{10, 20, 100, 40}));
  EXPECT_EQ(state.Objects()[1]->Position(), (ImageRect{-3, 0, 5, 5}));
  EXPECT_EQ(state.Objects()[1]->Text(), "two");
  EXPECT_EQ(state.Objects()[0]->Owner(), nullptr);
}

TEST_F(PresentationState, MissingRequiredElementsFail) {
  struct Case {
    const char* name;
    std::unique_ptr<DicomDataSet> ds;
  };
  std::vector<Case> cases;
  cases.push_back({"NoReferencedSeries", StateBuilder().WithoutSeries().Build()});
  cases.push_back({"NoReferencedImageItem", StateBuilder().Build()});
  auto image = test::GreyDataSet(4, 4, 8, 0);
  cases.push_back({"AnImage", std::move(image)});
  auto noInstance = StateBuilder().Reference("1.2.3.4").Build();
  noInstance->RemoveElement(0x0008, 0x0018);
  cases.push_back({"NoInstanceUid", std::move(noInstance)});
  for (auto& c : cases) {
    CGSPSSObject state;
    EXPECT_FALSE(state.LoadFromDataSet(*c.ds)) << c.name;
  }
}

TEST_F(PresentationState, AppliesToTheReferencedImageOnceInOrder) {
  auto image = test::GreyImageOf(64, 64, 8, 0, "", "1.2.3.4");
  auto other = test::GreyImageOf(64, 64, 8, 0, "", "1.2.3.9");
  const auto file = StateBuilder()
                        .Reference("1.2.3.4")
                        .Text({"a", 1, 1, 2, 2})
                        .Text({"b", 1, 1, 2, 2})
                        .Text({"c", 1, 1, 2, 2});
  std::vector<DicomImage*> loaded{other.get(), image.get()};

  auto first = LoadViewerObject("ps1.dcm", file.Build(), 255, {}, loaded);
  EXPECT_TRUE(first.presentationState);
  EXPECT_EQ(first.image, nullptr);
  EXPECT_EQ(TextsOf(*image), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(TextsOf(*other).empty());
  for (const auto& o : DrawObjList::Of(*image).Objects()) EXPECT_EQ(o->Owner(), image.get());
  EXPECT_EQ(PendingPresentationStates::Program().Count(), 0u);

  // The same file again: refused by the applied list, it waits.
  auto second = LoadViewerObject("ps1.dcm", file.Build(), 255, {}, loaded);
  EXPECT_TRUE(second.presentationState);
  EXPECT_EQ(TextsOf(*image).size(), 3u);
  EXPECT_EQ(PendingPresentationStates::Program().Count(), 1u);
  EXPECT_EQ(image->AppliedPresentationStates(), (std::vector<std::string>{"9.9.1"}));
}

TEST_F(PresentationState, WaitsForItsImageAndAppliesWhenItIsLoaded) {
  auto state = LoadViewerObject(
      "ps.dcm", StateBuilder().Reference("1.2.3.4").Text({"later", 5, 5, 6, 6}).Build(), 255, {},
      {});
  EXPECT_TRUE(state.presentationState);
  EXPECT_EQ(PendingPresentationStates::Program().Count(), 1u);
  auto unrelated =
      LoadViewerObject("b.dcm", test::GreyDataSet(8, 8, 8, 0, "", "1.2.3.7"), 255, {}, {});
  ASSERT_TRUE(unrelated.image);
  EXPECT_TRUE(TextsOf(*unrelated.image).empty());
  auto image = LoadViewerObject("a.dcm", test::GreyDataSet(8, 8, 8, 0, "", "1.2.3.4"), 255, {}, {});
  ASSERT_TRUE(image.image);
  EXPECT_FALSE(image.presentationState);
  EXPECT_EQ(TextsOf(*image.image), (std::vector<std::string>{"later"}));
  EXPECT_EQ(PendingPresentationStates::Program().Count(), 0u);
}

TEST_F(PresentationState, OnlyTheFirstReferencedImageTakesTheTexts) {
  auto first = test::GreyImageOf(8, 8, 8, 0, "", "1.2.3.4");
  auto second = test::GreyImageOf(8, 8, 8, 0, "", "1.2.3.5");
  LoadViewerObject(
      "ps.dcm",
      StateBuilder().Reference("1.2.3.4").Reference("1.2.3.5").Text({"x", 1, 1, 2, 2}).Build(), 255,
      {}, {second.get(), first.get()});
  EXPECT_EQ(TextsOf(*first).size(), 1u);
  EXPECT_TRUE(TextsOf(*second).empty());
}

TEST_F(PresentationState, GraphicsOnlyStateAddsNothingAndIsNoImage) {
  auto image = test::GreyImageOf(8, 8, 8, 0, "", "1.2.3.4");
  auto result = LoadViewerObject(
      "ps.dcm", StateBuilder().Reference("1.2.3.4").GraphicsOnly().Build(), 255, {}, {image.get()});
  EXPECT_TRUE(result.presentationState);
  EXPECT_EQ(result.image, nullptr);
  EXPECT_TRUE(TextsOf(*image).empty());
  EXPECT_EQ(image->AppliedPresentationStates().size(), 1u);
}

TEST_F(PresentationState, WithoutReferencedSeriesItIsLoadedAsAnImage) {
  auto ds = StateBuilder().WithoutSeries().Build();
  // Give it pixels: it is then an ordinary image.
  auto pixels = test::GreyDataSet(4, 4, 8, 1);
  for (uint16_t e : {0x0010, 0x0011, 0x0100, 0x0101, 0x0102})
    ds->SetElement(pixels->CopyElement(0x0028, e));
  ds->SetElement(pixels->CopyElement(0x0028, 0x0004));
  ds->SetElement(pixels->CopyElement(0x7FE0, 0x0010));
  auto result = LoadViewerObject("ps.dcm", std::move(ds), 255, {}, {});
  EXPECT_FALSE(result.presentationState);
  EXPECT_NE(result.image, nullptr);
  auto bare = LoadViewerObject("ps.dcm", StateBuilder().WithoutSeries().Build(), 255, {}, {});
  EXPECT_FALSE(bare.presentationState);
  EXPECT_EQ(bare.image, nullptr);
  EXPECT_FALSE(bare.reason.empty());
}

TEST(ImageAnnotationsOnLoad, StoredRecordsAndTheCommentBecomeObjects) {
  auto ds = test::GreyDataSet(32, 32, 8, 0);
  const auto blob = test::RecordBuilder().Head(2, 1, 1, 10, 10).Head(7, 2, 2, 9, 9).Bytes();
  ds->SetElement(DicomElement::FromBytes(0x0701, 0x0520, vr::OB, blob));
  ds->SetElement(DicomElement::FromText(0x0020, 0x4000, vr::LT, "(12, 7)Lesion"));
  auto result = LoadViewerObject("a.dcm", std::move(ds), 255, {}, {});
  ASSERT_TRUE(result.image);
  const auto& objects = DrawObjList::Of(*result.image).Objects();
  ASSERT_EQ(objects.size(), 3u);
  EXPECT_EQ(objects[0]->Type(), draw_type::kText);
  EXPECT_EQ(static_cast<CDrawText*>(objects[0].get())->Text(), "Lesion");
  EXPECT_EQ(objects[0]->Position().left, 12);
  EXPECT_EQ(objects[0]->Position().top, 7);
  EXPECT_EQ(objects[1]->Type(), draw_type::kLine);
  EXPECT_EQ(objects[2]->Type(), draw_type::kArrow);
  EXPECT_FALSE(DrawObjList::Of(*result.image).Modified());
}

TEST(ImageAnnotationsOnLoad, CommentForms) {
  struct Case {
    const char* comment;
    bool ok;
    int x, y;
    const char* text;
  };
  for (const Case& c :
       {Case{"(1,2)abc", true, 1, 2, "abc"}, Case{"note (30,40) here", true, 30, 40, " here"},
        Case{"(1,2)", false, 0, 0, ""}, Case{"plain", false, 0, 0, ""},
        Case{"(1;2)x", false, 0, 0, ""}, Case{"(99999999999,2)x", false, 0, 0, ""}}) {
    int x = 0, y = 0;
    std::string text;
    EXPECT_EQ(ParseCommentAnnotation(c.comment, x, y, text), c.ok) << c.comment;
    if (c.ok) {
      EXPECT_EQ(x, c.x);
      EXPECT_EQ(y, c.y);
      EXPECT_EQ(text, c.text);
    }
  }
}

}  // namespace
}  // namespace tolmar
