#include <cstdlib>
#include <cstring>

#include "suite/OutsideLibraryApi.h"

// Allows every action for a request key, except for the key named by
// TOLMAR_TRIGGER_DENY, which lets an installation (or a test) see the
// refused path. A missing key is refused.
extern "C" __attribute__((visibility("default"))) int EXPHaveFunction(const char* requestKey,
                                                                      int /*function*/) {
  if (!requestKey) return 0;
  const char* denied = std::getenv("TOLMAR_TRIGGER_DENY");
  if (denied && std::strcmp(denied, requestKey) == 0) return 0;
  return 1;
}
