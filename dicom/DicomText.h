#pragma once

#include <string>

namespace tolmar {

// YYYYMMDD -> YYYY.MM.DD in place; left alone when longer than 20 characters or already dotted.
void FormatDicomDate(std::string& text);
// HHMMSS[.ffff] -> HH:MM:SS[.ffff] in place; left alone when longer than 20 characters or
// already containing a colon.
void FormatDicomTime(std::string& text);

}  // namespace tolmar
