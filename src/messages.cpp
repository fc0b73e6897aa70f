// Every line the tool prints, in one place, with literal formats that the
// compiler checks.
#include "messages.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "bentro.h"

namespace {

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

std::string shown_path(std::string_view path) {
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

std::string shown_field(std::string_view field) {
  std::size_t end = field.find_last_not_of('\0');
  std::string shown;
  for (char byte : field.substr(0, end == std::string_view::npos ? 0 : end + 1)) {
    auto value = static_cast<unsigned char>(byte);
    append(shown, {&byte, 1}, value < 0x20 || value > 0x7e);
  }
  return shown;
}

void report_directory(DirectoryFailure failure, const std::string& path) {
  std::string shown = shown_path(path);
  const char* p = shown.c_str();
  switch (failure) {
    case DirectoryFailure::cannot_list:
      std::printf("Could not list directory '%s'\n", p);
      break;
    case DirectoryFailure::kernel_file_system:
      std::printf("Directory '%s' is on a kernel file system; not entered\n", p);
      break;
    case DirectoryFailure::nested_too_deeply:
      std::printf("Directory '%s' is nested too deeply; not entered\n", p);
      break;
  }
  outcome.failure_reported = true;
}

void report_same_directory(const std::string& path, const std::string& first_path) {
  std::printf("Directory '%s' is the same as '%s'; not entered\n", shown_path(path).c_str(),
              shown_path(first_path).c_str());
  outcome.failure_reported = true;
}

void report_file(const std::string& walked_path, const FileReport& report, bool line_follows) {
  if (report.message == FileMessage::none && settings.quiet && !line_follows) return;
  std::string shown = shown_path(walked_path);
  const char* p = shown.c_str();
  std::printf("%s\n", p);
  switch (report.message) {
    case FileMessage::none:
      return;
    case FileMessage::field_would_change:
      std::printf("Name field would change from '%s' to '%s'\n",
                  shown_field(report.old_field).c_str(), shown_field(report.new_field).c_str());
      outcome.field_would_change = true;
      return;
    case FileMessage::field_changed:
      std::printf("Name field changed from '%s' to '%s'\n", shown_field(report.old_field).c_str(),
                  shown_field(report.new_field).c_str());
      return;
    case FileMessage::cannot_open:
      std::printf("Could not open file '%s' for reading.\n", p);
      break;
    case FileMessage::outside_top_folder:
      std::printf("File '%s' is outside the top folder '%s'; file left unchanged\n", p,
                  shown_path(settings.top_folder.empty() ? "." : settings.top_folder).c_str());
      break;
    case FileMessage::name_outside_code_page:
      std::printf("Name of '%s' has characters outside the system code page; file left unchanged\n",
                  p);
      break;
    case FileMessage::file_on_kernel_file_system:
      std::printf("File '%s' is on a kernel file system; file left unchanged\n", p);
      break;
    case FileMessage::several_names:
      std::printf("File '%s' has more than one name (hard links); file left unchanged\n", p);
      break;
    case FileMessage::cannot_read:
      std::printf("Could not read from '%s' properly.\n", p);
      break;
    case FileMessage::too_short:
      std::printf("File '%s' is shorter than the 32-byte name field; file left unchanged\n", p);
      break;
    case FileMessage::name_too_long:
      std::printf("Name for '%s' does not fit in the 32-byte name field; file left unchanged\n", p);
      break;
    case FileMessage::cannot_open_for_writing:
      std::printf("Could not open '%s' for writing\n", p);
      break;
    case FileMessage::cannot_write:
      std::printf("Could not write the file '%s' correctly\n", p);
      break;
    case FileMessage::wrong_count:
      std::printf("Incorrect number of bytes written for file '%s'. Expected %i, got %i\n", p,
                  name_field_size, static_cast<int>(report.bytes_written));
      break;
  }
  outcome.failure_reported = true;
}

void report_same_field(const std::string& walked_path, const std::string& first_path) {
  std::printf("Name field of '%s' is the same as that of '%s'\n", shown_path(walked_path).c_str(),
              shown_path(first_path).c_str());
  outcome.failure_reported = true;
}

void report_no_match(const std::string& typed_pattern) {
  std::printf("No file matches '%s'\n", shown_path(typed_pattern).c_str());
  outcome.failure_reported = true;
}

void print_usage() {
  std::printf("Usage: BENTRO [/s] [/?] <filename.wal>\n");
  std::printf(" /s : Do sub-directories\n");
}

void print_help() {
  print_usage();
  std::printf(" /k : Write '\\' instead of '/' between directories in the name field\n");
  std::printf(" /l : List only: show each name field that would change, write nothing\n");
  std::printf(" /q : Quiet: show a file's path only when a message about it follows\n");
  std::printf(" /c : Change only: write only the name fields that change, and show each\n");
  std::printf(" /f : Files: each argument names one file, '*' and '?' in it as they are\n");
  std::printf(" /t:FOLDER : Top folder: fields are derived from paths relative to FOLDER\n");
  std::printf(" /?, --help : Show this text; --version : show the version\n");
  std::printf(" -- : Every argument after it is a pattern or, with /f, a file name\n");
  std::printf("Patterns: '*' matches any run of characters, '?' one, and letters match in\n");
  std::printf("either case; a pattern ending in '.*' also matches names without it. A\n");
  std::printf("folder part, as in 'Base%cWall*.wal', keeps the walk to that folder of the\n",
              directory_separator);
  std::printf("top folder (with /s, and those below it); fields are derived as always.\n");
  std::printf("Exit status: 0 no failure, 1 an argument refused, 2 a failure reported,\n");
  std::printf("3 with /l no failure but a field that would change.\n");
  std::printf("Examples:\n%s", command_examples);
}

void print_version() { std::printf("bentro %s\n", BENTRO_VERSION); }

void print_refusal(Refusal refusal, const std::string& argument) {
  std::string shown = shown_path(argument);
  const char* p = shown.c_str();
  switch (refusal) {
    case Refusal::unknown_switch:
      std::printf("Unknown switch '%s'; the switches are /s /k /l /q /c /f /t:FOLDER /?\n", p);
      break;
    case Refusal::dash_switch:
      std::printf("Unknown switch '%s'; switches begin with '/': /s /k /l /q /c /f /t:FOLDER /?\n",
                  p);
      break;
    case Refusal::joined_switches:
      std::printf(
          "Unknown switch '%s'; give each switch on its own: /s /k /l /q /c /f /t:FOLDER /?\n", p);
      break;
    case Refusal::no_pattern:
      std::printf("No pattern given; name the files to repair, such as '*.wal'\n");
      break;
    case Refusal::pattern_leaves_top_folder:
      std::printf(
          "Folder part of pattern '%s' leads outside the top folder; name a folder below it\n", p);
      break;
    case Refusal::wildcard_in_folder_part:
      std::printf("Folder part of pattern '%s' holds a wildcard; only its last part may\n", p);
      break;
    case Refusal::recurse_with_named_files:
      std::printf("Switch /s does not go with /f, which names each file to repair\n");
      break;
    case Refusal::top_folder_not_given:
      std::printf("Switch '%s' names no folder; give it as /t:FOLDER\n", p);
      break;
    case Refusal::top_folder_above:
      std::printf("With /f, the top folder '%s' must lie in or below the current folder\n", p);
      break;
    case Refusal::inexact_argument:
      std::printf("Argument '%s' has characters outside the system code page\n", p);
      break;
  }
}

void warn_several_patterns(const std::string& pattern) {
  std::printf("Several patterns given; only '%s' is used%s\n", shown_path(pattern).c_str(),
              several_patterns_advice);
}

bool flush_output(StandardOutput output) {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout) && output == StandardOutput::open)
    return true;
  std::fputs("Could not write to standard output\n", stderr);
  return false;
}

void end_out_of_memory() {
  std::printf("Out of memory\n");
  flush_output(StandardOutput::open);
  std::_Exit(exit_failures);
}
