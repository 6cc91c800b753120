// How far a long run has come, on one line of standard error rewritten in place: only on a
// terminal (never in pipes, files or logs) unless forced, and only once the run has lasted a
// second; the line is cleared at the end.
#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

namespace orvalin {

class Progress {
 public:
  enum class Mode { Auto, Quiet, Forced };
  using Clock = std::chrono::steady_clock;

  // `what`: the unit counted, plural ("days", "records"). `terminal`: whether `err` is one.
  // `now` reads the time; a test gives its own to see a long run without lasting long.
  Progress(std::ostream& err, std::string program, std::string what, long long total, Mode mode,
           bool terminal, std::function<Clock::time_point()> now = Clock::now);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // One more done. Looks at the clock only every so many steps, so that counting costs nothing.
  void Step() {
    if (!on_ || ++done_ < next_look_) return;
    Look();
  }
  // So many done in all, for a run that counts by its own numbers (the lines of a file).
  void StepTo(long long done) {
    if (!on_ || (done_ = done) < next_look_ || done <= 0) return;
    Look();
  }
  // Clears the line before other text goes to the same terminal; the next look shows it again.
  void Hide();

 private:
  void Look();

  std::ostream& err_;
  std::string program_, what_;
  long long total_, done_ = 0, next_look_ = 0, look_every_ = 1;
  bool on_;
  bool shown_ = false;
  std::function<Clock::time_point()> now_;
  Clock::time_point start_, last_shown_;
};

// --quiet, --progress or neither.
Progress::Mode ProgressMode(bool quiet, bool forced);

}  // namespace orvalin
