#pragma once

#include "suite/StringTable.h"

namespace tolmar::suite {

// The string tables of the three programs, one source file each.
StringTable& PictoriumStrings();
StringTable& ReporterStrings();
StringTable& StowmarkStrings();

}  // namespace tolmar::suite
