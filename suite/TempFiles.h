#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

namespace tolmar::suite {

// Prefixes of the suite's temporary files.
namespace TempPrefix {
inline const QString kViewerStart = QStringLiteral("QV");
inline const QString kReportStart = QStringLiteral("KTQV");  // report and capture start files
inline const QString kHl = QStringLiteral("HL");
inline const QString kBarCode = QStringLiteral("BC");
}  // namespace TempPrefix

// The system temporary folder when it exists and is writable, else empty.
QString UsableTempFolder();
// Private folder in the user's data folder used when the temporary folder
// cannot be used; created owner-only on demand. Empty when even that fails.
QString FallbackTempFolder();

// Creates a new file with a unique name "<prefix>XXXXXX.tmp" (owner-only
// permissions, never replacing another file) in the temporary folder, or in
// the fallback folder, and writes bytes into it. Returns the path, or an
// empty text when nothing could be written. Start files carry patient data,
// and two programs must never write into the same file.
QString WriteUniqueTempFile(const QString& prefix, std::span<const std::uint8_t> bytes);

// Writes a file with a fixed name, replacing an existing one, owner-only.
bool WriteFileOwnerOnly(const QString& path, std::span<const std::uint8_t> bytes);

// Path of "QVRepPat.kt": in the temporary folder, else the fallback folder.
QString PatientHandOverPath();

// Reads a start file completely and deletes it: from the moment a program is
// started its start file belongs to it. False when it cannot be read (it is
// then left for the system to clean).
bool TakeStartFile(const QString& path, std::vector<std::uint8_t>& bytes,
                   std::int64_t maxSize = std::int64_t{1} << 28);

// Moves a written start file to a fixed name (the hand-over to a running
// capture program), replacing an older file of that name in one step.
bool MoveFileReplacing(const QString& from, const QString& to);

// Reads a whole file of at most maxSize bytes; larger files are refused.
bool ReadWholeFile(const QString& path, std::vector<std::uint8_t>& bytes,
                   std::int64_t maxSize = std::int64_t{1} << 30);

}  // namespace tolmar::suite
