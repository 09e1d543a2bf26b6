// tolmar import PATH... [--device N] [--dsn NAME]: files DICOM headers into the database.
#include <unistd.h>

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

#include "ToolCommand.h"
#include "database/DbConnection.h"
#include "database/StudyImporter.h"

namespace tolmar::tool {
namespace {

// "\r"-updated on a terminal; otherwise a line at every tenth of the way.
class ProgressLine {
 public:
  explicit ProgressLine(size_t total) : m_total(total), m_terminal(isatty(STDERR_FILENO) == 1) {}

  void Show(size_t done) {
    if (m_total == 0) return;
    const size_t tenth = done * 10 / m_total;
    if (m_terminal) {
      if (done != m_total && done % 16 != 0) return;
      std::fprintf(stderr, "\rimporting %zu/%zu files (%zu%%)", done, m_total, done * 100 / m_total);
      if (done == m_total) std::fputc('\n', stderr);
    } else if (tenth != m_lastTenth) {
      m_lastTenth = tenth;
      std::fprintf(stderr, "importing %zu/%zu files (%zu%%)\n", done, m_total, done * 100 / m_total);
    }
    std::fflush(stderr);
  }

  // Keeps a message from being written over by the next update.
  void Interrupt() {
    if (m_terminal) std::fputc('\n', stderr);
  }

 private:
  size_t m_total;
  bool m_terminal;
  size_t m_lastTenth = 0;
};

int RunImport(const std::vector<std::string>& args) {
  Arguments arguments(args);
  std::string deviceText = "1";
  std::string dsn = "TolmarPacs";
  bool missing = false;
  arguments.TakeOption("--device", deviceText, missing);
  if (missing) return UsageError("import", "--device needs a number");
  arguments.TakeOption("--dsn", dsn, missing);
  if (missing) return UsageError("import", "--dsn needs a data source name");
  if (!arguments.UnknownOption().empty()) return UsageError("import", "unknown option " + arguments.UnknownOption());
  if (arguments.Rest().empty()) return UsageError("import", "no file or folder given");
  char* end = nullptr;
  const long device = std::strtol(deviceText.c_str(), &end, 10);
  if (*end != '\0' || device < 1 || device > 2147483647L) {
    return UsageError("import", "--device must be a positive number");
  }

  std::vector<std::string> notFound;
  const auto files = db::StudyImporter::CollectFiles(arguments.Rest(), notFound);
  int status = kExitOk;
  for (const auto& path : notFound) {
    PrintError(path, "no such file or folder");
    status = kExitFailure;
  }

  int argc = 1;
  char name[] = "tolmar";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  db::DbConnection connection;
  if (!connection.Open(QStringLiteral("ODBC;DSN=") + QString::fromStdString(dsn))) {
    PrintError(dsn, connection.LastError().toStdString());
    return kExitFailure;
  }
  db::StudyImporter importer(connection, static_cast<int32_t>(device));
  if (!importer.Begin()) {
    PrintError(dsn, importer.LastError().toStdString());
    return kExitFailure;
  }
  ProgressLine progress(files.size());
  size_t done = 0;
  for (const auto& [path, named] : files) {
    std::string reason;
    const auto result = importer.ImportFile(path, named, reason);
    if (result == db::StudyImporter::FileResult::DatabaseError) {
      progress.Interrupt();
      PrintError(dsn, reason);
      return kExitFailure;
    }
    if (result == db::StudyImporter::FileResult::Failed) {
      progress.Interrupt();
      PrintError(path, reason);
      status = kExitFailure;
    }
    progress.Show(++done);
  }
  if (!importer.Finish()) {
    PrintError(dsn, importer.LastError().toStdString());
    return kExitFailure;
  }
  const auto& c = importer.Counts();
  std::printf("imported %zu files into device %ld: %zu images added, %zu already present, %zu not DICOM, "
              "%zu failed (%zu patients, %zu studies, %zu series new)\n",
              c.files, device, c.imagesAdded, c.alreadyPresent, c.notDicom, c.failed, c.patientsAdded,
              c.studiesAdded, c.seriesAdded);
  return status;
}

const CommandRegistration kRegistration({"import", "import PATH... [--device N] [--dsn NAME]",
                                         "file the DICOM files below the paths as studies of a device",
                                         RunImport});

}  // namespace
}  // namespace tolmar::tool
