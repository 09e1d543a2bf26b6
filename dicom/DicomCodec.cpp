#include "DicomCodec.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "PixelCompression.h"

namespace tolmar {

namespace {

constexpr uint16_t kItemGroup = 0xFFFE;
constexpr uint16_t kItem = 0xE000;
constexpr uint16_t kItemDelimiter = 0xE00D;
constexpr uint16_t kSequenceDelimiter = 0xE0DD;
// Older files of the suite end their fragment list with this tag.
constexpr uint16_t kLegacyFragmentDelimiterGroup = 0xFFE0;

bool IsPixelDataTag(uint16_t g, uint16_t e) { return g == 0x7FE0 && e == 0x0010; }

uint16_t Swap16(uint16_t v) { return static_cast<uint16_t>((v >> 8) | (v << 8)); }

std::string TransferSyntaxText(const uint8_t* value, uint32_t length) {
  // The value's length is taken modulo 64, the text ends at a NUL, one trailing blank is dropped.
  const uint32_t n = length % 64;
  std::string text;
  for (uint32_t i = 0; i < n && value && value[i] != 0; ++i)
    text.push_back(static_cast<char>(value[i]));
  if (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// State shared by every level of one parse: the encoding can switch once, after
// the meta header, and the frame count steers the header-only modes.
struct ParseState {
  Encoding encoding = Encoding::ImplicitLittle;
  ReadMode mode = ReadMode::FullRead;
  DicomError* error = nullptr;
  bool transferSyntaxPending = false;
  std::string transferSyntax;
  long frames = 0;
  bool stoppedAtPixelData = false;
  // Keeps the bytes of defined-length items read from a file alive while their
  // memory streams are parsed.
};

bool Fail(ParseState& st, const DicomStream& s, const std::string& what) {
  if (st.error) st.error->Set(what, s.Offset());
  return false;
}

bool Fail(ParseState& st, uint64_t offset, uint16_t g, uint16_t e, const std::string& what) {
  if (st.error) st.error->Set(what, offset, g, e);
  return false;
}

bool ParseLevel(DicomStream& s, DicomDataSet& ds, ParseState& st, int depth);

// Parses a defined-length block (an item or a sequence value) from a memory stream.
bool ParseBlock(DicomStream& s, uint32_t length, DicomDataSet& into, ParseState& st, int depth,
                uint16_t g, uint16_t e) {
  const uint64_t at = s.Offset();
  std::vector<uint8_t> copy;
  const uint8_t* block = s.ReadView(length);
  if (!block) {
    copy.resize(length);
    if (!s.ReadBytes(copy.data(), length)) return Fail(st, at, g, e, "truncated value");
    block = copy.data();
  }
  auto sub = DicomStream::OverMemory(block, length, s.ReadOrder(), at);
  const bool ok = ParseLevel(*sub, into, st, depth);
  s.SetReadOrder(OrderOf(st.encoding));
  return ok;
}

bool ParseFragments(DicomStream& s, DicomDataSet& ds, ParseState& st) {
  for (;;) {
    const uint64_t at = s.Offset();
    uint16_t g = 0, e = 0;
    uint32_t length = 0;
    if (!s.ReadU16(g) || !s.ReadU16(e) || !s.ReadU32(length)) {
      return Fail(st, s, "truncated encapsulated pixel data");
    }
    if ((g == kItemGroup || g == kLegacyFragmentDelimiterGroup) && e == kSequenceDelimiter) {
      return true;
    }
    if (g == kItemGroup && e == kItem) {
      if (length == kUndefinedLength) return Fail(st, at, g, e, "fragment of undefined length");
      if (length > s.Remaining())
        return Fail(st, at, g, e, "fragment runs past the end of the file");
      auto item = std::make_unique<DicomDataSet>();
      item->itemOffset = s.Position() - 8;
      std::unique_ptr<DicomElement> fragment;
      if (length == 0) {
        fragment = DicomElement::Empty(kItemGroup, kItem, 0);
      } else {
        auto bytes = std::make_unique_for_overwrite<uint8_t[]>(length);
        if (!s.ReadBytes(bytes.get(), length)) return Fail(st, at, g, e, "truncated fragment");
        fragment = DicomElement::Adopt(kItemGroup, kItem, 0, std::move(bytes), length);
      }
      item->AddElement(std::move(fragment));
      if (!ds.AddItem(std::move(item))) return Fail(st, at, g, e, "fragment without pixel data");
      continue;
    }
    if (length == 0) return true;
    if (length == kUndefinedLength || !s.Skip(length)) {
      return Fail(st, at, g, e, "bad tag in encapsulated pixel data");
    }
  }
}

bool ParseLevel(DicomStream& s, DicomDataSet& ds, ParseState& st, int depth) {
  if (depth > kMaxNestingDepth) return Fail(st, s, "sequences nested too deeply");
  s.SetReadOrder(OrderOf(st.encoding));
  while (s.HasMore()) {
    const uint64_t at = s.Offset();
    uint16_t g = 0, e = 0;
    if (!s.ReadU16(g)) return Fail(st, s, "truncated element header");
    // The body's encoding starts with the first group after the meta header. Groups
    // 0000 and 0001 never belong in a body, but some writers put private data there,
    // so anything other than 0002 ends the meta header.
    if (st.transferSyntaxPending && g != 0x0002) {
      st.transferSyntaxPending = false;
      Encoding next;
      if (!LookupTransferSyntax(st.transferSyntax, next)) {
        return Fail(st, at, 0x0002, 0x0010, "unsupported transfer syntax " + st.transferSyntax);
      }
      if (OrderOf(next) != OrderOf(st.encoding)) {
        g = Swap16(g);
        s.SetReadOrder(OrderOf(next));
      }
      st.encoding = next;
    }
    if (!s.ReadU16(e)) return Fail(st, s, "truncated element header");

    if (g == kItemGroup) {
      uint32_t length = 0;
      if (!s.ReadU32(length)) return Fail(st, s, "truncated item header");
      if (e == kSequenceDelimiter || e == kItemDelimiter) return true;
      if (e == kItem) {
        auto item = std::make_unique<DicomDataSet>();
        if (length != kUndefinedLength) {
          if (length > s.Remaining())
            return Fail(st, at, g, e, "item runs past the end of the data");
          item->itemOffset = s.Position() - 8;
          if (!ParseBlock(s, length, *item, st, depth + 1, g, e)) return false;
        } else {
          item->itemOffset = s.Position() - 8;
          if (!ParseLevel(s, *item, st, depth + 1)) return false;
        }
        if (!ds.AddItem(std::move(item))) return Fail(st, at, g, e, "item without a sequence");
        continue;
      }
      if (length != kUndefinedLength) return Fail(st, at, g, e, "unexpected item tag");
      continue;
    }

    uint16_t vrCode = 0;
    uint32_t length = 0;
    if (IsExplicit(st.encoding)) {
      uint8_t letters[2];
      if (!s.ReadBytes(letters, 2)) return Fail(st, s, "truncated element header");
      vrCode = static_cast<uint16_t>((letters[0] << 8) | letters[1]);
      if (HasLongExplicitLength(vrCode)) {
        if (!s.Skip(2) || !s.ReadU32(length)) return Fail(st, s, "truncated element header");
      } else {
        uint16_t shortLength = 0;
        if (!s.ReadU16(shortLength)) return Fail(st, s, "truncated element header");
        length = shortLength;
      }
    } else if (!s.ReadU32(length)) {
      return Fail(st, s, "truncated element header");
    }

    if (g == 0x0000 && e == 0x0000 && length == 0) return true;

    const bool pixelData = IsPixelDataTag(g, e);
    if (pixelData && depth == 0) {
      ds.pixelDataLength = length;
      // Icons inside sequences carry pixel data too; only the top level stops.
      if (st.mode == ReadMode::HeaderOnly ||
          (st.mode == ReadMode::HeaderIfMultiFrame && st.frames > 1)) {
        st.stoppedAtPixelData = true;
        return true;
      }
    }

    if (length != kUndefinedLength) {
      if (!pixelData && length > kMaxElementLength) {
        return Fail(st, at, g, e, "element longer than 5242880 bytes");
      }
      if (length > s.Remaining()) return Fail(st, at, g, e, "value runs past the end of the file");
      if (vrCode == vr::SQ) {
        ds.AddElement(DicomElement::Empty(g, e, vrCode));
        if (!ParseBlock(s, length, ds, st, depth + 1, g, e)) return false;
        continue;
      }
      std::unique_ptr<DicomElement> element;
      if (length == 0) {
        element = DicomElement::Empty(g, e, vrCode);
      } else {
        auto bytes = std::make_unique_for_overwrite<uint8_t[]>(length);
        if (!s.ReadBytes(bytes.get(), length)) return Fail(st, at, g, e, "truncated value");
        if (s.ReadOrder() == ByteOrder::Big) SwapValueBytes(vrCode, bytes.get(), length);
        element = DicomElement::Adopt(g, e, vrCode, std::move(bytes), length);
      }
      if (g == 0x0028 && e == 0x0008) {
        std::string text = element->Text();
        if (text.size() > 127) text.resize(127);
        st.frames = std::strtol(text.c_str(), nullptr, 10);
      } else if (g == 0x0002 && e == 0x0010) {
        st.transferSyntax = TransferSyntaxText(element->Value(), element->length);
        st.transferSyntaxPending = true;
      }
      ds.AddElement(std::move(element));
      continue;
    }

    // Undefined length: a sequence (the only way implicit VR shows one) or
    // encapsulated pixel data.
    ds.AddElement(DicomElement::Empty(g, e, vrCode));
    if (pixelData) {
      if (!ParseFragments(s, ds, st)) return false;
    } else if (vrCode == vr::UN) {
      // A sequence of unknown VR is always encoded in implicit VR little endian inside.
      const Encoding outer = st.encoding;
      st.encoding = Encoding::ImplicitLittle;
      const bool ok = ParseLevel(s, ds, st, depth + 1);
      st.encoding = outer;
      if (!ok) return false;
    } else if (!ParseLevel(s, ds, st, depth + 1)) {
      return false;
    }
    s.SetReadOrder(OrderOf(st.encoding));
  }
  return true;
}

// ---- encoding ----

struct EncodeState {
  Encoding encoding = Encoding::ImplicitLittle;
  DicomError* error = nullptr;
  bool transferSyntaxPending = false;
  std::string transferSyntax;
};

void WriteTag(DicomStream& out, uint16_t g, uint16_t e) {
  out.WriteU16(g);
  out.WriteU16(e);
}

bool EncodeLevel(DicomStream& out, DicomDataSet& ds, EncodeState& st);

bool EncodeElement(DicomStream& out, DicomDataSet& ds, std::unique_ptr<DicomElement> e,
                   EncodeState& st) {
  const bool explicitVr = IsExplicit(st.encoding);
  if (e->element == 0x0000 && explicitVr) {
    // Group lengths are kept as implicit-VR figures; explicit output has longer headers.
    const uint32_t length = ds.DrainingGroupLength(true);
    std::memcpy(e->Value(), &length, 4);
  }
  const bool hasItems = e->HasItems();
  const uint32_t valueLength = e->length + (e->length & 1u);
  const uint32_t writtenLength = hasItems ? kUndefinedLength : valueLength;

  WriteTag(out, e->group, e->element);
  if (explicitVr) {
    const uint16_t outVr = OutputVr(*e);
    const uint8_t letters[2] = {static_cast<uint8_t>(outVr >> 8), static_cast<uint8_t>(outVr)};
    out.WriteBytes(letters, 2);
    if (HasLongExplicitLength(outVr)) {
      out.WriteZeros(2);
      out.WriteU32(writtenLength);
    } else {
      out.WriteU16(static_cast<uint16_t>(writtenLength));
    }
  } else {
    out.WriteU32(writtenLength);
  }

  if (hasItems) {
    const bool fragments = IsPixelDataTag(e->group, e->element);
    for (auto& item : *e->Items()) {
      if (fragments) {
        const DicomElement* fragment = item->FindElement(kItemGroup, kItem);
        const uint32_t n = fragment ? fragment->length : 0;
        WriteTag(out, kItemGroup, kItem);
        out.WriteU32(n + (n & 1u));
        if (n > 0) {
          if (fragment->HasValue())
            out.WriteBytes(fragment->Value(), n);
          else
            out.WriteZeros(n);
          if (n & 1u) out.WriteZeros(1);
        }
      } else {
        WriteTag(out, kItemGroup, kItem);
        out.WriteU32(kUndefinedLength);
        if (!EncodeLevel(out, *item, st)) return false;
        WriteTag(out, kItemGroup, kItemDelimiter);
        out.WriteU32(0);
      }
    }
    WriteTag(out, kItemGroup, kSequenceDelimiter);
    out.WriteU32(0);
    return true;
  }

  if (e->length > 0) {
    if (!e->HasValue()) {
      out.WriteZeros(e->length);
    } else if (out.WriteOrder() == ByteOrder::Big &&
               BinaryUnitSize(explicitVr ? OutputVr(*e) : e->vr) > 0) {
      std::vector<uint8_t> swapped(e->Value(), e->Value() + e->length);
      SwapValueBytes(OutputVr(*e), swapped.data(), e->length);
      out.WriteBytes(swapped.data(), swapped.size());
    } else {
      out.WriteBytes(e->Value(), e->length);
    }
    if (e->length & 1u) out.WriteZeros(1);
  }
  return true;
}

bool EncodeLevel(DicomStream& out, DicomDataSet& ds, EncodeState& st) {
  out.SetWriteOrder(OrderOf(st.encoding));
  while (auto e = ds.PopNext()) {
    if (st.transferSyntaxPending && e->group != 0x0002) {
      st.transferSyntaxPending = false;
      Encoding next;
      if (!LookupTransferSyntax(st.transferSyntax, next)) {
        if (st.error) st.error->Set("unsupported transfer syntax " + st.transferSyntax);
        ds.Clear();
        return false;
      }
      st.encoding = next;
      out.SetWriteOrder(OrderOf(next));
    }
    if (e->group == 0x0002 && e->element == 0x0010) {
      st.transferSyntax = TransferSyntaxText(e->Value(), e->length);
      st.transferSyntaxPending = true;
    }
    if (!EncodeElement(out, ds, std::move(e), st)) {
      ds.Clear();
      return false;
    }
    out.SetWriteOrder(OrderOf(st.encoding));
  }
  return true;
}

// Where parsing starts and in which encoding, from the first bytes of a file.
struct Start {
  uint64_t offset = 0;
  Encoding encoding = Encoding::ImplicitLittle;
};

Start DetectStart(const uint8_t* head, size_t available) {
  Start start;
  if (available >= 132 && std::memcmp(head + 128, "DICM", 4) == 0) start.offset = 132;
  // The sixth byte is the second VR letter of an explicit-VR element.
  if (available >= start.offset + 6 && static_cast<int8_t>(head[start.offset + 5]) > 10) {
    start.encoding = Encoding::ExplicitLittle;
  }
  return start;
}

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::unique_ptr<DicomDataSet> Finish(std::unique_ptr<DicomDataSet> ds, bool ok, DicomError* error) {
  if (!ok) return nullptr;
  if (ds->IsEmpty()) {
    if (error) error->Set("no DICOM elements found", 0);
    return nullptr;
  }
  return ds;
}

}  // namespace

void SwapValueBytes(uint16_t vrCode, uint8_t* value, uint32_t length) {
  const unsigned unit = BinaryUnitSize(vrCode);
  if (unit < 2 || !value) return;
  for (uint32_t i = 0; i + unit <= length; i += unit) {
    for (unsigned a = 0, b = unit - 1; a < b; ++a, --b) std::swap(value[i + a], value[i + b]);
  }
}

bool ParseDataSet(DicomStream& stream, Encoding encoding, ReadMode mode, DicomDataSet& dataSet,
                  DicomError* error) {
  ParseState st;
  st.encoding = encoding;
  st.mode = mode;
  st.error = error;
  return ParseLevel(stream, dataSet, st, 0);
}

bool EncodeDataSet(DicomStream& stream, Encoding encoding, DicomDataSet& dataSet,
                   DicomError* error) {
  EncodeState st;
  st.encoding = encoding;
  st.error = error;
  return EncodeLevel(stream, dataSet, st);
}

std::unique_ptr<DicomDataSet> ReadDicomFile(const std::string& path, ReadMode mode,
                                            DicomError* error) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    if (error) error->Set(std::string("cannot open file: ") + std::strerror(errno));
    return nullptr;
  }
  struct stat info {};
  if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
    if (error) error->Set("not a regular file");
    return nullptr;
  }
  const uint64_t fileSize = static_cast<uint64_t>(info.st_size);
  uint8_t head[138] = {};
  const size_t got = std::fread(head, 1, sizeof head, file.get());
  const Start start = DetectStart(head, got);
  if (std::fseek(file.get(), static_cast<long>(start.offset), SEEK_SET) != 0) {
    if (error) error->Set("cannot seek in file");
    return nullptr;
  }
  auto stream =
      DicomStream::OverFile(file.get(), start.offset, fileSize, mode == ReadMode::FullRead);
  auto ds = std::make_unique<DicomDataSet>();
  const bool ok = ParseDataSet(*stream, start.encoding, mode, *ds, error);
  return Finish(std::move(ds), ok, error);
}

