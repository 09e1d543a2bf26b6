#include "viewer/SettingsSheetModel.h"

#include "suite/ProfileStore.h"
#include "viewer/DisplayProfile.h"
#include "viewer/ImageOperations.h"

namespace tolmar::viewer {
namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kAnnotation = QStringLiteral("Annotation");
const QString kWcRect = QStringLiteral("WCRect");
const QString kSeqLine = QStringLiteral("SeqLine");
const QString kCasebook = QStringLiteral("Casebook");
const QString kPrintFilm = QStringLiteral("PrintFilm");

// General values are texts; a flag is any number but 0.
bool SharedFlag(const suite::ProfileStore& p, const char* entry, bool fallback) {
  bool ok = false;
  const int value = p.ReadSharedValue(kPrintFilm, QString::fromLatin1(entry),
                                      fallback ? QStringLiteral("1") : QStringLiteral("0"))
                        .trimmed()
                        .toInt(&ok);
  return ok ? value != 0 : fallback;
}

QString SharedText(const suite::ProfileStore& p, const char* entry) {
  return p.ReadSharedValue(kPrintFilm, QString::fromLatin1(entry), QString());
}

FilmSettings ReadFilmSettings(const suite::ProfileStore& p) {
  FilmSettings f;
  f.kind =
      p.ReadSharedValue(kPrintFilm, QStringLiteral("PrintType"), QStringLiteral("1")).trimmed() ==
              QLatin1String("2")
          ? FilmKind::VideoCamera
          : FilmKind::DicomCamera;
  f.bringUp = SharedFlag(p, "BringUp", true);
  f.rawImage = SharedFlag(p, "RawImage", true);
  f.width = SharedText(p, "Width");
  f.height = SharedText(p, "Height");
  f.ratio = SharedText(p, "Ratio");
  f.imageWidth = SharedText(p, "ImgWidth");
  f.imageHeight = SharedText(p, "ImgHeight");
  return f;
}

HistoryBarSettings ReadHistoryBarSettings(const suite::ProfileStore& p) {
  HistoryBarSettings h;
  h.show = p.GetProfileInt(kCasebook, QStringLiteral("IsView"), 0) != 0;
  h.width = p.GetProfileInt(kCasebook, QStringLiteral("Width"), h.width);
  h.height = p.GetProfileInt(kCasebook, QStringLiteral("Height"), h.height);
  h.casebookId = p.GetProfileInt(kCasebook, QStringLiteral("CasebookID"), h.casebookId);
  return h;
}

bool OutsidePenRange(int width) { return width < kPenWidthMinimum || width > kPenWidthMaximum; }

void PutFlag(suite::ProfileStore& p, const QString& section, const char* entry, bool on) {
  p.WriteProfileInt(section, QString::fromLatin1(entry), on ? 1 : 0);
}

void PutInt(suite::ProfileStore& p, const QString& section, const char* entry, int value) {
  p.WriteProfileInt(section, QString::fromLatin1(entry), value);
}

}  // namespace

std::optional<SettingsRefusal> ValidateSettings(const SettingsValues& values) {
  if (OutsidePenRange(values.measure.normalPenWidth))
    return SettingsRefusal{kNormalPenWidthControl, kPenWidthMinimum, kPenWidthMaximum};
  if (OutsidePenRange(values.measure.activePenWidth))
    return SettingsRefusal{kActivePenWidthControl, kPenWidthMinimum, kPenWidthMaximum};
  return std::nullopt;
}

SettingsSheetModel::SettingsSheetModel(suite::ProfileStore& profile, PictoriumViewModel* view)
    : m_profile(profile), m_view(view) {
  const DisplaySettings current = CurrentDisplaySettings();
  m_values.display = ReadDisplaySettings(profile, QString());
  m_values.display.interpolation = current.interpolation;
  m_values.overlayFont = ReadProfileFont(profile, kAnnotation);
  m_values.image = ReadImageSettings(profile);
  m_values.view = ViewSettings::Read(profile);
  m_values.measure = MeasureStyle();
  m_values.copyRawDib = profile.GetProfileInt(kSettings, QStringLiteral("CopyRawDIB"), 0) != 0;
  m_values.quickMpr = profile.GetProfileInt(kSettings, QStringLiteral("QuickMPR"), 1) != 0;
  m_values.film = ReadFilmSettings(profile);
  m_values.history = ReadHistoryBarSettings(profile);
  // Images are built with what the document hands its loaders, whatever the
  // profile says by now.
  m_imageInEffect = m_view ? m_view->Document().ImageSettingsInUse() : m_values.image;
}

std::optional<SettingsRefusal> SettingsSheetModel::ApplySheet(bool closing) {
  if (auto refusal = ValidateSettings(m_values)) return refusal;
  ApplyDisplay(true);
  SetMeasureStyle(m_values.measure);
  if (m_view) m_view->SetMouseSettings(m_values.view);
  WriteSystemPage();
  WriteFilmPage();
  WriteOverlayPage(true);
  WriteWindowingPage();
  WriteScoutLinePage();
  if (closing) WriteHistoryPage();
  ApplyImageSettings();
  return std::nullopt;
}

void SettingsSheetModel::ApplyOverlayFormat() {
  ApplyDisplay(false);
  WriteOverlayPage(false);
}

std::optional<SettingsRefusal> SettingsSheetModel::ApplyMeasureFormat() {
  if (auto refusal = ValidateSettings(m_values)) return refusal;
  SetMeasureStyle(m_values.measure);
  return std::nullopt;
}

