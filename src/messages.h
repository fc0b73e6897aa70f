// Every line the tool prints goes through here. Paths and names are shown
// with each control byte as \xNN, so that no name can pass for a line of
// its own or drive the terminal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "bentro.h"
#include "platform.h"

// A path or a name as every message shows it, with each control character
// as \xNN: bytes 0x00-0x1F and 0x7F, and where names are UTF-8 the C1
// controls U+0080-U+009F (each byte of their sequences) and the bytes
// 0x80-0x9F outside a valid sequence. Every other byte above 127 is shown as
// it is, so that names in UTF-8 or in the system's code page read as they
// should.
std::string shown_path(std::string_view path);

// Whether shown_path shows `path` as it is: printable ASCII throughout, as
// most paths are.
bool is_shown_as_is(std::string_view path);

// A name field as a listing shows it: without its trailing zero bytes, each
// byte outside 0x20-0x7E as \xNN; zero-terminated, in room enough for the
// longest, so that it can be shown when memory has run out.
using ShownField = std::array<char, 4 * name_field_size + 1>;
ShownField shown_field(const NameField& field);

// What a folder can meet that keeps the walk out of it. Each has one
// message, on a line of its own, and marks the run as failed.
enum class DirectoryFailure { cannot_list, kernel_file_system, nested_too_deeply };

// `path` is the directory's walked path without its final separator.
void report_directory(DirectoryFailure failure, const std::string& path);

// A directory reached again by another path, not entered again.
void report_same_directory(const std::string& path, const std::string& first_path);

// The line that may follow a file's path: a failure, which marks the run as
// failed, or a note about its field.
enum class FileMessage {
  none,
  cannot_open,
  outside_top_folder,  // with /f
  name_outside_code_page,
  file_on_kernel_file_system,
  several_names,
  cannot_read,
  too_short,
  name_too_long,
  cannot_open_for_writing,
  cannot_write,
  wrong_count,         // the count in `bytes_written`
  field_would_change,  // with /l; not a failure
  field_changed,       // with /c; not a failure
};

// What became of one file. It holds whatever its lines need, so that they
// can be printed when memory has run out.
struct FileReport {
  FileReport() = default;
  explicit FileReport(FileMessage message) : message(message) {}
  FileMessage message = FileMessage::none;
  std::int64_t bytes_written = 0;
  NameField old_field{}, new_field{};
  bool to_write = false;         // the field is still to be written
  bool touched = false;          // a write of the field was made
  bool field_written = false;    // all of it, so that a failed close is reported
  bool field_from_path = false;  // new_field was cut from the path at a point
};

// The file's path (`shown`: as shown_path() shows it), then the report's
// line. With /q the path is printed only when a line follows: the report's,
// or one the caller prints next.
void report_file(const std::string& shown, const FileReport& report, bool line_follows);

// A file whose field is the one an earlier file got, after its own lines;
// both paths as shown_path shows them.
void report_same_field(const std::string& shown, const std::string& shown_first);

// A check (/l, /q, /c) whose pattern matched no entry.
void report_no_match(const std::string& typed_pattern);

// The usage text, as a run without arguments prints it.
void print_usage();
// The usage text, every switch, the pattern rules, the exit statuses and
// two examples.
void print_help();
void print_version();

enum class Refusal {
  unknown_switch,
  dash_switch,
  joined_switches,
  no_pattern,
  pattern_leaves_top_folder,
  wildcard_in_folder_part,
  recurse_with_named_files,
  top_folder_not_given,
  top_folder_above,  // with /f
  inexact_argument,
};
void print_refusal(Refusal refusal, const std::string& argument);

void warn_several_patterns(const std::string& pattern);

// Writes out what was printed. False, after saying so on standard error, if
// standard output could not take every line or was not open from the start.
bool flush_output(StandardOutput state);

// Writes out what was printed, as a stop must before the run ends.
void write_printed_lines();

// Says so, flushes what was printed and ends the run with status 2.
[[noreturn]] void end_out_of_memory();
