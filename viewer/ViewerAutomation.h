#pragma once

#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>

namespace tolmar::suite {
class AutomationServer;
}

namespace tolmar::viewer {

// What the viewer does for the callers of its automation object.
class ViewerAutomationHandler {
 public:
  virtual ~ViewerAutomationHandler() = default;
  virtual void SetPatient(const QString& folderText, const QString& studyUid) = 0;
  virtual void LoadImages(const QString& folderText, const QString& level,
                          const QString& objectText) = 0;
  // Shows the main window restored and brings it forward.
  virtual void ShowWindow() = 0;
};

// The viewer's own automation object "TolmarPacs.Pictorium": method 7
// SetPatient (folder text, study UID), method 5 LoadImagesC (folder text,
// level, object text), method 6 LoadImagesD (folder text, level, array of
// object texts) and method 1 (show the window). Each answers 0 when done.
class ViewerAutomation {
 public:
  static inline const QString kIdentifier = QStringLiteral("TolmarPacs.Pictorium");
  static constexpr int kShow = 1;
  static constexpr int kLoadImagesC = 5;
  static constexpr int kLoadImagesD = 6;
  static constexpr int kSetPatient = 7;
  // Answer of a load that names no object: nothing was asked of the loader.
  static constexpr int kNothingToLoad = 1;

  explicit ViewerAutomation(ViewerAutomationHandler& handler);
  ~ViewerAutomation();
  ViewerAutomation(const ViewerAutomation&) = delete;
  ViewerAutomation& operator=(const ViewerAutomation&) = delete;

  // One method call as the bus delivers it; an invalid result means the
  // arguments do not fit the method (the caller gets a bad-arguments error).
  QVariant Answer(int method, const QVariantList& arguments);

  // Serves the object on the bus; false when the bus is missing or another
  // viewer already serves it (that viewer then answers the callers).
  bool Register(QDBusConnection connection = QDBusConnection::sessionBus(),
                QString* error = nullptr);
  bool IsRegistered() const { return m_registered; }

  // The object texts of LoadImagesD joined into one object text; a single
  // text stands for itself. Empty when the value holds no text.
  static QString JoinObjectTexts(const QVariant& texts);

 private:
  ViewerAutomationHandler& m_handler;
  std::unique_ptr<suite::AutomationServer> m_server;
  bool m_registered = false;
};

// The switch the D-Bus activation file puts on the viewer's command line.
inline const QString kAutomationSwitch = QStringLiteral("-Automation");
// True when the command line holds "-Automation" or "/Automation" (any case).
bool HasAutomationSwitch(const QStringList& arguments);
QStringList WithoutAutomationSwitch(const QStringList& arguments);

}  // namespace tolmar::viewer
