#include <cstdio>
#include <cstdlib>

#include "suite/OutsideLibraryApi.h"

// The stand-in has no request sheets to show. It accepts any non-empty key,
// and when TOLMAR_REGTAB_LOG names a file it appends the key there so a
// caller can see what was asked for.
extern "C" __attribute__((visibility("default"))) int EXPShowRegTable(intptr_t /*window*/,
                                                                      const char* requestKey) {
  if (!requestKey || !*requestKey) return 0;
  if (const char* log = std::getenv("TOLMAR_REGTAB_LOG")) {
    if (std::FILE* file = std::fopen(log, "a")) {
      std::fprintf(file, "%s\n", requestKey);
      std::fclose(file);
    }
  }
  return 1;
}
