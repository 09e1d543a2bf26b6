#pragma once

#include <QString>
#include <cstdint>

namespace tolmar::db {

class DbConnection;

// In-memory copy of one T_UNIQUE_ID row.
struct UNIQUE_ID_ROW {
  int32_t F_TAB_ID = 0;
  QString F_TAB_NAME;
  int32_t F_UNIQUE_ID = 0;
};

// The next identifier for a table key: the bracketed default statement of a fixed
// table class ("[T_REPORT]") or the plain name of a term table. 0 on failure.
//
// The counter row is incremented and read back in one write transaction, so two
// processes or machines never receive the same number; after a call the stored
// counter names the next free identifier and a new key hands out 1 first. Calls are
// serialised within the process. On a file data source the process also keeps its
// own copy of the counters and never hands out a number below one it handed out
// before, even if the stored counter went backwards.
int32_t AllocUniqueID(DbConnection* database, const QString& tableKey);

// Forgets the cached counters of every connection (a program that switches to
// another database file under the same connect text calls this).
void ResetUniqueIdCache();

}  // namespace tolmar::db
