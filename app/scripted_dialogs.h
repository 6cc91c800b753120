// The driver's dialogs: answers come from queues filled by the script, and everything shown is
// written out as an event.
#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>

#include "ui/dialogs.h"

namespace orvalin {

class ScriptedDialogs : public Dialogs {
 public:
  // Without `today`, the real local date.
  explicit ScriptedDialogs(std::optional<std::chrono::year_month_day> today) : today_(today) {}

  Answer Message(QWidget* parent, const MessageBox& box) override;
  std::string Input(QWidget* parent, std::string_view prompt, std::string_view title) override;
  void Beep() override;
  std::chrono::year_month_day Today() override;

  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  // nullopt: the person presses Cancel.
  void QueueInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }

 private:
  std::optional<std::chrono::year_month_day> today_;
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> inputs_;
};

}  // namespace orvalin
