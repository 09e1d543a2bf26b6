#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tolmar::test {

struct ToolResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs a shell command line, capturing standard output and standard error.
inline ToolResult RunCommand(const std::string& commandLine) {
  char errPattern[] = "/tmp/tolmar-stderr-XXXXXX";
  const int fd = mkstemp(errPattern);
  if (fd >= 0) close(fd);
  ToolResult result;
  const std::string full = commandLine + " 2>" + errPattern;
  FILE* pipe = popen(full.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer{};
  size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (FILE* err = fopen(errPattern, "rb")) {
    while ((n = fread(buffer.data(), 1, buffer.size(), err)) > 0)
      result.err.append(buffer.data(), n);
    fclose(err);
  }
  std::remove(errPattern);
  return result;
}

inline ToolResult RunTolmar(const std::string& arguments) {
  return RunCommand(std::string("'") + TOLMAR_EXE + "' " + arguments);
}

class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/tolmar-tool-XXXXXX";
    m_path = mkdtemp(pattern);
  }
  ~ScratchFolder() { std::filesystem::remove_all(m_path); }
  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

}  // namespace tolmar::test
