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

// The length of the valid UTF-8 sequence that `bytes` begins with, and its
// character; 0, leaving `character` alone, if it begins with none.
std::size_t utf8_sequence(std::string_view bytes, char32_t& character) {
  auto lead = static_cast<unsigned char>(bytes[0]);
  std::size_t length = lead < 0x80   ? 1
                       : lead < 0xc0 ? 0
                       : lead < 0xe0 ? 2
                       : lead < 0xf0 ? 3
                       : lead < 0xf8 ? 4
                                     : 0;
  if (length == 0 || length > bytes.size()) return 0;
  char32_t decoded = length == 1 ? lead : lead & (0x7f >> length);
  for (std::size_t at = 1; at < length; ++at) {
    auto next = static_cast<unsigned char>(bytes[at]);
    if ((next & 0xc0) != 0x80) return 0;
    decoded = decoded << 6 | (next & 0x3f);
  }
  const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};  // shorter forms are not valid
  if (decoded < smallest[length] || decoded > 0x10ffff || (decoded >= 0xd800 && decoded <= 0xdfff))
    return 0;
  character = decoded;
  return length;
}

// C0, DEL and, where names are UTF-8, C1: what a terminal may act on.
bool is_control(char32_t character) {
  return character < 0x20 || character == 0x7f ||
         (names_are_utf8 && character >= 0x80 && character <= 0x9f);
}

// With /q, the progress line that no message has needed yet.
std::string waiting_progress;

void print_waiting_progress() {
  if (waiting_progress.empty()) return;
  std::printf("%s\n", waiting_progress.c_str());
  waiting_progress.clear();
}

bool is_about_directory(Failure failure) {
  return failure == Failure::cannot_list || failure == Failure::kernel_file_system ||
         failure == Failure::nested_too_deeply;
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

void print_progress(const std::string& walked_path) {
  waiting_progress = shown_path(walked_path);
  if (!settings.quiet) print_waiting_progress();
}

void report_failure(Failure failure, const std::string& path) {
  // A directory's message follows no progress line of its own.
  if (!is_about_directory(failure)) print_waiting_progress();
  std::string shown = shown_path(path);
  const char* p = shown.c_str();
  switch (failure) {
    case Failure::cannot_list:
      std::printf("Could not list directory '%s'\n", p);
      break;
    case Failure::kernel_file_system:
      std::printf("Directory '%s' is on a kernel file system; not entered\n", p);
      break;
    case Failure::nested_too_deeply:
      std::printf("Directory '%s' is nested too deeply; not entered\n", p);
      break;
    case Failure::cannot_open:
      std::printf("Could not open file '%s' for reading.\n", p);
      break;
    case Failure::name_outside_code_page:
      std::printf("Name of '%s' has characters outside the system code page; file left unchanged\n",
                  p);
      break;
    case Failure::file_on_kernel_file_system:
      std::printf("File '%s' is on a kernel file system; file left unchanged\n", p);
      break;
    case Failure::several_names:
      std::printf("File '%s' has more than one name (hard links); file left unchanged\n", p);
      break;
    case Failure::cannot_read:
      std::printf("Could not read from '%s' properly.\n", p);
      break;
    case Failure::too_short:
      std::printf("File '%s' is shorter than the 32-byte name field; file left unchanged\n", p);
      break;
    case Failure::name_too_long:
      std::printf("Name for '%s' does not fit in the 32-byte name field; file left unchanged\n", p);
      break;
    case Failure::cannot_open_for_writing:
      std::printf("Could not open '%s' for writing\n", p);
      break;
    case Failure::cannot_write:
      std::printf("Could not write the file '%s' correctly\n", p);
      break;
  }
  outcome.failure_reported = true;
}

void report_same_directory(const std::string& path, const std::string& first_path) {
  std::printf("Directory '%s' is the same as '%s'; not entered\n", shown_path(path).c_str(),
              shown_path(first_path).c_str());
  outcome.failure_reported = true;
}

void report_wrong_count(const std::string& path, std::int64_t written) {
  print_waiting_progress();
  std::printf("Incorrect number of bytes written for file '%s'. Expected %i, got %i\n",
              shown_path(path).c_str(), name_field_size, static_cast<int>(written));
  outcome.failure_reported = true;
}

void report_field_change(std::string_view old_field, std::string_view new_field) {
  if (old_field == new_field) return;
  print_waiting_progress();
  std::printf("Name field would change from '%s' to '%s'\n", shown_field(old_field).c_str(),
              shown_field(new_field).c_str());
  outcome.field_would_change = true;
}

void print_usage() {
  std::printf("Usage: BENTRO [/s] [/?] <filename.wal>\n");
  std::printf(" /s : Do sub-directories\n");
}

void print_version() { std::printf("bentro %s\n", BENTRO_VERSION); }

void print_refusal(Refusal refusal, const std::string& argument) {
  std::string shown = shown_path(argument);
  switch (refusal) {
    case Refusal::dash_switch:
      std::printf("Unknown switch '%s'; switches begin with '/': /s, /k, /l, /q\n", shown.c_str());
      break;
    case Refusal::joined_switches:
      std::printf("Unknown switch '%s'; give each switch on its own: /s /k /l /q\n", shown.c_str());
      break;
    case Refusal::pattern_names_directory:
      std::printf("Pattern '%s' names a directory; start the tool in that directory instead\n",
                  shown.c_str());
      break;
  }
}

void warn_several_patterns(const std::string& pattern) {
  std::printf(
      "Several patterns given; only '%s' is used (quote the pattern to keep the shell from "
      "expanding it)\n",
      shown_path(pattern).c_str());
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
