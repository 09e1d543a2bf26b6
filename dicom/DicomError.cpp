#include "DicomError.h"

#include <cstdio>

namespace tolmar {

std::string DicomError::ToString() const {
  std::string s = what.empty() ? std::string("unknown error") : what;
  char buffer[64];
  if (hasOffset) {
    std::snprintf(buffer, sizeof buffer, " at offset %llu",
                  static_cast<unsigned long long>(offset));
    s += buffer;
  }
  if (hasTag) {
    std::snprintf(buffer, sizeof buffer, " in (%04X,%04X)", group, element);
    s += buffer;
  }
  return s;
}

}  // namespace tolmar
