#include "DicomText.h"

#include <cctype>

namespace tolmar {

namespace {
bool LeadingDigits(const std::string& text, size_t count) {
  if (text.size() < count) return false;
  for (size_t i = 0; i < count; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}
}  // namespace

void FormatDicomDate(std::string& text) {
  if (text.size() > 20 || text.find('.') != std::string::npos) return;
  if (!LeadingDigits(text, 8)) return;
  text = text.substr(0, 4) + "." + text.substr(4, 2) + "." + text.substr(6, 2) + text.substr(8);
}

void FormatDicomTime(std::string& text) {
  if (text.size() > 20 || text.find(':') != std::string::npos) return;
  if (!LeadingDigits(text, 6)) return;
  text = text.substr(0, 2) + ":" + text.substr(2, 2) + ":" + text.substr(4, 2) + text.substr(6);
}

}  // namespace tolmar
