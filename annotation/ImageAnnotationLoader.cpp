#include "ImageAnnotationLoader.h"

#include <cctype>
#include <climits>
#include <cstdlib>

#include "DrawObjList.h"
#include "DrawText.h"
#include "GSPSSObject.h"
#include "dicom/DicomDataSet.h"
#include "image/DicomImage.h"
#include "image/ImageFactory.h"

namespace tolmar {

namespace {

bool ReadInt(const std::string& text, size_t& at, int& value) {
  while (at < text.size() && text[at] == ' ') ++at;
  const char* begin = text.c_str() + at;
  char* end = nullptr;
  const long parsed = std::strtol(begin, &end, 10);
  if (end == begin || parsed > kMaxCoordinate || parsed < -kMaxCoordinate) return false;
  value = static_cast<int>(parsed);
  at += static_cast<size_t>(end - begin);
  while (at < text.size() && text[at] == ' ') ++at;
  return true;
}

}  // namespace

bool ParseCommentAnnotation(const std::string& comment, int& x, int& y, std::string& text) {
  size_t at = comment.find('(');
  if (at == std::string::npos) return false;
  ++at;
  if (!ReadInt(comment, at, x) || at >= comment.size() || comment[at] != ',') return false;
  ++at;
  if (!ReadInt(comment, at, y) || at >= comment.size() || comment[at] != ')') return false;
  text = comment.substr(at + 1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  return !text.empty();
}

void AddCommentText(DicomImage& image, int x, int y, const std::string& comment) {
  DrawObjList& list = DrawObjList::Of(image);
  list.SetCommentTaken();
  std::string text = comment;
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  if (text.empty() || x > kMaxCoordinate || x < -kMaxCoordinate || y > kMaxCoordinate || y < -kMaxCoordinate) {
    return;
  }
  auto object = std::make_unique<CDrawText>(&image, ImageRect{x, y, x + 1, y + 1});
  object->SetText(text, false);
  list.Add(std::move(object));
}

int LoadImageAnnotations(DicomImage& image, const DicomDataSet& ds) {
  DrawObjList& list = DrawObjList::Of(image);
  const size_t before = list.Size();
  int x = 0, y = 0;
  std::string text;
  if (!list.CommentTaken() && ParseCommentAnnotation(ds.GetText(0x0020, 0x4000), x, y, text)) {
    AddCommentText(image, x, y, text);
  }
  list.SetCommentTaken();
  int added = static_cast<int>(list.Size() - before);
  if (const DicomElement* stored = ds.FindElement(0x0701, 0x0520); stored && stored->HasValue()) {
    added += list.LoadBlob(stored->Bytes());
  }
  list.SetModified(false);
  return added;
}

LoadedObject LoadViewerObject(const std::string& path, std::unique_ptr<DicomDataSet> ds,
                              int category, const ImageSettings& settings,
                              const std::vector<DicomImage*>& loadedImages, bool headerOnly) {
  InstallDrawObjects();
  LoadedObject result;
  if (!ds) {
    result.reason = "no data set";
    return result;
  }
  auto state = std::make_unique<CGSPSSObject>();
  if (state->LoadFromDataSet(*ds)) {
    ds.reset();
    result.presentationState = true;
    PendingPresentationStates::Program().Offer(std::move(state), loadedImages);
    return result;
  }
  state.reset();
  result.image = BuildImage(path, *ds, category, settings, result.reason, headerOnly);
  if (!result.image) return result;
  LoadImageAnnotations(*result.image, *ds);
  PendingPresentationStates::Program().OfferTo(*result.image);
  return result;
}

}  // namespace tolmar
