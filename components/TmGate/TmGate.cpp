#include <cstdlib>

#include "suite/OutsideLibraryApi.h"

// The stand-in keeps no sessions: login succeeds for any named user, and
// logout lets the program close unless TOLMAR_GATE_KEEP_OPEN is set.
extern "C" __attribute__((visibility("default"))) int EXPLogin(intptr_t /*window*/,
                                                               const char* userName,
                                                               int /*reserved*/) {
  return userName && *userName ? 1 : 0;
}

extern "C" __attribute__((visibility("default"))) int EXPLogout(intptr_t /*window*/,
                                                                const char* /*userName*/,
                                                                int /*reserved*/) {
  return std::getenv("TOLMAR_GATE_KEEP_OPEN") ? 0 : 1;
}
