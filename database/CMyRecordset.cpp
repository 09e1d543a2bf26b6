#include "database/CMyRecordset.h"

#include "database/UniqueIdAllocator.h"

namespace tolmar::db {

int32_t CMyRecordset::GetNewID() {
  if (!IsOpen() || !Database()) return 0;
  return AllocUniqueID(Database(), GetDefaultSQL());
}

}  // namespace tolmar::db