std::unique_ptr<DicomDataSet> ReadDicomMemory(const uint8_t* data, size_t size, ReadMode mode,
                                              DicomError* error) {
  const Start start = DetectStart(data, size);
  auto stream = DicomStream::OverMemory(data, size, ByteOrder::Little);
  stream->Skip(start.offset);
  auto ds = std::make_unique<DicomDataSet>();
  const bool ok = ParseDataSet(*stream, start.encoding, mode, *ds, error);
  return Finish(std::move(ds), ok, error);
}

void JoinFragments(DicomDataSet& dataSet) {
  DicomElement* pixels = dataSet.FindElement(0x7FE0, 0x0010);
  if (!pixels || pixels->HasValue() || pixels->ItemCount() <= 1) return;
  const uint64_t rows = dataSet.GetUShort(0x0028, 0x0010);
  const uint64_t columns = dataSet.GetUShort(0x0028, 0x0011);
  const uint64_t bits = dataSet.GetUShort(0x0028, 0x0100);
  const uint64_t frameSize = rows * columns * bits / 8;
  if (frameSize == 0) return;
  const size_t frames = pixels->ItemCount() - 1;
  const uint64_t total = frames * frameSize;
  if (total > 0xFFFFFFFEu) return;
  const auto& items = *pixels->Items();
  // The frames are filled from the fragments; a header that promises far more
  // than the fragments hold (a hostile or broken file) must not make us
  // allocate it. Short fragments are padded with black, up to half the total.
  uint64_t held = 0;
  for (size_t i = 1; i < items.size(); ++i) {
    const DicomElement* fragment = items[i]->FindElement(0xFFFE, 0xE000);
    if (!fragment || !fragment->HasValue()) return;
    held += std::min<uint64_t>(fragment->length, frameSize);
  }
  if (held * 2 < total) return;
  auto buffer = std::make_unique<uint8_t[]>(total);
  for (size_t i = 1; i < items.size(); ++i) {
    const DicomElement* fragment = items[i]->FindElement(0xFFFE, 0xE000);
    // A fragment longer than a frame is cut at the frame: it must not spill into its neighbour.
    const uint64_t n = std::min<uint64_t>(fragment->length, frameSize);
    uint8_t* slot = buffer.get() + (i - 1) * frameSize;
    std::memcpy(slot, fragment->Value(), n);
    for (uint64_t k = 0; k + 1 < n; k += 2) std::swap(slot[k], slot[k + 1]);
  }
  pixels->ReplaceValue(std::move(buffer), static_cast<uint32_t>(total));
}

