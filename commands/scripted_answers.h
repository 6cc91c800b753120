// Answers to the modal dialogs given in advance, used in order. A Yes/No box with none left gets
// its default button, No; an input box with none left is cancelled.
#pragma once

#include <deque>
#include <optional>
#include <string>

#include "commands/window.h"

namespace orvalin {

class ScriptedAnswers {
 public:
  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  // nullopt: the person presses Cancel.
  void QueueInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }

  // OK for an OK-only box.
  Answer AnswerTo(const MessageBox& box);
  std::optional<std::string> NextInput();

 private:
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> inputs_;
};

}  // namespace orvalin
