#include "TestDatabases.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "database/UniqueIdAllocator.h"

namespace tolmar::db::test {
namespace {

const QString kPgBin = QStringLiteral("/usr/lib/postgresql/15/bin/");

int FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 0;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

QString MakeTempFolder(const char* pattern) {
  QByteArray path = QDir::tempPath().toUtf8() + "/" + pattern;
  if (!mkdtemp(path.data())) return {};
  return QString::fromUtf8(path);
}

// Runs a server program, as the postgres user when we are root (the server refuses
// to run as root). Bounded wait.
bool RunPgProgram(const QString& program, const QStringList& args, QString& output) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  if (geteuid() == 0) {
    process.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                                         QStringLiteral("--"), kPgBin + program} + args);
  } else {
    process.start(kPgBin + program, args);
  }
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished(5000);
    output = QStringLiteral("%1 did not finish").arg(program);
    return false;
  }
  output = QString::fromLocal8Bit(process.readAll());
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// An initialised data folder shared by every test process of this machine, made once
// under a lock: initdb costs seconds, copying its result a fraction of that.
bool EnsureTemplateData(QString& templateData, QString& reason) {
  const QString root = QDir::tempPath() + QStringLiteral("/tolmar-pgtest-template-%1").arg(geteuid());
  templateData = root + QStringLiteral("/data");
  const QString marker = root + QStringLiteral("/complete");
  QDir().mkpath(root);
  const int lockFd = open((root + QStringLiteral(".lock")).toLocal8Bit().constData(), O_CREAT | O_RDWR, 0600);
  if (lockFd < 0 || flock(lockFd, LOCK_EX) != 0) {
    if (lockFd >= 0) close(lockFd);
    reason = QStringLiteral("cannot lock the template data folder");
    return false;
  }
  bool ok = QFile::exists(marker);
  if (!ok) {
    QDir(templateData).removeRecursively();
    if (geteuid() == 0) QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres:"), root});
    QString output;
    ok = RunPgProgram(QStringLiteral("initdb"),
                      {QStringLiteral("-D"), templateData, QStringLiteral("-A"), QStringLiteral("trust"),
                       QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                       QStringLiteral("--no-locale"), QStringLiteral("-N"),
                       // Small WAL segments keep the folder small to copy.
                       QStringLiteral("--wal-segsize=1")},
                      output);
    if (ok) {
      QFile file(marker);
      ok = file.open(QIODevice::WriteOnly);
    } else {
      reason = QStringLiteral("initdb failed: ") + output;
    }
  }
  flock(lockFd, LOCK_UN);
  close(lockFd);
  return ok;
}

// The server's process id for the signal handler below.
volatile sig_atomic_t g_serverPid = 0;

// A test program ended by a signal (a closed pipe, Ctrl+C, ctest's time-out) still
// stops the server it started.
void StopServerOnSignal(int signalNumber) {
  if (g_serverPid > 0) kill(static_cast<pid_t>(g_serverPid), SIGINT);
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
}

}  // namespace

TestDatabases& TestDatabases::Instance() {
  static TestDatabases instance;
  return instance;
}

TestDatabases::TestDatabases() {
  m_folder = MakeTempFolder("tolmar-dbtest-XXXXXX");
  m_pgPort = FreeLoopbackPort();
  WriteOdbcIni();
}

TestDatabases::~TestDatabases() {
  StopPostgres();
  if (!m_folder.isEmpty()) QDir(m_folder).removeRecursively();
}

QString TestDatabases::SqliteFile() const { return m_folder + QStringLiteral("/pacs.db"); }
QString TestDatabases::OdbcIni() const { return m_folder + QStringLiteral("/odbc.ini"); }

void TestDatabases::WriteOdbcIni() {
  QFile file(OdbcIni());
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
  const QString text = QStringLiteral(
                           "[TolmarPacs]\nDriver=SQLite3\nDatabase=%1\nTimeout=60000\nJournalMode=WAL\nSyncPragma=NORMAL\n\n"
                           "[TolmarPg]\nDriver=PostgreSQL Unicode\nServername=127.0.0.1\nPort=%2\n"
                           "Database=postgres\nUsername=postgres\n")
                           .arg(SqliteFile())
                           .arg(m_pgPort);
  file.write(text.toUtf8());
  file.close();
  setenv("ODBCINI", OdbcIni().toLocal8Bit().constData(), 1);
}

