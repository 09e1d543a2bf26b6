#include "viewer/HistoryBar.h"

#include <array>
#include <span>

#include "database/DbConnection.h"
#include "database/StudyRecord.h"
#include "suite/AutomationObject.h"
#include "suite/ObjectText.h"
#include "suite/ProfileStore.h"
#include "suite/StringTable.h"

namespace tolmar::viewer {
namespace {

constexpr int kComCallErrorMessage = 353;

class BusObject : public HistoryAutomationObject {
 public:
  explicit BusObject(std::unique_ptr<suite::AutomationObject> object)
      : m_object(std::move(object)) {}
  bool Call(int method, QVariantList arguments, int& result, QString& error) override {
    QVariant value;
    if (!m_object->Invoke(method, arguments, value, &error)) return false;
    bool ok = false;
    result = value.toInt(&ok);
    if (!ok) error = QStringLiteral("method %1 answered no number").arg(method);
    return ok;
  }
  void Detach() override { m_object->Detach(); }

 private:
  std::unique_ptr<suite::AutomationObject> m_object;
};

class BusAutomation : public HistoryAutomation {
 public:
  std::unique_ptr<HistoryAutomationObject> Create(const QString& identifier) override {
    std::unique_ptr<suite::AutomationObject> object = suite::AutomationObject::Create(identifier);
    if (!object) return nullptr;
    return std::make_unique<BusObject>(std::move(object));
  }
};

// The wait cursor stays up for the whole command and goes on every way out.
class WaitCursor {
 public:
  explicit WaitCursor(HistoryPrompts& prompts) : m_prompts(prompts) {
    m_prompts.SetWaitCursor(true);
  }
  ~WaitCursor() { m_prompts.SetWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HistoryPrompts& m_prompts;
};

// Columns read for each row: the ones the commands need and the ones the bar shows.
constexpr std::array kHistoryColumns = {
    std::pair{HistoryField::kStorageKey, "F_DEV_ID"},
    std::pair{HistoryField::kPatientNo, "F_PAT_NO"},
    std::pair{HistoryField::kPatientName, "F_PAT_NAME"},
    std::pair{HistoryField::kStudyNo, "F_STU_NO"},
    std::pair{HistoryField::kStudyKey, "F_STU_ID"},
    std::pair{HistoryField::kStudyUid, "F_STU_UID"},
    std::pair{HistoryField::kStudyDate, "F_STU_DATE"},
    std::pair{HistoryField::kStudyPlace, "F_STU_PLACE"},
    std::pair{HistoryField::kModality, "F_MODALITY"},
    std::pair{HistoryField::kReportUid, "F_RPT_UID"},
};

}  // namespace

QString HistoryEntry::Field(int column) const {
  const auto it = fields.find(column);
  return it == fields.end() ? QString() : it->second;
}

HistoryBarSettings HistoryBarSettings::Read(const suite::ProfileStore& profile) {
  const QString section = QStringLiteral("Casebook");
  HistoryBarSettings settings;
  settings.visible = profile.GetProfileInt(section, QStringLiteral("IsView"), 0) != 0;
  settings.width = profile.GetProfileInt(section, QStringLiteral("Width"), 100);
  settings.height = profile.GetProfileInt(section, QStringLiteral("Height"), 100);
  settings.showFlag = profile.GetProfileInt(section, QStringLiteral("ShowFlag"), 1);
  settings.casebookId = profile.GetProfileInt(section, QStringLiteral("CasebookID"), 20);
  return settings;
}

std::unique_ptr<HistoryAutomation> MakeBusAutomation() { return std::make_unique<BusAutomation>(); }

HistoryBar::HistoryBar(HistoryAutomation& automation, HistoryPrompts& prompts,
                       const suite::StringTable& strings)
    : m_automation(automation), m_prompts(prompts), m_strings(strings) {}

void HistoryBar::SetRows(std::vector<HistoryEntry> entries, std::map<int32_t, QString> folders) {
  m_entries = std::move(entries);
  m_folders = std::move(folders);
}

void HistoryBar::Clear() {
  m_entries.clear();
  m_folders.clear();
}

void HistoryBar::MarkLoaded(const QString& studyKey) {
  if (studyKey.trimmed().isEmpty()) return;
  for (HistoryEntry& entry : m_entries) {
    if (entry.Field(HistoryField::kStudyKey).trimmed() == studyKey.trimmed()) entry.loaded = true;
  }
}

QString HistoryBar::FolderText(const HistoryEntry& entry) const {
  bool ok = false;
  const int32_t key = entry.Field(HistoryField::kStorageKey).trimmed().toInt(&ok);
  if (!ok) return {};
  const auto it = m_folders.find(key);
  return it == m_folders.end() ? QString() : it->second;
}

QString HistoryBar::ObjectText(const HistoryEntry& entry) {
  return QStringLiteral(";~;") + suite::ObjectKey::kObjectId + entry.Field(HistoryField::kStudyKey);
}

const HistoryEntry* HistoryBar::EntryAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &m_entries[static_cast<size_t>(index)];
}

bool HistoryBar::OpenEntry(int index, const LoadRequest& request) {
  const HistoryEntry* entry = EntryAt(index);
  if (!entry || entry->loaded) return false;
  const QString folder = FolderText(*entry);
  if (folder.isEmpty() || entry->Field(HistoryField::kStudyKey).isEmpty()) return false;
  request(folder, kStudyKind, ObjectText(*entry));
  m_entries[static_cast<size_t>(index)].loaded = true;
  return true;
}

bool HistoryBar::Call(HistoryAutomationObject& object, int method, QVariantList arguments,
                      int& result) {
  QString error;
  if (object.Call(method, std::move(arguments), result, error)) return true;
  // The call itself failed (server gone, time out): said once, and the
  // command ends here.
  m_prompts.ShowMessage(kComCallErrorMessage,
                        m_strings.Format(kComCallErrorMessage, {QStringLiteral("-1"), error}));
  return false;
}

void HistoryBar::ReportResult(int result, const QString& methodName) {
  if (result == 0) return;
  m_prompts.ShowMessage(
      kComCallErrorMessage,
      m_strings.Format(kComCallErrorMessage, {QString::number(result), methodName}));
}

bool HistoryBar::ViewInAnotherViewer(int index) {
  const HistoryEntry* entry = EntryAt(index);
  if (!entry) return false;
  const QString folder = FolderText(*entry);
  if (folder.isEmpty() || entry->Field(HistoryField::kStudyKey).isEmpty()) return false;
  const QString studyUid = entry->Field(HistoryField::kStudyUid);
  const QString objectText = ObjectText(*entry);

  WaitCursor wait(m_prompts);
  std::unique_ptr<HistoryAutomationObject> viewer = m_automation.Create(kPictoriumObject);
  if (!viewer) return false;
  int result = 0;
  if (!studyUid.isEmpty() && !Call(*viewer, 7, {folder, studyUid}, result)) return true;
  if (!Call(*viewer, 5, {folder, kStudyKind, objectText}, result)) return true;
  ReportResult(result, QStringLiteral("LoadImagesC"));
  if (!Call(*viewer, 1, {}, result)) return true;
  // Detached, not released: the other viewer stays up showing the study.
  viewer->Detach();
  return true;
}

bool HistoryBar::OpenReport(int index) {
  const HistoryEntry* entry = EntryAt(index);
  if (!entry) return false;
  const QString folder = FolderText(*entry);
  const QString reportUid = entry->Field(HistoryField::kReportUid);
  if (folder.isEmpty() || reportUid.isEmpty()) return false;
  const QVariantList reportArguments{folder, entry->Field(HistoryField::kPatientNo),
                                     entry->Field(HistoryField::kStudyUid), reportUid};

  WaitCursor wait(m_prompts);
  std::unique_ptr<HistoryAutomationObject> reporter = m_automation.Create(kReporterObject);
  if (!reporter) return false;
  int result = 0;
  if (!Call(*reporter, 1, {true}, result)) return true;
  if (!Call(*reporter, 7, reportArguments, result)) return true;
  ReportResult(result, QStringLiteral("ModifyReport"));
  if (!Call(*reporter, 2, {}, result)) return true;
  reporter->Detach();
  return true;
}

HistoryPatient HistoryPatient::FromStudyBlock(const uint8_t* block, size_t size) {
  db::STUDY_RECORD record;
  if (!block || !record.FromBytes(std::span<const uint8_t>(block, size))) return {};
  HistoryPatient patient;
  patient.patientKey = record.GetInteger(1);
  patient.patientNo = QString::fromUtf8(record.GetColumn(HistoryField::kPatientNo)).trimmed();
  return patient;
}

bool ReadPatientHistory(db::DbConnection& db, const HistoryPatient& patient,
                        std::vector<HistoryEntry>& entries, std::map<int32_t, QString>& folders) {
  QString condition;
  QVariant value;
  if (patient.patientKey != 0) {
    condition = QStringLiteral("F_PAT_ID=?");
    value = patient.patientKey;
  } else if (!patient.patientNo.trimmed().isEmpty()) {
    condition = QStringLiteral("F_PAT_NO=?");
    value = patient.patientNo.trimmed();
  } else if (!patient.studyUid.trimmed().isEmpty()) {
    condition = QStringLiteral("F_PAT_ID IN (SELECT F_PAT_ID FROM V_STUDY WHERE F_STU_UID=?)");
    value = patient.studyUid.trimmed();
  } else {
    entries.clear();
    folders.clear();
    return true;
  }
  QStringList names;
  for (const auto& [column, name] : kHistoryColumns) names << QString::fromLatin1(name);
  const QString sql =
      QStringLiteral("SELECT %1 FROM V_STUDY WHERE %2 ORDER BY F_STU_DATE DESC, F_STU_ID DESC")
          .arg(names.join(u','), condition);
  std::vector<db::SqlRow> rows;
  if (!db.Select(sql, {value}, rows)) return false;
  std::vector<db::SqlRow> devices;
  if (!db.Select(QStringLiteral("SELECT F_DEV_ID, F_DEV_NAME FROM T_DEVICE"), {}, devices))
    return false;

  std::vector<HistoryEntry> read;
  for (const db::SqlRow& row : rows) {
    HistoryEntry entry;
    for (size_t i = 0; i < kHistoryColumns.size() && static_cast<qsizetype>(i) < row.size(); ++i) {
      const QVariant& field = row[static_cast<qsizetype>(i)];
      if (!field.isNull()) entry.fields[kHistoryColumns[i].first] = field.toString().trimmed();
    }
    read.push_back(std::move(entry));
  }
  std::map<int32_t, QString> table;
  for (const db::SqlRow& row : devices) {
    if (row.size() < 2 || row[0].isNull()) continue;
    table[row[0].toInt()] = row[1].toString().trimmed();
  }
  entries = std::move(read);
  folders = std::move(table);
  return true;
}

}  // namespace tolmar::viewer
