#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace tolmar {

// Why a read, write or decode failed: the operations themselves answer null or
// false, and keep this beside the result so that tools and logs can say what
// went wrong, where in the file and in which element.
struct DicomError {
  std::string what;
  bool hasOffset = false;
  uint64_t offset = 0;  // byte offset in the file (or enclosing stream)
  bool hasTag = false;
  uint16_t group = 0;
  uint16_t element = 0;

  void Set(std::string reason) {
    what = std::move(reason);
    hasOffset = false;
    hasTag = false;
  }
  void Set(std::string reason, uint64_t at) {
    what = std::move(reason);
    hasOffset = true;
    offset = at;
    hasTag = false;
  }
  void Set(std::string reason, uint64_t at, uint16_t g, uint16_t e) {
    what = std::move(reason);
    hasOffset = true;
    offset = at;
    hasTag = true;
    group = g;
    element = e;
  }
  // "reason at offset N in (gggg,eeee)"
  std::string ToString() const;
};

}  // namespace tolmar
