#include "database/UniqueIdAllocator.h"

#include <climits>
#include <mutex>
#include <vector>

#include "database/DbConnection.h"

namespace tolmar::db {
namespace {

struct CachedConnection {
  QString connect;
  size_t firstRow = 0;
  size_t rowCount = 0;
};

std::mutex g_allocationLock;
std::vector<UNIQUE_ID_ROW> g_cachedRows;
std::vector<CachedConnection> g_cachedConnections;

// Raises the counter to at least `floor`, takes the value as the identifier and stores
// the value plus one, all inside one write transaction. 0 on failure.
int32_t AllocateInDatabase(DbConnection& db, const QString& key, int32_t floor) {
  if (!db.BeginTransaction()) return 0;
  const QString update = QStringLiteral(
      "UPDATE T_UNIQUE_ID SET F_UNIQUE_ID=(CASE WHEN F_UNIQUE_ID<? THEN ? ELSE F_UNIQUE_ID END)+1 "
      "WHERE F_TAB_NAME=?");
  const QString select = QStringLiteral("SELECT F_UNIQUE_ID FROM T_UNIQUE_ID WHERE F_TAB_NAME=?");
  const QVariantList updateParams{floor, floor, key};
  for (int attempt = 0; attempt < 2; ++attempt) {
    QVariant stored;
    bool found = false;
    if (!db.ExecuteSQL(update, updateParams) || !db.SelectValue(select, {key}, stored, &found)) break;
    if (found) {
      const qlonglong next = stored.toLongLong();
      if (next < 2 || next > INT32_MAX) {
        db.SetLastError(QStringLiteral("the counter of %1 is out of range").arg(key));
        break;
      }
      if (!db.CommitTransaction()) return 0;
      return static_cast<int32_t>(next - 1);
    }
    // No counter row yet: make one that hands out 1 first. A concurrent writer may
    // have made it meanwhile; then ours adds nothing and the update above finds it.
    if (!db.ExecuteSQL(QStringLiteral("INSERT INTO T_UNIQUE_ID (F_TAB_ID,F_TAB_NAME,F_UNIQUE_ID) "
                                      "VALUES (0,?,1) ON CONFLICT (F_TAB_NAME) DO NOTHING"),
                       {key})) {
      break;
    }
  }
  const QString reason = db.LastError();
  db.RollbackTransaction();
  db.SetLastError(reason);
  return 0;
}

CachedConnection* FindCachedConnection(const QString& connect) {
  for (auto& entry : g_cachedConnections) {
    if (entry.connect.compare(connect, Qt::CaseInsensitive) == 0) return &entry;
  }
  return nullptr;
}

CachedConnection* LoadCachedConnection(DbConnection& db) {
  std::vector<SqlRow> rows;
  if (!db.Select(QStringLiteral("SELECT F_TAB_ID,F_TAB_NAME,F_UNIQUE_ID FROM T_UNIQUE_ID"), {}, rows)) {
    return nullptr;
  }
  CachedConnection entry{db.GetConnect(), g_cachedRows.size(), rows.size()};
  for (const auto& row : rows) {
    if (row.size() < 3) continue;
    g_cachedRows.push_back({static_cast<int32_t>(row[0].toLongLong()), row[1].toString(),
                            static_cast<int32_t>(row[2].toLongLong())});
  }
  entry.rowCount = g_cachedRows.size() - entry.firstRow;
  g_cachedConnections.push_back(entry);
  return &g_cachedConnections.back();
}

int32_t AllocateCached(DbConnection& db, const QString& key) {
  CachedConnection* entry = FindCachedConnection(db.GetConnect());
  if (!entry) entry = LoadCachedConnection(db);
  if (!entry) return 0;
  UNIQUE_ID_ROW* cached = nullptr;
  for (size_t i = entry->firstRow; i < entry->firstRow + entry->rowCount; ++i) {
    if (g_cachedRows[i].F_TAB_NAME == key) cached = &g_cachedRows[i];
  }
  if (!cached) {
    // A key this process has not seen: take the stored counter and reload the cache
    // at the next call, so that it holds the new row.
    const int32_t result = AllocateInDatabase(db, key, 0);
    if (result > 0) {
      g_cachedRows.clear();
      g_cachedConnections.clear();
    }
    return result;
  }
  const int32_t result = AllocateInDatabase(db, key, cached->F_UNIQUE_ID);
  if (result > 0) cached->F_UNIQUE_ID = result + 1;
  return result;
}

}  // namespace

int32_t AllocUniqueID(DbConnection* database, const QString& tableKey) {
  std::lock_guard lock(g_allocationLock);
  if (!database || !database->IsOpen() || tableKey.isEmpty()) return 0;
  if (database->IsFileDataSource()) return AllocateCached(*database, tableKey);
  return AllocateInDatabase(*database, tableKey, 0);
}

void ResetUniqueIdCache() {
  std::lock_guard lock(g_allocationLock);
  g_cachedRows.clear();
  g_cachedConnections.clear();
}

}  // namespace tolmar::db
