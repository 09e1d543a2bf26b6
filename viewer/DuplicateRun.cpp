#include "viewer/DuplicateRun.h"

#include <QFile>

#include "image/ByteWriter.h"
#include "viewer/CPictoriumDoc.h"

namespace tolmar::viewer {
namespace {

int g_lastRun = 0;

std::unique_ptr<DicomImage> ReadAgain(CPictoriumDoc& doc, const DicomImage& source) {
  LoadedFile loaded = LoadImageFile(source.Path(), doc.SopClasses(), doc.ImageSettingsInUse());
  if (!loaded.image) return nullptr;
  ByteWriter state;
  source.WriteStateRecord(state);
  if (!state.Failed()) loaded.image->ReadStateRecord(state.Data());
  return std::move(loaded.image);
}

}  // namespace

int DuplicateSelectedImages(CPictoriumDoc& doc) {
  const int run = ++g_lastRun;
  int made = 0;
  for (int i = 0; i < doc.CellCount(); ++i) {
    DisplayCell& cell = doc.Cell(i);
    if (cell.ImageCount() != 1 || !cell.IsSelected(0)) continue;
    auto copy = ReadAgain(doc, cell.Image(0));
    if (!copy) continue;
    copy->MarkDuplicate(run);
    auto twin = std::make_unique<DisplayCell>(std::move(copy));
    doc.InsertCell(i + 1, std::move(twin));
    ++i;  // the twin is not a source of this run
    ++made;
  }
  if (made > 0) doc.UpdateAllViews(UpdateHint::Refresh);
  return made;
}

int DeleteDuplicates(CPictoriumDoc& doc) {
  int deleted = 0;
  for (int i = doc.CellCount() - 1; i >= 0; --i) {
    DisplayCell& cell = doc.Cell(i);
    if (cell.ImageCount() != 1 || cell.Image(0).DuplicateRun() == 0) continue;
    doc.RemoveCell(i);
    ++deleted;
  }
  if (deleted > 0) doc.UpdateAllViews(UpdateHint::Refresh);
  return deleted;
}

}  // namespace tolmar::viewer
