// Helpers shared by the conformance tests of the file codec (RealFilesTest.cpp,
// RoundTripTest.cpp): a canonical text of a data set, running outside programs and
// comparing texts line by line.
#pragma once

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "dicom/DicomCodec.h"
#include "dicom/DicomDataSet.h"

namespace tolmar::test {

inline std::string Hex(std::span<const uint8_t> bytes) {
  static const char* kDigits = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

inline std::string TagText(uint16_t group, uint16_t element) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04x,%04x", group, element);
  return buffer;
}

// The canonical text of a data set, the form pydicom_oracle.py prints: every element
// in ascending tag order, nested levels prefixed by one ">" each.
//   E gggg,eeee <length> <hex>     element with its value
//   Q gggg,eeee <items>            element with items, each item an "I" line and its elements
//   P gggg,eeee <fragments>        encapsulated pixel data, each fragment an "F <length> <hex>"
//   line
inline void AppendCanonical(const DicomDataSet& ds, int depth, std::vector<std::string>& lines) {
  const std::string prefix(static_cast<size_t>(depth), '>');
  for (const DicomElement* e : ds.SortedElements()) {
    const std::string tag = TagText(e->group, e->element);
    if (e->HasItems()) {
      const bool pixels = e->group == 0x7FE0 && e->element == 0x0010;
      lines.push_back(prefix + (pixels ? "P " : "Q ") + tag + " " + std::to_string(e->ItemCount()));
      for (const auto& item : *e->Items()) {
        if (pixels) {
          const DicomElement* fragment = item->FindElement(0xFFFE, 0xE000);
          lines.push_back(prefix + "F " +
                          (fragment
                               ? std::to_string(fragment->length) + " " + Hex(fragment->Bytes())
                               : std::string("- no fragment element")));
        } else {
          lines.push_back(prefix + "I");
          AppendCanonical(*item, depth + 1, lines);
        }
      }
      continue;
    }
    lines.push_back(prefix + "E " + tag + " " + std::to_string(e->length) + " " + Hex(e->Bytes()));
  }
}

inline std::vector<std::string> CanonicalLines(const DicomDataSet& ds) {
  std::vector<std::string> lines;
  AppendCanonical(ds, 0, lines);
  return lines;
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

inline std::string Shorten(const std::string& line, size_t max = 160) {
  return line.size() <= max
             ? line
             : line.substr(0, max) + "... (" + std::to_string(line.size()) + " chars)";
}

// Empty when equal; otherwise where and how the two texts first differ.
inline std::string FirstDifference(const std::vector<std::string>& expected,
                                   const std::vector<std::string>& actual,
                                   const std::string& expectedName = "expected",
                                   const std::string& actualName = "actual") {
  const size_t n = std::min(expected.size(), actual.size());
  for (size_t i = 0; i < n; ++i) {
    if (expected[i] != actual[i]) {
      std::string context;
      if (i > 0) context = "  after: " + Shorten(expected[i - 1]) + "\n";
      return "first difference at line " + std::to_string(i + 1) + "\n" + context + "  " +
             expectedName + ": " + Shorten(expected[i]) + "\n  " + actualName + ": " +
             Shorten(actual[i]) + "\n";
    }
  }
  if (expected.size() != actual.size()) {
    const auto& longer = expected.size() > actual.size() ? expected : actual;
    return std::to_string(expected.size()) + " lines in " + expectedName + ", " +
           std::to_string(actual.size()) + " in " + actualName +
           "; first extra line: " + Shorten(longer[n]) + "\n";
  }
  return {};
}

inline std::string ShellQuote(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'')
      out += "'\\''";
    else
      out.push_back(c);
  }
  return out + "'";
}

struct CommandResult {
  int status = -1;  // exit status, or -1 when the command did not exit normally
  std::string out;  // standard output
};

// Runs a shell command and collects its standard output.
inline CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 65536> buffer{};
  size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  if (status != -1 && WIFEXITED(status)) result.status = WEXITSTATUS(status);
  return result;
}

inline bool HaveProgram(const std::string& name) {
  return RunCommand("command -v " + ShellQuote(name) + " >/dev/null 2>&1").status == 0;
}

inline std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A scratch folder below the system's temporary folder, removed with the object.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& name) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("tolmar-" + name + "-XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data())) m_path = buffer.data();
  }
  ~ScratchDir() {
    std::error_code ec;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& Path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

// Where Debian's python3-pydicom keeps its test files (TOLMAR_PYDICOM_TEST_FILES overrides).
inline std::string PydicomTestFilesDir() {
  if (const char* dir = std::getenv("TOLMAR_PYDICOM_TEST_FILES")) return dir;
  return "/usr/lib/python3/dist-packages/pydicom/data/test_files";
}

// The oracle is run with Debian's interpreter, which has python3-pydicom.
inline std::string PydicomOracleCommand(const std::string& file) {
  return "/usr/bin/python3 " +
         ShellQuote(std::string(TOLMAR_TEST_DATA_DIR) + "/../pydicom_oracle.py") + " " +
         ShellQuote(file);
}

// What a pydicom test file is expected to do when it does not read (data/pydicom-files.txt).
struct Expectation {
  std::string kind;    // "bad", "deviation" or "garbage"
  std::string reason;  // text the failure reason must contain ("-" for garbage)
  std::string why;
};

inline std::string Trim(const std::string& text) {
  const auto begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  const auto end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

// The listed files by their path relative to the pydicom test folder.
inline const std::map<std::string, Expectation>& Expectations() {
  static const std::map<std::string, Expectation> table = [] {
    std::map<std::string, Expectation> t;
    std::ifstream in(std::string(TOLMAR_TEST_DATA_DIR) + "/pydicom-files.txt");
    for (std::string line; std::getline(in, line);) {
      if (Trim(line).empty() || Trim(line)[0] == '#') continue;
      std::vector<std::string> fields;
      size_t start = 0;
      for (size_t bar; (bar = line.find('|', start)) != std::string::npos && fields.size() < 3;
           start = bar + 1) {
        fields.push_back(Trim(line.substr(start, bar - start)));
      }
      fields.push_back(Trim(line.substr(start)));
      if (fields.size() == 4) t[fields[0]] = {fields[1], fields[2], fields[3]};
    }
    return t;
  }();
  return table;
}

// Every regular file below pydicom's test folder, as paths relative to it, sorted.
inline std::vector<std::string> PydicomFiles() {
  std::vector<std::string> files;
  std::error_code ec;
  const std::filesystem::path root = PydicomTestFilesDir();
  for (std::filesystem::recursive_directory_iterator it(root, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->is_regular_file(ec)) {
      files.push_back(std::filesystem::relative(it->path(), root).generic_string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// A test name made of the letters and digits of a path.
inline std::string NameFromPath(const std::string& path) {
  std::string name;
  for (char c : path) name.push_back(std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
  return name;
}

}  // namespace tolmar::test
