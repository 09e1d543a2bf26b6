#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>

namespace tolmar::suite {

// Calling side of an automation object: a D-Bus service named by the
// object's identifier. Methods are called by number; arguments are plain Qt
// values (int, bool, QString, QStringList, QList<int>, QVariantList) and come
// back updated, which is how out-arguments are returned.
class AutomationObject {
 public:
  static constexpr int kDefaultTimeoutMs = 30000;

  // Starts the service through D-Bus activation when it is not running.
  // Null when it cannot be reached; error then says why.
  static std::unique_ptr<AutomationObject> Create(
      const QString& identifier, QString* error = nullptr,
      QDBusConnection connection = QDBusConnection::sessionBus());
  // Only a running instance; null when none is running.
  static std::unique_ptr<AutomationObject> Attach(
      const QString& identifier, QDBusConnection connection = QDBusConnection::sessionBus());

  ~AutomationObject();
  AutomationObject(const AutomationObject&) = delete;
  AutomationObject& operator=(const AutomationObject&) = delete;

  // Calls method number `method`. On success result holds the method's
  // result and arguments the values the server left in them. False when the
  // call itself failed (object gone, unknown method, bad arguments, time
  // out); error then holds the reason.
  bool Invoke(int method, QVariantList& arguments, QVariant& result, QString* error = nullptr);
  // For methods whose result is a 32-bit code; -1 when the call failed.
  int InvokeForCode(int method, QVariantList& arguments, QString* error = nullptr);

  // Lets go of the object without asking the server to end; the service
  // keeps running for other callers.
  void Detach();
  bool IsAttached() const { return m_attached; }
  const QString& Identifier() const { return m_identifier; }
  void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

 private:
  AutomationObject(QString identifier, QDBusConnection connection);

  QString m_identifier;
  QDBusConnection m_connection;
  int m_timeoutMs = kDefaultTimeoutMs;
  bool m_attached = true;
};

// Registers the D-Bus types the automation layer sends (QList<int>).
void RegisterAutomationTypes();

}  // namespace tolmar::suite
