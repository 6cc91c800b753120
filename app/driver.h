// Carries out the driver's actions, one JSON line each, on the real window.
#pragma once

#include <string>
#include <string_view>

#include "app/scripted_dialogs.h"
#include "ui/form1.h"

class QJsonObject;

namespace orvalin {

class Driver {
 public:
  Driver(Form1& window, ScriptedDialogs& dialogs) : window_(window), dialogs_(dialogs) {}

  // Carries out one line. A line that is not a known action writes an error event and returns
  // false.
  bool Run(std::string_view line);

 private:
  // "" when done, else the error's text.
  std::string Act(const QJsonObject& action);
  std::string Set(const QJsonObject& action);
  std::string Click(const QJsonObject& action);
  std::string AnswerBox(const QJsonObject& action);
  std::string AnswerInput(const QJsonObject& action);
  std::string Get(const QJsonObject& action);
  std::string Dump(const QJsonObject& action);

  Form1& window_;
  ScriptedDialogs& dialogs_;
};

}  // namespace orvalin
