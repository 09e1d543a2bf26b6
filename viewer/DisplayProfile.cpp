#include "viewer/DisplayProfile.h"

#include <QFile>

#include "suite/ProfileStore.h"

namespace tolmar::viewer {
namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kAnnotation = QStringLiteral("Annotation");
const QString kMeasure = QStringLiteral("Measure");
const QString kWcRect = QStringLiteral("WCRect");
const QString kSeqLine = QStringLiteral("SeqLine");
constexpr int kFixedPitchBit = 4;

int Int(const suite::ProfileStore& p, const QString& section, const char* entry, int fallback) {
  return p.GetProfileInt(section, QString::fromLatin1(entry), fallback);
}

bool Flag(const suite::ProfileStore& p, const QString& section, const char* entry, bool fallback) {
  return Int(p, section, entry, fallback ? 1 : 0) != 0;
}

}  // namespace

MeasureFont ReadProfileFont(const suite::ProfileStore& p, const QString& section) {
  MeasureFont f;
  f.height = Int(p, section, "font.Height", f.height);
  f.width = Int(p, section, "font.Width", f.width);
  f.escapement = Int(p, section, "font.Escapement", f.escapement);
  f.orientation = Int(p, section, "font.Orientation", f.orientation);
  f.weight = Int(p, section, "font.Weight", f.weight);
  f.italic = Int(p, section, "font.Italic", f.italic);
  f.underline = Int(p, section, "font.Underline", f.underline);
  f.strikeOut = Int(p, section, "font.StrikeOut", f.strikeOut);
  f.charSet = Int(p, section, "font.CharSet", f.charSet);
  f.outPrecision = Int(p, section, "font.OutPrecision", f.outPrecision);
  f.clipPrecision = Int(p, section, "font.ClipPrecision", f.clipPrecision);
  f.quality = Int(p, section, "font.Quality", f.quality);
  f.pitchAndFamily = Int(p, section, "font.PitchAndFamily", f.pitchAndFamily);
  f.faceName = p.GetProfileString(section, QStringLiteral("font.FaceName"),
                                  QString::fromStdString(f.faceName))
                   .toStdString();
  return f;
}

void WriteProfileFont(suite::ProfileStore& p, const QString& section, const MeasureFont& f) {
  const auto put = [&](const char* entry, int value) {
    p.WriteProfileInt(section, QString::fromLatin1(entry), value);
  };
  put("font.Height", f.height);
  put("font.Width", f.width);
  put("font.Escapement", f.escapement);
  put("font.Orientation", f.orientation);
  put("font.Weight", f.weight);
  put("font.Italic", f.italic);
  put("font.Underline", f.underline);
  put("font.StrikeOut", f.strikeOut);
  put("font.CharSet", f.charSet);
  put("font.OutPrecision", f.outPrecision);
  put("font.ClipPrecision", f.clipPrecision);
  put("font.Quality", f.quality);
  // The font dialog's fixed-pitch bit is kept with the family, as the program always wrote it.
  put("font.PitchAndFamily", f.pitchAndFamily | kFixedPitchBit);
  p.WriteProfileString(section, QStringLiteral("font.FaceName"),
                       QString::fromStdString(f.faceName));
}

ImageSettings ReadImageSettings(const suite::ProfileStore& p) {
  ImageSettings s;
  s.full16Bit = Flag(p, kSettings, "Full16Bit", false);
  s.loadLut = Flag(p, kSettings, "LoadLUT", false);
  return s;
}

