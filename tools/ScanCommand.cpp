// tolmar scan [--full] PATH...: opens every file below the paths, as the viewer
// opens a study (header only, or whole and ready to display).
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "ToolCommand.h"
#include "dicom/DicomCodec.h"

namespace tolmar::tool {
namespace {

namespace fs = std::filesystem;

int RunScan(const std::vector<std::string>& args) {
  Arguments arguments(args);
  const bool full = arguments.TakeFlag("--full");
  const bool verbose = arguments.TakeFlag("--verbose");
  if (!arguments.UnknownOption().empty()) {
    return UsageError("scan", "unknown option " + arguments.UnknownOption());
  }
  if (arguments.Rest().empty()) return UsageError("scan", "no path given");

  size_t read = 0, failed = 0;
  auto scanFile = [&](const std::string& path) {
    DicomError error;
    auto ds = full ? ReadDicomImage(path, ReadMode::FullRead, &error)
                   : ReadDicomFile(path, ReadMode::HeaderOnly, &error);
    if (ds) {
      ++read;
    } else {
      ++failed;
      if (verbose) PrintError(path, error.ToString());
    }
  };

  int status = kExitOk;
  for (const auto& root : arguments.Rest()) {
    std::error_code ec;
    if (fs::is_regular_file(root, ec)) {
      scanFile(root);
      continue;
    }
    if (!fs::is_directory(root, ec)) {
      PrintError(root, "no such file or folder");
      status = kExitFailure;
      continue;
    }
    for (fs::recursive_directory_iterator
             it(root, fs::directory_options::skip_permission_denied, ec),
         end;
         !ec && it != end; it.increment(ec)) {
      if (it->is_regular_file(ec)) scanFile(it->path().string());
    }
  }
  std::printf("%s scan: %zu files read, %zu failed\n", full ? "full" : "header", read, failed);
  return failed > 0 ? kExitFailure : status;
}

const CommandRegistration kRegistration(
    {"scan", "scan [--full] [--verbose] PATH...",
     "open every file below the paths (header only, or whole with --full) and count them",
     RunScan});

}  // namespace
}  // namespace tolmar::tool
