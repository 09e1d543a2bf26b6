#include "viewer/DocumentCommands.h"

#include "database/DbConnection.h"
#include "image/DisplaySettings.h"
#include "suite/GeneralValues.h"
#include "suite/OutsideLibraries.h"
#include "suite/ProfileStore.h"
#include "suite/WindowMessenger.h"
#include "viewer/CPictoriumDoc.h"

namespace tolmar::viewer {
namespace {

QString WithoutTrailingBlanks(QString text) {
  qsizetype end = text.size();
  while (end > 0 && text[end - 1].isSpace()) --end;
  text.truncate(end);
  return text;
}

// Colours of the display settings are 0x00BBGGRR.
QColor FromColorRef(uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

uint32_t ToColorRef(const QColor& colour) {
  return static_cast<uint32_t>(colour.red()) | static_cast<uint32_t>(colour.green()) << 8 |
         static_cast<uint32_t>(colour.blue()) << 16;
}

class BusSiblingWindows : public SiblingWindows {
 public:
  bool Find(const QString& title) const override { return m_messenger.Find(title); }
  bool PlaceBehind(const QString& title, const QString& callerTitle) const override {
    return m_messenger.PlaceBehind(title, callerTitle);
  }

 private:
  suite::WindowMessenger m_messenger;
};

}  // namespace

std::unique_ptr<SiblingWindows> MakeBusSiblingWindows() {
  return std::make_unique<BusSiblingWindows>();
}

bool SelectNewPatient(const SiblingWindows& windows, const QString& viewerTitle) {
  const QString title = suite::SiblingWindowTitle(suite::SiblingProgram::Stowmark);
  if (title.isEmpty() || !windows.Find(title)) return false;
  return windows.PlaceBehind(title, viewerTitle);
}

QByteArray ConsultationKey(const CPictoriumDoc& doc) {
  QByteArray key = QByteArray::fromStdString(doc.RequestKey());
  qsizetype end = key.size();
  while (end > 0 && (key[end - 1] == ' ' || key[end - 1] == '\t')) --end;
  key.truncate(end);
  return key;
}

bool ShowConsultationSheet(const suite::RegTabLibrary& library, intptr_t window,
                           const CPictoriumDoc& doc) {
  if (!library.IsAvailable()) return false;
  return library.Show(window, ConsultationKey(doc));
}

PreliminaryDiagnosis ReadPreliminaryDiagnosis(db::DbConnection* db, int32_t studyKey) {
  PreliminaryDiagnosis answer;
  if (!db || !db->IsOpen()) return answer;
  std::vector<db::SqlRow> rows;
  if (!db->Select(QStringLiteral("SELECT F_MEMO_SPARE1 FROM T_QUICK_REPORT WHERE F_STU_ID=? "
                                 "ORDER BY F_QRPT_ID"),
                  {studyKey}, rows)) {
    answer.outcome = PreliminaryDiagnosis::Outcome::DatabaseError;
    answer.error = db->LastError();
    return answer;
  }
  if (rows.empty() || rows.front().isEmpty()) {
    answer.outcome = PreliminaryDiagnosis::Outcome::NoRecord;
    return answer;
  }
  answer.outcome = PreliminaryDiagnosis::Outcome::Found;
  answer.text = WithoutTrailingBlanks(rows.front().front().toString());
  return answer;
}

std::optional<QColor> BackgroundOfCurrentImage(const DicomImage* current) {
  if (!current) return std::nullopt;
  // Cells are painted over the program's background setting, so that is the
  // colour every image shows.
  return FromColorRef(CurrentDisplaySettings().background);
}

int SetBackgroundOfSelection(CPictoriumDoc& doc, const DicomImage* current,
                             const TakesPartFunction& takesPart, const QColor& colour) {
  if (!colour.isValid()) return 0;
  int count = 0;
  for (auto& cell : doc.Cells()) {
    for (int i = 0; i < cell->ImageCount(); ++i) {
      if (&cell->Image(i) == current || (takesPart && takesPart(*cell, i))) ++count;
    }
  }
  if (count == 0) return 0;
  DisplaySettings settings = CurrentDisplaySettings();
  settings.background = ToColorRef(colour);
  SetDisplaySettings(settings);
  return count;
}

bool ResetDefaultsAtNextStart(suite::ProfileStore& profile) {
  const bool bar =
      profile.WriteProfileInt(QStringLiteral("Bars"), QStringLiteral("V_Bar_MiniImg"), 1);
  const bool reset =
      profile.WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("Reset"), 1);
  return bar && reset;
}

}  // namespace tolmar::viewer
