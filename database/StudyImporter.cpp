#include "database/StudyImporter.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "database/DbConnection.h"
#include "database/UniqueIdAllocator.h"
#include "dicom/DicomCodec.h"
#include "dicom/DicomDataSet.h"
#include "dicom/DicomError.h"
#include "dicom/DicomText.h"

namespace tolmar::db {
namespace {

constexpr size_t kBatchSize = 500;

// Texts of the header, decoded by the data set's character set.
class HeaderText {
 public:
  explicit HeaderText(const DicomDataSet& ds) : m_ds(ds) {
    const std::string charset = ds.GetText(0x0008, 0x0005);
    if (charset.find("192") != std::string::npos) {
      m_kind = Kind::Utf8;
    } else if (charset.find("GB18030") != std::string::npos || charset.find("GBK") != std::string::npos) {
      m_kind = Kind::Gb18030;
    }
  }

  QString Get(uint16_t group, uint16_t element) const {
    const std::string raw = m_ds.GetText(group, element);
    // Leading blanks are not part of a value either.
    const size_t start = raw.find_first_not_of(' ');
    const std::string value = start == std::string::npos ? std::string() : raw.substr(start);
    switch (m_kind) {
      case Kind::Utf8: return QString::fromUtf8(value);
      case Kind::Gb18030: {
        QStringDecoder decoder("GB18030");
        if (decoder.isValid()) return decoder(QByteArray::fromStdString(value));
        return QString::fromLatin1(value);
      }
      case Kind::Default: break;
    }
    return QString::fromLatin1(value);
  }

