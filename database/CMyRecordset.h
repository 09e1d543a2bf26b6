#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"
#include "database/ReportRecord.h"

namespace tolmar::db {

// Base of table classes whose rows the programs create with an identifier from
// T_UNIQUE_ID.
class CMyRecordset : public CQVRecordset {
 public:
  explicit CMyRecordset(DbConnection* database = nullptr) : CQVRecordset(database) {}

  // Copies a plain record into the bound members; non-zero on success.
  virtual int PutRecord(REPORT_RECORD& record) = 0;
  // The next identifier for this class's table key (its default statement, brackets
  // included), allocated on the recordset's own connection; 0 on failure.
  virtual int32_t GetNewID();
};

}  // namespace tolmar::db
