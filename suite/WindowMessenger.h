#pragma once

#include <QDBusConnection>
#include <QString>
#include <functional>
#include <memory>

namespace tolmar::suite {

// Programs find a running sibling by its window title (the titles are kept
// in "General": "StowmarkName", "ReporterName", ...). Each program owns a
// D-Bus name derived from its title and receives command numbers there.

// The bus name of a window title. Titles may hold any character, so the name
// carries the title's UTF-8 bytes in hexadecimal (or a digest of a long title).
QString WindowBusName(const QString& title);

namespace WindowProtocol {
inline const QString kObjectPath = QStringLiteral("/TolmarPacs/Window");
inline const QString kInterface = QStringLiteral("TolmarPacs.Window");
inline const QString kCommand = QStringLiteral("Command");    // (i): a command number
inline const QString kActivate = QStringLiteral("Activate");  // (): restore and come forward
// (s): restore when minimised and go directly behind the caller's window
// (named by its title) without moving or resizing.
inline const QString kPlaceBehind = QStringLiteral("PlaceBehind");
}  // namespace WindowProtocol

// Receiving side: one per program window. Callbacks run on the thread that
// owns the connection's event dispatch (the user-interface thread).
class WindowEndpoint {
 public:
  using CommandHandler = std::function<void(int command)>;
  using ActivateHandler = std::function<void()>;
  using PlaceBehindHandler = std::function<void(const QString& callerTitle)>;

  explicit WindowEndpoint(QDBusConnection connection = QDBusConnection::sessionBus());
  ~WindowEndpoint();
  WindowEndpoint(const WindowEndpoint&) = delete;
  WindowEndpoint& operator=(const WindowEndpoint&) = delete;

  void SetCommandHandler(CommandHandler handler) { m_onCommand = std::move(handler); }
  void SetActivateHandler(ActivateHandler handler) { m_onActivate = std::move(handler); }
  void SetPlaceBehindHandler(PlaceBehindHandler handler) { m_onPlaceBehind = std::move(handler); }

  // Claims the title's name; false when another window has it.
  bool Claim(const QString& title);
  void Release();

 private:
  class Receiver;

  QDBusConnection m_connection;
  QString m_busName;
  CommandHandler m_onCommand;
  ActivateHandler m_onActivate;
  PlaceBehindHandler m_onPlaceBehind;
  std::unique_ptr<Receiver> m_receiver;
};

// Calling side.
class WindowMessenger {
 public:
  static constexpr int kSendTimeoutMs = 10000;

  explicit WindowMessenger(QDBusConnection connection = QDBusConnection::sessionBus());

  // True when a window with that title is running.
  bool Find(const QString& title) const;
  // Delivers the command and waits until the receiver has handled it.
  bool SendCommand(const QString& title, int command) const;
  // Delivers the command without waiting.
  bool PostCommand(const QString& title, int command) const;
  // Asks the window to restore itself and come forward.
  bool Activate(const QString& title) const;
  // Asks the window to restore itself and go behind the window callerTitle.
  bool PlaceBehind(const QString& title, const QString& callerTitle) const;

 private:
  QDBusConnection m_connection;
};

}  // namespace tolmar::suite
