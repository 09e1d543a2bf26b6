// The peer of `tolmar scan --full` in the scan benchmark: DCMTK reads every file named on
// the command line whole (every value loaded into memory) in one process, and counts them.
// Built by bench/scan-bench.sh against Debian's libdcmtk-dev.
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dctk.h>

#include <cstdio>

int main(int argc, char** argv) {
  int read = 0, failed = 0;
  for (int i = 1; i < argc; ++i) {
    DcmFileFormat file;
    // No length limit: values are read at once instead of on first use.
    OFCondition status = file.loadFile(argv[i], EXS_Unknown, EGL_noChange, 0xFFFFFFFFu,
                                       ERM_autoDetect);
    if (status.good()) status = file.loadAllDataIntoMemory();
    if (status.good()) {
      ++read;
    } else {
      ++failed;
      std::fprintf(stderr, "%s: %s\n", argv[i], status.text());
    }
  }
  std::printf("full read: %d files read, %d failed\n", read, failed);
  return failed > 0 ? 1 : 0;
}
