// The thin layer between the tool and the operating system: one directory
// search and plain file access. Each platform has its own variant
// (platform-posix.cpp, ...); nothing above this header knows which.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The separator of walked paths and progress lines on this platform.
extern const char directory_separator;

// True for every byte that the platform takes as a directory separator.
bool is_directory_separator(char byte);

// Readies the process before it opens any file: a write past the file-size
// limit fails instead of ending the run, and a closed standard descriptor is
// opened on the null device, so that no file opened later takes its number.
// False if standard output was closed.
bool prepare_process();

struct DirectoryEntry {
  std::string name;
  bool matches;       // the name matches the pattern
  bool is_directory;  // a real directory: links and junctions are not
};

// Adds every entry of the directory named by `prefix` (which ends in the
// separator) whose name matches the wildcard `pattern`, and with
// `with_directories` every directory too, in no particular order. False if
// the directory cannot be listed; matching nothing is no failure.
bool find_entries(const std::string& prefix, const std::string& pattern, bool with_directories,
                  std::vector<DirectoryEntry>& entries);

using FileHandle = std::intptr_t;
constexpr FileHandle no_file = -1;

struct OpenedFile {
  FileHandle handle;  // no_file if the open failed
  std::int64_t size;  // in bytes
};

enum class Access { read_only, read_write };

// Opens an existing regular file, without creating or truncating it, without
// following a link and without blocking; anything else is refused.
OpenedFile open_file(const std::string& path, Access access);

// One system call each, at `offset`: the number of bytes moved, 0 at the end
// of the file or when nothing could be stored, -1 on an error.
std::int64_t read_at(FileHandle file, char* data, std::size_t length, std::int64_t offset);
std::int64_t write_at(FileHandle file, const char* data, std::size_t length, std::int64_t offset);

// False if the system reports an error, such as a delayed write that failed.
bool close_file(FileHandle file);
