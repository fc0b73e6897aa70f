// Every line the tool prints, in one place, with literal formats that the
// compiler checks.
#include "messages.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bentro.h"

namespace {

// Standard output is buffered here, not by stdio: it is written in whole
// lines only (platform.h), and a line can still be printed when memory has
// run out. Every message ends in a line feed, so the buffer always does. It
// holds the longest message; it is written out, as stdio would, once a
// page is filled.
char output[64 * 1024];
constexpr std::size_t written_from = 4096;
std::size_t output_size = 0;
bool output_failed = false;

void write_output() {
  if (!output_failed && !write_standard_output(output, output_size)) output_failed = true;
  output_size = 0;
}

// printf into the buffer.
__attribute__((format(printf, 1, 2))) void say(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::va_list again;
  va_copy(again, arguments);
  std::size_t room = sizeof output - output_size;
  int length = std::vsnprintf(output + output_size, room, format, arguments);
  if (length >= 0 && static_cast<std::size_t>(length) >= room) {
    write_output();
    if (static_cast<std::size_t>(length) < sizeof output) {
      std::vsnprintf(output, sizeof output, format, again);
    } else {  // a name of many kilobytes, given with /f
      std::string line(static_cast<std::size_t>(length) + 1, '\0');
      std::vsnprintf(line.data(), line.size(), format, again);
      if (!output_failed && !write_standard_output(line.data(), line.size() - 1))
        output_failed = true;
      length = 0;
    }
  }
  va_end(again);
  va_end(arguments);
  if (length > 0) output_size += static_cast<std::size_t>(length);
  if (output_size >= written_from) write_output();
}

// A line of text as it is, the way most lines are.
void say_line(const std::string& text) {
  if (output_size + text.size() + 1 > sizeof output) write_output();
  if (text.size() + 1 > sizeof output) return say("%s\n", text.c_str());
  text.copy(output + output_size, text.size());
  output_size += text.size();
  output[output_size++] = '\n';
  if (output_size >= written_from) write_output();
}

void append_hex(std::string& shown, unsigned char value) {
  const char digits[] = "0123456789abcdef";
  shown += {'\\', 'x', digits[value >> 4], digits[value & 0xf]};
}

// The bytes as they are, or each as \xNN.
void append(std::string& shown, std::string_view bytes, bool escape) {
  if (escape)
    for (char byte : bytes) append_hex(shown, static_cast<unsigned char>(byte));
  else
    shown.append(bytes);
}

// The length of the valid UTF-8 sequence of two to four bytes that `bytes`
// begins with, and its character; 0, leaving `character` alone, if it
// begins with none (an ASCII byte among them).
std::size_t utf8_sequence(std::string_view bytes, char32_t& character) {
  auto lead = static_cast<unsigned char>(bytes[0]);
  // 0xc0 and 0xc1 would lead only too long a form of an ASCII character.
  std::size_t length = lead < 0xc2 ? 0 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : lead < 0xf8 ? 4 : 0;
  if (length == 0 || length > bytes.size()) return 0;
  char32_t decoded = lead & (0x7f >> length);
  for (std::size_t at = 1; at < length; ++at) {
    auto next = static_cast<unsigned char>(bytes[at]);
    if ((next & 0xc0) != 0x80) return 0;
    decoded = decoded << 6 | (next & 0x3f);
  }
  const char32_t smallest[] = {0x80, 0x800, 0x10000};  // shorter forms are not valid
  if (decoded < smallest[length - 2] || decoded > 0x10ffff ||
      (decoded >= 0xd800 && decoded <= 0xdfff))
    return 0;
  character = decoded;
  return length;
}

// C0, DEL and, where names are UTF-8, C1: what a terminal may act on.
bool is_control(char32_t character) {
  return character < 0x20 || character == 0x7f ||
         (names_are_utf8 && character >= 0x80 && character <= 0x9f);
}

}  // namespace

bool is_shown_as_is(std::string_view path) {
  return std::all_of(path.begin(), path.end(),
                     [](char byte) { return byte >= 0x20 && byte < 0x7f; });
}

