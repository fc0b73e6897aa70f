// Turns the arguments into the run settings, runs the walk and sets the exit
// status.
#include "command_line.h"

#include <new>
#include <string>
#include <vector>

#include "bentro.h"
#include "file_queue.h"
#include "messages.h"
#include "platform.h"
#include "walk.h"

RunSettings settings;
RunOutcome outcome;
const std::string root_prefix{'.', directory_separator};

namespace {

// Each argument folded to lower case, as it is looked at, and as it was
// typed, as messages quote it.
struct Argument {
  std::string folded;
  std::string typed;
};

// Switches that spare files: one typed together with others ("/ls", "/sc")
// would be ignored, and the files written that it was meant to spare.
bool holds_sparing_switch(const std::string& argument) {
  return argument[0] == '/' && argument != "/l" && argument != "/c" &&
         argument.find_first_of("lc") != std::string::npos;
}

// The first argument that decides the run on its own: help, the version, or
// a refusal. -1 if none does; otherwise the exit status, after its text.
int deciding_argument(const std::vector<Argument>& arguments) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i].folded;
    if (argument == "--help" || argument == "-h") {
      print_help();
      return exit_clean;
    }
    if (argument == "--version") {
      print_version();
      return exit_clean;
    }
    // Linux users type "-l" for "/l": such an argument is no pattern. (An
    // empty argument's first byte is its terminator.)
    if (argument[0] == '-') {
      print_refusal(Refusal::dash_switch, arguments[i].typed);
      return exit_refused;
    }
    if (holds_sparing_switch(argument)) {
      print_refusal(Refusal::joined_switches, arguments[i].typed);
      return exit_refused;
    }
  }
  return -1;
}

bool names_a_directory(const std::string& pattern) {
  for (char byte : pattern)
    if (is_directory_separator(byte)) return true;
  return false;
}

// The settings start as RunSettings gives them: this runs once per process.
void parse_arguments(const std::vector<Argument>& arguments) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i].folded;
    if (argument == "/s") {
      settings.recurse = true;
    } else if (argument == "/k") {
      settings.forward_slash = false;
    } else if (argument == "/l") {
      settings.list_only = true;
    } else if (argument == "/q") {
      settings.quiet = true;
    } else if (argument == "/c") {
      settings.changes_only = true;
    } else if (argument.empty() || argument[0] != '/') {
      settings.pattern = argument;
      settings.typed_pattern = arguments[i].typed;
      ++settings.pattern_arguments;
    }  // any other switch, "/?" among them, is ignored
  }
}

// A run meant to check or to report changes that matches nothing would pass
// without having looked at anything.
bool needs_pattern() { return settings.list_only || settings.quiet || settings.changes_only; }

int run(const std::vector<Argument>& arguments) {
  if (arguments.size() < 2) {
    print_usage();
    return exit_refused;
  }
  int decided = deciding_argument(arguments);
  if (decided >= 0) return decided;
  parse_arguments(arguments);
  if (settings.pattern.empty() && needs_pattern()) {
    print_refusal(Refusal::no_pattern, settings.typed_pattern);
    return exit_refused;
  }
  // A separator would search one directory and rewrite a file in another.
  if (names_a_directory(settings.pattern)) {
    print_refusal(Refusal::pattern_names_directory, settings.typed_pattern);
    return exit_refused;
  }
  if (settings.pattern_arguments > 1) warn_several_patterns(settings.typed_pattern);
  start_file_queue();
  walk_tree(settings.pattern);
  if (outcome.failure_reported) return exit_failures;
  return outcome.field_would_change ? exit_would_change : exit_clean;
}

// Memory kept back, so that the files in hand can be finished and reported
// when the rest runs out.
char* memory_reserve = nullptr;

// Memory runs out only in a listing of very many entries: the files in hand
// are finished and reported, then the run ends with a word, rather than by
// an exception nobody catches. Running out again on the way ends it at once.
void out_of_memory() {
  if (memory_reserve != nullptr) {
    delete[] memory_reserve;
    memory_reserve = nullptr;
    finish_queued_files();
  }
  end_out_of_memory();
}

}  // namespace

int bentro_main(int argc, char** argv) {
  StandardOutput output = prepare_process();
  if (output == StandardOutput::unusable) {
    flush_output(output);
    return exit_failures;
  }
  memory_reserve = new char[64 * 1024];
  std::set_new_handler(out_of_memory);
  std::vector<Argument> arguments;
  for (int i = 0; i < argc; ++i) {
    arguments.push_back({argv[i], argv[i]});
    for (char& byte : arguments.back().folded) byte = fold_case(byte);
  }
  int status = run(arguments);
  bool output_complete = flush_output(output);
  // Every file whose path was printed is finished; the stop ends the run now.
  if (int request = stop_request()) end_as_stopped(request);
  return output_complete ? status : exit_failures;
}
