// Writes the seed corpus of the DICOM reader fuzzer into a folder: valid files in the
// three encodings and every layout, big endian, nested sequences with defined and
// undefined lengths, private elements, odd lengths, encapsulated pixel data, the suite's
// own compressed syntaxes and kinds, a multi-frame image and both icon forms.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dicom/DicomCodec.h"
#include "dicom/PixelCompression.h"

using namespace tolmar;

namespace {

void AddText(DicomDataSet& ds, uint16_t g, uint16_t e, uint16_t vrCode, const std::string& text) {
  ds.AddElement(DicomElement::FromText(g, e, vrCode, text));
}

// A value of exactly these bytes, odd lengths included.
void AddBytes(DicomDataSet& ds, uint16_t g, uint16_t e, uint16_t vrCode, const std::string& bytes) {
  auto buffer = std::make_unique<uint8_t[]>(bytes.size());
  std::memcpy(buffer.get(), bytes.data(), bytes.size());
  ds.AddElement(
      DicomElement::Adopt(g, e, vrCode, std::move(buffer), static_cast<uint32_t>(bytes.size())));
}

void AddUShort(DicomDataSet& ds, uint16_t g, uint16_t e, uint16_t value) {
  AddBytes(ds, g, e, vr::US,
           std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)});
}

std::unique_ptr<DicomDataSet> Image(int rows, int columns, int frames) {
  auto ds = std::make_unique<DicomDataSet>();
  AddText(*ds, 0x0008, 0x0005, vr::CS, "ISO_IR 192");
  AddText(*ds, 0x0008, 0x0016, vr::UI, "1.2.840.10008.5.1.4.1.1.2");
  AddBytes(*ds, 0x0008, 0x0018, vr::UI, "1.2.840.1978.7.1.55.1");
  AddText(*ds, 0x0008, 0x0060, vr::CS, "CT");
  AddBytes(*ds, 0x0010, 0x0010, vr::PN, "FUZZ^SEED");
  // Private block with a nested private sequence.
  AddText(*ds, 0x0009, 0x0010, vr::LO, "TOLMAR FUZZ");
  AddBytes(*ds, 0x0009, 0x1001, vr::OB, std::string("\x01\x02\x03", 3));
  ds->AddElement(DicomElement::Empty(0x0009, 0x1002, vr::SQ));
  {
    auto item = std::make_unique<DicomDataSet>();
    AddBytes(*item, 0x0009, 0x1003, vr::LO, "inner");
    item->AddElement(DicomElement::Empty(0x0008, 0x1199, vr::SQ));
    auto inner = std::make_unique<DicomDataSet>();
    AddText(*inner, 0x0008, 0x1150, vr::UI, "1.2.840.10008.5.1.4.1.1.2");
    item->AddItem(std::move(inner));
    item->AddItem(std::make_unique<DicomDataSet>());
    ds->AddItem(std::move(item));
  }
  AddText(*ds, 0x0020, 0x0032, vr::DS, "-125\\-125\\0 ");
  if (frames > 1) AddText(*ds, 0x0028, 0x0008, vr::IS, std::to_string(frames));
  AddUShort(*ds, 0x0028, 0x0002, 1);
  AddText(*ds, 0x0028, 0x0004, vr::CS, "MONOCHROME2 ");
  AddUShort(*ds, 0x0028, 0x0010, static_cast<uint16_t>(rows));
  AddUShort(*ds, 0x0028, 0x0011, static_cast<uint16_t>(columns));
  AddUShort(*ds, 0x0028, 0x0100, 16);
  AddUShort(*ds, 0x0028, 0x0101, 12);
  AddUShort(*ds, 0x0028, 0x0103, 0);
  AddText(*ds, 0x0028, 0x1052, vr::DS, "-1024 ");
  AddText(*ds, 0x0028, 0x1053, vr::DS, "1 ");
  std::string pixels;
  for (int i = 0; i < rows * columns * frames; ++i) {
    const auto v = static_cast<uint16_t>((i * 37) % 4096);
    pixels.push_back(static_cast<char>(v & 0xFF));
    pixels.push_back(static_cast<char>(v >> 8));
  }
  AddBytes(*ds, 0x7FE0, 0x0010, vr::OW, pixels);
  return ds;
}

std::unique_ptr<DicomDataSet> WithSyntax(std::unique_ptr<DicomDataSet> ds, const std::string& uid) {
  AddText(*ds, 0x0002, 0x0010, vr::UI, uid);
  return ds;
}

// Encapsulated pixel data: an empty offset table and two small fragments, one odd.
std::unique_ptr<DicomDataSet> Encapsulated(const std::string& uid) {
  auto ds = Image(4, 4, 1);
  ds->RemoveElement(0x7FE0, 0x0010);
  AddText(*ds, 0x0002, 0x0010, vr::UI, uid);
  ds->AddElement(DicomElement::Empty(0x7FE0, 0x0010, vr::OB));
  for (const std::string& bytes : {std::string(), std::string("\xFF\xD8\xFF\xD9\x00", 5),
                                   std::string("\xFF\xD8\x01\x02\xFF\xD9", 6)}) {
    auto item = std::make_unique<DicomDataSet>();
    if (bytes.empty()) {
      item->AddElement(DicomElement::Empty(0xFFFE, 0xE000, 0));
    } else {
      AddBytes(*item, 0xFFFE, 0xE000, 0, bytes);
    }
    ds->AddItem(std::move(item));
  }
  return ds;
}