std::unique_ptr<DicomDataSet> ReadDicomImage(const std::string& path, ReadMode mode,
                                             DicomError* error) {
  auto ds = ReadDicomFile(path, mode, error);
  if (!ds) return nullptr;
  if (ds->FindElement(0x7FE0, 0x0010)) {
    if (!DecompressPixelData(*ds, error)) return nullptr;
    JoinFragments(*ds);
  }
  return ds;
}

void BuildFileMetaHeader(DicomDataSet& dataSet, FileLayout layout) {
  std::string transferSyntax;
  if (const DicomElement* ts = dataSet.FindElement(0x0002, 0x0010)) {
    transferSyntax = TransferSyntaxText(ts->Value(), ts->length);
  } else {
    transferSyntax =
        layout == FileLayout::PartTenExplicit ? kExplicitLittleUid : kImplicitLittleUid;
  }
  auto sopClass = dataSet.CopyElement(0x0008, 0x0016);
  auto sopInstance = dataSet.CopyElement(0x0008, 0x0018);

  DicomDataSet scratch;
  while (auto e = dataSet.PopNext()) {
    if (e->group != 0x0002) scratch.AddElement(std::move(e));
  }
  while (auto e = scratch.PopNext()) dataSet.AddElement(std::move(e));

  static const uint8_t kVersion[2] = {0x00, 0x01};
  dataSet.AddElement(DicomElement::FromBytes(0x0002, 0x0001, vr::OB, kVersion));
  if (sopClass) {
    dataSet.AddElement(DicomElement::FromBytes(0x0002, 0x0002, vr::UI, sopClass->Bytes()));
  }
  if (sopInstance) {
    dataSet.AddElement(DicomElement::FromBytes(0x0002, 0x0003, vr::UI, sopInstance->Bytes()));
  }
  dataSet.AddElement(DicomElement::FromText(0x0002, 0x0010, vr::UI, transferSyntax));
  dataSet.AddElement(DicomElement::FromText(0x0002, 0x0012, vr::UI, kImplementationClassUid));
  dataSet.AddElement(DicomElement::FromText(0x0002, 0x0013, vr::SH, kImplementationVersionName));
}

