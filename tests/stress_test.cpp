// The tool on trees far beyond the sizes of everyday use.
#include <gtest/gtest.h>

#include <cstdio>

#include "tree.h"

namespace {

TEST(Stress, WalksThreeHundredLevelsDeep) {
  SKIP_UNLESS_POSIX("paths past MAX_PATH, which Windows refuses");
  Tree tree;
  std::string directory;
  std::vector<std::string> expected;
  for (int level = 1; level <= 300; ++level) {
    char name[8];
    std::snprintf(name, sizeof name, "d%03d/", level);
    directory += name;
    tree.add(directory + "f.wal", wal("OLD"));
    expected.push_back("./" + directory + "f.wal");
    // The cut name "d001/.../f" fits its 32 bytes down to level 6 only.
    if (level > 6)
      expected.push_back("Name for '" + expected.back() +
                         "' does not fit in the 32-byte name field; file left unchanged");
  }
  expect_run(tree.run({"/s", "*.wal"}), lines(expected), 2);
  EXPECT_EQ(tree.bytes("d001/d002/d003/d004/d005/d006/f.wal"),
            wal("d001/d002/d003/d004/d005/d006/f"));
  EXPECT_EQ(tree.bytes(directory + "f.wal"), wal("OLD"));
}

TEST(Stress, RepairsFiftyThousandEntriesOfOneDirectory) {
  Tree tree;
  std::vector<std::string> expected;
  for (int i = 0; i < 50000; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "E%05d.wal", i);
    tree.add(name, field("OLD"));
    expected.push_back(std::string("./") + name);
  }
  expect_run(tree.run({"*.wal"}), lines(expected), 0);
  EXPECT_EQ(tree.bytes("E00000.wal"), field("e00000"));
  EXPECT_EQ(tree.bytes("E49999.wal"), field("e49999"));
}

TEST(Stress, HandlesHighBytesAndDanglingLinks) {
  SKIP_UNLESS_POSIX("names that are not valid UTF-8, and symbolic links");
  Tree tree;
  for (const char* name : {"\xC4\xD6\xFF.wal", "Zeta.wal", "\x80Z.wal"}) tree.add(name, wal("OLD"));
  fs::create_symlink("nowhere", tree.path("dangling.wal"));
  expect_run(tree.run({"*.wal"}),
             lines({"./dangling.wal", "Could not open file './dangling.wal' for reading.",
                    "./Zeta.wal", "./\x80Z.wal", "./\xC4\xD6\xFF.wal"}),
             2);
  EXPECT_EQ(tree.bytes("\xC4\xD6\xFF.wal"), wal("\xC4\xD6\xFF"));
  EXPECT_EQ(tree.bytes("\x80Z.wal"), wal("\x80z"));
}

}  // namespace
