#include "suite/StartFileError.h"

namespace tolmar::suite {

const char* StartFileErrorText(StartFileError error) {
  switch (error) {
    case StartFileError::None:
      return "no error";
    case StartFileError::CannotOpen:
      return "the start file cannot be opened";
    case StartFileError::BadMagic:
      return "the start file does not begin with \"QV\"";
    case StartFileError::BadMode:
      return "the mode text is not \"MODIFY REPORT\"";
    case StartFileError::Truncated:
      return "the start file is shorter than its parts say";
    case StartFileError::TextTooLong:
      return "a counted text is longer than 65535 bytes";
    case StartFileError::NoEntries:
      return "the entry list holds no items";
    case StartFileError::BadBlockSize:
      return "a record block has the wrong size";
  }
  return "unknown error";
}

}  // namespace tolmar::suite