std::unique_ptr<DicomDataSet> Compressed(const std::string& kind) {
  auto ds = Image(8, 8, 1);
  DicomError error;
  if (!CompressPixelData(*ds, kind, &error)) {
    std::fprintf(stderr, "make-fuzz-seeds: %s compression failed: %s\n", kind.c_str(),
                 error.ToString().c_str());
  }
  return ds;
}

// The icon element in its two forms: a packed bitmap after "QV-KT", or marker, width,
// height and grey bytes.
std::unique_ptr<DicomDataSet> WithIcon(bool packedBitmap) {
  auto ds = Image(2, 2, 1);
  std::string icon;
  if (packedBitmap) {
    icon = "QV-KT";
    std::string header(40, '\0');
    header[0] = 40;
    header[4] = 2;   // width
    header[8] = 2;   // height
    header[12] = 1;  // planes
    header[14] = 8;  // bits
    icon += header + std::string(256 * 4, '\x10') + std::string(8, '\x7F');
  } else {
    icon = std::string("\x75\x78\x03\x00\x02\x00", 6) + "\x01\x02\x03\x04\x05\x06";
  }
  AddBytes(*ds, 0x0007, 0x0001, vr::OB, icon);
  return ds;
}

// Hand-made bytes for what our writer never produces: defined-length sequences and items.
std::vector<uint8_t> DefinedLengthSequences(bool explicitVr) {
  std::vector<uint8_t> b;
  auto u16 = [&](uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto u32 = [&](uint32_t v) {
    u16(static_cast<uint16_t>(v));
    u16(static_cast<uint16_t>(v >> 16));
  };
  auto element = [&](uint16_t g, uint16_t e, const char* vrText, const std::string& value) {
    u16(g);
    u16(e);
    if (explicitVr) {
      b.push_back(static_cast<uint8_t>(vrText[0]));
      b.push_back(static_cast<uint8_t>(vrText[1]));
      u16(static_cast<uint16_t>(value.size()));
    } else {
      u32(static_cast<uint32_t>(value.size()));
    }
    b.insert(b.end(), value.begin(), value.end());
  };
  element(0x0008, 0x0060, "CS", "MR");
  const std::string inner = [&] {
    std::vector<uint8_t> saved;
    saved.swap(b);
    element(0x0008, 0x1150, "UI", "1.2.3.4 ");
    std::string bytes(b.begin(), b.end());
    b.swap(saved);
    return bytes;
  }();
  u16(0x0008);
  u16(0x1115);
  const uint32_t itemLength = static_cast<uint32_t>(inner.size());
  if (explicitVr) {
    b.push_back('S');
    b.push_back('Q');
    u16(0);
  }
  u32(8 + itemLength);
  u16(0xFFFE);
  u16(0xE000);
  u32(itemLength);
  b.insert(b.end(), inner.begin(), inner.end());
  element(0x0010, 0x0010, "PN", "DOE^J");
  return b;
}

bool Save(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream out(folder + "/" + name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-fuzz-seeds FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  struct Seed {
    std::string name;
    FileLayout layout;
    std::function<std::unique_ptr<DicomDataSet>()> build;
  };
  const std::vector<Seed> seeds = {
      {"raw-implicit.dcm", FileLayout::RawDataSet, [] { return Image(4, 4, 1); }},
      {"implicit.dcm", FileLayout::PartTenImplicit, [] { return Image(4, 4, 1); }},
      {"explicit.dcm", FileLayout::PartTenExplicit, [] { return Image(4, 4, 1); }},
      {"big-endian.dcm", FileLayout::PartTenExplicit,
       [] { return WithSyntax(Image(4, 4, 1), kExplicitBigUid); }},
      {"multi-frame.dcm", FileLayout::PartTenExplicit, [] { return Image(4, 4, 3); }},
      {"jpeg-baseline.dcm", FileLayout::PartTenExplicit,
       [] { return Encapsulated("1.2.840.10008.1.2.4.50"); }},
      {"own-jpeg-lossless.dcm", FileLayout::PartTenImplicit,
       [] { return Encapsulated("1.2.840.780701.1.2.4.70"); }},
      {"elpeg.dcm", FileLayout::PartTenImplicit, [] { return Compressed("ELPEG"); }},
      {"zip.dcm", FileLayout::PartTenImplicit, [] { return Compressed("ZIP"); }},
      {"icon-bitmap.dcm", FileLayout::PartTenImplicit, [] { return WithIcon(true); }},
      {"icon-grey.dcm", FileLayout::PartTenExplicit, [] { return WithIcon(false); }},
  };
  int failures = 0;
  for (const Seed& seed : seeds) {
    auto ds = seed.build();
    std::vector<uint8_t> bytes;
    DicomError error;
    if (!EncodeDicomFile(seed.layout, *ds, bytes, &error) || !Save(folder, seed.name, bytes)) {
      std::fprintf(stderr, "make-fuzz-seeds: %s: %s\n", seed.name.c_str(),
                   error.ToString().c_str());
      ++failures;
    }
  }
  if (!Save(folder, "defined-length-explicit.dcm", DefinedLengthSequences(true)) ||
      !Save(folder, "defined-length-implicit.dcm", DefinedLengthSequences(false))) {
    ++failures;
  }
  return failures == 0 ? 0 : 1;
}