std::string shown_path(std::string_view path) {
  if (is_shown_as_is(path)) return std::string(path);
  std::string shown;
  for (std::size_t at = 0; at < path.size();) {
    // A byte outside a valid sequence stands for itself.
    char32_t character = static_cast<unsigned char>(path[at]);
    std::size_t length = names_are_utf8 ? utf8_sequence(path.substr(at), character) : 0;
    length = std::max<std::size_t>(length, 1);
    append(shown, path.substr(at, length), is_control(character));
    at += length;
  }
  return shown;
}

ShownField shown_field(const NameField& field) {
  std::string_view bytes(field.data(), field.size());
  std::size_t end = bytes.find_last_not_of('\0');
  ShownField shown{};
  std::size_t at = 0;
  const char digits[] = "0123456789abcdef";
  for (char byte : bytes.substr(0, end == std::string_view::npos ? 0 : end + 1)) {
    auto value = static_cast<unsigned char>(byte);
    if (value >= 0x20 && value <= 0x7e) {
      shown[at++] = byte;
    } else {
      for (char shown_byte : {'\\', 'x', digits[value >> 4], digits[value & 0xf]})
        shown[at++] = shown_byte;
    }
  }
  return shown;
}

void report_directory(DirectoryFailure failure, const std::string& path) {
  std::string shown = shown_path(path);
  const char* p = shown.c_str();
  switch (failure) {
    case DirectoryFailure::cannot_list:
      say("Could not list directory '%s'\n", p);
      break;
    case DirectoryFailure::kernel_file_system:
      say("Directory '%s' is on a kernel file system; not entered\n", p);
      break;
    case DirectoryFailure::nested_too_deeply:
      say("Directory '%s' is nested too deeply; not entered\n", p);
      break;
  }
  outcome.failure_reported = true;
}

void report_same_directory(const std::string& path, const std::string& first_path) {
  say("Directory '%s' is the same as '%s'; not entered\n", shown_path(path).c_str(),
      shown_path(first_path).c_str());
  outcome.failure_reported = true;
}

void report_file(const std::string& shown, const FileReport& report, bool line_follows) {
  if (report.message == FileMessage::none && settings.quiet && !line_follows) return;
  const char* p = shown.c_str();
  say_line(shown);
  switch (report.message) {
    case FileMessage::none:
      return;
    case FileMessage::field_would_change:
      say("Name field would change from '%s' to '%s'\n", shown_field(report.old_field).data(),
          shown_field(report.new_field).data());
      outcome.field_would_change = true;
      return;
    case FileMessage::field_changed:
      say("Name field changed from '%s' to '%s'\n", shown_field(report.old_field).data(),
          shown_field(report.new_field).data());
      return;
    case FileMessage::cannot_open:
      say("Could not open file '%s' for reading.\n", p);
      break;
    case FileMessage::outside_top_folder:
      say("File '%s' is outside the top folder '%s'; file left unchanged\n", p,
          shown_path(settings.top_folder.empty() ? "." : settings.top_folder).c_str());
      break;
    case FileMessage::name_outside_code_page:
      say("Name of '%s' has characters outside the system code page; file left unchanged\n", p);
      break;
    case FileMessage::file_on_kernel_file_system:
      say("File '%s' is on a kernel file system; file left unchanged\n", p);
      break;
    case FileMessage::several_names:
      say("File '%s' has more than one name (hard links); file left unchanged\n", p);
      break;
    case FileMessage::cannot_read:
      say("Could not read from '%s' properly.\n", p);
      break;
    case FileMessage::too_short:
      say("File '%s' is shorter than the 32-byte name field; file left unchanged\n", p);
      break;
    case FileMessage::name_too_long:
      say("Name for '%s' does not fit in the 32-byte name field; file left unchanged\n", p);
      break;
    case FileMessage::cannot_open_for_writing:
      say("Could not open '%s' for writing\n", p);
      break;
    case FileMessage::cannot_write:
      say("Could not write the file '%s' correctly\n", p);
      break;
    case FileMessage::wrong_count:
      say("Incorrect number of bytes written for file '%s'. Expected %i, got %i\n", p,
          name_field_size, static_cast<int>(report.bytes_written));
      break;
  }
  outcome.failure_reported = true;
}

