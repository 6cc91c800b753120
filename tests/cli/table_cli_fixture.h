// orvalin-table run on a places file of a few towns, one of them unreadable.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/table_tool/table_cli.h"
#include "tests/cli/tool_test_support.h"
#include "tests/support/session_fixture.h"

namespace orvalin::testing {

class TableCli : public ::testing::Test {
 protected:
  TableCli() {
    WriteFile(dir / "good.dat",
              RecordsBytes({Geneva(), Place("Tromsø", "Norway", "69 39 0 N", "18 57 0 E", 1),
                            Place("Ushuaia", "Argentina", "54 48 0 S", "68 18 0 W", -3)}));
    WriteFile(file, RecordsBytes({
                        Geneva(),
                        Place("Tromsø", "Norway", "69 39 0 N", "18 57 0 E", 1),
                        Place("Zürich", "Switzerland", "47 22 0 N", "8 33 0 E", 1),
                        Place("Broken", "Nowhere", "46 12 N", "6 9 0 E", 1),
                    }));
  }
  ToolRun Table(std::vector<std::string> args) {
    args.insert(args.begin(), {"--file", file});
    return RunEntry(RunTable, args);
  }

  ScratchDir dir;
  std::string file = dir / "location.dat";
};

}  // namespace orvalin::testing
