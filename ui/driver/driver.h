// Carries out the driver's actions, one JSON line each, on the real window.
#pragma once

#include <string>
#include <string_view>

#include "ui/driver/action.h"
#include "ui/driver/scripted_dialogs.h"
#include "common/problem.h"
#include "ui/main_window.h"

namespace orvalin {

class Driver {
 public:
  Driver(MainWindow& window, ScriptedDialogs& dialogs) : window_(window), dialogs_(dialogs) {}

  // Carries out one line. A line that is not a known action writes an error event and returns
  // false.
  bool Run(std::string_view line);

 private:
  // Nothing when done, else the error's text.
  Problem Act(const Action& action);
  Problem Set(const Action& action);
  Problem Click(const Action& action);
  Problem Get(const Action& action);
  Problem Dump(const Action& action);
  // The whole text of a field the layout names.
  std::string FieldText(std::string_view name) const;

  MainWindow& window_;
  ScriptedDialogs& dialogs_;
};

}  // namespace orvalin
