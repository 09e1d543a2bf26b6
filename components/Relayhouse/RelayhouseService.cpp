#include "RelayhouseService.h"

namespace {

constexpr std::size_t kMaxRequests = 10000;

bool IsInt(const QVariant& value) { return value.userType() == QMetaType::Int; }

bool IsText(const QVariant& value) { return value.userType() == QMetaType::QString; }

}  // namespace

QVariant RelayhouseService::AddCommand(QVariantList& arguments) {
  if (arguments.size() != 8 || !IsInt(arguments[0]) || !IsText(arguments[1]) ||
      !IsText(arguments[2]) || !IsText(arguments[4]) || !IsText(arguments[5]))
    return {};
  if (m_requests.size() >= kMaxRequests) {
    arguments[6] = QStringLiteral("too many open requests");
    return kBadArguments;
  }
  Request request;
  request.code = arguments[0].toInt();
  request.device = arguments[1].toString();
  request.peer = arguments[2].toString();
  request.commandText = arguments[4].toString();
  request.level = arguments[5].toString();
  request.age.start();
  const QString id = QString::number(m_nextRequest++);
  m_requests.emplace(id, std::move(request));
  arguments[6] = id;
  return 0;
}

QVariant RelayhouseService::QueryCommand(QVariantList& arguments) {
  if (arguments.size() != 3 || !IsText(arguments[0]) || !IsText(arguments[1])) return {};
  const auto it = m_requests.find(arguments[1].toString());
  if (it == m_requests.end() || it->second.peer != arguments[0].toString()) {
    arguments[2] = QStringLiteral("unknown request %1").arg(arguments[1].toString());
    return kUnknownRequest;
  }
  if (it->second.age.elapsed() < m_finishDelayMs) {
    arguments[2] = QString();
    return 1;
  }
  arguments[2] = QString();
  m_requests.erase(it);
  return 0;
}
