// Serves "TolmarPacs.Pictorium" through the viewer's automation object and a
// stand-in "TolmarPacs.Reporter", printing every call it gets, one per line,
// so a test in another process sees what reached the other side.
#include <QCoreApplication>
#include <QStringList>
#include <QTimer>
#include <cstdio>

#include "suite/AutomationServer.h"
#include "viewer/ViewerAutomation.h"

namespace {

void Print(const QStringList& parts) {
  std::printf("%s\n", parts.join(u'|').toUtf8().constData());
  std::fflush(stdout);
}

class PrintingHandler : public tolmar::viewer::ViewerAutomationHandler {
 public:
  void SetPatient(const QString& folderText, const QString& studyUid) override {
    Print({"SetPatient", folderText, studyUid});
  }
  void LoadImages(const QString& folderText, const QString& level,
                  const QString& objectText) override {
    Print({"LoadImages", folderText, level, objectText});
  }
  void ShowWindow() override { Print({"Show"}); }
};

QString Texts(const QVariantList& arguments) {
  QStringList texts;
  for (const QVariant& argument : arguments) texts << argument.toString();
  return texts.join(u',');
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  PrintingHandler handler;
  tolmar::viewer::ViewerAutomation viewer(handler);
  QDBusConnection bus =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("reporter"));
  tolmar::suite::AutomationServer reporter(bus);
  for (const int method : {1, 2, 7}) {
    reporter.AddMethod(method, [method](QVariantList& arguments) {
      Print({"Reporter", QString::number(method), Texts(arguments)});
      return QVariant(0);
    });
  }
  QString error;
  if (!viewer.Register(QDBusConnection::sessionBus(), &error) ||
      !reporter.Register(QStringLiteral("TolmarPacs.Reporter"), &error)) {
    std::fprintf(stderr, "peer: %s\n", qPrintable(error));
    return 1;
  }
  Print({"ready"});
  // Ends with its bus or after a minute, so no test leaves it behind.
  QTimer::singleShot(60000, &app, &QCoreApplication::quit);
  return app.exec();
}
