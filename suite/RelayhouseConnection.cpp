#include "suite/RelayhouseConnection.h"

#include "suite/AutomationObject.h"

namespace tolmar::suite {
namespace {

class DBusRelayhouse : public RelayhouseConnection {
 public:
  explicit DBusRelayhouse(std::unique_ptr<AutomationObject> object) : m_object(std::move(object)) {}

  int AddCommand(int code, const QString& device, const QString& peer, const QString& commandText,
                 const QString& level, QString& out) override {
    QVariantList arguments{code, device, peer, 0, commandText, level, QString(), -1};
    return Call(kAddCommandMethod, arguments, 6, out);
  }

  int QueryCommand(const QString& peer, const QString& requestId, QString& out) override {
    QVariantList arguments{peer, requestId, QString()};
    return Call(kQueryCommandMethod, arguments, 2, out);
  }

 private:
  int Call(int method, QVariantList& arguments, qsizetype outIndex, QString& out) {
    QString error;
    QVariant result;
    if (!m_object->Invoke(method, arguments, result, &error)) {
      out = error;
      return kCallFailed;
    }
    out = arguments.value(outIndex).toString();
    bool ok = false;
    const int code = result.toInt(&ok);
    if (!ok) {
      out = QStringLiteral("the server answered without a result code");
      return kCallFailed;
    }
    return code;
  }

  std::unique_ptr<AutomationObject> m_object;
};

}  // namespace

std::unique_ptr<RelayhouseConnection> CreateRelayhouseConnection() {
  std::unique_ptr<AutomationObject> object =
      AutomationObject::Create(RelayhouseConnection::kIdentifier);
  if (!object) return nullptr;
  return std::make_unique<DBusRelayhouse>(std::move(object));
}

}  // namespace tolmar::suite