 private:
  enum class Kind { Default, Utf8, Gb18030 };
  const DicomDataSet& m_ds;
  Kind m_kind = Kind::Default;
};

QString DicomDateTime(std::string date, std::string time) {
  if (date.empty()) return {};
  FormatDicomDate(date);
  if (time.size() >= 6) {
    time = time.substr(0, 6);
    FormatDicomTime(time);
    return QString::fromStdString(date + " " + time);
  }
  return QString::fromStdString(date);
}

bool HasDicmMagic(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  char magic[4] = {};
  file.seekg(128);
  file.read(magic, 4);
  return file.gcount() == 4 && std::equal(magic, magic + 4, "DICM");
}

}  // namespace

// Statements prepared once for the whole import.
struct StudyImporter::Statements {
  QSqlQuery findPatient;
  QSqlQuery insertPatient;
  QSqlQuery findStudy;
  QSqlQuery insertStudy;
  QSqlQuery findSeries;
  QSqlQuery insertSeries;
  QSqlQuery findImage;
  QSqlQuery insertImage;
};

StudyImporter::StudyImporter(DbConnection& db, int32_t deviceId) : m_db(db), m_deviceId(deviceId) {}

StudyImporter::~StudyImporter() {
  m_statements.reset();
  if (m_db.InTransaction()) m_db.RollbackTransaction();
}

QString StudyImporter::LastError() const { return m_error.isEmpty() ? m_db.LastError() : m_error; }

bool StudyImporter::Begin() {
  QVariant found;
  bool exists = false;
  if (!m_db.SelectValue(QStringLiteral("SELECT F_DEV_ID FROM T_DEVICE WHERE F_DEV_ID=?"), {m_deviceId}, found,
                        &exists)) {
    return false;
  }
  if (!exists && !m_db.ExecuteSQL(QStringLiteral("INSERT INTO T_DEVICE (F_DEV_ID,F_DEV_NAME,F_TYPE_ID,F_DEV_OWNER,"
                                                 "F_DEV_FLAG) VALUES (?,?,0,0,0)"),
                                  {m_deviceId, QStringLiteral("本地存档 %1").arg(m_deviceId)})) {
    return false;
  }
  m_statements = std::make_unique<Statements>();
  const auto prepare = [this](QSqlQuery& query, const char* sql) {
    query = QSqlQuery(m_db.Database());
    if (!query.prepare(m_db.Dialect().Translate(QString::fromLatin1(sql)))) {
      m_error = query.lastError().text();
      return false;
    }
    return true;
  };
  if (!prepare(m_statements->findPatient,
               "SELECT F_PAT_ID FROM T_PATIENT WHERE F_DEV_ID=? AND F_PAT_NO=? AND F_PAT_NAME=?") ||
      !prepare(m_statements->insertPatient,
               "INSERT INTO T_PATIENT (F_PAT_ID,F_DEV_ID,F_PAT_NO,F_PAT_NAME,F_SEX,F_PAT_BIRTH) VALUES (?,?,?,?,?,?)") ||
      !prepare(m_statements->findStudy, "SELECT F_STU_ID FROM T_STUDY WHERE F_DEV_ID=? AND F_STU_UID=?") ||
      !prepare(m_statements->insertStudy,
               "INSERT INTO T_STUDY (F_STU_ID,F_PAT_ID,F_DEV_ID,F_STU_UID,F_STU_NO,F_REQ_NO,F_PAT_AGE,F_STU_DATE,"
               "F_STU_PLACE,F_STU_DESCRIB,F_MODALITY,F_CD_NO,F_REF_DOCTOR,F_STU_SPARE9,F_SER_COUNT,F_IMG_COUNT,"
               "F_STU_FLAG,F_STU_PERCENT) VALUES (?,?,?,?,?,?,?,?,?,?,?,NULL,?,?,0,0,0,0)") ||
      !prepare(m_statements->findSeries, "SELECT F_SER_ID FROM T_SERIES WHERE F_STU_ID=? AND F_SER_UID=?") ||
      !prepare(m_statements->insertSeries,
               "INSERT INTO T_SERIES (F_SER_ID,F_STU_ID,F_SER_UID,F_SER_NO,F_MODALITY,F_SER_DESCRIB,F_BODY_PART,"
               "F_IMG_COUNT) VALUES (?,?,?,?,?,?,?,0)") ||
      !prepare(m_statements->findImage, "SELECT F_IMG_ID FROM T_IMAGE WHERE F_SER_ID=? AND F_SOP_UID=?") ||
      !prepare(m_statements->insertImage,
               "INSERT INTO T_IMAGE (F_IMG_ID,F_SER_ID,F_SOP_UID,F_SOP_CLASS_UID,F_IMG_NO,F_FRAMES,F_FILE_PATH,"
               "F_FILE_SIZE) VALUES (?,?,?,?,?,?,?,?)")) {
    return false;
  }
  return m_db.BeginTransaction();
}

namespace {

bool Run(QSqlQuery& query, const QVariantList& params, QString& error) {
  for (qsizetype i = 0; i < params.size(); ++i) {
    // A missing element is an empty text, not NULL: NULL is kept for "never set".
    const QVariant& value = params[i];
    const bool nullText = value.metaType() == QMetaType::fromType<QString>() && value.toString().isNull();
    query.bindValue(static_cast<int>(i), nullText ? QVariant(QStringLiteral("")) : value);
  }
  if (!query.exec()) {
    error = query.lastError().text();
    return false;
  }
  return true;
}

// First column of the first row, 0 when there is none.
bool RunFind(QSqlQuery& query, const QVariantList& params, int32_t& id, QString& error) {
  if (!Run(query, params, error)) return false;
  id = query.next() ? static_cast<int32_t>(query.value(0).toLongLong()) : 0;
  query.finish();
  return true;
}

}  // namespace

StudyImporter::FileResult StudyImporter::ImportFile(const std::string& path, bool named, std::string& reason) {
  ++m_counts.files;
  DicomError error;
  const auto ds = ReadDicomFile(path, ReadMode::HeaderOnly, &error);
  if (!ds) {
    if (!named && !HasDicmMagic(path)) {
      ++m_counts.notDicom;
      reason = "not a DICOM file";
      return FileResult::NotDicom;
    }
    ++m_counts.failed;
    reason = error.ToString();
    return FileResult::Failed;
  }
  const HeaderText text(*ds);
  const QString studyUid = text.Get(0x0020, 0x000D);
  const QString seriesUid = text.Get(0x0020, 0x000E);
  const QString sopUid = text.Get(0x0008, 0x0018);
  if (studyUid.isEmpty() || seriesUid.isEmpty() || sopUid.isEmpty()) {
    ++m_counts.failed;
    reason = studyUid.isEmpty()    ? "no study instance UID (0020,000D)"
             : seriesUid.isEmpty() ? "no series instance UID (0020,000E)"
                                   : "no SOP instance UID (0008,0018)";
    return FileResult::Failed;
  }
  Statements& st = *m_statements;
  const auto dbError = [&]() {
    reason = m_error.toStdString();
    return FileResult::DatabaseError;
  };

  // Patient: by patient ID and name on this device.
  const QString patientNo = text.Get(0x0010, 0x0020);
  const QString patientName = text.Get(0x0010, 0x0010);
  const QString patientKey = patientNo + QChar(0x1F) + patientName;
  int32_t patientId = m_patients.value(patientKey, 0);
  if (patientId == 0) {
    if (!RunFind(st.findPatient, {m_deviceId, patientNo, patientName}, patientId, m_error)) return dbError();
    if (patientId == 0) {
      patientId = AllocUniqueID(&m_db, QStringLiteral("[T_PATIENT]"));
      if (patientId == 0) {
        m_error = m_db.LastError();
        return dbError();
      }
      if (!Run(st.insertPatient,
               {patientId, m_deviceId, patientNo, patientName, text.Get(0x0010, 0x0040),
                DicomDateTime(ds->GetText(0x0010, 0x0030), {})},
               m_error)) {
        return dbError();
      }
      ++m_counts.patientsAdded;
    }
    m_patients.insert(patientKey, patientId);
  }

  // Study: by its UID on this device.
  int32_t studyId = m_studies.value(studyUid, 0);
  if (studyId == 0) {
    if (!RunFind(st.findStudy, {m_deviceId, studyUid}, studyId, m_error)) return dbError();
    if (studyId == 0) {
      studyId = AllocUniqueID(&m_db, QStringLiteral("[T_STUDY]"));
      if (studyId == 0) {
        m_error = m_db.LastError();
        return dbError();
      }
      QString studyNo = text.Get(0x0008, 0x0050);
      if (studyNo.isEmpty()) studyNo = text.Get(0x0020, 0x0010);
      const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"));
      if (!Run(st.insertStudy,
               {studyId, patientId, m_deviceId, studyUid, studyNo, text.Get(0x0008, 0x0050),
                text.Get(0x0010, 0x1010),
                DicomDateTime(ds->GetText(0x0008, 0x0020), ds->GetText(0x0008, 0x0030)),
                text.Get(0x0018, 0x0015), text.Get(0x0008, 0x1030), text.Get(0x0008, 0x0060),
                text.Get(0x0008, 0x0090), now},
               m_error)) {
        return dbError();
      }
      ++m_counts.studiesAdded;
    }
    m_studies.insert(studyUid, studyId);
    if (std::find(m_touchedStudies.begin(), m_touchedStudies.end(), studyId) == m_touchedStudies.end()) {
      m_touchedStudies.push_back(studyId);
    }
  }

  // Series: by its UID within the study.
  const QString seriesKey = QString::number(studyId) + u'/' + seriesUid;
  int32_t seriesId = m_series.value(seriesKey, 0);
  bool newSeries = false;
  if (seriesId == 0) {
    if (!RunFind(st.findSeries, {studyId, seriesUid}, seriesId, m_error)) return dbError();
    if (seriesId == 0) {
      seriesId = AllocUniqueID(&m_db, QStringLiteral("[T_SERIES]"));
      if (seriesId == 0) {
        m_error = m_db.LastError();
        return dbError();
      }
      if (!Run(st.insertSeries,
               {seriesId, studyId, seriesUid, text.Get(0x0020, 0x0011).toInt(), text.Get(0x0008, 0x0060),
                text.Get(0x0008, 0x103E), text.Get(0x0018, 0x0015)},
               m_error)) {
        return dbError();
      }
      ++m_counts.seriesAdded;
      newSeries = true;
    }
    m_series.insert(seriesKey, seriesId);
  }

  // Image: by its SOP instance UID within the series.
  int32_t imageId = 0;
  if (!newSeries && !RunFind(st.findImage, {seriesId, sopUid}, imageId, m_error)) return dbError();
  if (imageId != 0) {
    ++m_counts.alreadyPresent;
    return FileResult::AlreadyPresent;
  }
  imageId = AllocUniqueID(&m_db, QStringLiteral("[T_IMAGE]"));
  if (imageId == 0) {
    m_error = m_db.LastError();
    return dbError();
  }
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  const auto size = std::filesystem::file_size(path, ec);
  const QString frames = text.Get(0x0028, 0x0008);
  if (!Run(st.insertImage,
           {imageId, seriesId, sopUid, text.Get(0x0008, 0x0016), text.Get(0x0020, 0x0013).toInt(),
            frames.isEmpty() ? 1 : frames.toInt(), QString::fromStdString(absolute.lexically_normal().string()),
            static_cast<qlonglong>(ec ? 0 : std::min<uintmax_t>(size, INT32_MAX))},
           m_error)) {
    return dbError();
  }
  ++m_counts.imagesAdded;
  if (!FlushBatchIfDue()) return dbError();
  return FileResult::Added;
}

bool StudyImporter::FlushBatchIfDue() {
  if (++m_inBatch < kBatchSize) return true;
  m_inBatch = 0;
  if (!m_db.CommitTransaction() || !m_db.BeginTransaction()) {
    m_error = m_db.LastError();
    return false;
  }
  return true;
}

bool StudyImporter::Finish() {
  for (int32_t studyId : m_touchedStudies) {
    if (!m_db.ExecuteSQL(QStringLiteral("UPDATE T_SERIES SET F_IMG_COUNT=(SELECT COUNT(*) FROM T_IMAGE i "
                                        "WHERE i.F_SER_ID=T_SERIES.F_SER_ID) WHERE F_STU_ID=?"),
                         {studyId}) ||
        !m_db.ExecuteSQL(QStringLiteral("UPDATE T_STUDY SET F_SER_COUNT=(SELECT COUNT(*) FROM T_SERIES s WHERE "
                                        "s.F_STU_ID=?),F_IMG_COUNT=(SELECT COUNT(*) FROM T_IMAGE i JOIN T_SERIES s "
                                        "ON s.F_SER_ID=i.F_SER_ID WHERE s.F_STU_ID=?) WHERE F_STU_ID=?"),
                         {studyId, studyId, studyId})) {
      m_error = m_db.LastError();
      m_db.RollbackTransaction();
      return false;
    }
  }
  m_statements.reset();
  if (!m_db.CommitTransaction()) {
    m_error = m_db.LastError();
    return false;
  }
  return true;
}

std::vector<std::pair<std::string, bool>> StudyImporter::CollectFiles(const std::vector<std::string>& paths,
                                                                     std::vector<std::string>& missing) {
  std::vector<std::pair<std::string, bool>> files;
  for (const auto& path : paths) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
      missing.push_back(path);
      continue;
    }
    if (std::filesystem::is_regular_file(status)) {
      files.emplace_back(path, true);
      continue;
    }
    std::vector<std::string> found;
    for (auto it = std::filesystem::recursive_directory_iterator(
             path, std::filesystem::directory_options::skip_permission_denied, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      std::error_code typeError;
      if (it->is_regular_file(typeError)) found.push_back(it->path().string());
    }
    std::sort(found.begin(), found.end());
    for (auto& file : found) files.emplace_back(std::move(file), false);
  }
  return files;
}

}  // namespace tolmar::db
