#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tolmar {

// Profile values that steer how cells are painted and how images react to the
// mouse. The viewer fills this from its profile ("Settings", "Annotation",
// "WCRect" and "SeqLine" sections) and hands it over with SetDisplaySettings;
// the image code never reads a profile itself. Colours are 0x00BBGGRR.
struct DisplaySettings {
  std::string programFolder;  // with a trailing '/'; "IMGINFO" is read from here

  // "Settings"
  bool interpolation = true;   // "Interplation": bilinear when enlarging
  bool showAnnotation = true;  // "ShowAnnotation": patient texts, window text, frame counter
  int maxDispSize = 150;       // "MaxDispSize": overlays only in cells larger than this
  bool showImageNumber = false;  // "ShowImgNo"
  int mouseMulti = 1;            // "MouseMulti": drag factor while Ctrl is held
  bool quickFlush = false;       // "QuickFlush"
  uint32_t background = 0x000000;

  // View toggles, the same for all cells.
  bool showOverlays = true;  // all overlays
  bool showRuler = true;

  // "Annotation": overlay font, colour and margins.
  std::string fontFace = "Arial";
  int fontHeight = -12;  // "font.Height", in logical units as the profile keeps it
  int fontWeight = 400;  // "font.Weight"
  bool fontItalic = false;
  uint32_t textColour = 0xFFFFFF;  // "Color"
  int hSpace = 2;                  // "HSpace"
  int vSpace = 2;                  // "VSpace"

  // "WCRect": partial re-render while the window is dragged in large cells.
  bool wcRectEnable = false;  // "Enable"
  int wcRectMaxSize = 512;    // "MaxSize"
  int wcRectWidth = 256;      // "Width"
  int wcRectHeight = 256;     // "Height"

  // "SeqLine": scout lines.
  bool seqLines = true;        // "SeqLines": new images show their scout lines
  bool seqLineRegion = true;   // "SeqLineType": 1 region mode, 0 section mode
  bool checkFrameUid = true;   // "CheckFrameUID"
  bool drawOneSeries = true;   // "DrawOneSeries"

  // Group 0503 of the overlay table: a field of the viewer's current patient
  // record, by element number. Empty text for fields the viewer does not know.
  std::function<std::string(uint16_t element)> patientField;
};

// The settings in effect for the whole program. Reads copy them under a lock,
// so a loader thread may read while the user-interface thread replaces them.
DisplaySettings CurrentDisplaySettings();
void SetDisplaySettings(const DisplaySettings& settings);
// The region-mode flag is also written by scout copy records as they are read.
void SetScoutRegionMode(bool region);

}  // namespace tolmar
