#pragma once

#include <string>
#include <vector>

namespace tolmar::tool {

// Exit codes of every sub-command.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // some input could not be processed
constexpr int kExitUsage = 2;    // the command line is wrong

// One sub-command of `tolmar`. Each command lives in its own file and registers
// itself with a static `CommandRegistration`.
struct ToolCommand {
  std::string name;
  std::string usage;    // "dump FILE..."
  std::string summary;  // one line for the help text
  int (*run)(const std::vector<std::string>& args) = nullptr;
};

std::vector<ToolCommand>& RegisteredCommands();

struct CommandRegistration {
  explicit CommandRegistration(ToolCommand command);
};

// Prints "tolmar: <subject>: <reason>" on standard error.
void PrintError(const std::string& subject, const std::string& reason);
// Prints the usage line of a command on standard error and answers kExitUsage.
int UsageError(const std::string& commandName, const std::string& message = {});

// Small argument reader: options are "--name value" or "--flag"; the rest are operands.
class Arguments {
 public:
  explicit Arguments(const std::vector<std::string>& args) : m_args(args) {}
  // Removes "--name" and answers whether it was present.
  bool TakeFlag(const std::string& name);
  // Removes "--name VALUE"; false when absent; `missingValue` set when the value is missing.
  bool TakeOption(const std::string& name, std::string& value, bool& missingValue);
  // What is left after the options: operands, or unknown options (starting with "--").
  const std::vector<std::string>& Rest() const { return m_args; }
  // The first remaining argument that looks like an option, or empty.
  std::string UnknownOption() const;

 private:
  std::vector<std::string> m_args;
};

}  // namespace tolmar::tool