void SettingsSheetModel::ApplyDisplay(bool wholeSheet) {
  // Only what the sheet edits changes: the view switches, the patient-field
  // hook and the program folder stay as they are.
  DisplaySettings s = CurrentDisplaySettings();
  const DisplaySettings& v = m_values.display;
  const MeasureFont& font = m_values.overlayFont;
  s.fontFace = font.faceName;
  s.fontHeight = font.height;
  s.fontWeight = font.weight;
  s.fontItalic = font.italic != 0;
  s.textColour = v.textColour;
  if (wholeSheet) {
    s.interpolation = v.interpolation;
    s.quickFlush = v.quickFlush;
    s.maxDispSize = v.maxDispSize;
    s.showImageNumber = v.showImageNumber;
    s.hSpace = v.hSpace;
    s.vSpace = v.vSpace;
    s.wcRectEnable = v.wcRectEnable;
    s.wcRectMaxSize = v.wcRectMaxSize;
    s.wcRectWidth = v.wcRectWidth;
    s.wcRectHeight = v.wcRectHeight;
    s.mouseMulti = m_values.view.mouseMultiplier;
    s.seqLines = v.seqLines;
    s.seqLineRegion = v.seqLineRegion;
    s.checkFrameUid = v.checkFrameUid;
    s.drawOneSeries = v.drawOneSeries;
  }
  SetDisplaySettings(s);
}

void SettingsSheetModel::WriteSystemPage() {
  suite::ProfileStore& p = m_profile;
  const SettingsValues& v = m_values;
  PutFlag(p, kSettings, "CopyRawDIB", v.copyRawDib);
  PutFlag(p, kSettings, "QuickFlush", v.display.quickFlush);
  PutInt(p, kSettings, "MaxDispSize", v.display.maxDispSize);
  PutFlag(p, kSettings, "Full16Bit", v.image.full16Bit);
  PutFlag(p, kSettings, "QuickMPR", v.quickMpr);
  PutFlag(p, kSettings, "MBtnWindow", v.view.middleButtonWindow);
  PutFlag(p, kSettings, "ShowImgNo", v.display.showImageNumber);
  PutFlag(p, kSettings, "LoadLUT", v.image.loadLut);
  PutInt(p, kSettings, "LBtnDbClkFun", v.view.doubleClickFunction);
}

void SettingsSheetModel::WriteFilmPage() {
  const FilmSettings& f = m_values.film;
  const auto put = [this](const char* entry, const QString& value) {
    m_profile.WriteSharedValue(kPrintFilm, QString::fromLatin1(entry), value);
  };
  const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
  put("PrintType", QString::number(static_cast<int>(f.kind)));
  put("BringUp", flag(f.bringUp));
  put("RawImage", flag(f.rawImage));
  put("Width", f.width);
  put("Height", f.height);
  put("Ratio", f.ratio);
  put("ImgWidth", f.imageWidth);
  put("ImgHeight", f.imageHeight);
}

void SettingsSheetModel::WriteOverlayPage(bool withMargins) {
  WriteProfileFont(m_profile, kAnnotation, m_values.overlayFont);
  PutInt(m_profile, kAnnotation, "Color", static_cast<int>(m_values.display.textColour));
  if (!withMargins) return;
  PutInt(m_profile, kAnnotation, "HSpace", m_values.display.hSpace);
  PutInt(m_profile, kAnnotation, "VSpace", m_values.display.vSpace);
}

void SettingsSheetModel::WriteWindowingPage() {
  const DisplaySettings& d = m_values.display;
  PutFlag(m_profile, kWcRect, "Enable", d.wcRectEnable);
  PutInt(m_profile, kWcRect, "MaxSize", d.wcRectMaxSize);
  PutInt(m_profile, kWcRect, "Width", d.wcRectWidth);
  PutInt(m_profile, kWcRect, "Height", d.wcRectHeight);
  PutInt(m_profile, kSettings, "MouseMulti", m_values.view.mouseMultiplier);
}

void SettingsSheetModel::WriteHistoryPage() {
  const HistoryBarSettings& h = m_values.history;
  PutFlag(m_profile, kCasebook, "IsView", h.show);
  PutInt(m_profile, kCasebook, "Width", h.width);
  PutInt(m_profile, kCasebook, "Height", h.height);
  PutInt(m_profile, kCasebook, "CasebookID", h.casebookId);
}

void SettingsSheetModel::WriteScoutLinePage() {
  const DisplaySettings& d = m_values.display;
  PutFlag(m_profile, kSeqLine, "SeqLines", d.seqLines);
  PutFlag(m_profile, kSeqLine, "CheckFrameUID", d.checkFrameUid);
  PutFlag(m_profile, kSeqLine, "DrawOneSeries", d.drawOneSeries);
  PutFlag(m_profile, kSeqLine, "SeqLineType", d.seqLineRegion);
}

void SettingsSheetModel::ApplyImageSettings() {
  const ImageSettings wanted = m_values.image;
  const bool rebuild = wanted.full16Bit != m_imageInEffect.full16Bit;
  m_imageInEffect = wanted;
  if (!m_view) return;
  CPictoriumDoc& doc = m_view->Document();
  // New loads build with the new values at once.
  doc.SetImageSettings(wanted);
  if (!rebuild) return;
  // A loaded image keeps pixels that match its old settings until the reset
  // re-reads its file; the reset runs on the selection now, the other images
  // follow at their own next reset.
  for (auto& cell : doc.Cells()) {
    for (int i = 0; i < cell->ImageCount(); ++i) cell->Image(i).SetSettingsForRebuild(wanted);
  }
  m_view->ApplyToSelection(operation::kReset, {});
}

}  // namespace tolmar::viewer
