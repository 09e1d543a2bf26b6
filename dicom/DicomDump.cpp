#include "DicomDump.h"

#include <algorithm>
#include <cstdio>

#include "DicomCodec.h"

namespace tolmar {

namespace {

constexpr const char* kNewline = "\r\n";

void DumpLevel(DicomDataSet& ds, const std::string& prefix, std::string& out) {
  while (auto e = ds.PopNext()) {
    if (e->group == 0x0002 || e->group == 0x0007 || e->group == 0x7FE0) continue;
    char head[40];
    std::snprintf(head, sizeof head, "(%04X,%04X)%08X ", e->group, e->element, e->length);
    out += prefix;
    out += head;
    if (e->length == 0 || !e->HasValue()) {
      out += kNewline;
    } else {
      const uint8_t* bytes = e->Value();
      for (uint32_t line = 0; line < e->length; line += 16) {
        if (line > 0) out.append(20, ' ');
        const uint32_t n = std::min<uint32_t>(16, e->length - line);
        for (uint32_t i = 0; i < n; ++i) {
          char hex[4];
          std::snprintf(hex, sizeof hex, "%02X ", bytes[line + i]);
          out += hex;
        }
        out.append(3 * (16 - n), ' ');
        out.append(reinterpret_cast<const char*>(bytes + line), n);
        out += kNewline;
      }
    }
    if (e->Items()) {
      for (auto& item : *e->Items()) DumpLevel(*item, prefix + ">", out);
    }
  }
}

}  // namespace

std::string DumpDataSet(DicomDataSet& dataSet) {
  const std::string rule = "//" + std::string(82, '=') + kNewline;
  std::string out = rule + "//Tolmar PACS DICOM Dump file" + kNewline + rule;
  DumpLevel(dataSet, "", out);
  return out;
}

bool DumpDicomFile(const std::string& path, std::string& text, DicomError* error) {
  auto ds = ReadDicomFile(path, ReadMode::HeaderOnly, error);
  if (!ds) return false;
  text = DumpDataSet(*ds);
  return true;
}

}  // namespace tolmar
