// Serves a folder through FUSE, answering each request only after a fixed
// delay, as a share on a slow network would, with many requests served at
// once. Usage: slow_fuse FOLDER MOUNT_POINT DELAY_MICROSECONDS; it serves
// until the mount point is unmounted (fusermount3 -u).
#define FUSE_USE_VERSION 312
#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string served;
useconds_t delay = 0;

// The served file's own path, once the request has waited its turn.
std::string served_path(const char* path) {
  usleep(delay);
  return served + path;
}

int result(int returned) { return returned < 0 ? -errno : returned; }

int get_attributes(const char* path, struct stat* status, fuse_file_info*) {
  return result(lstat(served_path(path).c_str(), status));
}

int read_link(const char* path, char* target, size_t size) {
  ssize_t length = readlink(served_path(path).c_str(), target, size - 1);
  if (length < 0) return -errno;
  target[length] = '\0';
  return 0;
}

int open_directory(const char* path, fuse_file_info* file) {
  DIR* directory = opendir(served_path(path).c_str());
  if (directory == nullptr) return -errno;
  file->fh = reinterpret_cast<std::uintptr_t>(directory);
  return 0;
}

int read_directory(const char*, void* listing, fuse_fill_dir_t fill, off_t, fuse_file_info* file,
                   fuse_readdir_flags) {
  usleep(delay);
  auto* directory = reinterpret_cast<DIR*>(file->fh);
  rewinddir(directory);
  while (dirent* entry = readdir(directory)) {
    struct stat status {};
    status.st_ino = entry->d_ino;
    status.st_mode = static_cast<mode_t>(DTTOIF(entry->d_type));
    if (fill(listing, entry->d_name, &status, 0, static_cast<fuse_fill_dir_flags>(0)) != 0) break;
  }
  return 0;
}

int release_directory(const char*, fuse_file_info* file) {
  usleep(delay);
  closedir(reinterpret_cast<DIR*>(file->fh));
  return 0;
}

int open_file(const char* path, fuse_file_info* file) {
  int descriptor = open(served_path(path).c_str(), file->flags & ~O_NOFOLLOW);
  if (descriptor < 0) return -errno;
  file->fh = static_cast<std::uint64_t>(descriptor);
  return 0;
}

int read_file(const char*, char* data, size_t size, off_t offset, fuse_file_info* file) {
  usleep(delay);
  return result(static_cast<int>(pread(static_cast<int>(file->fh), data, size, offset)));
}

int write_file(const char*, const char* data, size_t size, off_t offset, fuse_file_info* file) {
  usleep(delay);
  return result(static_cast<int>(pwrite(static_cast<int>(file->fh), data, size, offset)));
}

int flush_file(const char*, fuse_file_info*) {
  usleep(delay);
  return 0;
}

int release_file(const char*, fuse_file_info* file) {
  usleep(delay);
  close(static_cast<int>(file->fh));
  return 0;
}

int file_system_status(const char* path, struct statvfs* status) {
  return result(statvfs(served_path(path).c_str(), status));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: slow_fuse FOLDER MOUNT_POINT DELAY_MICROSECONDS\n");
    return 2;
  }
  char* folder = realpath(argv[1], nullptr);
  if (folder == nullptr) {
    std::perror(argv[1]);
    return 2;
  }
  served = folder;
  delay = static_cast<useconds_t>(std::strtoul(argv[3], nullptr, 10));
  fuse_operations operations{};
  operations.getattr = get_attributes;
  operations.readlink = read_link;
  operations.opendir = open_directory;
  operations.readdir = read_directory;
  operations.releasedir = release_directory;
  operations.open = open_file;
  operations.read = read_file;
  operations.write = write_file;
  operations.flush = flush_file;
  operations.release = release_file;
  operations.statfs = file_system_status;
  char* options[] = {argv[0], const_cast<char*>("-o"), const_cast<char*>("default_permissions")};
  fuse_args arguments = FUSE_ARGS_INIT(3, options);
  fuse* server = fuse_new(&arguments, &operations, sizeof operations, nullptr);
  if (server == nullptr || fuse_mount(server, argv[2]) != 0) return 1;
  fuse_set_signal_handlers(fuse_get_session(server));
  // Many requests at once, each in a thread of its own, as a server would.
  fuse_loop_config* config = fuse_loop_cfg_create();
  fuse_loop_cfg_set_max_threads(config, 300);
  fuse_loop_cfg_set_idle_threads(config, 300);
  int status = fuse_loop_mt(server, config);
  fuse_loop_cfg_destroy(config);
  fuse_remove_signal_handlers(fuse_get_session(server));
  fuse_unmount(server);
  fuse_destroy(server);
  return status == 0 ? 0 : 1;
}
