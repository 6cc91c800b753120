// The command line of the desktop program.
#include "app/window_options.h"

#include <gtest/gtest.h>

namespace orvalin {
namespace {

using Action = WindowOptions::Action;

struct Case {
  std::vector<std::string> args;
  Action action;
  std::optional<std::string> dir;
};

TEST(WindowOptions, ReadsTheCommandLine) {
  const Case cases[] = {
      {{}, Action::Run, std::nullopt},
      {{"--dir", "/tmp/p"}, Action::Run, "/tmp/p"},
      {{"--dir=/tmp/p"}, Action::Run, "/tmp/p"},
      {{"--help"}, Action::Help, std::nullopt},
      {{"-h"}, Action::Help, std::nullopt},
      {{"--version"}, Action::Version, std::nullopt},
      {{"-V"}, Action::Version, std::nullopt},
      {{"--dir", "x", "--help"}, Action::Help, std::nullopt},
      {{"--bogus"}, Action::BadUsage, std::nullopt},
      {{"--bogus", "--help"}, Action::BadUsage, std::nullopt},
      {{"file.dat"}, Action::BadUsage, std::nullopt},
      {{"--dir"}, Action::BadUsage, std::nullopt},
      {{"--dir", ""}, Action::BadUsage, std::nullopt},
      {{"--dir", "a", "--dir", "b"}, Action::BadUsage, std::nullopt},
      {{"-platform", "offscreen"}, Action::BadUsage, std::nullopt},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args) shown += a + ' ';
    SCOPED_TRACE(shown);
    const WindowOptions options = ParseWindowOptions(c.args);
    EXPECT_EQ(options.action, c.action);
    EXPECT_EQ(options.dir, c.dir);
  }
}

TEST(WindowOptions, UsageIsOneLineAndHelpSaysTheRule) {
  EXPECT_EQ(std::string(kWindowUsage).find('\n'), std::string::npos);
  const std::string help(kWindowHelp);
  for (const char* part : {"--dir DIR", "--help", "--version", "XDG_DATA_HOME",
                           ".local/share/orvalin", "location.dat"}) {
    EXPECT_NE(help.find(part), std::string::npos) << part;
  }
}

}  // namespace
}  // namespace orvalin
