#include "cli/table/progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace orvalin {
namespace {

constexpr auto kQuietStart = std::chrono::seconds(1);      // a shorter run shows nothing
constexpr auto kRefresh = std::chrono::milliseconds(200);  // the line is rewritten this often
constexpr long long kLooksPerRefresh = 4;

std::string Duration(double seconds) {
  const long long s = std::llround(seconds);
  char text[32];
  if (s >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
  }
  return text;
}

}  // namespace

Progress::Mode ProgressMode(bool quiet, bool forced) {
  if (quiet) return Progress::Mode::Quiet;
  return forced ? Progress::Mode::Forced : Progress::Mode::Auto;
}

Progress::Progress(std::ostream& err, std::string program, std::string what, long long total,
                   Mode mode, bool terminal, std::function<Clock::time_point()> now)
    : err_(err),
      program_(std::move(program)),
      what_(std::move(what)),
      total_(total),
      on_(total > 0 && (mode == Mode::Forced || (mode == Mode::Auto && terminal))),
      now_(std::move(now)),
      start_(now_()),
      last_shown_(start_) {}

Progress::~Progress() { Hide(); }

void Progress::Hide() {
  if (shown_) err_ << "\r\x1b[K" << std::flush;
  shown_ = false;
}

void Progress::Look() {
  const auto now = now_();
  const auto elapsed = now - start_;
  // Steps are looked at about four times a refresh, however fast they come; the stride grows
  // at most twofold a look, so that a few quick first steps do not hide slow ones after them.
  const double per_step =
      std::chrono::duration<double>(elapsed).count() / static_cast<double>(done_);
  const double refresh = std::chrono::duration<double>(kRefresh).count();
  const auto wanted = static_cast<long long>(refresh / kLooksPerRefresh / std::max(per_step, 1e-9));
  look_every_ = std::clamp(wanted, 1LL, 2 * look_every_);
  next_look_ = done_ + look_every_;
  if (elapsed < kQuietStart || (shown_ && now - last_shown_ < kRefresh)) return;
  shown_ = true;
  last_shown_ = now;
  const double seconds = std::chrono::duration<double>(elapsed).count();
  const double left = seconds / static_cast<double>(done_) * static_cast<double>(total_ - done_);
  err_ << "\r\x1b[K" << program_ << ": " << done_ << " of " << total_ << ' ' << what_ << " ("
       << done_ * 100 / total_ << "%), " << Duration(left) << " left" << std::flush;
}

}  // namespace orvalin
