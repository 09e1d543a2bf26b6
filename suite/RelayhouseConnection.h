#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace tolmar::suite {

// The two methods of the Relayhouse server ("TolmarPacs.Relayhouse").
class RelayhouseConnection {
 public:
  static inline const QString kIdentifier = QStringLiteral("TolmarPacs.Relayhouse");
  static constexpr int kAddCommandMethod = 2;
  static constexpr int kQueryCommandMethod = 6;
  // QueryCommand results.
  static constexpr int kFinished = 0;
  static constexpr int kInProgress = 1;
  // Our own code for a call that never reached the server's method (the
  // object vanished or timed out); the text says why.
  static constexpr int kCallFailed = -1;

  virtual ~RelayhouseConnection() = default;

  // 0: queued, out holds the request identifier; else an error code and out
  // its explanation.
  virtual int AddCommand(int code, const QString& device, const QString& peer,
                         const QString& commandText, const QString& level, QString& out) = 0;
  // 0: finished, out holds the answer; 1: in progress; else an error code.
  virtual int QueryCommand(const QString& peer, const QString& requestId, QString& out) = 0;
};

// Creates the server object for one command; null when it cannot be created.
using RelayhouseFactory = std::function<std::unique_ptr<RelayhouseConnection>()>;

// The real server on the session bus.
std::unique_ptr<RelayhouseConnection> CreateRelayhouseConnection();

}  // namespace tolmar::suite
