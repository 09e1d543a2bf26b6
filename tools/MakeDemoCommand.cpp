// tolmar make-demo DIR [--slices N]
#include <cstdio>
#include <cstdlib>

#include "DemoStudy.h"
#include "ToolCommand.h"

namespace tolmar::tool {
namespace {

int RunMakeDemo(const std::vector<std::string>& args) {
  Arguments arguments(args);
  std::string slicesText = "60";
  bool missing = false;
  arguments.TakeOption("--slices", slicesText, missing);
  if (missing) return UsageError("make-demo", "--slices needs a number");
  char* end = nullptr;
  const long slices = std::strtol(slicesText.c_str(), &end, 10);
  if (*end != '\0' || slices < 1 || slices > 2000) {
    return UsageError("make-demo", "--slices must be a number from 1 to 2000");
  }
  if (!arguments.UnknownOption().empty()) {
    return UsageError("make-demo", "unknown option " + arguments.UnknownOption());
  }
  if (arguments.Rest().size() != 1) return UsageError("make-demo", "need one folder");
  std::string reason;
  if (!WriteDemoStudy(arguments.Rest()[0], static_cast<int>(slices), reason)) {
    PrintError("make-demo", reason);
    return kExitFailure;
  }
  std::printf("demo study written to %s\n", arguments.Rest()[0].c_str());
  return kExitOk;
}

const CommandRegistration kRegistration(
    {"make-demo", "make-demo DIR [--slices N]",
     "write the demo study (CT series with a localizer) below DIR", RunMakeDemo});

}  // namespace
}  // namespace tolmar::tool
