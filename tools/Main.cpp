// tolmar: the suite's command-line tool. Each sub-command registers itself.
#include <malloc.h>

#include <algorithm>
#include <iostream>

#include "ToolCommand.h"

using namespace tolmar::tool;

namespace {
void PrintHelp(std::ostream& out) {
  auto commands = RegisteredCommands();
  std::sort(commands.begin(), commands.end(),
            [](const ToolCommand& a, const ToolCommand& b) { return a.name < b.name; });
  out << "usage: tolmar COMMAND [ARGS...]\n\ncommands:\n";
  for (const auto& c : commands) out << "  " << c.usage << "\n      " << c.summary << '\n';
}
}  // namespace

int main(int argc, char** argv) {
  // Studies are read slice after slice into buffers of the same size: keep freed pixel
  // buffers in the heap instead of handing each back to the kernel and faulting it in anew.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  if (argc < 2) {
    PrintHelp(std::cerr);
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "help" || name == "--help" || name == "-h") {
    PrintHelp(std::cout);
    return kExitOk;
  }
  for (const auto& c : RegisteredCommands()) {
    if (c.name == name) return c.run(std::vector<std::string>(argv + 2, argv + argc));
  }
  std::cerr << "tolmar: unknown command '" << name << "'\n";
  PrintHelp(std::cerr);
  return kExitUsage;
}
