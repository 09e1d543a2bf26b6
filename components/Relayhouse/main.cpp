#include <QCoreApplication>
#include <QDBusConnection>
#include <QTimer>
#include <cstdio>

#include "RelayhouseService.h"
#include "suite/AutomationServer.h"

// The stand-in Relayhouse server. It ends when its bus goes away or after
// an idle time, so a test's private bus leaves no process behind.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int delayMs = qEnvironmentVariableIntValue("TOLMAR_RELAYHOUSE_DELAY_MS");
  bool idleSet = false;
  const int idleSeconds = qEnvironmentVariableIntValue("TOLMAR_RELAYHOUSE_IDLE_SECONDS", &idleSet);

  RelayhouseService service(delayMs);
  tolmar::suite::AutomationServer server;
  QTimer idle;
  idle.setSingleShot(true);
  idle.setInterval((idleSet && idleSeconds > 0 ? idleSeconds : 600) * 1000);
  QObject::connect(&idle, &QTimer::timeout, &app, &QCoreApplication::quit);
  idle.start();

  server.AddMethod(2, [&](QVariantList& arguments) {
    idle.start();
    return service.AddCommand(arguments);
  });
  server.AddMethod(6, [&](QVariantList& arguments) {
    idle.start();
    return service.QueryCommand(arguments);
  });
  QString error;
  if (!server.Register(QStringLiteral("TolmarPacs.Relayhouse"), &error)) {
    std::fprintf(stderr, "Relayhouse: %s\n", qPrintable(error));
    return 1;
  }

  QTimer busWatch;
  QObject::connect(&busWatch, &QTimer::timeout, &app, [&app] {
    if (!QDBusConnection::sessionBus().isConnected()) app.quit();
  });
  busWatch.start(500);
  return app.exec();
}
