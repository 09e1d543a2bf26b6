#include "suite/AutomationObject.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>

#include "suite/AutomationProtocol.h"

namespace tolmar::suite {

void RegisterAutomationTypes() {
  static const bool registered = [] {
    qDBusRegisterMetaType<QList<int>>();
    return true;
  }();
  (void)registered;
}

AutomationObject::AutomationObject(QString identifier, QDBusConnection connection)
    : m_identifier(std::move(identifier)), m_connection(std::move(connection)) {}

AutomationObject::~AutomationObject() = default;

std::unique_ptr<AutomationObject> AutomationObject::Create(const QString& identifier,
                                                           QString* error,
                                                           QDBusConnection connection) {
  RegisterAutomationTypes();
  if (!connection.isConnected()) {
    if (error) *error = QStringLiteral("no session bus");
    return nullptr;
  }
  QDBusConnectionInterface* bus = connection.interface();
  if (!bus) {
    if (error) *error = QStringLiteral("no bus interface");
    return nullptr;
  }
  const QDBusReply<bool> running = bus->isServiceRegistered(identifier);
  if (!running.isValid() || !running.value()) {
    const QDBusReply<void> started = bus->startService(identifier);
    if (!started.isValid()) {
      if (error) *error = started.error().message();
      return nullptr;
    }
  }
  return std::unique_ptr<AutomationObject>(new AutomationObject(identifier, connection));
}

std::unique_ptr<AutomationObject> AutomationObject::Attach(const QString& identifier,
                                                           QDBusConnection connection) {
  RegisterAutomationTypes();
  if (!connection.isConnected() || !connection.interface()) return nullptr;
  const QDBusReply<bool> running = connection.interface()->isServiceRegistered(identifier);
  if (!running.isValid() || !running.value()) return nullptr;
  return std::unique_ptr<AutomationObject>(new AutomationObject(identifier, connection));
}

bool AutomationObject::Invoke(int method, QVariantList& arguments, QVariant& result,
                              QString* error) {
  if (!m_attached) {
    if (error) *error = QStringLiteral("the object has been detached");
    return false;
  }
  QDBusMessage call =
      QDBusMessage::createMethodCall(m_identifier, AutomationProtocol::kObjectPath,
                                     AutomationProtocol::kInterface, AutomationProtocol::kInvoke);
  // The service was started when the object was created; a vanished
  // server is an error, not a reason to start a new one silently.
  call.setAutoStartService(false);
  QVariantList sent;
  sent.reserve(arguments.size());
  for (const QVariant& argument : arguments) sent.append(ToDBusValue(argument));
  call << method << QVariant::fromValue(sent);

  const QDBusMessage reply = m_connection.call(call, QDBus::Block, m_timeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage) {
    if (error) *error = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    return false;
  }
  const QVariantList values = reply.arguments();
  if (values.size() != 2) {
    if (error) *error = QStringLiteral("malformed reply");
    return false;
  }
  const QVariantList returned = FromDBusValue(values[1]).toList();
  if (returned.size() != arguments.size()) {
    if (error) *error = QStringLiteral("the reply changed the number of arguments");
    return false;
  }
  result = FromDBusValue(values[0]);
  arguments = returned;
  return true;
}

int AutomationObject::InvokeForCode(int method, QVariantList& arguments, QString* error) {
  QVariant result;
  if (!Invoke(method, arguments, result, error)) return -1;
  bool ok = false;
  const int code = result.toInt(&ok);
  if (!ok) {
    if (error) *error = QStringLiteral("the result is not a number");
    return -1;
  }
  return code;
}

void AutomationObject::Detach() { m_attached = false; }

}  // namespace tolmar::suite