namespace {
// The whole file image, preamble and meta header included, in the stream's blocks.
std::unique_ptr<DicomStream> EncodeFile(FileLayout layout, DicomDataSet& dataSet,
                                        DicomError* error) {
  auto stream = DicomStream::ForWriting();
  Encoding encoding = Encoding::ImplicitLittle;
  if (layout != FileLayout::RawDataSet) {
    BuildFileMetaHeader(dataSet, layout);
    encoding = Encoding::ExplicitLittle;  // the meta header is always explicit VR little endian
    stream->WriteZeros(128);
    stream->WriteBytes(reinterpret_cast<const uint8_t*>("DICM"), 4);
  }
  // The meta header comes first in a file even when the body holds groups below 0002
  // (private data some writers put there), so group 0002 is encoded on its own first.
  EncodeState st;
  st.encoding = encoding;
  st.error = error;
  if (layout != FileLayout::RawDataSet) {
    DicomDataSet meta, body;
    while (auto e = dataSet.PopNext()) {
      if (e->element == 0x0000) continue;  // made anew on output
      (e->group == 0x0002 ? meta : body).AddElement(std::move(e));
    }
    if (!EncodeLevel(*stream, meta, st) || !EncodeLevel(*stream, body, st)) return nullptr;
    return stream;
  }
  if (!EncodeLevel(*stream, dataSet, st)) return nullptr;
  return stream;
}
}  // namespace

