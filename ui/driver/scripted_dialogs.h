// The driver's dialogs: answers come from queues filled by the script, and everything shown is
// written out as an event.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "commands/scripted_answers.h"
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

  void QueueAnswer(Answer answer) { answers_.QueueAnswer(answer); }
  // nullopt: the person presses Cancel.
  void QueueInput(std::optional<std::string> text) { answers_.QueueInput(std::move(text)); }

 private:
  std::optional<std::chrono::year_month_day> today_;
  ScriptedAnswers answers_;
};

}  // namespace orvalin
