#pragma once

#include <QString>

#include "suite/RelayhouseConnection.h"
#include "suite/StringTable.h"
#include "suite/WaitClock.h"

namespace tolmar::suite {

// One command for the Relayhouse server.
struct RelayhouseCommand {
  int code = 0;
  QString device;
  QString peer;
  QString commandText;
  QString level;
};

struct RelayhouseOutcome {
  bool succeeded = false;
  QString answer;          // the server's answer text when it finished
  bool abandoned = false;  // the user stopped waiting
};

// What the user sees while a program waits for the server.
class RelayhousePrompts {
 public:
  virtual ~RelayhousePrompts() = default;
  virtual void ShowMessage(int messageId, const QString& text) = 0;
  // Yes/No question; true for Yes.
  virtual bool AskYesNo(int messageId, const QString& text) = 0;
  virtual void SetWaitCursor(bool /*on*/) {}
  // Lets the wait window handle pending input; true once the user has
  // cancelled.
  virtual bool ProcessEventsAndCheckCancelled() { return false; }
};

// The archive manager's rule: 10-second windows; an error result shows
// message 285; at the end of a window message 140 asks whether to go on, and
// "No" ends the wait as a success; a server that cannot be created shows
// message 286.
class ArchiveRelayhouseWait {
 public:
  static constexpr int kWindowSeconds = 10;
  static constexpr int kPollMs = 50;
  static constexpr int kCallErrorMessage = 285;
  static constexpr int kTimeoutQuestion = 140;
  static constexpr int kCreateFailedMessage = 286;

  ArchiveRelayhouseWait(RelayhouseFactory factory, RelayhousePrompts& prompts, WaitClock& clock,
                        const StringTable& strings);
  RelayhouseOutcome Run(const RelayhouseCommand& command, bool wait);

 private:
  RelayhouseFactory m_factory;
  RelayhousePrompts& m_prompts;
  WaitClock& m_clock;
  const StringTable& m_strings;
};

// The viewer's rule: 20-second windows with a cancellable wait window;
// messages 352 (no server), 353 (error result) and 354 (go on waiting?);
// cancelling or "No" fails the command.
class ViewerRelayhouseWait {
 public:
  static constexpr int kWindowSeconds = 20;
  static constexpr int kPollMs = 50;
  static constexpr int kCreateFailedMessage = 352;
  static constexpr int kCallErrorMessage = 353;
  static constexpr int kTimeoutQuestion = 354;

  ViewerRelayhouseWait(RelayhouseFactory factory, RelayhousePrompts& prompts, WaitClock& clock,
                       const StringTable& strings);
  RelayhouseOutcome Run(const RelayhouseCommand& command);

 private:
  RelayhouseFactory m_factory;
  RelayhousePrompts& m_prompts;
  WaitClock& m_clock;
  const StringTable& m_strings;
};

}  // namespace tolmar::suite
