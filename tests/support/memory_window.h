// A window held in memory: fields and captions in maps, scripted answers, a log of what the
// logic showed. Used by the tests, benchmarks and fuzz targets, which have no screen.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "commands/scripted_answers.h"
#include "commands/window.h"

namespace orvalin {

struct WindowEvent {
  enum class Kind { Beep, Message, Input };
  Kind kind = Kind::Beep;
  MessageBox box;                    // Message: what was shown; Input: prompt and title
  Answer answer = Answer::Ok;        // Message
  std::optional<std::string> input;  // Input: typed text, or nullopt when cancelled
};

class MemoryWindow : public Window {
 public:
  MemoryWindow();

  std::string FieldText(Field field) const override;
  void SetFieldText(Field field, std::string_view text) override;
  void SetCaption(std::string_view control, std::string_view caption) override;
  Language SelectedLanguage() const override { return language_; }
  Answer ShowMessage(const MessageBox& box) override;
  std::string InputBox(std::string_view prompt, std::string_view title) override;
  void Beep() override;
  std::chrono::year_month_day Today() const override { return today_; }

  // Scripting.
  void SetToday(std::chrono::year_month_day today) { today_ = today; }
  void SelectLanguage(Language language) { language_ = language; }
  void QueueAnswer(Answer answer) { answers_.QueueAnswer(answer); }
  void QueueInput(std::optional<std::string> text) { answers_.QueueInput(std::move(text)); }

  // What happened.
  std::string Caption(std::string_view control) const;
  const std::vector<WindowEvent>& events() const { return events_; }
  std::vector<std::string> MessageTexts() const;
  int BeepCount() const;
  void ClearEvents() { events_.clear(); }

 private:
  std::array<std::string, kFieldCount> fields_;
  std::map<std::string, std::string, std::less<>> captions_;
  Language language_ = Language::English;
  std::chrono::year_month_day today_{std::chrono::year{2024}, std::chrono::month{3},
                                     std::chrono::day{5}};
  ScriptedAnswers answers_;
  std::vector<WindowEvent> events_;
};

}  // namespace orvalin
