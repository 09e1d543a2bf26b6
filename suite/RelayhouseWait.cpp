#include "suite/RelayhouseWait.h"

namespace tolmar::suite {
namespace {

class WaitCursor {
 public:
  explicit WaitCursor(RelayhousePrompts& prompts) : m_prompts(prompts) {
    m_prompts.SetWaitCursor(true);
  }
  ~WaitCursor() { m_prompts.SetWaitCursor(false); }

 private:
  RelayhousePrompts& m_prompts;
};

void ShowCallError(RelayhousePrompts& prompts, const StringTable& strings, int messageId, int code,
                   const QString& text) {
  prompts.ShowMessage(messageId, strings.Format(messageId, {QString::number(code), text}));
}

}  // namespace

ArchiveRelayhouseWait::ArchiveRelayhouseWait(RelayhouseFactory factory, RelayhousePrompts& prompts,
                                             WaitClock& clock, const StringTable& strings)
    : m_factory(std::move(factory)), m_prompts(prompts), m_clock(clock), m_strings(strings) {}

RelayhouseOutcome ArchiveRelayhouseWait::Run(const RelayhouseCommand& command, bool wait) {
  WaitCursor cursor(m_prompts);
  RelayhouseOutcome outcome;
  std::unique_ptr<RelayhouseConnection> server = m_factory ? m_factory() : nullptr;
  if (!server) {
    m_prompts.ShowMessage(kCreateFailedMessage, m_strings.Text(kCreateFailedMessage));
    return outcome;
  }
  QString requestId;
  const int added = server->AddCommand(command.code, command.device, command.peer,
                                       command.commandText, command.level, requestId);
  if (added != 0) {
    ShowCallError(m_prompts, m_strings, kCallErrorMessage, added, requestId);
    return outcome;
  }
  if (!wait) {
    outcome.succeeded = true;
    return outcome;
  }
  for (;;) {
    const std::int64_t windowStart = m_clock.WholeSeconds();
    while (m_clock.WholeSeconds() - windowStart < kWindowSeconds) {
      m_clock.Sleep(kPollMs);
      QString text;
      const int state = server->QueryCommand(command.peer, requestId, text);
      if (state == RelayhouseConnection::kFinished) {
        outcome.succeeded = true;
        outcome.answer = text;
        return outcome;
      }
      if (state != RelayhouseConnection::kInProgress) {
        ShowCallError(m_prompts, m_strings, kCallErrorMessage, state, text);
        return outcome;
      }
    }
    if (!m_prompts.AskYesNo(kTimeoutQuestion, m_strings.Text(kTimeoutQuestion))) {
      // The command stays queued on the server; the archive manager
      // goes on as if it had finished.
      outcome.succeeded = true;
      outcome.abandoned = true;
      return outcome;
    }
  }
}

ViewerRelayhouseWait::ViewerRelayhouseWait(RelayhouseFactory factory, RelayhousePrompts& prompts,
                                           WaitClock& clock, const StringTable& strings)
    : m_factory(std::move(factory)), m_prompts(prompts), m_clock(clock), m_strings(strings) {}

RelayhouseOutcome ViewerRelayhouseWait::Run(const RelayhouseCommand& command) {
  RelayhouseOutcome outcome;
  std::unique_ptr<RelayhouseConnection> server = m_factory ? m_factory() : nullptr;
  if (!server) {
    m_prompts.ShowMessage(kCreateFailedMessage, m_strings.Text(kCreateFailedMessage));
    return outcome;
  }
  QString requestId;
  const int added = server->AddCommand(command.code, command.device, command.peer,
                                       command.commandText, command.level, requestId);
  if (added != 0) {
    ShowCallError(m_prompts, m_strings, kCallErrorMessage, added, requestId);
    return outcome;
  }
  for (;;) {
    const std::int64_t periodStart = m_clock.WholeSeconds();
    int state = RelayhouseConnection::kInProgress;
    QString text;
    do {
      if (m_prompts.ProcessEventsAndCheckCancelled()) {
        outcome.abandoned = true;
        return outcome;
      }
      m_clock.Sleep(kPollMs);
      state = server->QueryCommand(command.peer, requestId, text);
    } while (state == RelayhouseConnection::kInProgress &&
             m_clock.WholeSeconds() - periodStart < kWindowSeconds);

    if (state == RelayhouseConnection::kFinished) {
      outcome.succeeded = true;
      outcome.answer = text;
      return outcome;
    }
    if (state != RelayhouseConnection::kInProgress) {
      ShowCallError(m_prompts, m_strings, kCallErrorMessage, state, text);
      return outcome;
    }
    if (!m_prompts.AskYesNo(kTimeoutQuestion, m_strings.Text(kTimeoutQuestion))) {
      outcome.abandoned = true;
      return outcome;
    }
  }
}

}  // namespace tolmar::suite
