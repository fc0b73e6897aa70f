// The platform layer over POSIX calls, with Linux's file system types. Every
// directory and file is opened relative to a directory the walk holds open,
// so that nothing swapped in above it can lead the walk elsewhere.
#include "platform-posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

const char directory_separator = '/';

bool is_directory_separator(char byte) { return byte == '/'; }

bool names_a_root(std::string_view typed) { return !typed.empty() && typed[0] == '/'; }

const bool names_ignore_case = false;

const bool names_are_utf8 = true;

const char* const command_examples =
    "  bentro /s \"*.wal\"           repair every .wal file here and below\n"
    "  git ls-files -z ':(icase)*.wal' | xargs -0 bentro /l /q /f --\n"
    "                              check every .wal file of a git repository\n";
const char* const several_patterns_advice =
    " (quote the pattern to keep the shell from expanding it)";

std::vector<TypedArgument> typed_arguments(int argc, char** argv) {
  std::vector<TypedArgument> arguments;
  arguments.reserve(static_cast<std::size_t>(argc));
  for (int i = 0; i < argc; ++i) arguments.push_back({argv[i]});
  return arguments;
}

Directory::~Directory() { close(descriptor); }

namespace {

bool (*descriptor_giver)() = nullptr;

// Runs `open` (a call that returns a new descriptor) once more if it found
// none free and the descriptors held for later could be given back.
template <typename Open>
int with_free_descriptor(Open open) {
  int descriptor = open();
  if (descriptor < 0 && (errno == EMFILE || errno == ENFILE) && descriptor_giver != nullptr &&
      descriptor_giver())
    descriptor = open();
  return descriptor;
}

// Read by the rings' threads too: lock-free, as a signal handler needs.
std::atomic<int> received_stop{0};

constexpr int stop_signals[] = {SIGINT, SIGTERM, SIGHUP};

// Whether standard output is a pipe or a socket, which a writer blocked on
// it must be free to leave.
bool output_is_pipe = false;

void note_stop(int signal) { received_stop = signal; }

// Left alone when ignored already, as nohup and background jobs start us.
void catch_stop(int signal) {
  struct sigaction current {};
  if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = note_stop;
  sigemptyset(&action.sa_mask);
  // A second signal ends the run at once, even one held by a full pipe.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  sigaction(signal, &action, nullptr);
}

// The kernel's own file systems, by the type fstatfs reports; the last five
// have no name in <linux/magic.h>.
constexpr unsigned long kernel_file_system_types[] = {
    PROC_SUPER_MAGIC, SYSFS_MAGIC,        DEBUGFS_MAGIC,        TRACEFS_MAGIC,
    SECURITYFS_MAGIC, CGROUP_SUPER_MAGIC, CGROUP2_SUPER_MAGIC,  EFIVARFS_MAGIC,
    BPF_FS_MAGIC,     PSTOREFS_MAGIC,     SELINUX_MAGIC,        SMACK_MAGIC,
    AAFS_MAGIC,       BINFMTFS_MAGIC,     RDTGROUP_SUPER_MAGIC, DEVPTS_SUPER_MAGIC,
    0x62656570,  // configfs
    0x65735543,  // fusectl
    0x19800202,  // mqueue
    0x67596969,  // rpc_pipefs
    0x6e667364,  // nfsd
};

// File systems served over a network or by a FUSE server; the last ones
// have no name in <linux/magic.h>.
constexpr unsigned long remote_file_system_types[] = {
    NFS_SUPER_MAGIC, SMB_SUPER_MAGIC, CIFS_SUPER_MAGIC, SMB2_SUPER_MAGIC, CEPH_SUPER_MAGIC,
    AFS_SUPER_MAGIC, AFS_FS_MAGIC,    V9FS_MAGIC,       CODA_SUPER_MAGIC,
    0x65735546,  // fuse
    0x564c,      // ncpfs
};

template <std::size_t size>
bool among(unsigned long type, const unsigned long (&types)[size]) {
  return std::find(std::begin(types), std::end(types), type) != std::end(types);
}

FileSystem file_system_at(int descriptor) {
  struct statfs status;
  if (fstatfs(descriptor, &status) != 0) return FileSystem::unchecked;
  auto type = static_cast<unsigned long>(status.f_type);
  if (among(type, kernel_file_system_types)) return FileSystem::kernel;
  return among(type, remote_file_system_types) ? FileSystem::remote : FileSystem::ordinary;
}

EntryKind kind_of_mode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::regular_file;
  return S_ISDIR(mode) ? EntryKind::directory : EntryKind::other;
}

