#pragma once

#include <QString>
#include <QVariantList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace tolmar::suite {
class ProfileStore;
class StringTable;
}  // namespace tolmar::suite

namespace tolmar::db {
class DbConnection;
}

namespace tolmar::viewer {

// Study record columns the history bar reads from each of its rows.
namespace HistoryField {
constexpr int kStorageKey = 2;  // F_DEV_ID: mapped to the folder text by the bar's table
constexpr int kPatientNo = 3;
constexpr int kPatientName = 4;
constexpr int kStudyNo = 5;
constexpr int kStudyKey = 20;  // F_STU_ID
constexpr int kStudyUid = 21;
constexpr int kStudyDate = 24;
constexpr int kStudyPlace = 25;
constexpr int kModality = 56;
constexpr int kReportUid = 93;
}  // namespace HistoryField

// One study of the patient as the bar lists it: texts by study column number.
struct HistoryEntry {
  std::map<int, QString> fields;
  bool loaded = false;

  QString Field(int column) const;
};

// "Casebook" values of the viewer's profile.
struct HistoryBarSettings {
  bool visible = false;  // "IsView"
  int width = 100;       // "Width"
  int height = 100;      // "Height"
  int showFlag = 1;      // "ShowFlag"
  int casebookId = 20;   // "CasebookID"

  static HistoryBarSettings Read(const suite::ProfileStore& profile);
};

// Calling side of the automation objects the bar drives ("TolmarPacs.Pictorium",
// "TolmarPacs.Reporter"), so the command logic runs without a bus in tests.
class HistoryAutomationObject {
 public:
  virtual ~HistoryAutomationObject() = default;
  // The method's 32-bit result; false when the call itself failed (error says why).
  virtual bool Call(int method, QVariantList arguments, int& result, QString& error) = 0;
  virtual void Detach() = 0;
};

class HistoryAutomation {
 public:
  virtual ~HistoryAutomation() = default;
  // Null when the object cannot be created.
  virtual std::unique_ptr<HistoryAutomationObject> Create(const QString& identifier) = 0;
};

// The session-bus objects of suite/AutomationObject.
std::unique_ptr<HistoryAutomation> MakeBusAutomation();

// What the bar shows the user while a command runs.
class HistoryPrompts {
 public:
  virtual ~HistoryPrompts() = default;
  virtual void ShowMessage(int messageId, const QString& text) = 0;
  virtual void SetWaitCursor(bool on) = 0;
};

// The history bar without its widget: the rows of the current patient's
// studies, the storage-key-to-folder table and the three entry commands.
class HistoryBar {
 public:
  static inline const QString kPictoriumObject = QStringLiteral("TolmarPacs.Pictorium");
  static inline const QString kReporterObject = QStringLiteral("TolmarPacs.Reporter");
  static inline const QString kStudyKind = QStringLiteral("STUDY");

  using LoadRequest = std::function<void(const QString& folderText, const QString& kind,
                                         const QString& objectText)>;

  HistoryBar(HistoryAutomation& automation, HistoryPrompts& prompts,
             const suite::StringTable& strings);

  void SetRows(std::vector<HistoryEntry> entries, std::map<int32_t, QString> folders);
  void Clear();
  const std::vector<HistoryEntry>& Entries() const { return m_entries; }
  int Count() const { return static_cast<int>(m_entries.size()); }
  // Marks the entry of that study key as loaded (the study the viewer shows).
  void MarkLoaded(const QString& studyKey);

  // Folder text of the entry's storage key; empty when the table has none.
  QString FolderText(const HistoryEntry& entry) const;
  // ";~;OBJECT_ID=" and the entry's study key.
  static QString ObjectText(const HistoryEntry& entry);

  // Double-click: asks this viewer to load the entry once. False when nothing
  // was requested (already loaded, no folder text, no study key, bad index).
  bool OpenEntry(int index, const LoadRequest& request);
  // Command 32982: the entry in another viewer through "TolmarPacs.Pictorium".
  // False when the object could not be created or the entry has nothing to load.
  bool ViewInAnotherViewer(int index);
  // Command 32983: the entry's report in the report writer.
  bool OpenReport(int index);

 private:
  const HistoryEntry* EntryAt(int index) const;
  // False (message 353 shown) when the call itself failed.
  bool Call(HistoryAutomationObject& object, int method, QVariantList arguments, int& result);
  // Message 353 with the method's name for a non-zero result.
  void ReportResult(int result, const QString& methodName);

  HistoryAutomation& m_automation;
  HistoryPrompts& m_prompts;
  const suite::StringTable& m_strings;
  std::vector<HistoryEntry> m_entries;
  std::map<int32_t, QString> m_folders;
};

// Whose studies the bar lists: the patient of the shown study block by its key
// (or its number when the key is 0), or the patient of a study named by its
// UID (the SetPatient call of the automation object).
struct HistoryPatient {
  int32_t patientKey = 0;
  QString patientNo;
  QString studyUid;

  bool IsEmpty() const {
    return patientKey == 0 && patientNo.trimmed().isEmpty() && studyUid.trimmed().isEmpty();
  }
  // From a 1412-byte study block; a block of another size names nobody.
  static HistoryPatient FromStudyBlock(const uint8_t* block, size_t size);
};

// The patient's studies from the database, newest first, and the table of
// device keys to device names (the folder texts of the load command). An
// empty patient gives no rows. False (rows untouched) on a database error.
bool ReadPatientHistory(db::DbConnection& db, const HistoryPatient& patient,
                        std::vector<HistoryEntry>& entries, std::map<int32_t, QString>& folders);

}  // namespace tolmar::viewer
