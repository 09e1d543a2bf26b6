#include "OverlayText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "dicom/DicomDataSet.h"
#include "dicom/DicomText.h"

namespace tolmar {

namespace {

constexpr size_t kMaxValueText = 1024;

struct Conversion {
  std::string prefix;  // literal text before it, with "%%" kept
  std::string conversion;    // "%-8.2" without the letter
  char letter = 0;     // 0: the format has no conversion
  std::string suffix;
};

// Splits a format into the one conversion it may hold; nothing when it holds
// more than one or an unsupported one.
std::optional<Conversion> Parse(const std::string& format) {
  Conversion c;
  std::string* part = &c.prefix;
  for (size_t i = 0; i < format.size(); ++i) {
    const char ch = format[i];
    if (ch != '%') {
      *part += ch;
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      *part += "%%";
      ++i;
      continue;
    }
    if (c.letter != 0) return std::nullopt;
    size_t j = i + 1;
    std::string conversion = "%";
    while (j < format.size() && std::strchr("-+ #0", format[j])) conversion += format[j++];
    int digits = 0;
    while (j < format.size() && format[j] >= '0' && format[j] <= '9' && digits < 3) conversion += format[j++], ++digits;
    if (j < format.size() && format[j] == '.') {
      conversion += format[j++];
      digits = 0;
      while (j < format.size() && format[j] >= '0' && format[j] <= '9' && digits < 3) conversion += format[j++], ++digits;
    }
    if (j < format.size() && format[j] == 'l') ++j;
    if (j >= format.size() || !std::strchr("sdifeEgG", format[j])) return std::nullopt;
    c.letter = format[j];
    c.conversion = conversion;
    i = j;
    part = &c.suffix;
  }
  return c;
}

std::string Print(const std::string& prefix, const std::string& conversion, char letter, const std::string& suffix,
                  const std::string* text, double number) {
  const std::string format = prefix + conversion + letter + suffix;
  char buffer[2048];
  int n = 0;
  if (letter == 's') {
    n = std::snprintf(buffer, sizeof buffer, format.c_str(), text ? text->c_str() : "");
  } else if (letter == 'd' || letter == 'i') {
    const double clamped = std::isfinite(number) ? std::fmax(-2.0e9, std::fmin(2.0e9, number)) : 0;
    n = std::snprintf(buffer, sizeof buffer, format.c_str(), static_cast<int>(clamped));
  } else {
    n = std::snprintf(buffer, sizeof buffer, format.c_str(), number);
  }
  return n < 0 ? std::string() : std::string(buffer);
}

std::string Literal(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    out += s[i];
    if (s[i] == '%' && i + 1 < s.size() && s[i + 1] == '%') ++i;
  }
  return out;
}

std::string NumberText(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%g", v);
  return buffer;
}

}  // namespace

std::string SafeFormatText(const std::string& format, const std::string& text) {
  const auto c = Parse(format);
  if (!c) return text;
  if (c->letter == 0) return Literal(c->prefix);
  if (c->letter == 's') return Print(c->prefix, c->conversion, 's', c->suffix, &text, 0);
  return Print(c->prefix, c->conversion, c->letter, c->suffix, nullptr, std::strtod(text.c_str(), nullptr));
}

std::string SafeFormatNumber(const std::string& format, double value) {
  const auto c = Parse(format);
  if (!c) return NumberText(value);
  if (c->letter == 0) return Literal(c->prefix);
  if (c->letter == 's') {
    const std::string text = NumberText(value);
    return Print(c->prefix, c->conversion, 's', c->suffix, &text, 0);
  }
  return Print(c->prefix, c->conversion, c->letter, c->suffix, nullptr, value);
}

std::string FormatOverlayItem(const ImageInfoItem& item, const DicomDataSet& ds,
                              const std::function<std::string(uint16_t)>& patientField) {
  std::string format = item.format;
  double factor = 1;
  if (const auto bar = format.rfind('|'); bar != std::string::npos) {
    char* end = nullptr;
    const std::string number = format.substr(bar + 1);
    const double f = std::strtod(number.c_str(), &end);
    if (end != number.c_str()) {
      factor = f;
      format.resize(bar);
    }
  }
  if (item.group == 0x0503) {
    const std::string text = patientField ? patientField(item.element) : std::string();
    return text.empty() ? text : SafeFormatText(format, text);
  }
  const DicomElement* e = ds.FindElement(item.group, item.element);
  if (!e || !e->HasValue() || e->length == 0) return {};
  const std::string& vr = item.vr;
  const auto bytes = e->Bytes();
  if (vr == "SL" || vr == "UL" || vr == "US") {
    double value = 0;
    if (vr == "US") {
      if (bytes.size() < 2) return {};
      value = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    } else {
      if (bytes.size() < 4) return {};
      const uint32_t u = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
      value = vr == "SL" ? static_cast<double>(static_cast<int32_t>(u)) : static_cast<double>(u);
    }
    return SafeFormatNumber(format, value * factor);
  }
  std::string text = e->Text();
  if (text.size() > kMaxValueText) text.resize(kMaxValueText);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  if (text.empty()) return {};
  std::string result;
  if (vr == "DA") {
    FormatDicomDate(text);
    result = SafeFormatText(format, text);
  } else if (vr == "TM") {
    FormatDicomTime(text);
    result = SafeFormatText(format, text);
  } else if (vr == "DS") {
    result = SafeFormatNumber(format, std::strtod(text.c_str(), nullptr) * factor);
  } else if (vr == "IS") {
    result = SafeFormatNumber(format, static_cast<double>(std::strtol(text.c_str(), nullptr, 10)) * factor);
  } else {
    result = SafeFormatText(format, text);
  }
  if (item.group == 0x0010 && item.element == 0x0010) {
    if (const auto at = result.find("^Unknown"); at != std::string::npos) result.resize(at);
  }
  return result;
}

}  // namespace tolmar
