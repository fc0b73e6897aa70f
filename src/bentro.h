// Shared by every part of the tool: the run settings, what the run has met,
// the root prefix and the one letter-case rule.
#pragma once

#include <array>
#include <cstddef>
#include <string>

// Filled once by the command line, read-only during the walk.
struct RunSettings {
  bool recurse = false;       // "/s": descend into sub-directories
  bool forward_slash = true;  // "/k" turns it off: "\" in name fields
  bool list_only = false;     // "/l": report fields that would change, write nothing
  bool quiet = false;         // "/q": a path only when a message about it follows
  bool changes_only = false;  // "/c": write only fields that change, and say so
  bool named_files = false;   // "/f": the arguments name files, not a pattern
  std::string top_folder;     // "/t:FOLDER" as typed; empty for the current folder
  std::string pattern;        // the last argument not beginning with "/", folded
  std::string typed_pattern;  // the whole pattern as typed, for messages
};
extern RunSettings settings;

// What the walk has met so far; it decides the exit status.
struct RunOutcome {
  bool failure_reported = false;
  bool field_would_change = false;
};
extern RunOutcome outcome;

// The exit statuses of a run.
enum ExitStatus { exit_clean = 0, exit_refused = 1, exit_failures = 2, exit_would_change = 3 };

// "." and the directory separator: every walk starts there.
extern const std::string root_prefix;

// Bytes 0 to 31 of every file. An int, so that it compares alike with sizes
// and with the signed counts the platform's reads and writes return.
constexpr int name_field_size = 32;
using NameField = std::array<char, name_field_size>;

enum class LetterCase { lower, upper };

// "A" to "Z" become "a" to "z" (or the reverse, for `upper`); every other
// byte, 128-255 included, stays. No locale is consulted.
inline char fold_case(char byte, LetterCase to = LetterCase::lower) {
  char first = to == LetterCase::lower ? 'A' : 'a';
  return (byte >= first && byte <= first + 25) ? static_cast<char>(byte ^ 0x20) : byte;
}
