#pragma once

namespace tolmar::suite {

enum class StartFileError {
  None,
  CannotOpen,
  BadMagic,      // viewer file not starting with "QV"
  BadMode,       // report file whose mode text is not "MODIFY REPORT"
  Truncated,     // shorter than its parts say
  TextTooLong,   // a counted text beyond 65535 bytes
  NoEntries,     // viewer entry list without items
  BadBlockSize,  // a record block of the wrong size handed to a writer
};

const char* StartFileErrorText(StartFileError error);

}  // namespace tolmar::suite
