#pragma once

#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tolmar::db {

class DbConnection;

struct ImportCounts {
  size_t files = 0;          // files looked at
  size_t imagesAdded = 0;
  size_t alreadyPresent = 0;  // images the device already had
  size_t notDicom = 0;       // files in folders that are no DICOM files at all
  size_t failed = 0;         // DICOM files (or named files) that could not be filed
  size_t patientsAdded = 0;
  size_t studiesAdded = 0;
  size_t seriesAdded = 0;
};

// Files DICOM headers as patients, studies, series and images of one device. Each
// file's header is read (pixel data skipped); a file whose image the device already
// has adds nothing. Work is committed in batches; a database error stops the import.
class StudyImporter {
 public:
  StudyImporter(DbConnection& db, int32_t deviceId);
  ~StudyImporter();
  StudyImporter(const StudyImporter&) = delete;
  StudyImporter& operator=(const StudyImporter&) = delete;

  // Makes sure the device row exists and starts the first batch.
  bool Begin();
  enum class FileResult { Added, AlreadyPresent, NotDicom, Failed, DatabaseError };
  // `named` is true for files given by name (a rejected one is a failure, never
  // "not DICOM"). `reason` says why a file failed.
  FileResult ImportFile(const std::string& path, bool named, std::string& reason);
  // Updates the series and image counts of the touched studies and commits.
  bool Finish();

  const ImportCounts& Counts() const { return m_counts; }
  QString LastError() const;

  // Every regular file below the paths (a path may itself be a file), in name order.
  // Paths that do not exist are returned in `missing`.
  static std::vector<std::pair<std::string, bool>> CollectFiles(const std::vector<std::string>& paths,
                                                                std::vector<std::string>& missing);

 private:
  struct Statements;
  bool FlushBatchIfDue();

  DbConnection& m_db;
  int32_t m_deviceId;
  std::unique_ptr<Statements> m_statements;
  QHash<QString, int32_t> m_patients;  // patient key -> F_PAT_ID
  QHash<QString, int32_t> m_studies;   // study UID -> F_STU_ID
  QHash<QString, int32_t> m_series;    // study id + series UID -> F_SER_ID
  std::vector<int32_t> m_touchedStudies;
  ImportCounts m_counts;
  size_t m_inBatch = 0;
  QString m_error;
};

}  // namespace tolmar::db
