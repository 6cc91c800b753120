#include "tests/support/memory_window.h"

namespace orvalin {

// Every field holds what a new window's fields hold.
MemoryWindow::MemoryWindow() { fields_.fill("Text1"); }

std::string MemoryWindow::FieldText(Field field) const {
  return fields_[static_cast<std::size_t>(field)];
}

void MemoryWindow::SetFieldText(Field field, std::string_view text) {
  fields_[static_cast<std::size_t>(field)] = text;
}

void MemoryWindow::SetCaption(std::string_view control, std::string_view caption) {
  captions_.insert_or_assign(std::string(control), std::string(caption));
}

std::string MemoryWindow::Caption(std::string_view control) const {
  const auto it = captions_.find(control);
  return it == captions_.end() ? std::string() : it->second;
}

Answer MemoryWindow::ShowMessage(const MessageBox& box) {
  const Answer answer = answers_.AnswerTo(box);
  events_.push_back({WindowEvent::Kind::Message, box, answer, std::nullopt});
  return answer;
}

std::string MemoryWindow::InputBox(std::string_view prompt, std::string_view title) {
  std::optional<std::string> typed = answers_.NextInput();
  events_.push_back({WindowEvent::Kind::Input,
                     MessageBox{.text = std::string(prompt), .title = std::string(title)},
                     Answer::Ok, typed});
  return typed.value_or(std::string());
}

void MemoryWindow::Beep() { events_.push_back({}); }

std::vector<std::string> MemoryWindow::MessageTexts() const {
  std::vector<std::string> texts;
  for (const auto& e : events_) {
    if (e.kind == WindowEvent::Kind::Message) texts.push_back(e.box.text);
  }
  return texts;
}

int MemoryWindow::BeepCount() const {
  int n = 0;
  for (const auto& e : events_) n += e.kind == WindowEvent::Kind::Beep ? 1 : 0;
  return n;
}

}  // namespace orvalin
