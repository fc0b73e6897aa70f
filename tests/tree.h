// Temporary trees and runs of the built tool in them, for the tests that
// check what the tool does to real files.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

struct Result {
  std::string out;
  std::string err;
  int status;
};

// The bytes after the name field: every byte value, CR and LF among them.
inline std::string tail() {
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes += static_cast<char>(i * 7);
  return bytes;
}

inline std::string field(std::string text) {
  text.resize(32, '\0');
  return text;
}

inline std::string wal(const std::string& name) { return field(name) + tail(); }

// The tool under test and how it is started. BENTRO_BINARY and BENTRO_RUNNER
// (a command prefix such as "valgrind -q") override the built binary.
inline std::vector<std::string> tool_command() {
  std::vector<std::string> command;
  std::istringstream runner(std::getenv("BENTRO_RUNNER") ? std::getenv("BENTRO_RUNNER") : "");
  for (std::string word; runner >> word;) command.push_back(word);
  const char* binary = std::getenv("BENTRO_BINARY");
  command.push_back(binary ? binary : BENTRO_BINARY);
  return command;
}

// BENTRO_TARGET=windows: the tool under test is a Windows build, whose paths
// use "\\" and whose lines end in CR LF.
inline bool windows_target() {
  const char* target = std::getenv("BENTRO_TARGET");
  return target != nullptr && std::string(target) == "windows";
}

#define SKIP_UNLESS_POSIX(why) \
  if (windows_target()) GTEST_SKIP() << "posix only: " << why

// The expected output: each text as a line of the target. Walked paths are
// written as on Linux ("./Base/x.wal", at a line's start or after a quote)
// and take the target's separator.
inline std::string lines(const std::vector<std::string>& texts) {
  std::string joined;
  for (std::string text : texts) {
    for (size_t i = 0; windows_target() && i + 1 < text.size(); ++i) {
      if (text.compare(i, 2, "./") != 0 || (i > 0 && text[i - 1] != '\'')) continue;
      for (; i < text.size() && text[i] != '\''; ++i)
        if (text[i] == '/') text[i] = '\\';
    }
    joined += text + (windows_target() ? "\r\n" : "\n");
  }
  return joined;
}

class Tree {
 public:
  Tree() {
    char name[] = "/tmp/bentro-test-XXXXXX";
    root_ = mkdtemp(name);
    fs::create_directory(root_ / "tree");
  }
  ~Tree() { fs::remove_all(root_); }

  fs::path path(const std::string& relative) const { return root_ / "tree" / relative; }

  void add(const std::string& relative, const std::string& bytes) {
    fs::create_directories(path(relative).parent_path());
    std::ofstream(path(relative), std::ios::binary) << bytes;
  }

  std::string bytes(const std::string& relative) const { return read_whole(path(relative)); }

  // Runs the tool in the tree; a run that has not ended after 60 s is killed.
  Result run(std::vector<std::string> arguments, rlim_t file_size_limit = RLIM_INFINITY) const {
    std::vector<std::string> command = tool_command();
    arguments.insert(arguments.begin(), command.begin(), command.end());
    pid_t child = fork();
    if (child == 0) start_tool(arguments, file_size_limit);
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (waitpid(child, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) kill(child, SIGKILL);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {read_whole(root_ / "out"), read_whole(root_ / "err"),
            WIFEXITED(status) ? WEXITSTATUS(status) : -1};
  }

 private:
  [[noreturn]] void start_tool(const std::vector<std::string>& arguments,
                               rlim_t file_size_limit) const {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int out = open((root_ / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open((root_ / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(path("").c_str()) != 0)
      _exit(126);
    // Makes a write past the limit fail with EFBIG instead of killing the tool.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{file_size_limit, file_size_limit};
    setrlimit(RLIMIT_FSIZE, &limit);
    execvp(argv[0], argv.data());
    _exit(127);
  }

  static std::string read_whole(const fs::path& file) {
    std::ostringstream contents;
    contents << std::ifstream(file, std::ios::binary).rdbuf();
    return contents.str();
  }

  fs::path root_;
};

inline void expect_run(const Result& result, const std::string& out, int status) {
  if (out.size() < 4096) {
    EXPECT_EQ(result.out, out);
  } else if (result.out != out) {  // a long listing: show where it goes wrong
    size_t at = std::mismatch(out.begin(), out.end(), result.out.begin(), result.out.end()).first -
                out.begin();
    ADD_FAILURE() << "output differs from byte " << at << ": expected \"" << out.substr(at, 80)
                  << "\", got \"" << result.out.substr(at, 80) << "\"";
  }
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.status, status);
}