bool TestDatabases::EnsurePostgres(QString& reason, bool& missing) {
  if (m_pgTried) {
    reason = m_pgReason;
    missing = m_pgMissing;
    return m_pgPid > 0;
  }
  m_pgTried = true;
  m_pgMissing = !QFile::exists(kPgBin + QStringLiteral("pg_ctl")) ||
                !QFile::exists(kPgBin + QStringLiteral("initdb"));
  if (m_pgMissing) {
    m_pgReason = QStringLiteral("PostgreSQL 15 server programs are not installed in ") + kPgBin;
  } else if (m_pgPort == 0) {
    m_pgReason = QStringLiteral("no free loopback port");
  } else {
    m_pgFolder = MakeTempFolder("tolmar-pgtest-XXXXXX");
    QString output;
    if (geteuid() == 0) {
      QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres:"), m_pgFolder});
    }
    const QString data = m_pgFolder + QStringLiteral("/data");
    QString templateData;
    if (!EnsureTemplateData(templateData, m_pgReason)) {
      // m_pgReason says why
    } else if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), templateData, data}) != 0) {
      m_pgReason = QStringLiteral("cannot copy the template data folder");
    } else if (!RunPgProgram(QStringLiteral("pg_ctl"),
                             {QStringLiteral("-D"), data, QStringLiteral("-l"),
                              m_pgFolder + QStringLiteral("/server.log"), QStringLiteral("-w"),
                              QStringLiteral("-t"), QStringLiteral("30"), QStringLiteral("-o"),
                              QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                                  .arg(m_pgPort)
                                  .arg(m_pgFolder),
                              QStringLiteral("start")},
                             output)) {
      m_pgReason = QStringLiteral("the server did not start: ") + output;
    } else {
      QFile pidFile(data + QStringLiteral("/postmaster.pid"));
      if (pidFile.open(QIODevice::ReadOnly)) m_pgPid = pidFile.readLine().trimmed().toLong();
      if (m_pgPid <= 0) m_pgReason = QStringLiteral("the server wrote no process id");
      m_pgFresh = m_pgPid > 0;
      if (m_pgPid > 0) {
        g_serverPid = static_cast<sig_atomic_t>(m_pgPid);
        for (int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) signal(signalNumber, StopServerOnSignal);
      }
    }
  }
  reason = m_pgReason;
  missing = m_pgMissing;
  return m_pgPid > 0;
}

void TestDatabases::StopPostgres() {
  if (m_pgPid > 0) {
    g_serverPid = 0;
    const auto pid = static_cast<pid_t>(m_pgPid);
    kill(pid, SIGINT);  // fast shutdown
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (kill(pid, 0) == 0 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (kill(pid, 0) == 0) kill(pid, SIGKILL);
    m_pgPid = 0;
  }
  if (!m_pgFolder.isEmpty()) {
    QDir(m_pgFolder).removeRecursively();
    m_pgFolder.clear();
  }
}

bool TestDatabases::Wipe(Engine engine, QString& reason) {
  ResetUniqueIdCache();
  if (engine == Engine::Sqlite) {
    QFile::remove(SqliteFile());
    return true;
  }
  // A server just started from the template holds nothing yet.
  if (m_pgFresh) {
    m_pgFresh = false;
    return true;
  }
  DbConnection db;
  if (!db.Open(QStringLiteral("ODBC;DSN=TolmarPg"))) {
    reason = db.LastError();
    return false;
  }
  if (!db.ExecuteSQL(QStringLiteral("DROP SCHEMA public CASCADE")) ||
      !db.ExecuteSQL(QStringLiteral("CREATE SCHEMA public"))) {
    reason = db.LastError();
    return false;
  }
  return true;
}

namespace {

class DatabaseEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { TestDatabases::Instance().StopPostgres(); }
};

}  // namespace

void RegisterTestDatabaseEnvironment() {
  TestDatabases::Instance();
  ::testing::AddGlobalTestEnvironment(new DatabaseEnvironment);  // gtest owns it
}

}  // namespace tolmar::db::test