bool EncodeDicomFile(FileLayout layout, DicomDataSet& dataSet, std::vector<uint8_t>& out,
                     DicomError* error) {
  auto stream = EncodeFile(layout, dataSet, error);
  if (!stream) return false;
  out = stream->TakeOutput();
  return true;
}

bool WriteDicomFile(const std::string& path, FileLayout layout,
                    std::unique_ptr<DicomDataSet> dataSet, DicomError* error) {
  if (!dataSet) {
    if (error) error->Set("no data set to write");
    return false;
  }
  // Encode completely before touching the target, and replace it in one rename:
  // a failed write never leaves a half-written or emptied file behind.
  auto stream = EncodeFile(layout, *dataSet, error);
  if (!stream) return false;

  const std::string temporary = path + ".tmp-" + std::to_string(::getpid());
  FilePtr file(std::fopen(temporary.c_str(), "wb"));
  if (!file) {
    if (error) error->Set(std::string("cannot create file: ") + std::strerror(errno));
    return false;
  }
  bool ok = stream->Flush(file.get());
  ok = ok && std::fflush(file.get()) == 0;
  ok = std::fclose(file.release()) == 0 && ok;
  if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
    if (error) error->Set(std::string("cannot write file: ") + std::strerror(errno));
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace tolmar
