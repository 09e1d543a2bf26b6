#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <map>
#include <memory>

namespace tolmar::suite {

// Serving side of an automation object: claims the identifier as a D-Bus
// name and answers Invoke calls by method number. Used by the stand-ins of
// the outside components and by programs that serve their own object.
class AutomationServer {
 public:
  // Receives the arguments as plain Qt values and may change them (that is
  // how it fills out-arguments). An invalid result answers the caller with
  // a bad-arguments error.
  using Method = std::function<QVariant(QVariantList& arguments)>;

  explicit AutomationServer(QDBusConnection connection = QDBusConnection::sessionBus());
  ~AutomationServer();
  AutomationServer(const AutomationServer&) = delete;
  AutomationServer& operator=(const AutomationServer&) = delete;

  void AddMethod(int number, Method method);
  // Registers the object and claims the name; false when another process
  // holds the name or the bus is unavailable.
  bool Register(const QString& identifier, QString* error = nullptr);
  void Unregister();

 private:
  class Dispatcher;

  QDBusConnection m_connection;
  QString m_identifier;
  std::map<int, Method> m_methods;
  std::unique_ptr<Dispatcher> m_dispatcher;
};

}  // namespace tolmar::suite
