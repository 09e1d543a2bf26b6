#include "Code39Bitmap.h"

namespace tolmar::components {
namespace {

// Nine elements per character, bar first, alternating bar and space;
// 1 marks a wide element.
const char* Pattern(char c) {
  switch (c) {
    case '0':
      return "000110100";
    case '1':
      return "100100001";
    case '2':
      return "001100001";
    case '3':
      return "101100000";
    case '4':
      return "000110001";
    case '5':
      return "100110000";
    case '6':
      return "001110000";
    case '7':
      return "000100101";
    case '8':
      return "100100100";
    case '9':
      return "001100100";
    case '-':
      return "010000101";
    case '*':
      return "010010100";
    default:
      return nullptr;
  }
}

void PutLe(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i)
    bytes.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

}  // namespace

bool Code39Bitmap::Render(const std::string& text, Code39Bitmap& out) {
  const std::string framed = "*" + text + "*";
  std::vector<std::uint8_t> row(kQuietZone, 0);
  for (std::size_t i = 0; i < framed.size(); ++i) {
    const char* pattern = Pattern(framed[i]);
    if (!pattern) return false;
    for (int element = 0; element < 9; ++element) {
      const int size = pattern[element] == '1' ? kWide : kNarrow;
      const std::uint8_t isBar = element % 2 == 0 ? 1 : 0;
      row.insert(row.end(), static_cast<std::size_t>(size), isBar);
    }
    if (i + 1 < framed.size()) row.insert(row.end(), kNarrow, 0);  // gap between characters
  }
  row.insert(row.end(), kQuietZone, 0);

  out.width = static_cast<int>(row.size());
  out.height = kHeight;
  out.dark.clear();
  for (int y = 0; y < kHeight; ++y) out.dark.insert(out.dark.end(), row.begin(), row.end());
  return true;
}

std::vector<std::uint8_t> Code39Bitmap::ToBmp() const {
  const std::uint32_t rowSize = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t imageSize = rowSize * static_cast<std::uint32_t>(height);
  std::vector<std::uint8_t> bytes;
  bytes.reserve(54 + imageSize);
  bytes.push_back('B');
  bytes.push_back('M');
  PutLe(bytes, 54 + imageSize, 4);
  PutLe(bytes, 0, 4);
  PutLe(bytes, 54, 4);
  PutLe(bytes, 40, 4);
  PutLe(bytes, static_cast<std::uint32_t>(width), 4);
  PutLe(bytes, static_cast<std::uint32_t>(height), 4);
  PutLe(bytes, 1, 2);
  PutLe(bytes, 24, 2);
  PutLe(bytes, 0, 4);
  PutLe(bytes, imageSize, 4);
  PutLe(bytes, 3780, 4);  // 96 dpi
  PutLe(bytes, 3780, 4);
  PutLe(bytes, 0, 4);
  PutLe(bytes, 0, 4);
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t start = bytes.size();
    for (int x = 0; x < width; ++x) {
      const std::uint8_t level =
          dark[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x)]
              ? 0
              : 255;
      bytes.insert(bytes.end(), 3, level);
    }
    bytes.resize(start + rowSize, 0);
  }
  return bytes;
}

}  // namespace tolmar::components
