#include "ui/driver/scripted_dialogs.h"

#include "ui/driver/json_line.h"

namespace orvalin {
namespace {

std::string_view AnswerName(Answer answer) {
  switch (answer) {
    case Answer::Ok:
      return "ok";
    case Answer::Yes:
      return "yes";
    case Answer::No:
      return "no";
  }
  return "ok";
}

}  // namespace

Answer ScriptedDialogs::Message(QWidget*, const MessageBox& box) {
  const Answer answer = answers_.AnswerTo(box);
  Emit(JsonLine()
           .Text("message", box.text)
           .Text("title", box.title)
           .Text("buttons", box.buttons == Buttons::YesNo ? "yesno" : "ok")
           .Text("icon", box.icon == Icon::Critical ? "critical" : "none")
           .Text("answer", AnswerName(answer)));
  return answer;
}

std::string ScriptedDialogs::Input(QWidget*, std::string_view prompt, std::string_view title) {
  const std::optional<std::string> typed = answers_.NextInput();
  JsonLine event;
  event.Text("inputbox", prompt).Text("title", title);
  if (typed) {
    event.Text("answer", *typed);
  } else {
    event.Null("answer");
  }
  Emit(event);
  return typed.value_or(std::string());
}

void ScriptedDialogs::Beep() { Emit(JsonLine().Flag("beep", true)); }

std::chrono::year_month_day ScriptedDialogs::Today() {
  return today_ ? *today_ : QtDialogs().Today();
}

}  // namespace orvalin
