// tolmar dump FILE...: header dump text of each file on standard output.
#include <cstdio>

#include "ToolCommand.h"
#include "dicom/DicomDump.h"

namespace tolmar::tool {
namespace {

int RunDump(const std::vector<std::string>& args) {
  Arguments arguments(args);
  if (!arguments.UnknownOption().empty()) {
    return UsageError("dump", "unknown option " + arguments.UnknownOption());
  }
  if (arguments.Rest().empty()) return UsageError("dump", "no file given");
  int status = kExitOk;
  for (const auto& path : arguments.Rest()) {
    std::string text;
    DicomError error;
    if (!DumpDicomFile(path, text, &error)) {
      PrintError(path, error.ToString());
      status = kExitFailure;
      continue;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  std::fflush(stdout);
  return status;
}

const CommandRegistration kRegistration({"dump", "dump FILE...",
                                         "write the header dump text of each file", RunDump});

}  // namespace
}  // namespace tolmar::tool
