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

struct DirectoryEntry {
  std::string name;
  bool is_directory;  // a real directory: links to directories are not
};

// Every entry of the directory named by `prefix` (which ends in the separator)
// whose name matches the wildcard `pattern`, in no particular order. A
// directory that cannot be searched yields nothing.
std::vector<DirectoryEntry> find_entries(const std::string& prefix, const std::string& pattern);

using FileHandle = std::intptr_t;
constexpr FileHandle no_file = -1;

struct OpenedFile {
  FileHandle handle;  // no_file if the open failed
  std::int64_t size;  // in bytes; -1 if it cannot be found
};

// Opens a regular file read-only and finds its size; anything else
// (directory, FIFO, device) is refused without blocking.
OpenedFile open_for_reading(const std::string& path);

// Reads exactly `length` bytes from the current position, continuing short
// reads. False if a call fails or the file ends first.
bool read_fully(FileHandle file, char* data, std::size_t length);

// Opens write-only at offset 0, creating the file if absent and never
// truncating it, so a failed write cannot shorten it.
FileHandle open_for_writing(const std::string& path);

struct WriteResult {
  bool failed;          // a call reported an error
  std::size_t written;  // bytes stored before it stopped
};

// Writes all of `data`, continuing partial writes until done, until a call
// fails, or until one stores nothing.
WriteResult write_fully(FileHandle file, const char* data, std::size_t length);

// False if the system reports an error, such as a delayed write that failed.
bool close_file(FileHandle file);
