#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tolmar {
class DicomImage;
}

namespace tolmar::suite {
class ProfileStore;
class RegTabLibrary;
}  // namespace tolmar::suite

namespace tolmar::db {
class DbConnection;
}

namespace tolmar::viewer {

class CPictoriumDoc;
class DisplayCell;

// Sibling windows found by title (suite/WindowMessenger on the bus).
class SiblingWindows {
 public:
  virtual ~SiblingWindows() = default;
  virtual bool Find(const QString& title) const = 0;
  // Restores the window when minimised and puts it directly behind callerTitle's.
  virtual bool PlaceBehind(const QString& title, const QString& callerTitle) const = 0;
};

// The windows of the session bus (suite/WindowMessenger).
std::unique_ptr<SiblingWindows> MakeBusSiblingWindows();

// Command 32984: the archive manager (General "StowmarkName") goes directly
// behind the viewer. False when no such window runs.
bool SelectNewPatient(const SiblingWindows& windows, const QString& viewerTitle);

// The request key of the study block with trailing blanks removed.
QByteArray ConsultationKey(const CPictoriumDoc& doc);
// Command 32986: the consultation sheet of the study through "TmRegTab.dll".
// False when the library or its entry is missing or it did not show the sheet.
bool ShowConsultationSheet(const suite::RegTabLibrary& library, intptr_t window,
                           const CPictoriumDoc& doc);

// Command 32988: the preliminary diagnosis of the study's quick report.
struct PreliminaryDiagnosis {
  enum class Outcome { NoConnection, DatabaseError, NoRecord, Found };
  Outcome outcome = Outcome::NoConnection;
  QString text;   // trailing blanks removed
  QString error;  // the driver's message for DatabaseError
};
PreliminaryDiagnosis ReadPreliminaryDiagnosis(db::DbConnection* db, int32_t studyKey);

// Command 32939. The colour the dialog starts from; nothing without a current image.
std::optional<QColor> BackgroundOfCurrentImage(const DicomImage* current);
using TakesPartFunction = std::function<bool(const DisplayCell& cell, int imageIndex)>;
// Gives the current image and every selected image of every cell the colour;
// answers how many images took it (0: nothing changed).
int SetBackgroundOfSelection(CPictoriumDoc& doc, const DicomImage* current,
                             const TakesPartFunction& takesPart, const QColor& colour);

// Command 32966: the thumbnail bar comes back and the settings reset at the
// next start (Bars "V_Bar_MiniImg" = 1, Settings "Reset" = 1).
constexpr int kResetDefaultsMessage = 138;
bool ResetDefaultsAtNextStart(suite::ProfileStore& profile);

}  // namespace tolmar::viewer
