// Runs the built tool in temporary trees and checks everything it does: its
// standard output and error, its exit status, and every file's bytes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tree.h"

namespace {

std::string unreadable(const std::string& path) {
  return "Could not open file '" + path + "' for reading.";
}

TEST(EndToEnd, WalksTheTreeDepthFirstAndRewritesEveryMatch) {
  Tree tree;
  const char* untouched[] = {"notes.txt", ".hidden/h.wal", "Base/readme.doc"};
  for (const char* name : untouched) tree.add(name, wal("KEEP"));
  const std::pair<const char*, const char*> rewritten[] = {
      {"top.wal", "top"},
      {"Base/Wall1.WAL", "base/wall1"},
      {"Base/Inner/Deep.wal", "base/inner/deep"},
      {"Sky/Sky.old.wal", "sky/sky.old"},
      {"x.y/in.wal", "x.y/in"},
      {"Base/Inner/exact.wal", "base/inner/exact"}};
  for (const auto& [name, unused] : rewritten) tree.add(name, wal("Old\\NAME\x01junk"));
  tree.add("Base/Inner/exact.wal", "EXACTLY THIRTY-TWO BYTES IN SIZE");

  expect_run(tree.run({"/S", "*.WAL"}),
             lines({"./top.wal", "./Base/Wall1.WAL", "./Base/Inner/Deep.wal",
                    "./Base/Inner/exact.wal", "./Sky/Sky.old.wal", "./x.y/in.wal"}),
             0);
  for (const auto& [name, expected] : rewritten) {
    std::string want =
        name == std::string("Base/Inner/exact.wal") ? field(expected) : wal(expected);
    EXPECT_EQ(tree.bytes(name), want) << name;
  }
  for (const char* name : untouched) EXPECT_EQ(tree.bytes(name), wal("KEEP")) << name;
}

TEST(EndToEnd, VisitsEntriesInCaseFoldedOrder) {
  Tree tree;
  const char* names[] = {"b.wal",   "_x.wal", "aB.wal", "C.wal",
                         "a_b.wal", "AC.wal", "Ab.wal", "A.wal"};
  for (const char* name : names) tree.add(name, wal(""));
  expect_run(tree.run({"*.wal"}),
             lines({"./A.wal", "./Ab.wal", "./aB.wal", "./AC.wal", "./a_b.wal", "./b.wal",
                    "./C.wal", "./_x.wal"}),
             0);
}

TEST(EndToEnd, ReportsDirectoriesMatchedByStarDotStar) {
  Tree tree;
  tree.add("Base/inside.wal", wal("Inside"));
  tree.add("top.wal", wal("Top"));
  expect_run(tree.run({"*.*"}),
             lines({"./.", unreadable("./."), "./..", unreadable("./.."), "./Base",
                    unreadable("./Base"), "./top.wal"}),
             2);
  EXPECT_EQ(tree.bytes("top.wal"), wal("top"));
  EXPECT_EQ(tree.bytes("Base/inside.wal"), wal("Inside"));
}

TEST(EndToEnd, LeavesFilesItCannotRepairUntouched) {
  Tree tree;
  const std::string long_name = "a234567890123456789012345678901X.wal";
  const std::pair<std::string, std::string> kept[] = {
      {long_name, wal("LONG")}, {"short.wal", "0123456789"}, {"empty.wal", ""}};
  for (const auto& [name, bytes] : kept) tree.add(name, bytes);
  tree.add("dir.wal/in.wal", wal("IN"));
  tree.add("huge.wal", wal("HUGE"));
  const std::uintmax_t huge = 2147483648;  // one past the largest size it reads; sparse
  fs::resize_file(tree.path("huge.wal"), huge);
  expect_run(
      tree.run({"/s", "*.wal"}),
      lines({"./" + long_name,
             "Name for './" + long_name +
                 "' does not fit in the 32-byte name field; file left unchanged",
             "./dir.wal", unreadable("./dir.wal"), "./empty.wal",
             "File './empty.wal' is shorter than the 32-byte name field; file left unchanged",
             "./huge.wal", "File './huge.wal' is too large; file left unchanged", "./short.wal",
             "File './short.wal' is shorter than the 32-byte name field; file left unchanged",
             "./dir.wal/in.wal"}),
      2);
  for (const auto& [name, bytes] : kept) EXPECT_EQ(tree.bytes(name), bytes) << name;
  EXPECT_EQ(tree.bytes("dir.wal/in.wal"), wal("dir.wal/in"));
  EXPECT_EQ(fs::file_size(tree.path("huge.wal")), huge);
}

TEST(EndToEnd, NeitherHangsOnFifosNorLoopsThroughLinks) {
  SKIP_UNLESS_POSIX("FIFOs and symbolic links");
  Tree tree;
  tree.add("real.bin", wal("REAL"));
  tree.add("sub/x.wal", wal("X"));
  ASSERT_EQ(mkfifo(tree.path("fifo.wal").c_str(), 0600), 0);
  fs::create_symlink("real.bin", tree.path("link.wal"));
  fs::create_directory_symlink(".", tree.path("loop.wal"));
  fs::create_directory_symlink("..", tree.path("sub/up"));
  expect_run(tree.run({"/s", "*.wal"}),
             lines({"./fifo.wal", unreadable("./fifo.wal"), "./link.wal", "./loop.wal",
                    unreadable("./loop.wal"), "./sub/x.wal"}),
             2);
  EXPECT_EQ(tree.bytes("real.bin"), wal("link"));
  EXPECT_TRUE(fs::is_symlink(tree.path("link.wal")));
}

TEST(EndToEnd, CommandLineCasesThatWalkLittleOrNothing) {
  Tree tree;
  for (const char* name : {"sub/x.wal", "a.wal", "b.wal"}) tree.add(name, wal("OLD"));
  const struct {
    std::vector<std::string> arguments;
    std::string out;
    int status;
  } cases[] = {
      {{}, lines({"Usage: BENTRO [/s] [/?] <filename.wal>", " /s : Do sub-directories"}), 1},
      {{"/?"}, "", 0},
      {{"/s"}, "", 0},
      {{"/s", "none.wal"}, "", 0},
      {{"/s", "SUB/*.wal"},
       lines({"Pattern 'sub/*.wal' names a directory; start the tool in that directory instead"}),
       1},
      // "\\" separates directories on Windows only; on Linux it names nothing here.
      {{"SUB\\*.wal"},
       windows_target() ? lines({"Pattern 'sub\\*.wal' names a directory; start the tool in that "
                                 "directory instead"})
                        : "",
       windows_target() ? 1 : 0},
  };
  for (const auto& c : cases) expect_run(tree.run(c.arguments), c.out, c.status);
  for (const char* name : {"sub/x.wal", "a.wal", "b.wal"}) EXPECT_EQ(tree.bytes(name), wal("OLD"));

  expect_run(tree.run({"a.wal", "b.wal"}),
             lines({"Several patterns given; only 'b.wal' is used (quote the pattern to keep the "
                    "shell from expanding it)",
                    "./b.wal"}),
             0);
  EXPECT_EQ(tree.bytes("b.wal"), wal("b"));
  EXPECT_EQ(tree.bytes("a.wal"), wal("OLD"));
}

TEST(EndToEnd, AFailedWriteKeepsTheFileWhole) {
  SKIP_UNLESS_POSIX("a write made to fail by the file-size resource limit");
  Tree tree;
  std::string big = field("BIG");
  for (int i = 0; i < 64 * 1024 / 300; ++i) big += tail();
  tree.add("big.wal", big);
  expect_run(tree.run({"big.wal"}, 16 * 1024),
             lines({"./big.wal", "Could not write the file './big.wal' correctly"}), 2);
  std::string after = tree.bytes("big.wal");
  ASSERT_EQ(after.size(), big.size());
  EXPECT_EQ(after.substr(32), big.substr(32));
}

TEST(EndToEnd, AFileThatCannotBeOpenedForWritingIsLeftAlone) {
  SKIP_UNLESS_POSIX("a running program's file, which Linux will not open for writing");
  Tree tree;
  // A running program's file cannot be opened for writing, not even by root.
  fs::copy_file("/bin/sleep", tree.path("busy.wal"));
  std::string before = tree.bytes("busy.wal");
  pid_t sleeper = fork();
  if (sleeper == 0) {
    execl(tree.path("busy.wal").c_str(), "busy.wal", "30", nullptr);
    _exit(127);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  Result result = tree.run({"busy.wal"});
  kill(sleeper, SIGKILL);
  waitpid(sleeper, nullptr, 0);
  expect_run(result, lines({"./busy.wal", "Could not open './busy.wal' for writing"}), 2);
  EXPECT_EQ(tree.bytes("busy.wal"), before);
}

TEST(EndToEnd, ListOnlyReportsChangesAndWritesNothing) {
  Tree tree;
  const std::pair<const char*, std::string> files[] = {
      {"Right.wal", wal("right")},
      {"Sub/Wrong.wal", wal("SUB\\WRONG")},
      {"weird.wal", wal(std::string("weird\0TAIL\x01", 11))}};
  const auto old_time = fs::file_time_type::clock::now() - std::chrono::hours(240);
  for (const auto& [name, bytes] : files) {
    tree.add(name, bytes);
    fs::last_write_time(tree.path(name), old_time);
  }
  const std::string listing =
      lines({"./Right.wal", "./weird.wal",
             "Name field would change from 'weird\\x00TAIL\\x01' to 'weird'", "./Sub/Wrong.wal",
             "Name field would change from 'SUB\\WRONG' to 'sub/wrong'"});
  expect_run(tree.run({"/L", "/s", "*.wal"}), listing, 3);
  expect_run(tree.run({"right.wal", "/l"}), lines({"./Right.wal"}), 0);
  tree.add("short.wal", "short");
  expect_run(tree.run({"/s", "/l", "*.wal"}),
             lines({"./Right.wal", "./short.wal",
                    "File './short.wal' is shorter than the 32-byte name field; file left "
                    "unchanged"}) +
                 listing.substr(lines({"./Right.wal"}).size()),
             2);
  for (const auto& [name, bytes] : files) {
    EXPECT_EQ(tree.bytes(name), bytes) << name;
    EXPECT_EQ(fs::last_write_time(tree.path(name)), old_time) << name;
  }
}

}  // namespace
