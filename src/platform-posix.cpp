// The platform layer over POSIX calls.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform.h"
#include "wildcard.h"

const char directory_separator = '/';

bool is_directory_separator(char byte) { return byte == '/'; }

namespace {

bool is_real_directory(const std::string& prefix, const dirent& entry) {
  if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
  struct stat status;
  return lstat((prefix + entry.d_name).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

int descriptor(FileHandle file) { return static_cast<int>(file); }

}  // namespace

bool prepare_process() {
  std::signal(SIGXFSZ, SIG_IGN);
  bool output_open = true;
  for (int standard = 0; standard <= 2; ++standard) {
    if (fcntl(standard, F_GETFD) != -1 || errno != EBADF) continue;
    if (standard == 1) output_open = false;
    // The lowest free number is this one; failing that, a repaired file could
    // take it and receive the messages, so the run cannot go on.
    if (open("/dev/null", O_RDWR) != standard) {
      std::fputs("Could not write to standard output\n", stderr);
      std::_Exit(2);
    }
  }
  return output_open;
}

bool find_entries(const std::string& prefix, const std::string& pattern, bool with_directories,
                  std::vector<DirectoryEntry>& entries) {
  DIR* directory = opendir(prefix.c_str());
  if (directory == nullptr) return false;
  for (;;) {
    errno = 0;  // readdir's only way to tell an error from the end
    const dirent* entry = readdir(directory);
    if (entry == nullptr) break;
    bool matches = wildcard_match(pattern, entry->d_name);
    bool is_directory = is_real_directory(prefix, *entry);
    if (matches || (with_directories && is_directory))
      entries.push_back({entry->d_name, matches, is_directory});
  }
  bool complete = errno == 0;
  closedir(directory);
  return complete;
}

OpenedFile open_file(const std::string& path, Access access) {
  int mode = access == Access::read_write ? O_RDWR : O_RDONLY;
  int fd = open(path.c_str(), mode | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return {no_file, 0};
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return {no_file, 0};
  }
  return {fd, status.st_size};
}

std::int64_t read_at(FileHandle file, char* data, std::size_t length, std::int64_t offset) {
  ssize_t got;
  do got = pread(descriptor(file), data, length, offset);
  while (got < 0 && errno == EINTR);
  return got;
}

std::int64_t write_at(FileHandle file, const char* data, std::size_t length, std::int64_t offset) {
  ssize_t put;
  do put = pwrite(descriptor(file), data, length, offset);
  while (put < 0 && errno == EINTR);
  return put;
}

bool close_file(FileHandle file) { return close(descriptor(file)) == 0; }