void report_same_field(const std::string& shown, const std::string& shown_first) {
  say("Name field of '%s' is the same as that of '%s'\n", shown.c_str(), shown_first.c_str());
  outcome.failure_reported = true;
}

void report_no_match(const std::string& typed_pattern) {
  say("No file matches '%s'\n", shown_path(typed_pattern).c_str());
  outcome.failure_reported = true;
}

void print_usage() {
  say("Usage: BENTRO [/s] [/?] <filename.wal>\n");
  say(" /s : Do sub-directories\n");
}

void print_help() {
  print_usage();
  say(" /k : Write '\\' instead of '/' between directories in the name field\n");
  say(" /l : List only: show each name field that would change, write nothing\n");
  say(" /q : Quiet: show a file's path only when a message about it follows\n");
  say(" /c : Change only: write only the name fields that change, and show each\n");
  say(" /f : Files: each argument names one file, '*' and '?' in it as they are\n");
  say(" /t:FOLDER : Top folder: fields are derived from paths relative to FOLDER\n");
  say(" /?, --help : Show this text; --version : show the version\n");
  say(" -- : Every argument after it is a pattern or, with /f, a file name\n");
  say("Patterns: '*' matches any run of characters, '?' one, and letters match in\n");
  say("either case; a pattern ending in '.*' also matches names without it. A\n");
  say("folder part, as in 'Base%cWall*.wal', keeps the walk to that folder of the\n",
      directory_separator);
  say("top folder (with /s, and those below it); fields are derived as always.\n");
  say("Exit status: 0 no failure, 1 an argument refused, 2 a failure reported,\n");
  say("3 with /l no failure but a field that would change.\n");
  say("Examples:\n%s", command_examples);
}

void print_version() { say("bentro %s\n", BENTRO_VERSION); }

void print_refusal(Refusal refusal, const std::string& argument) {
  std::string shown = shown_path(argument);
  const char* p = shown.c_str();
  switch (refusal) {
    case Refusal::unknown_switch:
      say("Unknown switch '%s'; the switches are /s /k /l /q /c /f /t:FOLDER /?\n", p);
      break;
    case Refusal::dash_switch:
      say("Unknown switch '%s'; switches begin with '/': /s /k /l /q /c /f /t:FOLDER /?\n", p);
      break;
    case Refusal::joined_switches:
      say("Unknown switch '%s'; give each switch on its own: /s /k /l /q /c /f /t:FOLDER /?\n", p);
      break;
    case Refusal::no_pattern:
      say("No pattern given; name the files to repair, such as '*.wal'\n");
      break;
    case Refusal::pattern_leaves_top_folder:
      say("Folder part of pattern '%s' leads outside the top folder; name a folder below it\n", p);
      break;
    case Refusal::wildcard_in_folder_part:
      say("Folder part of pattern '%s' holds a wildcard; only its last part may\n", p);
      break;
    case Refusal::recurse_with_named_files:
      say("Switch /s does not go with /f, which names each file to repair\n");
      break;
    case Refusal::top_folder_not_given:
      say("Switch '%s' names no folder; give it as /t:FOLDER\n", p);
      break;
    case Refusal::top_folder_above:
      say("With /f, the top folder '%s' must lie in or below the current folder\n", p);
      break;
    case Refusal::inexact_argument:
      say("Argument '%s' has characters outside the system code page\n", p);
      break;
  }
}

void warn_several_patterns(const std::string& pattern) {
  say("Several patterns given; only '%s' is used%s\n", shown_path(pattern).c_str(),
      several_patterns_advice);
}

bool flush_output(StandardOutput state) {
  write_output();
  if (!output_failed && state == StandardOutput::open) return true;
  std::fputs("Could not write to standard output\n", stderr);
  return false;
}

void write_printed_lines() { write_output(); }

void end_out_of_memory() {
  say("Out of memory\n");
  flush_output(StandardOutput::open);
  std::_Exit(exit_failures);
}
