#include "ImageInfoText.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "ByteWriter.h"
#include "CategoryImage.h"

namespace tolmar {

namespace {

bool ParseTag(const std::string& text, uint16_t& group, uint16_t& element) {
  if (text.size() != 9 || text[4] != ',') return false;
  char* end = nullptr;
  const unsigned long g = std::strtoul(text.substr(0, 4).c_str(), &end, 16);
  if (*end != '\0') return false;
  const unsigned long e = std::strtoul(text.substr(5).c_str(), &end, 16);
  if (*end != '\0') return false;
  group = static_cast<uint16_t>(g);
  element = static_cast<uint16_t>(e);
  return true;
}

}  // namespace

bool ParseImageInfoText(const std::string& text, std::vector<ImageInfoItem>& items, std::string& error) {
  items.clear();
  std::istringstream in(text);
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(number) + ": " + why;
    items.clear();
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::istringstream fields(line);
    std::string category, horizontal, vertical, tag, vr;
    int lineIndex = -1;
    if (!(fields >> category >> horizontal >> vertical >> lineIndex >> tag >> vr)) {
      return fail("expected: category place line tag vr format");
    }
    std::string format;
    std::getline(fields, format);
    format.erase(0, format.find_first_not_of(" \t"));
    while (!format.empty() && (format.back() == ' ' || format.back() == '\t')) format.pop_back();
    ImageInfoItem item;
    if (horizontal == "left") item.horizontal = 1;
    else if (horizontal == "right") item.horizontal = 2;
    else if (horizontal == "centre") item.horizontal = 3;
    else return fail("horizontal place must be left, right or centre");
    if (vertical == "top") item.vertical = 1;
    else if (vertical == "bottom") item.vertical = 2;
    else if (vertical == "middle") item.vertical = 3;
    else return fail("vertical place must be top, bottom or middle");
    if (lineIndex < 0 || lineIndex > 99) return fail("line must be 0 to 99");
    item.line = lineIndex;
    if (!ParseTag(tag, item.group, item.element)) return fail("tag must be gggg,eeee");
    if (vr.size() != 2) return fail("vr must be two letters");
    item.vr = vr;
    if (format.size() > kImageInfoFormatLimit) return fail("format is longer than 18 bytes");
    item.format = format;
    if (category == "*") {
      for (const int c : kImageCategories) {
        item.category = c;
        items.push_back(item);
      }
    } else {
      char* end = nullptr;
      const long c = std::strtol(category.c_str(), &end, 10);
      if (*end != '\0' || !IsImageCategory(static_cast<int>(c))) return fail("unknown image category " + category);
      item.category = static_cast<int32_t>(c);
      items.push_back(item);
    }
  }
  return true;
}

bool WriteImageInfoTable(const std::string& dataFile, const std::vector<ImageInfoItem>& items, std::string& error) {
  constexpr int kRecordSize = kImageInfoRecordMinimum;
  ByteWriter w;
  w.Zeros(48);  // nothing read before the record size; no memo file
  w.I32(kRecordSize);
  w.I32(0);
  w.I32(static_cast<int32_t>(items.size()));
  w.I32(0);
  w.Zeros(64);
  int32_t id = 0;
  for (const ImageInfoItem& item : items) {
    if (item.format.size() > kImageInfoFormatLimit || item.vr.size() != 2) {
      error = "item " + std::to_string(id) + " does not fit its record";
      return false;
    }
    w.I32(++id);
    w.U16(item.group);
    w.U16(item.element);
    w.U8(static_cast<uint8_t>(item.vr[0]));
    w.U8(static_cast<uint8_t>(item.vr[1]));
    w.Zeros(3);
    w.Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(item.format.data()), item.format.size()));
    w.Zeros(19 - item.format.size());
    w.I32(item.category);
    w.U16(static_cast<uint16_t>(item.horizontal));
    w.U16(static_cast<uint16_t>(item.vertical));
    w.I32(item.line);
  }
  std::ofstream out(dataFile, std::ios::binary | std::ios::trunc);
  if (!out) {
    error = "cannot create " + dataFile;
    return false;
  }
  out.write(reinterpret_cast<const char*>(w.Data().data()), static_cast<std::streamsize>(w.Size()));
  if (!out.flush()) {
    error = "cannot write " + dataFile;
    return false;
  }
  return true;
}

}  // namespace tolmar
