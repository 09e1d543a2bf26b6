#include <array>

#include "DicomCodec.h"

namespace tolmar {

namespace {
struct TransferSyntaxRow {
  std::string_view uid;
  Encoding encoding;
};

// Searched in order; the end of the table means "not supported".
constexpr std::array<TransferSyntaxRow, 24> kTransferSyntaxes{{
    {"1.2.840.10008.1.2", Encoding::ImplicitLittle},
    {"1.2.840.10008.1.2.1", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.2", Encoding::ExplicitBig},
    {"1.2.840.10008.1.2.5", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.50", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.51", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.52", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.53", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.54", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.55", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.56", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.57", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.58", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.59", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.60", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.61", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.62", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.63", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.64", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.65", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.66", Encoding::ExplicitLittle},
    {"1.2.840.10008.1.2.4.70", Encoding::ExplicitLittle},
    // The suite's own JPEG syntaxes: encapsulated pixel data in an implicit VR body.
    {"1.2.840.780701.1.2.4.50", Encoding::ImplicitLittle},
    {"1.2.840.780701.1.2.4.70", Encoding::ImplicitLittle},
}};
}  // namespace

bool LookupTransferSyntax(std::string_view uid, Encoding& encoding) {
  for (const auto& row : kTransferSyntaxes) {
    if (row.uid == uid) {
      encoding = row.encoding;
      return true;
    }
  }
  return false;
}

}  // namespace tolmar
