// The platform layer over POSIX calls.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

std::vector<DirectoryEntry> find_entries(const std::string& prefix, const std::string& pattern) {
  std::vector<DirectoryEntry> entries;
  DIR* directory = opendir(prefix.c_str());
  if (directory == nullptr) return entries;
  while (const dirent* entry = readdir(directory)) {
    if (wildcard_match(pattern, entry->d_name))
      entries.push_back({entry->d_name, is_real_directory(prefix, *entry)});
  }
  closedir(directory);
  return entries;
}

OpenedFile open_for_reading(const std::string& path) {
  // O_NONBLOCK: a FIFO or a device must not hold up the walk.
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return {no_file, -1};
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return {no_file, -1};
  }
  return {fd, status.st_size};
}

bool read_fully(FileHandle file, char* data, std::size_t length) {
  std::size_t done = 0;
  while (done < length) {
    ssize_t got = read(descriptor(file), data + done, length - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

FileHandle open_for_writing(const std::string& path) {
  // No O_TRUNC: the old bytes stay until new ones replace them.
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  return fd < 0 ? no_file : fd;
}

WriteResult write_fully(FileHandle file, const char* data, std::size_t length) {
  std::size_t done = 0;
  while (done < length) {
    ssize_t put = write(descriptor(file), data + done, length - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return {true, done};
    if (put == 0) break;
    done += static_cast<std::size_t>(put);
  }
  return {false, done};
}

bool close_file(FileHandle file) { return close(descriptor(file)) == 0; }
