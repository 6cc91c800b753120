#include "commands/scripted_answers.h"

namespace orvalin {

Answer ScriptedAnswers::AnswerTo(const MessageBox& box) {
  if (box.buttons != Buttons::YesNo) return Answer::Ok;
  if (answers_.empty()) return Answer::No;
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::string> ScriptedAnswers::NextInput() {
  if (inputs_.empty()) return std::nullopt;
  std::optional<std::string> typed = std::move(inputs_.front());
  inputs_.pop_front();
  return typed;
}

}  // namespace orvalin
