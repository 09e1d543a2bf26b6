// A second process for the D-Bus tests: it owns the window title given on its
// command line and serves the automation object "TolmarPacs.SuitePeer".
// Everything it receives is printed on one line of standard output.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QTimer>
#include <cstdio>

#include "suite/AutomationServer.h"
#include "suite/WindowMessenger.h"

namespace {

void Say(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) return 2;
  const QString title = QString::fromUtf8(argv[1]);

  tolmar::suite::AutomationServer server;
  // Method 3 takes every argument type the programs pass and fills the
  // out-argument from all of them.
  server.AddMethod(3, [](QVariantList& a) -> QVariant {
    if (a.size() != 6 || a[0].userType() != QMetaType::QString ||
        a[1].userType() != QMetaType::Int || a[2].userType() != QMetaType::QStringList ||
        a[3].userType() != qMetaTypeId<QList<int>>() || a[4].userType() != QMetaType::QVariantList)
      return {};
    int sum = a[1].toInt();
    for (int n : a[3].value<QList<int>>()) sum += n;
    QStringList nested;
    for (const QVariant& v : a[4].toList()) nested.append(v.toString());
    a[5] = a[0].toString() + QLatin1Char('|') + a[2].toStringList().join(QLatin1Char(',')) +
           QLatin1Char('|') + nested.join(QLatin1Char(','));
    return sum;
  });
  // Method 4 has the shape of the information servers' GetInfo: key, 100,
  // field numbers, and an out-argument that becomes an array of texts.
  server.AddMethod(4, [](QVariantList& a) -> QVariant {
    if (a.size() != 4 || a[2].userType() != qMetaTypeId<QList<int>>()) return {};
    QVariantList values;
    for (int field : a[2].value<QList<int>>())
      values.append(QStringLiteral("%1:%2").arg(a[0].toString()).arg(field));
    a[3] = values;
    return 0;
  });
  server.AddMethod(
      1, [](QVariantList& a) -> QVariant { return a.isEmpty() ? QVariant(0) : QVariant(); });
  QString error;
  if (!server.Register(QStringLiteral("TolmarPacs.SuitePeer"), &error)) {
    Say(QStringLiteral("error ") + error);
    return 1;
  }

  tolmar::suite::WindowEndpoint endpoint;
  endpoint.SetCommandHandler([&app](int command) {
    Say(QStringLiteral("command %1").arg(command));
    if (command == 57665)  // ID_APP_EXIT
      QTimer::singleShot(0, &app, &QCoreApplication::quit);
  });
  endpoint.SetActivateHandler([] { Say(QStringLiteral("activate")); });
  endpoint.SetPlaceBehindHandler(
      [](const QString& caller) { Say(QStringLiteral("behind ") + caller); });
  if (!endpoint.Claim(title)) {
    Say(QStringLiteral("error title taken"));
    return 1;
  }
  Say(QStringLiteral("ready"));

  // Never outlive the test or its bus.
  QTimer::singleShot(60000, &app, &QCoreApplication::quit);
  QTimer busWatch;
  QObject::connect(&busWatch, &QTimer::timeout, &app, [&app] {
    if (!QDBusConnection::sessionBus().isConnected()) app.quit();
  });
  busWatch.start(500);
  return app.exec();
}
