#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace tolmar::suite {

// Keys of object texts, each with its equals sign.
namespace ObjectKey {
inline const QString kLevel = QStringLiteral("LEVEL=");
inline const QString kObjectId = QStringLiteral("OBJECT_ID=");
inline const QString kObjectUid = QStringLiteral("OBJECT_UID=");
inline const QString kStudyId = QStringLiteral("STUDY_ID=");
inline const QString kSeriesId = QStringLiteral("SERIES_ID=");
inline const QString kImageId = QStringLiteral("IMAGE_ID=");
inline const QString kReportId = QStringLiteral("REPORT_ID=");
inline const QString kStudyUid = QStringLiteral("STUDY_UID=");
inline const QString kSeriesUid = QStringLiteral("SERIES_UID=");
inline const QString kImageUid = QStringLiteral("IMAGE_UID=");
inline const QString kReportUid = QStringLiteral("REPORT_UID=");
inline const QString kContext = QStringLiteral("CONTEXT=");
inline const QString kSql = QStringLiteral("SQL=");
inline const QString kPatientName = QStringLiteral("PATIENT_NAME=");
inline const QString kPatientNo = QStringLiteral("PATIENT_NO=");
inline const QString kPatientSex = QStringLiteral("PATIENT_SEX=");
inline const QString kStudyDate = QStringLiteral("STUDY_DATE=");
}  // namespace ObjectKey

// Starts every object when several objects share one text.
inline const QString kObjectMarker = QStringLiteral("|*|");

// Levels named by "LEVEL=".
namespace ObjectLevel {
inline const QString kPatient = QStringLiteral("PATIENT");
inline const QString kStudy = QStringLiteral("STUDY");
inline const QString kSeries = QStringLiteral("SERIES");
inline const QString kImage = QStringLiteral("IMAGE");
inline const QString kReport = QStringLiteral("REPORT");
}  // namespace ObjectLevel

// Builds object texts item by item.
class ObjectTextBuilder {
 public:
  ObjectTextBuilder& BeginObject();  // "|*|"
  ObjectTextBuilder& Add(const QString& key, const QString& value);
  ObjectTextBuilder& Add(const QString& key, long value);  // "%ld"
  ObjectTextBuilder& AddEmptyItem();
  QString Text() const { return m_text; }

 private:
  QString m_text;
};

// Values of every item that begins with key, in order; other items are
// skipped. When objects are joined the next object's marker lands at the end
// of the previous item, so a value never keeps a trailing "|*|".
QStringList FindObjectValues(const QString& objectText, const QString& key);
// The first such value, or an empty text.
QString FindObjectValue(const QString& objectText, const QString& key);

// Splits a text of joined objects at their markers; each part is one
// object's own object text.
QStringList SplitObjects(const QString& objectText);

}  // namespace tolmar::suite
