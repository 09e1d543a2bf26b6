#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QVariantList>
#include <map>

// The requests the stand-in server holds. Every command is accepted and
// finishes after a configurable delay with an empty answer; requests are
// known only to the peer that added them.
class RelayhouseService {
 public:
  static constexpr int kUnknownRequest = 2;
  static constexpr int kBadArguments = 3;

  explicit RelayhouseService(int finishDelayMs = 0) : m_finishDelayMs(finishDelayMs) {}

  // Method 2: (code, device, peer, 0, command, level, out, -1).
  QVariant AddCommand(QVariantList& arguments);
  // Method 6: (peer, request identifier, out).
  QVariant QueryCommand(QVariantList& arguments);

 private:
  struct Request {
    int code = 0;
    QString device;
    QString peer;
    QString commandText;
    QString level;
    QElapsedTimer age;
  };

  int m_finishDelayMs;
  long m_nextRequest = 1;
  std::map<QString, Request> m_requests;
};
