// Every line the tool prints, in one place, with literal formats that the
// compiler checks.
#include "messages.h"

#include <cstdio>
#include <cstdlib>

#include "bentro.h"

namespace {

void append_hex(std::string& shown, unsigned char value) {
  const char digits[] = "0123456789abcdef";
  shown += {'\\', 'x', digits[value >> 4], digits[value & 0xf]};
}

bool is_control(unsigned char value) { return value < 0x20 || value == 0x7f; }

bool is_outside_printable_ascii(unsigned char value) { return value < 0x20 || value > 0x7e; }

std::string escaped(std::string_view bytes, bool (*needs_escape)(unsigned char)) {
  std::string shown;
  for (char byte : bytes) {
    auto value = static_cast<unsigned char>(byte);
    if (needs_escape(value))
      append_hex(shown, value);
    else
      shown += byte;
  }
  return shown;
}

// With /q, the progress line that no message has needed yet.
std::string waiting_progress;

void print_waiting_progress() {
  if (waiting_progress.empty()) return;
  std::printf("%s\n", waiting_progress.c_str());
  waiting_progress.clear();
}

bool is_about_directory(Failure failure) {
  return failure == Failure::cannot_list || failure == Failure::kernel_file_system;
}

}  // namespace

std::string shown_path(std::string_view path) { return escaped(path, is_control); }

std::string shown_field(std::string_view field) {
  std::size_t end = field.find_last_not_of('\0');
  return escaped(field.substr(0, end == std::string_view::npos ? 0 : end + 1),
                 is_outside_printable_ascii);
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
    case Failure::cannot_open:
      std::printf("Could not open file '%s' for reading.\n", p);
      break;
    case Failure::name_outside_code_page:
      std::printf("Name of '%s' has characters outside the system code page; file left unchanged\n",
                  p);
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
