#include "suite/AutomationServer.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>

#include "suite/AutomationObject.h"
#include "suite/AutomationProtocol.h"

namespace tolmar::suite {

class AutomationServer::Dispatcher : public QDBusVirtualObject {
 public:
  explicit Dispatcher(std::map<int, Method>& methods) : m_methods(methods) {}

  QString introspect(const QString&) const override {
    return QStringLiteral(
               "<interface name=\"%1\"><method name=\"%2\">"
               "<arg name=\"method\" type=\"i\" direction=\"in\"/>"
               "<arg name=\"arguments\" type=\"av\" direction=\"in\"/>"
               "<arg name=\"result\" type=\"v\" direction=\"out\"/>"
               "<arg name=\"arguments\" type=\"av\" direction=\"out\"/>"
               "</method></interface>")
        .arg(AutomationProtocol::kInterface, AutomationProtocol::kInvoke);
  }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.interface() != AutomationProtocol::kInterface ||
        message.member() != AutomationProtocol::kInvoke)
      return false;
    const QVariantList in = message.arguments();
    if (in.size() != 2 || !in[0].canConvert<int>()) {
      connection.send(message.createErrorReply(AutomationProtocol::kBadArgumentsError,
                                               QStringLiteral("Invoke takes (i, av)")));
      return true;
    }
    const int number = in[0].toInt();
    const auto it = m_methods.find(number);
    if (it == m_methods.end()) {
      connection.send(message.createErrorReply(AutomationProtocol::kUnknownMethodError,
                                               QStringLiteral("no method %1").arg(number)));
      return true;
    }
    QVariantList arguments = FromDBusValue(in[1]).toList();
    const QVariant result = it->second(arguments);
    if (!result.isValid()) {
      connection.send(message.createErrorReply(
          AutomationProtocol::kBadArgumentsError,
          QStringLiteral("method %1 does not take these arguments").arg(number)));
      return true;
    }
    QVariantList out;
    for (const QVariant& argument : arguments) out.append(ToDBusValue(argument));
    connection.send(message.createReply(
        {QVariant::fromValue(QDBusVariant(ToDBusValue(result))), QVariant::fromValue(out)}));
    return true;
  }

 private:
  std::map<int, Method>& m_methods;
};

AutomationServer::AutomationServer(QDBusConnection connection)
    : m_connection(std::move(connection)) {
  RegisterAutomationTypes();
}

AutomationServer::~AutomationServer() { Unregister(); }

void AutomationServer::AddMethod(int number, Method method) {
  m_methods[number] = std::move(method);
}

bool AutomationServer::Register(const QString& identifier, QString* error) {
  if (!m_connection.isConnected()) {
    if (error) *error = QStringLiteral("no session bus");
    return false;
  }
  m_dispatcher = std::make_unique<Dispatcher>(m_methods);
  if (!m_connection.registerVirtualObject(AutomationProtocol::kObjectPath, m_dispatcher.get(),
                                          QDBusConnection::SingleNode)) {
    if (error) *error = m_connection.lastError().message();
    m_dispatcher.reset();
    return false;
  }
  if (!m_connection.registerService(identifier)) {
    if (error) *error = QStringLiteral("the name %1 is taken").arg(identifier);
    m_connection.unregisterObject(AutomationProtocol::kObjectPath);
    m_dispatcher.reset();
    return false;
  }
  m_identifier = identifier;
  return true;
}

void AutomationServer::Unregister() {
  if (!m_dispatcher) return;
  if (!m_identifier.isEmpty()) m_connection.unregisterService(m_identifier);
  m_connection.unregisterObject(AutomationProtocol::kObjectPath);
  m_dispatcher.reset();
  m_identifier.clear();
}

}  // namespace tolmar::suite
