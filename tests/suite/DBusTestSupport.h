#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <functional>

// Waits, handling events, until condition holds or timeoutMs has passed.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
  QDeadlineTimer deadline(timeoutMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(20);
  }
  return true;
}

// The peer process of the D-Bus tests, stopped by its own handle at the end.
class PeerProcess {
 public:
  explicit PeerProcess(const QString& title) {
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(QStringLiteral(TOLMAR_DBUS_PEER), {title});
  }
  ~PeerProcess() {
    if (m_process.state() != QProcess::NotRunning) {
      m_process.terminate();
      if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
      }
    }
  }
  // Next line of the peer's output, or empty after timeoutMs.
  QString ReadLine(int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
      if (deadline.hasExpired() || !m_process.waitForReadyRead(static_cast<int>(
                                       std::max<qint64>(1, deadline.remainingTime()))))
        break;
    }
    return m_process.canReadLine() ? QString::fromUtf8(m_process.readLine()).trimmed() : QString();
  }
  QProcess& Process() { return m_process; }

 private:
  QProcess m_process;
};
