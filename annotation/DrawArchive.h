#pragma once

#include <QString>
#include <string>

// Archive strings (a 1, 3 or 7-byte length prefix, then the bytes) are shared
// with the shutter's archive form.
#include "image/Shutter.h"

namespace tolmar {

// Stored texts are GB18030 (code page 936) or UTF-8; painting needs Unicode.
QString DisplayText(const std::string& bytes);

}  // namespace tolmar
