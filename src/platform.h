// The thin layer between the tool and the operating system: directories
// held open, listed and opened relative to one another, and plain file
// access relative to a directory. Each platform has its own variant
// (platform-posix.cpp, ...); nothing above this header knows which.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

// The separator of walked paths and progress lines on this platform.
extern const char directory_separator;

// True for every byte that the platform takes as a directory separator.
bool is_directory_separator(char byte);

// Whether a typed path begins at a root rather than at the current folder
// ("/x"; on Windows also "\\x", "C:x" and the like).
bool names_a_root(std::string_view typed);

// Whether the file systems take names that differ only in letter case for
// one (Windows) or not (Linux).
extern const bool names_ignore_case;

// The arguments as typed. On Windows each is taken from the wide command
// line and marked inexact where the ANSI code page has no exact form for
// it: the C runtime's own form would hold a "best fit" character in its
// place, which may name another file.
struct TypedArgument {
  std::string text;
  bool exact = true;
};
std::vector<TypedArgument> typed_arguments(int argc, char** argv);

// What --help shows as examples, in the platform's own shell; and what a
// warning of several patterns adds, where a shell expands them.
extern const char* const command_examples;
extern const char* const several_patterns_advice;

// Whether names are UTF-8 (Linux) rather than in a single-byte code page
// (Windows' ANSI code page), which decides how they are shown.
extern const bool names_are_utf8;

// Readies the process before it opens any file: a closed standard descriptor
// is opened on the null device, so that no file opened later takes its
// number; a write past the file-size limit or to a pipe without a reader
// fails instead of ending the run; a request to stop (SIGINT, SIGTERM,
// SIGHUP, Ctrl-C) is noted for stop_request() instead of ending the run
// where it stands.
enum class StandardOutput { open, was_closed, unusable };
StandardOutput prepare_process();

// Writes `size` bytes of whole lines to standard output. To a pipe they go
// in pieces that each end a line and are taken whole or not at all; to
// anything else with the stop signals held back meanwhile: a run that a
// signal ends never leaves half a line behind. False if not all were taken.
bool write_standard_output(const char* data, std::size_t size);

// The stop request received so far (a signal number), 0 if none.
int stop_request();

// Ends the process as the stop request would have ended it at once.
[[noreturn]] void end_as_stopped(int request);

// An open directory; each platform defines what it holds. It is closed when
// its last holder lets go.
struct Directory;
using HeldDirectory = std::shared_ptr<Directory>;

enum class EntryKind { regular_file, directory, other };

struct DirectoryEntry {
  std::string name;           // the platform's 8-bit form of the name
  EntryKind kind;             // links are "other", never what they lead to
  bool name_is_exact = true;  // false where that form stands for another name
  std::uint64_t index = 0;    // its number on its volume, where the listing gives it
};

// The folder `path` (the one the tool was started in if empty), as `cd`
// would enter it; null if it cannot be opened.
HeldDirectory open_top_directory(const std::string& path);

// The entry `name` of `parent`, opened as a directory without following a
// link; null if it is no directory (any more), a link, or cannot be opened.
HeldDirectory open_sub_directory(Directory& parent, const std::string& name);

// What tells a directory from every other, whatever path led to it: the
// file system's device (or volume) and the directory's number on it.
struct Identity {
  std::uint64_t volume;
  std::uint64_t index;
  bool operator<(const Identity& other) const {
    return std::tie(volume, index) < std::tie(other.volume, other.index);
  }
};
Identity identity_of(const Directory& directory);

// What a directory's file system is: one of the kernel's own (procfs, sysfs
// and the like), whose files are interfaces to the kernel rather than data;
// one served over a network or by a FUSE server, where each request waits
// on another machine or process; any other; or unknown, where asking failed,
// which the walk takes for none it may enter.
enum class FileSystem { ordinary, remote, kernel, unchecked };
FileSystem file_system_of(const Directory& directory);

// Hands every entry of the directory to `take`, "." and ".." included where
// the platform lists them, in no particular order, until `take` returns
// false. False if the listing fails or `take` ends it, whatever was handed
// over before.
bool list_entries(Directory& directory, const std::function<bool(DirectoryEntry&)>& take);

// Whether listing the directory costs no more than looking up a few names
// in it: a few hundred entries at most, by its size. False where the
// listing gives no entry's number (`index`).
bool lists_cheaply(const Directory& directory);

// What `name` in `directory` is, without following a link and without
// opening it: false if there is no such entry. `entry.name_is_exact` is
// left to the caller.
bool look_up_entry(Directory& directory, const std::string& name, DirectoryEntry& entry,
                   Identity& identity);

using FileHandle = std::intptr_t;
constexpr FileHandle no_file = -1;

struct OpenedFile {
  FileHandle handle = no_file;  // no_file if the open failed
  std::int64_t size = 0;        // in bytes
  std::uint64_t names = 1;      // the file's names (hard links) on its file system
  // Mounted from one of the kernel's own file systems, though its
  // directory is not on one.
  bool on_kernel_file_system = false;
};

enum class Access { read_only, read_write };

// Opens the entry `name` of `directory`, an existing regular file, without
// creating or truncating it, without following a link and without blocking;
// anything else is refused.
OpenedFile open_file(Directory& directory, const std::string& name, Access access);

// One system call each, at `offset`, of at most a few bytes: the number of
// bytes moved, fewer at the end of the file or when no more could be stored,
// -1 on an error.
std::int64_t read_at(FileHandle file, char* data, std::size_t length, std::int64_t offset);
std::int64_t write_at(FileHandle file, const char* data, std::size_t length, std::int64_t offset);

// False if the system reports an error, such as a delayed write that failed.
bool close_file(FileHandle file);
