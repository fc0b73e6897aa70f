// Shared by every part of the tool: the run settings, what the run has met,
// the root prefix and the one case-folding rule.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Filled once by parse_arguments, read-only during the walk.
struct RunSettings {
  bool recurse = false;       // "/s": descend into sub-directories
  bool forward_slash = true;  // "/k" turns it off: "\" in name fields
  bool list_only = false;     // "/l": report fields that would change, write nothing
  std::string pattern;        // the last argument not beginning with "/"
  int pattern_arguments = 0;  // how many arguments were taken as the pattern
};
extern RunSettings settings;

// What the walk has met so far; it decides the exit status.
struct RunOutcome {
  bool failure_reported = false;
  bool field_would_change = false;
};
extern RunOutcome outcome;

// "." and the directory separator: every walk starts there.
extern const std::string root_prefix;

// "A" to "Z" become "a" to "z"; every other byte, 128-255 included, stays.
inline char fold_case(char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte - 'A' + 'a') : byte;
}

// Command line.
int bentro_main(int argc, char** argv);
void parse_arguments(const std::vector<std::string>& arguments);

// Every failure the walk can meet. Each has one message, naming the path,
// and each marks the run as failed.
enum class Failure {
  cannot_list,
  cannot_open,
  cannot_read,
  too_short,
  name_too_long,
  cannot_open_for_writing,
  cannot_write,
  wrong_count,
};
// `written` fills in the count message.
void report_failure(Failure failure, const std::string& path, std::size_t written = 0);

// Directory walk.
void walk_directory(const std::string& prefix, const std::string& pattern);

// Name repair.
constexpr size_t name_field_size = 32;
// The name field brought into form for `relative_name`, or nothing when the
// cut name cannot be stored with its terminator. `old_field` holds 32 bytes.
std::optional<std::string> derive_name_field(std::string_view old_field,
                                             std::string_view relative_name, bool forward_slash);
void fix_file(const std::string& walked_path);
