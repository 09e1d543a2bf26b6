#pragma once

#include <QString>

#include "annotation/AnnotationStyle.h"
#include "image/DisplaySettings.h"
#include "image/ImageSettings.h"

namespace tolmar::suite {
class ProfileStore;
}

namespace tolmar::viewer {

// The viewer's display settings in its profile: overlay text ("Annotation"),
// painting switches ("Settings"), the window-centre rectangle ("WCRect") and
// scout lines ("SeqLine"), with the defaults a new installation starts from.
DisplaySettings ReadDisplaySettings(const suite::ProfileStore& profile,
                                    const QString& programFolder);
// Pens, colours, font and switches of the drawing objects ("Measure").
AnnotationStyle ReadMeasureStyle(const suite::ProfileStore& profile);
// How images are built ("Full16Bit", "LoadLUT" in "Settings").
ImageSettings ReadImageSettings(const suite::ProfileStore& profile);
// The fourteen logical font values of a section, "font.Height" to "font.FaceName".
MeasureFont ReadProfileFont(const suite::ProfileStore& profile, const QString& section);
// "font.PitchAndFamily" is written with the fixed-pitch bit added.
void WriteProfileFont(suite::ProfileStore& profile, const QString& section,
                      const MeasureFont& font);
// What the viewer keeps at exit: the "Measure" section and the two display
// switches the menus change ("Interplation", "ShowAnnotation").
void WriteExitSettings(suite::ProfileStore& profile, const DisplaySettings& display,
                       const AnnotationStyle& style);

}  // namespace tolmar::viewer
