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
#include <cerrno>
#include <csignal>
#include <cstdlib>

const char directory_separator = '/';

bool is_directory_separator(char byte) { return byte == '/'; }

bool names_a_root(const std::string& typed) { return !typed.empty() && typed[0] == '/'; }

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

volatile std::sig_atomic_t received_stop = 0;

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

EntryKind kind_of_mode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::regular_file;
  return S_ISDIR(mode) ? EntryKind::directory : EntryKind::other;
}

// The listing's own type where the file system reports one; a link is a link.
EntryKind kind_of(int directory, const dirent& entry) {
  if (entry.d_type == DT_REG) return EntryKind::regular_file;
  if (entry.d_type == DT_DIR) return EntryKind::directory;
  if (entry.d_type != DT_UNKNOWN) return EntryKind::other;
  struct stat status;
  if (fstatat(directory, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::other;
  return kind_of_mode(status.st_mode);
}

bool is_kernel_file_system(int descriptor) {
  struct statfs status;
  if (fstatfs(descriptor, &status) != 0) return false;
  auto type = static_cast<unsigned long>(status.f_type);
  return std::find(std::begin(kernel_file_system_types), std::end(kernel_file_system_types),
                   type) != std::end(kernel_file_system_types);
}

HeldDirectory held(int descriptor) {
  struct stat status;
  if (descriptor < 0) return nullptr;
  if (fstat(descriptor, &status) != 0) {
    close(descriptor);
    return nullptr;
  }
  return std::make_shared<Directory>(descriptor, status);
}

int descriptor(FileHandle file) { return static_cast<int>(file); }

}  // namespace

StandardOutput prepare_process() {
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) catch_stop(signal);
  StandardOutput output = StandardOutput::open;
  for (int standard = 0; standard <= 2; ++standard) {
    if (fcntl(standard, F_GETFD) != -1 || errno != EBADF) continue;
    if (standard == 1) output = StandardOutput::was_closed;
    // The lowest free number is this one; failing that, a repaired file could
    // take it and receive the messages, so the run cannot go on.
    if (open("/dev/null", O_RDWR) != standard) return StandardOutput::unusable;
  }
  return output;
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
  return held(with_free_descriptor([&] { return open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
}

HeldDirectory open_sub_directory(Directory& parent, const std::string& name) {
  return held(with_free_descriptor([&] {
    return openat(parent.descriptor, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  }));
}

Identity identity_of(const Directory& directory) {
  return {static_cast<std::uint64_t>(directory.device),
          static_cast<std::uint64_t>(directory.inode)};
}

bool is_on_kernel_file_system(Directory& directory) {
  return is_kernel_file_system(directory.descriptor);
}

bool list_entries(Directory& directory, const std::function<bool(DirectoryEntry&)>& take) {
  // The listing reads through a descriptor of its own, given up when it is
  // done, so that each level of the walk holds only one.
  int listing =
      with_free_descriptor([&] { return fcntl(directory.descriptor, F_DUPFD_CLOEXEC, 0); });
  if (listing < 0) return false;
  DIR* stream = fdopendir(listing);
  if (stream == nullptr) {
    close(listing);
    return false;
  }
  bool complete = true;
  for (;;) {
    errno = 0;  // readdir's only way to tell an error from the end
    const dirent* entry = readdir(stream);
    if (entry == nullptr) {
      complete = errno == 0;
      break;
    }
    DirectoryEntry listed{entry->d_name, kind_of(directory.descriptor, *entry)};
    if (!take(listed)) {
      complete = false;
      break;
    }
  }
  closedir(stream);
  return complete;
}

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
  // from /sys or /proc is an interface to the kernel.
  bool kernel = status.st_dev != directory.device && is_kernel_file_system(descriptor);
  return {descriptor, status.st_size, status.st_nlink, kernel};
}

OpenedFile open_file(Directory& directory, const std::string& name, Access access) {
  int mode = access == Access::read_write ? O_RDWR : O_RDONLY;
  int descriptor = with_free_descriptor(
      [&] { return openat(directory.descriptor, name.c_str(), mode | file_open_flags); });
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
