#include "suite/WindowMessenger.h"

#include <QCryptographicHash>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVirtualObject>

namespace tolmar::suite {
namespace {

constexpr qsizetype kMaxTitleBytesInName = 100;

QDBusMessage WindowCall(const QString& title, const QString& member) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      WindowBusName(title), WindowProtocol::kObjectPath, WindowProtocol::kInterface, member);
  call.setAutoStartService(false);
  return call;
}

}  // namespace

QString WindowBusName(const QString& title) {
  QByteArray bytes = title.toUtf8();
  if (bytes.size() > kMaxTitleBytesInName)
    bytes = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
  return QStringLiteral("TolmarPacs.Window.T") + QString::fromLatin1(bytes.toHex());
}

class WindowEndpoint::Receiver : public QDBusVirtualObject {
 public:
  explicit Receiver(WindowEndpoint& owner) : m_owner(owner) {}

  QString introspect(const QString&) const override {
    return QStringLiteral(
               "<interface name=\"%1\"><method name=\"%2\"><arg name=\"command\" type=\"i\" "
               "direction=\"in\"/></method>"
               "<method name=\"%3\"/><method name=\"%4\"><arg name=\"caller\" type=\"s\" "
               "direction=\"in\"/></method></interface>")
        .arg(WindowProtocol::kInterface, WindowProtocol::kCommand, WindowProtocol::kActivate,
             WindowProtocol::kPlaceBehind);
  }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.interface() != WindowProtocol::kInterface) return false;
    if (message.member() == WindowProtocol::kCommand) {
      const QVariantList in = message.arguments();
      if (in.size() != 1 || in[0].userType() != QMetaType::Int) {
        connection.send(
            message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("Command takes (i)")));
        return true;
      }
      if (m_owner.m_onCommand) m_owner.m_onCommand(in[0].toInt());
    } else if (message.member() == WindowProtocol::kActivate) {
      if (m_owner.m_onActivate) m_owner.m_onActivate();
    } else if (message.member() == WindowProtocol::kPlaceBehind) {
      const QVariantList in = message.arguments();
      if (in.size() != 1 || in[0].userType() != QMetaType::QString) {
        connection.send(message.createErrorReply(QDBusError::InvalidArgs,
                                                 QStringLiteral("PlaceBehind takes (s)")));
        return true;
      }
      if (m_owner.m_onPlaceBehind) m_owner.m_onPlaceBehind(in[0].toString());
    } else {
      return false;
    }
    if (!message.isReplyRequired()) return true;
    connection.send(message.createReply());
    return true;
  }

 private:
  WindowEndpoint& m_owner;
};

WindowEndpoint::WindowEndpoint(QDBusConnection connection) : m_connection(std::move(connection)) {}

WindowEndpoint::~WindowEndpoint() { Release(); }

bool WindowEndpoint::Claim(const QString& title) {
  Release();
  if (!m_connection.isConnected()) return false;
  m_receiver = std::make_unique<Receiver>(*this);
  if (!m_connection.registerVirtualObject(WindowProtocol::kObjectPath, m_receiver.get(),
                                          QDBusConnection::SingleNode)) {
    m_receiver.reset();
    return false;
  }
  const QString name = WindowBusName(title);
  if (!m_connection.registerService(name)) {
    m_connection.unregisterObject(WindowProtocol::kObjectPath);
    m_receiver.reset();
    return false;
  }
  m_busName = name;
  return true;
}

void WindowEndpoint::Release() {
  if (!m_receiver) return;
  m_connection.unregisterService(m_busName);
  m_connection.unregisterObject(WindowProtocol::kObjectPath);
  m_receiver.reset();
  m_busName.clear();
}

WindowMessenger::WindowMessenger(QDBusConnection connection)
    : m_connection(std::move(connection)) {}

bool WindowMessenger::Find(const QString& title) const {
  if (!m_connection.isConnected() || !m_connection.interface()) return false;
  const QDBusReply<bool> reply =
      m_connection.interface()->isServiceRegistered(WindowBusName(title));
  return reply.isValid() && reply.value();
}

bool WindowMessenger::SendCommand(const QString& title, int command) const {
  QDBusMessage call = WindowCall(title, WindowProtocol::kCommand);
  call << command;
  return m_connection.call(call, QDBus::Block, kSendTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

bool WindowMessenger::PostCommand(const QString& title, int command) const {
  if (!Find(title)) return false;
  QDBusMessage call = WindowCall(title, WindowProtocol::kCommand);
  call << command;
  return m_connection.send(call);
}

bool WindowMessenger::Activate(const QString& title) const {
  return m_connection
             .call(WindowCall(title, WindowProtocol::kActivate), QDBus::Block, kSendTimeoutMs)
             .type() == QDBusMessage::ReplyMessage;
}

bool WindowMessenger::PlaceBehind(const QString& title, const QString& callerTitle) const {
  QDBusMessage call = WindowCall(title, WindowProtocol::kPlaceBehind);
  call << callerTitle;
  return m_connection.call(call, QDBus::Block, kSendTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

}  // namespace tolmar::suite
