// Where the window's modal dialogs, its beep and its clock come from. The desktop program uses
// the toolkit's; the driver replaces them with scripted ones.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "commands/window.h"

class QWidget;

namespace orvalin {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual Answer Message(QWidget* parent, const MessageBox& box) = 0;
  // The confirmed text, or "" when cancelled.
  virtual std::string Input(QWidget* parent, std::string_view prompt, std::string_view title) = 0;
  virtual void Beep() = 0;
  virtual std::chrono::year_month_day Today() = 0;
};

class QtDialogs : public Dialogs {
 public:
  Answer Message(QWidget* parent, const MessageBox& box) override;
  std::string Input(QWidget* parent, std::string_view prompt, std::string_view title) override;
  void Beep() override;
  std::chrono::year_month_day Today() override;
};

}  // namespace orvalin
