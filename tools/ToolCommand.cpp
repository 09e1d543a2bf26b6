#include "ToolCommand.h"

#include <iostream>

namespace tolmar::tool {

std::vector<ToolCommand>& RegisteredCommands() {
  static std::vector<ToolCommand> commands;
  return commands;
}

CommandRegistration::CommandRegistration(ToolCommand command) {
  RegisteredCommands().push_back(std::move(command));
}

void PrintError(const std::string& subject, const std::string& reason) {
  std::cerr << "tolmar: " << subject << ": " << reason << '\n';
}

int UsageError(const std::string& commandName, const std::string& message) {
  if (!message.empty()) std::cerr << "tolmar " << commandName << ": " << message << '\n';
  for (const auto& c : RegisteredCommands()) {
    if (c.name == commandName) std::cerr << "usage: tolmar " << c.usage << '\n';
  }
  return kExitUsage;
}

bool Arguments::TakeFlag(const std::string& name) {
  for (auto it = m_args.begin(); it != m_args.end(); ++it) {
    if (*it == name) {
      m_args.erase(it);
      return true;
    }
  }
  return false;
}

bool Arguments::TakeOption(const std::string& name, std::string& value, bool& missingValue) {
  missingValue = false;
  for (size_t i = 0; i < m_args.size(); ++i) {
    if (m_args[i] == name) {
      if (i + 1 >= m_args.size()) {
        missingValue = true;
        m_args.erase(m_args.begin() + static_cast<std::ptrdiff_t>(i));
        return false;
      }
      value = m_args[i + 1];
      m_args.erase(m_args.begin() + static_cast<std::ptrdiff_t>(i),
                   m_args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
      return true;
    }
    if (m_args[i].rfind(name + "=", 0) == 0) {
      value = m_args[i].substr(name.size() + 1);
      m_args.erase(m_args.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  }
  return false;
}

std::string Arguments::UnknownOption() const {
  for (const auto& a : m_args) {
    if (a.size() > 2 && a.rfind("--", 0) == 0) return a;
  }
  return {};
}

}  // namespace tolmar::tool
