#include <gtest/gtest.h>

#include "bentro.h"

namespace {

struct ArgumentCase {
  std::vector<std::string> arguments;  // already folded, program name first
  bool recurse;
  bool forward_slash;
  const char* pattern;
  int pattern_arguments;
  bool list_only = false;
};

TEST(ParseArguments, FillsTheRunSettings) {
  const ArgumentCase cases[] = {
      {{"bentro", "/s", "*.wal"}, true, true, "*.wal", 1},
      {{"bentro", "*.wal", "/s"}, true, true, "*.wal", 1},
      {{"bentro", "/k", "x.wal"}, false, false, "x.wal", 1},
      {{"bentro", "/?"}, false, true, "", 0},
      {{"bentro", "/sub", "/s/", "/"}, false, true, "", 0},
      {{"bentro", "-s"}, false, true, "-s", 1},
      {{"bentro", "a.wal", "b.wal"}, false, true, "b.wal", 2},
      {{"bentro", "a.wal", ""}, false, true, "", 2},
      {{"bentro", "x.wal", "/l", "/s"}, true, true, "x.wal", 1, true},
      {{"bentro", "/l/", "x.wal"}, false, true, "x.wal", 1, false},
  };
  for (const ArgumentCase& c : cases) {
    settings = RunSettings{};
    parse_arguments(c.arguments);
    EXPECT_EQ(settings.recurse, c.recurse) << c.arguments[1];
    EXPECT_EQ(settings.forward_slash, c.forward_slash) << c.arguments[1];
    EXPECT_EQ(settings.pattern, c.pattern) << c.arguments[1];
    EXPECT_EQ(settings.pattern_arguments, c.pattern_arguments) << c.arguments[1];
    EXPECT_EQ(settings.list_only, c.list_only) << c.arguments[1];
  }
}

}  // namespace
