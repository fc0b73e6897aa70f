// Turns the arguments into the run settings, runs the walk and sets the exit
// status.
#include <cstdio>

#include "bentro.h"
#include "platform.h"

RunSettings settings;
RunOutcome outcome;
const std::string root_prefix{'.', directory_separator};

namespace {

enum ExitStatus { exit_clean = 0, exit_refused = 1, exit_failures = 2, exit_would_change = 3 };

// Linux users type "-l" for "/l": such an argument is no pattern.
const std::string* first_dash_argument(const std::vector<std::string>& arguments) {
  for (std::size_t i = 1; i < arguments.size(); ++i)
    if (!arguments[i].empty() && arguments[i][0] == '-') return &arguments[i];
  return nullptr;
}

bool names_a_directory(const std::string& pattern) {
  for (char byte : pattern)
    if (is_directory_separator(byte)) return true;
  return false;
}

// The exit status, unless standard output could not take every line.
int finish(int status, bool output_open) {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout) && output_open) return status;
  std::fputs("Could not write to standard output\n", stderr);
  return exit_failures;
}

int run(const std::vector<std::string>& arguments) {
  if (arguments.size() < 2) {
    std::printf("Usage: BENTRO [/s] [/?] <filename.wal>\n");
    std::printf(" /s : Do sub-directories\n");
    return exit_refused;
  }
  if (const std::string* dash = first_dash_argument(arguments)) {
    std::printf("Unknown switch '%s'; switches begin with '/': /s, /k, /l\n", dash->c_str());
    return exit_refused;
  }
  parse_arguments(arguments);
  // A separator would search one directory and rewrite a file in another.
  if (names_a_directory(settings.pattern)) {
    std::printf("Pattern '%s' names a directory; start the tool in that directory instead\n",
                settings.pattern.c_str());
    return exit_refused;
  }
  if (settings.pattern_arguments > 1)
    std::printf(
        "Several patterns given; only '%s' is used (quote the pattern to keep the shell from "
        "expanding it)\n",
        settings.pattern.c_str());
  walk_directory(root_prefix, settings.pattern);
  if (outcome.failure_reported) return exit_failures;
  return outcome.field_would_change ? exit_would_change : exit_clean;
}

}  // namespace

void parse_arguments(const std::vector<std::string>& arguments) {
  settings.recurse = false;
  settings.forward_slash = true;
  settings.list_only = false;
  settings.pattern_arguments = 0;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "/s") {
      settings.recurse = true;
    } else if (argument == "/k") {
      settings.forward_slash = false;
    } else if (argument == "/l") {
      settings.list_only = true;
    } else if (argument.empty() || argument[0] != '/') {
      settings.pattern = argument;
      ++settings.pattern_arguments;
    }  // any other switch, "/?" among them, is ignored
  }
}

int bentro_main(int argc, char** argv) {
  bool output_open = prepare_process();
  std::vector<std::string> arguments(argv, argv + argc);
  for (std::string& argument : arguments)
    for (char& byte : argument) byte = fold_case(byte);
  return finish(run(arguments), output_open);
}
