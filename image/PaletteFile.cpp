#include "PaletteFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ByteWriter.h"

namespace tolmar {

namespace {
constexpr size_t kSignatureSize = 32;
constexpr size_t kMaxNameLength = 255;

int16_t ToInt16(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }

bool Writable(const PalettePreset& p) {
  return !p.name.empty() && p.name.size() <= kMaxNameLength && !p.segments.empty();
}
}  // namespace

std::vector<PalettePreset> PaletteFile::Parse(const std::vector<uint8_t>& bytes) {
  std::vector<PalettePreset> presets;
  if (bytes.size() < kSignatureSize || std::memcmp(bytes.data(), kSignature, kSignatureSize) != 0) {
    return presets;
  }
  ByteReader r(std::span<const uint8_t>(bytes).subspan(kSignatureSize));
  while (r.Remaining() > 0) {
    uint16_t nameLength = 0, count = 0;
    if (!r.U16(nameLength) || nameLength == 0 || nameLength > kMaxNameLength) break;
    const auto name = r.Take(nameLength);
    if (r.Failed()) break;
    if (!r.U16(count) || count == 0 || count > kMaxSegments) break;
    if (r.Remaining() < static_cast<size_t>(count) * 14) break;  // segments end early: dropped
    PalettePreset preset;
    preset.name.assign(name.begin(), name.end());
    preset.segments.resize(count);
    for (PaletteSegment& s : preset.segments) {
      uint16_t kind = 0, from = 0, to = 0;
      r.U16(kind);
      r.U16(from);
      r.U16(to);
      r.U32(s.startColour);
      r.U32(s.endColour);
      s.kind = kind;
      s.from = static_cast<int16_t>(from);
      s.to = static_cast<int16_t>(to);
    }
    presets.push_back(std::move(preset));
  }
  return presets;
}

std::vector<PalettePreset> PaletteFile::Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return Parse(bytes);
}

std::vector<uint8_t> PaletteFile::Serialise(const std::vector<PalettePreset>& presets) {
  ByteWriter w;
  w.Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(kSignature), kSignatureSize));
  for (const PalettePreset& p : presets) {
    if (!Writable(p)) continue;
    w.U16(static_cast<uint16_t>(p.name.size()));
    w.Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(p.name.data()), p.name.size()));
    const size_t count = std::min(p.segments.size(), kMaxSegments);
    w.U16(static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i) {
      const PaletteSegment& s = p.segments[i];
      w.U16(static_cast<uint16_t>(s.kind));
      w.U16(static_cast<uint16_t>(ToInt16(s.from)));
      w.U16(static_cast<uint16_t>(ToInt16(s.to)));
      w.U32(s.startColour);
      w.U32(s.endColour);
    }
  }
  return w.Take();
}

bool PaletteFile::Write(const std::string& path, const std::vector<PalettePreset>& presets) {
  const std::vector<uint8_t> bytes = Serialise(presets);
  // Written beside the file and renamed over it, so that a failed write leaves
  // the old presets in place.
  const std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      out.close();
      std::error_code ec;
      std::filesystem::remove(temporary, ec);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (!ec) return true;
  std::filesystem::remove(temporary, ec);
  return false;
}

}  // namespace tolmar