// The listing's own type where the file system reports one; a link is a link.
EntryKind kind_of(int directory, const dirent64& entry) {
  if (entry.d_type == DT_REG) return EntryKind::regular_file;
  if (entry.d_type == DT_DIR) return EntryKind::directory;
  if (entry.d_type != DT_UNKNOWN) return EntryKind::other;
  struct stat status;
  if (fstatat(directory, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::other;
  return kind_of_mode(status.st_mode);
}

// The directory opened as `descriptor`, inside `parent` unless that is null.
// One on its parent's device is on its parent's file system: only a mount
// point needs asking, which on a share is a request to the server.
HeldDirectory held(int descriptor, const Directory* parent) {
  struct stat status;
  if (descriptor < 0) return nullptr;
  if (fstat(descriptor, &status) != 0) {
    close(descriptor);
    return nullptr;
  }
  FileSystem file_system = parent != nullptr && parent->device == status.st_dev
                               ? parent->file_system
                               : file_system_at(descriptor);
  return std::make_shared<Directory>(descriptor, status, file_system);
}

int descriptor(FileHandle file) { return static_cast<int>(file); }

}  // namespace

StandardOutput prepare_process() {
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  for (int signal : stop_signals) catch_stop(signal);
  StandardOutput output = StandardOutput::open;
  for (int standard = 0; standard <= 2; ++standard) {
    if (fcntl(standard, F_GETFD) != -1 || errno != EBADF) continue;
    if (standard == 1) output = StandardOutput::was_closed;
    // The lowest free number is this one; failing that, a repaired file could
    // take it and receive the messages, so the run cannot go on.
    if (open("/dev/null", O_RDWR) != standard) return StandardOutput::unusable;
  }
  struct stat status;
  output_is_pipe = fstat(1, &status) == 0 && (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode));
  return output;
}

