// tolmar db init [--dsn NAME] | db studies [--device N] [--dsn NAME] |
// db schema [--engine sqlite|postgresql]
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

#include "ToolCommand.h"
#include "database/DatabaseSchema.h"
#include "database/DbConnection.h"
#include "database/StudyColumns.h"

namespace tolmar::tool {
namespace {

// One line per study of a device, from the study list by column id: key, patient
// number, name, date, modality, series and images.
int ListStudies(Arguments& arguments) {
  std::string dsn = "TolmarPacs";
  std::string deviceText = "1";
  bool missing = false;
  arguments.TakeOption("--dsn", dsn, missing);
  if (missing) return UsageError("db", "--dsn needs a data source name");
  arguments.TakeOption("--device", deviceText, missing);
  if (missing) return UsageError("db", "--device needs a number");
  if (!arguments.UnknownOption().empty()) return UsageError("db", "unknown option " + arguments.UnknownOption());
  char* end = nullptr;
  const long device = std::strtol(deviceText.c_str(), &end, 10);
  if (*end != '\0' || device < 0 || device > 2147483647L) return UsageError("db", "--device must be a number");
  int argc = 1;
  char name[] = "tolmar";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  db::DbConnection connection;
  if (!connection.Open(QStringLiteral("ODBC;DSN=") + QString::fromStdString(dsn))) {
    PrintError(dsn, connection.LastError().toStdString());
    return kExitFailure;
  }
  std::vector<db::STUDY_RECORD> studies;
  if (!db::ReadStudyRecords(connection, QStringLiteral("F_DEV_ID=%1").arg(device), QStringLiteral("F_STU_DATE,F_STU_ID"),
                            studies)) {
    PrintError(dsn, connection.LastError().toStdString());
    return kExitFailure;
  }
  for (const auto& study : studies) {
    std::printf("%s\t%s\t%s\t%s\t%s\t%s\t%s\n", study.GetColumn(20).c_str(), study.GetColumn(3).c_str(),
                study.GetColumn(4).c_str(), study.GetColumn(24).c_str(), study.GetColumn(56).c_str(),
                study.GetColumn(131).c_str(), study.GetColumn(132).c_str());
  }
  return kExitOk;
}

int RunDb(const std::vector<std::string>& args) {
  if (args.empty()) return UsageError("db", "need a sub-command: init, studies or schema");
  const std::string action = args.front();
  Arguments arguments(std::vector<std::string>(args.begin() + 1, args.end()));
  if (action == "init") {
    std::string dsn = "TolmarPacs";
    bool missing = false;
    arguments.TakeOption("--dsn", dsn, missing);
    if (missing) return UsageError("db", "--dsn needs a data source name");
    if (!arguments.UnknownOption().empty()) return UsageError("db", "unknown option " + arguments.UnknownOption());
    if (!arguments.Rest().empty()) return UsageError("db", "unexpected argument " + arguments.Rest().front());
    int argc = 1;
    char name[] = "tolmar";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    db::DbConnection connection;
    if (!connection.Open(QStringLiteral("ODBC;DSN=") + QString::fromStdString(dsn))) {
      PrintError(dsn, connection.LastError().toStdString());
      return kExitFailure;
    }
    if (!db::CreateSchema(connection)) {
      PrintError(dsn, connection.LastError().toStdString());
      return kExitFailure;
    }
    std::printf("schema ready on %s (%s)\n", dsn.c_str(), connection.GetDatabaseName().toUtf8().constData());
    return kExitOk;
  }
  if (action == "studies") return ListStudies(arguments);
  if (action == "schema") {
    std::string engine = "sqlite";
    bool missing = false;
    arguments.TakeOption("--engine", engine, missing);
    if (missing) return UsageError("db", "--engine needs sqlite or postgresql");
    if (!arguments.UnknownOption().empty()) return UsageError("db", "unknown option " + arguments.UnknownOption());
    if (engine != "sqlite" && engine != "postgresql") return UsageError("db", "--engine must be sqlite or postgresql");
    const db::SqlDialect dialect(engine == "sqlite" ? db::SqlEngine::Sqlite : db::SqlEngine::Postgres);
    for (const QString& statement : db::SchemaStatements(dialect)) {
      std::printf("%s;\n", statement.toUtf8().constData());
    }
    return kExitOk;
  }
  return UsageError("db", "unknown sub-command " + action);
}

const CommandRegistration kRegistration({"db", "db init [--dsn NAME] | db studies [--device N] [--dsn NAME] | db schema [--engine sqlite|postgresql]",
                                         "create the schema on a data source, list a device's studies, or print the schema",
                                         RunDb});

}  // namespace
}  // namespace tolmar::tool
