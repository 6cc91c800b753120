// The one trap every command of the window runs under: nothing that fails escapes to the window.
#pragma once

#include <functional>
#include <new>
#include <string_view>

#include "commands/session.h"
#include "common/failure.h"

namespace orvalin {

// What sets one command's trap apart from the others'.
struct TrapWay {
  bool beeps = false;  // the day's calculation beeps before its report
  // Runs before the report, the places file closed: puts the window as the failure left it, or
  // answers the failure with a message of its own and returns true, instead of the report.
  std::function<bool(const Failure&)> first;
};

// The places file closed, `way.first` run, then, unless it answered, "<description> in line
// <step> of <label>" in an OK box with the program's title.
void ReportTrapped(Session& s, std::string_view label, int step, const Failure& failure,
                   const TrapWay& way);

// Runs a command's steps under its trap: a failure, or an allocation that fails, is reported with
// the label and the step the command had reached. The file closes before the report, so that no
// other program waits for its lock while the message is read.
template <typename Steps>
void RunTrapped(Session& s, std::string_view label, const int& step, Steps&& steps,
                const TrapWay& way = {}) {
  try {
    steps();
  } catch (const Failure& failure) {
    ReportTrapped(s, label, step, failure, way);
  } catch (const std::bad_alloc&) {
    ReportTrapped(s, label, step, Failure(Fault::OutOfMemory), way);
  }
}

}  // namespace orvalin