bool write_standard_output(const char* data, std::size_t size) {
  sigset_t stops;
  sigemptyset(&stops);
  for (int signal : stop_signals) sigaddset(&stops, signal);
  while (size > 0) {
    // A piece of a pipe's size or less is written whole or not at all.
    std::size_t piece = size;
    if (output_is_pipe && piece > PIPE_BUF) {
      auto end = static_cast<const char*>(memrchr(data, '\n', PIPE_BUF));
      if (end == nullptr) end = static_cast<const char*>(std::memchr(data, '\n', size));
      piece = end == nullptr ? size : static_cast<std::size_t>(end - data) + 1;
    }
    sigset_t was;
    if (!output_is_pipe) sigprocmask(SIG_BLOCK, &stops, &was);
    ssize_t written = write(1, data, piece);
    if (!output_is_pipe) sigprocmask(SIG_SETMASK, &was, nullptr);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

int stop_request() { return received_stop; }

void end_as_stopped(int request) {
  std::signal(request, SIG_DFL);
  std::raise(request);
  std::_Exit(128 + request);  // only if the signal could not end the process
}

void set_descriptor_giver(bool (*give_back)()) { descriptor_giver = give_back; }

HeldDirectory open_top_directory(const std::string& path) {
  const char* name = path.empty() ? "." : path.c_str();
  return held(with_free_descriptor([&] { return open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC); }),
              nullptr);
}

HeldDirectory open_sub_directory(Directory& parent, const std::string& name) {
  return held(with_free_descriptor([&] {
                return openat(parent.descriptor, name.c_str(),
                              O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
              }),
              &parent);
}

Identity identity_of(const Directory& directory) {
  return {static_cast<std::uint64_t>(directory.device),
          static_cast<std::uint64_t>(directory.inode)};
}

FileSystem file_system_of(const Directory& directory) { return directory.file_system; }

bool list_entries(Directory& directory, const std::function<bool(DirectoryEntry&)>& take) {
  // Straight from the kernel: the C library's readdir takes some errors for
  // the end of the folder, which would skip its files unseen.
  alignas(dirent64) static char buffer[32 * 1024];
  if (lseek(directory.descriptor, 0, SEEK_SET) != 0) return false;
  for (;;) {
    long size = getdents64(directory.descriptor, buffer, sizeof buffer);
    if (size <= 0) return size == 0;
    for (long at = 0; at < size;) {
      const auto& entry = *reinterpret_cast<const dirent64*>(buffer + at);
      at += entry.d_reclen;
      DirectoryEntry listed{entry.d_name, kind_of(directory.descriptor, entry), true, entry.d_ino};
      if (!take(listed)) return false;
    }
  }
}

// A directory's size is some 20 bytes an entry or more (tmpfs counts 20,
// ext4 8 and the name, rounded up, in blocks of 4,096).
bool lists_cheaply(const Directory& directory) { return directory.size <= 20 * 256; }

bool look_up_entry(Directory& directory, const std::string& name, DirectoryEntry& entry,
                   Identity& identity) {
  struct stat status;
  if (fstatat(directory.descriptor, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return false;
  entry = {name, kind_of_mode(status.st_mode)};
  identity = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
  return true;
}

OpenedFile checked_file(const Directory& directory, int descriptor) {
  // The listing said a regular file; this holds for what was really opened.
  struct stat status;
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(descriptor);
    return {};
  }
  // Only a mount point can lead to another file system: a file bound there
  // from /sys or /proc is an interface to the kernel. One whose file system
  // cannot be told is none to touch.
  FileSystem file_system =
      status.st_dev == directory.device ? directory.file_system : file_system_at(descriptor);
  if (file_system == FileSystem::unchecked) {
    close(descriptor);
    return {};
  }
  return {descriptor, status.st_size, status.st_nlink, file_system == FileSystem::kernel};
}

// Read by the rings' threads too.
std::atomic<int> access_time_kept{O_NOATIME};

int access_time_flag() { return access_time_kept.load(std::memory_order_relaxed); }

void access_time_refused() { access_time_kept.store(0, std::memory_order_relaxed); }

OpenedFile open_file(Directory& directory, const std::string& name, Access access) {
  int flags = (access == Access::read_write ? O_RDWR : O_RDONLY) | file_open_flags;
  int kept = access_time_flag();
  int descriptor = with_free_descriptor(
      [&] { return openat(directory.descriptor, name.c_str(), flags | kept); });
  if (descriptor < 0 && errno == EPERM && kept != 0) {
    descriptor =
        with_free_descriptor([&] { return openat(directory.descriptor, name.c_str(), flags); });
    if (descriptor >= 0) access_time_refused();
  }
  if (descriptor < 0) return {};
  return checked_file(directory, descriptor);
}

// No signal interrupts these: the handlers restart system calls, and the
// other signals that could are ignored.
std::int64_t read_at(FileHandle file, char* data, std::size_t length, std::int64_t offset) {
  return pread(descriptor(file), data, length, offset);
}

std::int64_t write_at(FileHandle file, const char* data, std::size_t length, std::int64_t offset) {
  return pwrite(descriptor(file), data, length, offset);
}

bool close_file(FileHandle file) { return close(descriptor(file)) == 0; }
