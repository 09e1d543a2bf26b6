#pragma once

#include <QString>
#include <optional>

#include "annotation/AnnotationStyle.h"
#include "image/DisplaySettings.h"
#include "image/ImageSettings.h"
#include "viewer/PictoriumViewModel.h"

namespace tolmar::suite {
class ProfileStore;
}

namespace tolmar::viewer {

// How films are made; kept in General "PrintFilm" for every program of the
// suite. The viewer itself films only through the DICOM camera.
enum class FilmKind : int { DicomCamera = 1, VideoCamera = 2 };

// General "PrintFilm". The size fields are texts: the film program parses them.
struct FilmSettings {
  FilmKind kind = FilmKind::DicomCamera;  // "PrintType" "1" or "2"
  bool bringUp = true;                    // "BringUp"
  bool rawImage = true;                   // "RawImage"
  QString width;                          // "Width"
  QString height;                         // "Height"
  QString ratio;                          // "Ratio"
  QString imageWidth;                     // "ImgWidth"
  QString imageHeight;                    // "ImgHeight"
};

// "Casebook": the history bar beside the image view.
struct HistoryBarSettings {
  bool show = false;    // "IsView"
  int width = 100;      // "Width"
  int height = 100;     // "Height"
  int casebookId = 20;  // "CasebookID"
};

// Everything the settings sheet edits, in the program's own structures.
struct SettingsValues {
  // Painting switches, overlay colour and margins, the window-centre rectangle
  // and scout lines. Its four overlay font fields follow overlayFont on Apply,
  // and its mouse factor follows view.mouseMultiplier.
  DisplaySettings display;
  MeasureFont overlayFont;  // all fourteen "Annotation" font values
  ImageSettings image;      // "Full16Bit", "LoadLUT"
  ViewSettings view;        // "MBtnWindow", "MouseMulti", "LBtnDbClkFun"
  AnnotationStyle measure;  // the "Measure" section
  bool copyRawDib = false;  // "CopyRawDIB"
  bool quickMpr = true;     // "QuickMPR"
  FilmSettings film;
  HistoryBarSettings history;
};

// A control of a choice and the value it stands for.
struct ChoiceControl {
  int id;
  int value;
};
// Radio buttons of "LBtnDbClkFun": single/multiple cells, report, film.
inline constexpr ChoiceControl kDoubleClickChoices[] = {{1205, 3}, {1206, 2}, {1207, 1}};
// Check boxes of the bits of Measure "Annotation": area, mean, standard deviation.
inline constexpr ChoiceControl kStatisticsChoices[] = {{1033, 1}, {1035, 2}, {1037, 4}};
// Radio buttons of "PrintType".
inline constexpr ChoiceControl kFilmKindChoices[] = {{1222, 1}, {1223, 2}};
// Radio buttons of "SeqLineType": section, region.
inline constexpr ChoiceControl kScoutModeChoices[] = {{1235, 0}, {1236, 1}};

// The pen styles the drawing objects draw, as the style combo boxes list them.
struct PenStyleEntry {
  const char* name;  // UTF-8
  int style;
};
inline constexpr PenStyleEntry kPenStyles[] = {{"标准实线", 6}, {"实线", 0},   {"虚线", 1},
                                               {"点线", 2},     {"点虚线", 3}, {"双点虚线", 4}};

inline constexpr int kPenWidthMinimum = 1;
inline constexpr int kPenWidthMaximum = 100;
inline constexpr int kNormalPenWidthControl = 1089;
inline constexpr int kActivePenWidthControl = 1091;

// Why the values cannot be taken: the control to go back to and its range.
struct SettingsRefusal {
  int controlId = 0;
  int minimum = 0;
  int maximum = 0;
};
std::optional<SettingsRefusal> ValidateSettings(const SettingsValues& values);

// The values behind the settings sheet and its two single dialogs. Each Apply
// puts the values into effect at once and writes those that are kept at once;
// "Interplation" and the "Measure" section reach the profile only at exit, so
// they are read from the program's current state rather than the profile.
class SettingsSheetModel {
 public:
  // `view` (may be null) takes the mouse settings and, through its document,
  // the image settings.
  SettingsSheetModel(suite::ProfileStore& profile, PictoriumViewModel* view);

  SettingsValues& Values() { return m_values; }
  const SettingsValues& Values() const { return m_values; }

  // OK (`closing`) or Apply of the sheet: nothing happens when the values are
  // refused. The history bar values are written only by OK. When "Full16Bit"
  // changed, every loaded image is marked to be rebuilt from its file with the
  // new settings and the reset command runs on the selection.
  std::optional<SettingsRefusal> ApplySheet(bool closing);
  // OK of the overlay text dialog: colour and font, without the margins.
  void ApplyOverlayFormat();
  // OK of the measurement format dialog: flags, colours, pens and font.
  std::optional<SettingsRefusal> ApplyMeasureFormat();

 private:
  void ApplyDisplay(bool wholeSheet);
  void WriteSystemPage();
  void WriteFilmPage();
  void WriteOverlayPage(bool withMargins);
  void WriteWindowingPage();
  void WriteHistoryPage();
  void WriteScoutLinePage();
  void ApplyImageSettings();

  suite::ProfileStore& m_profile;
  PictoriumViewModel* m_view;
  SettingsValues m_values;
  ImageSettings m_imageInEffect;
};

}  // namespace tolmar::viewer
