#pragma once

#include <QString>
#include <span>
#include <vector>

#include "database/StudyRecord.h"

namespace tolmar::db {

class DbConnection;

// What a study column id means in this installation: the column of the study list
// (view V_STUDY) that fills it, and the title the archive manager shows.
struct StudyColumn {
  int columnId = 0;
  const char* name = "";
  const char* title = "";  // UTF-8
  bool isInteger = false;
  int length = 0;
  bool listed = false;  // shown in lists and offered as a query item
  bool fromPatient = false;  // a column of T_PATIENT rather than T_STUDY
};

// Every column id of STUDY_RECORD, in column id order.
std::span<const StudyColumn> StudyColumns();
const StudyColumn* FindStudyColumn(int columnId);

// Reads the studies the filter selects (a WHERE clause over V_STUDY's columns,
// written the programs' way) as study records. False on a database error.
bool ReadStudyRecords(DbConnection& db, const QString& filter, const QString& sort,
                      std::vector<STUDY_RECORD>& records);

}  // namespace tolmar::db
