// Turns the arguments into the run settings, runs the walk (or visits the
// named files) and sets the exit status.
#include "command_line.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "bentro.h"
#include "file_queue.h"
#include "messages.h"
#include "named_files.h"
#include "platform.h"
#include "typed_path.h"
#include "walk.h"

RunSettings settings;
RunOutcome outcome;
const std::string root_prefix{'.', directory_separator};

namespace {

constexpr int run_goes_on = -1;

int refuse(Refusal refusal, const std::string& argument = "") {
  print_refusal(refusal, argument);
  return exit_refused;
}

// Switches typed together ("/sl"), which would be taken for one unknown.
bool joins_switches(const std::string& argument) {
  return argument.size() > 2 && argument.find_first_not_of("skqlcf", 1) == std::string::npos;
}

// The switches of one argument; help and the version end the run, as does
// a refusal.
int take_switch(const TypedArgument& argument) {
  const std::string& typed = argument.text;
  std::string folded = typed;  // switches are looked at in small letters
  for (char& byte : folded) byte = fold_case(byte);
  if (folded == "--help" || folded == "-h" || folded == "/?") {
    print_help();
    return exit_clean;
  }
  if (folded == "--version") {
    print_version();
    return exit_clean;
  }
  if (folded == "/s") {
    settings.recurse = true;
  } else if (folded == "/k") {
    settings.forward_slash = false;
  } else if (folded == "/l") {
    settings.list_only = true;
  } else if (folded == "/q") {
    settings.quiet = true;
  } else if (folded == "/c") {
    settings.changes_only = true;
  } else if (folded == "/f") {
    settings.named_files = true;
  } else if (folded.compare(0, 3, "/t:") == 0) {
    if (folded.size() == 3) return refuse(Refusal::top_folder_not_given, typed);
    if (!argument.exact) return refuse(Refusal::inexact_argument, typed);
    settings.top_folder = typed.substr(3);
  } else if (folded[0] == '-') {
    // Linux users type "-l" for "/l": such an argument is no pattern.
    return refuse(Refusal::dash_switch, typed);
  } else {
    // A switch typed by habit (/n, /dryrun) must not turn a check into a
    // repair.
    return refuse(joins_switches(folded) ? Refusal::joined_switches : Refusal::unknown_switch,
                  typed);
  }
  return run_goes_on;
}

// The arguments in order: the first that decides the run on its own (help,
// the version, a refusal) wins. Those not switches, as typed, go to
// `operands`: the pattern (the last of them) or, with /f, the files' names.
// The settings start as RunSettings gives them: this runs once per process.
int parse_arguments(std::vector<TypedArgument>& arguments, std::vector<TypedArgument>& operands) {
  bool switches_ended = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& typed = arguments[i].text;
    // An empty argument's first byte is its terminator: it is no switch.
    if (switches_ended || (typed[0] != '/' && typed[0] != '-')) {
      operands.push_back(std::move(arguments[i]));
    } else if (typed == "--") {
      switches_ended = true;
    } else if (int decided = take_switch(arguments[i]); decided != run_goes_on) {
      return decided;
    }
  }
  return run_goes_on;
}

// A run meant to check or to report changes that matches nothing would pass
// without having looked at anything.
bool needs_pattern() { return settings.list_only || settings.quiet || settings.changes_only; }

bool holds_wildcard(std::string_view name) {
  return name.find_first_of("*?") != std::string_view::npos;
}

// The pattern's folder part names a folder below the top one, where the
// walk starts; its last part is matched against names there.
int take_pattern(const std::vector<TypedArgument>& operands, TypedPath& pattern_path) {
  TypedArgument pattern = operands.empty() ? TypedArgument{} : operands.back();
  settings.typed_pattern = pattern.text;
  if (!pattern.exact) return refuse(Refusal::inexact_argument, pattern.text);
  split_typed_path(settings.typed_pattern, pattern_path);
  if (pattern_path.absolute || goes_up(pattern_path, false))
    return refuse(Refusal::pattern_leaves_top_folder, pattern.text);
  const std::vector<std::string_view>& folders = pattern_path.folders;
  if (std::any_of(folders.begin(), folders.end(), holds_wildcard))
    return refuse(Refusal::wildcard_in_folder_part, pattern.text);
  for (char byte : pattern_path.last) settings.pattern += fold_case(byte);
  if (settings.pattern.empty() && needs_pattern()) return refuse(Refusal::no_pattern);
  if (operands.size() > 1) warn_several_patterns(pattern.text);
  return run_goes_on;
}

int check_settings(const std::vector<TypedArgument>& operands, TypedPath& pattern_path) {
  if (!settings.named_files) return take_pattern(operands, pattern_path);
  if (settings.recurse) return refuse(Refusal::recurse_with_named_files);
  // Names are taken relative to the current folder, and only those below
  // the top folder can be.
  TypedPath top;
  split_typed_path(settings.top_folder, top);
  if (top.absolute || goes_up(top, true))
    return refuse(Refusal::top_folder_above, settings.top_folder);
  return run_goes_on;
}

int run(std::vector<TypedArgument>& arguments) {
  if (arguments.size() < 2) {
    print_usage();
    return exit_refused;
  }
  std::vector<TypedArgument> operands;
  operands.reserve(arguments.size());
  TypedPath pattern_path;
  if (int decided = parse_arguments(arguments, operands); decided != run_goes_on) return decided;
  if (int decided = check_settings(operands, pattern_path); decided != run_goes_on) return decided;
  start_file_queue();
  if (settings.named_files) {
    visit_named_files(operands);
  } else if (walk_tree({pattern_path.folders.begin(), pattern_path.folders.end()},
                       settings.pattern) == 0 &&
             needs_pattern() && !stop_request()) {
    report_no_match(settings.typed_pattern);
  }
  finish_queued_files();
  if (outcome.failure_reported) return exit_failures;
  return outcome.field_would_change ? exit_would_change : exit_clean;
}

// Memory kept back, so that the files in hand can be finished and reported
// when the rest runs out.
char* memory_reserve = nullptr;

// The files in hand are finished and reported, then the run ends with a
// word, rather than by an exception nobody catches. Running out again on
// the way, or before the reserve was set aside, reports what was done
// without taking memory and ends the run at once.
void out_of_memory() {
  if (memory_reserve != nullptr) {
    delete[] memory_reserve;
    memory_reserve = nullptr;
    finish_queued_files();
  } else {
    report_touched_files();
  }
  end_out_of_memory();
}

}  // namespace

int bentro_main(int argc, char** argv) {
  std::set_new_handler(out_of_memory);
  StandardOutput output = prepare_process();
  if (output == StandardOutput::unusable) {
    flush_output(output);
    return exit_failures;
  }
  memory_reserve = new char[64 * 1024];
  std::vector<TypedArgument> arguments = typed_arguments(argc, argv);
  int status = run(arguments);
  bool output_complete = flush_output(output);
  // Every file whose path was printed is finished; the stop ends the run now.
  if (int request = stop_request()) end_as_stopped(request);
  return output_complete ? status : exit_failures;
}