DisplaySettings ReadDisplaySettings(const suite::ProfileStore& p, const QString& programFolder) {
  DisplaySettings s;
  s.programFolder = QFile::encodeName(programFolder).toStdString();
  if (!s.programFolder.empty() && s.programFolder.back() != '/') s.programFolder += '/';
  s.interpolation = Flag(p, kSettings, "Interplation", true);
  s.showAnnotation = Flag(p, kSettings, "ShowAnnotation", true);
  s.maxDispSize = Int(p, kSettings, "MaxDispSize", 150);
  s.showImageNumber = Flag(p, kSettings, "ShowImgNo", false);
  s.mouseMulti = Int(p, kSettings, "MouseMulti", 3);
  s.quickFlush = Flag(p, kSettings, "QuickFlush", true);

  const MeasureFont font = ReadProfileFont(p, kAnnotation);
  s.fontFace = font.faceName;
  s.fontHeight = font.height;
  s.fontWeight = font.weight;
  s.fontItalic = font.italic != 0;
  s.textColour = static_cast<uint32_t>(Int(p, kAnnotation, "Color", 0xFFFFFF));
  s.hSpace = Int(p, kAnnotation, "HSpace", 0);
  s.vSpace = Int(p, kAnnotation, "VSpace", 0);

  s.wcRectEnable = Flag(p, kWcRect, "Enable", false);
  s.wcRectMaxSize = Int(p, kWcRect, "MaxSize", 640);
  s.wcRectWidth = Int(p, kWcRect, "Width", 200);
  s.wcRectHeight = Int(p, kWcRect, "Height", 200);

  s.seqLines = Flag(p, kSeqLine, "SeqLines", true);
  s.seqLineRegion = Flag(p, kSeqLine, "SeqLineType", true);
  s.checkFrameUid = Flag(p, kSeqLine, "CheckFrameUID", true);
  s.drawOneSeries = Flag(p, kSeqLine, "DrawOneSeries", true);
  return s;
}

AnnotationStyle ReadMeasureStyle(const suite::ProfileStore& p) {
  AnnotationStyle s;
  s.font = ReadProfileFont(p, kMeasure);
  s.activePenStyle = Int(p, kMeasure, "ActivePen.Style", s.activePenStyle);
  s.normalPenStyle = Int(p, kMeasure, "NormalPen.Style", s.normalPenStyle);
  s.activePenWidth = Int(p, kMeasure, "ActivePen.Width", s.activePenWidth);
  s.normalPenWidth = Int(p, kMeasure, "NormalPen.Width", s.normalPenWidth);
  s.normalColour = static_cast<uint32_t>(Int(p, kMeasure, "Normal Color", 65280));
  s.activeColour = static_cast<uint32_t>(Int(p, kMeasure, "Active Color", 255));
  s.showDash = Flag(p, kMeasure, "Show Dash", true);
  s.showTracker = Flag(p, kMeasure, "Show Tracker", false);
  s.annotationMask = Int(p, kMeasure, "Annotation", -1);
  return s;
}

void WriteExitSettings(suite::ProfileStore& p, const DisplaySettings& display,
                       const AnnotationStyle& style) {
  WriteProfileFont(p, kMeasure, style.font);
  p.WriteProfileInt(kMeasure, QStringLiteral("ActivePen.Style"), style.activePenStyle);
  p.WriteProfileInt(kMeasure, QStringLiteral("NormalPen.Style"), style.normalPenStyle);
  p.WriteProfileInt(kMeasure, QStringLiteral("ActivePen.Width"), style.activePenWidth);
  p.WriteProfileInt(kMeasure, QStringLiteral("NormalPen.Width"), style.normalPenWidth);
  p.WriteProfileInt(kMeasure, QStringLiteral("Normal Color"), static_cast<int>(style.normalColour));
  p.WriteProfileInt(kMeasure, QStringLiteral("Active Color"), static_cast<int>(style.activeColour));
  p.WriteProfileInt(kMeasure, QStringLiteral("Show Dash"), style.showDash ? 1 : 0);
  p.WriteProfileInt(kMeasure, QStringLiteral("Show Tracker"), style.showTracker ? 1 : 0);
  p.WriteProfileInt(kMeasure, QStringLiteral("Annotation"), style.annotationMask);
  p.WriteProfileInt(kSettings, QStringLiteral("Interplation"), display.interpolation ? 1 : 0);
  p.WriteProfileInt(kSettings, QStringLiteral("ShowAnnotation"), display.showAnnotation ? 1 : 0);
}

}  // namespace tolmar::viewer
