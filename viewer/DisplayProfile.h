#pragma once

#include <QString>

#include "annotation/AnnotationStyle.h"
#include "image/DisplaySettings.h"

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
// What the viewer keeps at exit: the "Measure" section and the two display
// switches the menus change ("Interplation", "ShowAnnotation").
void WriteExitSettings(suite::ProfileStore& profile, const DisplaySettings& display,
                       const AnnotationStyle& style);

}  // namespace tolmar::viewer
