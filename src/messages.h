// Every line the tool prints goes through here. Paths and names are shown
// with each control byte as \xNN, so that no name can pass for a line of
// its own or drive the terminal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform.h"

// A path or a name as every message shows it, with each control character
// as \xNN: bytes 0x00-0x1F and 0x7F, and where names are UTF-8 the C1
// controls U+0080-U+009F (each byte of their sequences) and the bytes
// 0x80-0x9F outside a valid sequence. Every other byte above 127 is shown as
// it is, so that names in UTF-8 or in the system's code page read as they
// should.
std::string shown_path(std::string_view path);

// A name field as a listing shows it: without its trailing zero bytes, each
// byte outside 0x20-0x7E as \xNN.
std::string shown_field(std::string_view field);

// Every failure the walk can meet. Each has one message, naming the path,
// and each marks the run as failed.
enum class Failure {
  cannot_list,
  kernel_file_system,
  nested_too_deeply,
  cannot_open,
  name_outside_code_page,
  file_on_kernel_file_system,
  several_names,
  cannot_read,
  too_short,
  name_too_long,
  cannot_open_for_writing,
  cannot_write,
};

// The directory failures take the directory's walked path without its final
// separator.
void report_failure(Failure failure, const std::string& path);

// A directory reached again by another path, not entered again.
void report_same_directory(const std::string& path, const std::string& first_path);

// A write that stored `written` bytes of the field, without an error.
void report_wrong_count(const std::string& path, std::int64_t written);

// The line that names each visited entry; with /q it waits until a message
// about that entry follows, and is dropped if none does.
void print_progress(const std::string& walked_path);

// With /l: the old and the new field, where they differ.
void report_field_change(std::string_view old_field, std::string_view new_field);

void print_usage();
void print_version();

enum class Refusal { dash_switch, joined_switches, pattern_names_directory };
void print_refusal(Refusal refusal, const std::string& argument);

void warn_several_patterns(const std::string& pattern);

// Flushes standard output. False, after saying so on standard error, if it
// could not take every line or was not open from the start.
bool flush_output(StandardOutput output);

// Says so, flushes what was printed and ends the run with status 2.
[[noreturn]] void end_out_of_memory();
