// The platform layer over the Windows calls. Directories are listed through
// the wide-character interface from their own handles, and every directory
// and file is opened relative to the handle of its directory by its exact
// name: no Win32 path rules (trailing points and spaces dropped, device
// names such as COM1.wal), no short names, and no link on the way followed.
// windows.h first, as the others need what it declares.
// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <winternl.h>
// clang-format on

#include <cstdio>
#include <string>
#include <vector>

#include "platform.h"

// The arguments must reach main as typed: "*.wal" is the tool's to match,
// not the C runtime's to expand into file names.
extern "C" {
int _dowildcard = 0;
}

const char directory_separator = '\\';

bool is_directory_separator(char byte) { return byte == '\\' || byte == '/'; }

// "\x", "\\server\share", and every form with a drive ("C:x"); a ':' elsewhere
// would name a stream of the file.
bool names_a_root(std::string_view typed) {
  return (!typed.empty() && is_directory_separator(typed[0])) ||
         typed.find(':') != std::string_view::npos;
}

const bool names_ignore_case = true;

const bool names_are_utf8 = false;

const char* const command_examples =
    "  bentro /s *.wal                    repair every .wal file here and below\n"
    "  bentro /l /q /f /t:textures textures\\base\\wall1.wal\n"
    "                                     check one file, its field relative to textures\n";
const char* const several_patterns_advice = "";

struct Directory {
  HANDLE handle;
  Identity identity;
  Directory(HANDLE handle, Identity identity) : handle(handle), identity(identity) {}
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;
  ~Directory() { CloseHandle(handle); }
};

namespace {

HANDLE handle_of(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

volatile LONG received_stop = 0;

// Runs on a thread of its own; the walk sees the flag between two files.
BOOL WINAPI note_stop(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  InterlockedExchange(&received_stop, static_cast<LONG>(event) + 1);
  return TRUE;
}

// Symbolic links and junctions; other reparse points, such as the
// placeholders of cloud-synced folders, are ordinary files and directories.
bool is_link(DWORD attributes, DWORD reparse_tag) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsReparseTagNameSurrogate(reparse_tag);
}

constexpr ULONG shared = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The name in the system's ANSI code page, '?' where a character has none;
// `exact` tells whether it converts back to the very same name.
std::string narrow(const WCHAR* wide, int length, bool& exact) {
  exact = true;  // an empty argument
  if (length == 0) return {};
  // UTF-8 as the code page has a form for every name and takes no flags.
  static const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL defaulted = FALSE;
  BOOL* used_default = flags != 0 ? &defaulted : nullptr;
  int size = WideCharToMultiByte(CP_ACP, flags, wide, length, nullptr, 0, "?", used_default);
  std::string name(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide, length, name.data(), size, "?", used_default);
  std::wstring back(static_cast<std::size_t>(length), L'\0');
  int back_length = MultiByteToWideChar(CP_ACP, 0, name.data(), size, back.data(), length);
  exact = size > 0 && !defaulted && back_length == length &&
          back.compare(0, back.size(), wide, static_cast<std::size_t>(length)) == 0;
  return name;
}

// The walk opens only names that were exact, so this is the listed name.
std::wstring widen(const std::string& name) {
  int size = static_cast<int>(name.size());
  int length = MultiByteToWideChar(CP_ACP, 0, name.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, name.data(), size, wide.data(), length);
  return wide;
}

// Opens `name` in `directory` as the file system names it, not as a Win32
// path, and a reparse point itself rather than what it leads to.
HANDLE open_relative(Directory& directory, const std::string& name, ACCESS_MASK access, ULONG share,
                     ULONG options) {
  std::wstring wide = widen(name);
  auto bytes = static_cast<USHORT>(wide.size() * sizeof(WCHAR));
  UNICODE_STRING object_name{bytes, bytes, wide.data()};
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &object_name, 0, directory.handle, nullptr);
  IO_STATUS_BLOCK status;
  HANDLE handle = INVALID_HANDLE_VALUE;
  NTSTATUS result = NtCreateFile(
      &handle, access | SYNCHRONIZE, &attributes, &status, nullptr, 0, share, FILE_OPEN,
      options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
  return NT_SUCCESS(result) ? handle : INVALID_HANDLE_VALUE;
}

// A link is refused; another kind of reparse point is opened once more from
// the handle in hand, never by name, so that its own driver serves it.
HANDLE past_reparse_point(HANDLE handle, DWORD access, DWORD share, DWORD flags) {
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag)) {
    CloseHandle(handle);
    return INVALID_HANDLE_VALUE;
  }
  if ((tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return handle;
  HANDLE reopened = is_link(tag.FileAttributes, tag.ReparseTag)
                        ? INVALID_HANDLE_VALUE
                        : ReOpenFile(handle, access, share, flags);
  CloseHandle(handle);
  return reopened;
}

std::uint64_t joined(DWORD high, DWORD low) { return std::uint64_t{high} << 32 | low; }

HeldDirectory held(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION facts;
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  if (!GetFileInformationByHandle(handle, &facts)) {
    CloseHandle(handle);
    return nullptr;
  }
  Identity identity{facts.dwVolumeSerialNumber, joined(facts.nFileIndexHigh, facts.nFileIndexLow)};
  return std::make_shared<Directory>(handle, identity);
}

EntryKind kind_of(const FILE_FULL_DIR_INFO& entry) {
  // For a reparse point the listing gives its tag in place of the EA size.
  if (is_link(entry.FileAttributes, entry.EaSize)) return EntryKind::other;
  if ((entry.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::directory;
  if ((entry.FileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) return EntryKind::other;
  return EntryKind::regular_file;
}

OVERLAPPED at(std::int64_t offset) {
  OVERLAPPED position{};
  position.Offset = static_cast<DWORD>(offset);
  position.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return position;
}

}  // namespace

std::vector<TypedArgument> typed_arguments(int argc, char** argv) {
  std::vector<TypedArgument> arguments;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {  // no memory: the C runtime's form, which cannot be checked
    for (int i = 0; i < argc; ++i) arguments.push_back({argv[i]});
    return arguments;
  }
  for (int i = 0; i < count; ++i) {
    TypedArgument argument;
    argument.text = narrow(wide[i], lstrlenW(wide[i]), argument.exact);
    arguments.push_back(std::move(argument));
  }
  LocalFree(wide);
  return arguments;
}

StandardOutput prepare_process() {
  SetConsoleCtrlHandler(note_stop, TRUE);
  return StandardOutput::open;  // handles and descriptors never share numbers
}

// The C runtime writes each line feed as CR LF, as a console program's output
// should be.
bool write_standard_output(const char* data, std::size_t size) {
  return std::fwrite(data, 1, size, stdout) == size && std::fflush(stdout) == 0;
}

int stop_request() { return static_cast<int>(received_stop); }

void end_as_stopped(int) { ExitProcess(STATUS_CONTROL_C_EXIT); }

constexpr DWORD listing_access = FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE;

HeldDirectory open_top_directory(const std::string& path) {
  std::wstring wide = path.empty() ? L"." : widen(path);
  return held(CreateFileW(wide.c_str(), listing_access, shared, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

HeldDirectory open_sub_directory(Directory& parent, const std::string& name) {
  HANDLE handle = open_relative(parent, name, listing_access, shared, FILE_DIRECTORY_FILE);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return held(past_reparse_point(handle, listing_access, shared, FILE_FLAG_BACKUP_SEMANTICS));
}

Identity identity_of(const Directory& directory) { return directory.identity; }

// No Windows file system serves the kernel's interfaces as files in folders,
// and files are repaired one at a time everywhere.
FileSystem file_system_of(const Directory&) { return FileSystem::ordinary; }

bool list_entries(Directory& directory, const std::function<bool(DirectoryEntry&)>& take) {
  // Entries are aligned to 8 bytes within the buffer.
  std::vector<LONGLONG> buffer(64 * 1024 / sizeof(LONGLONG));
  auto* bytes = reinterpret_cast<char*>(buffer.data());
  DWORD size = static_cast<DWORD>(buffer.size() * sizeof(LONGLONG));
  FILE_INFO_BY_HANDLE_CLASS next = FileFullDirectoryRestartInfo;
  while (GetFileInformationByHandleEx(directory.handle, next, bytes, size)) {
    next = FileFullDirectoryInfo;
    for (std::size_t at = 0;;) {
      const auto& found = *reinterpret_cast<const FILE_FULL_DIR_INFO*>(bytes + at);
      DirectoryEntry entry{"", kind_of(found)};
      entry.name = narrow(found.FileName, static_cast<int>(found.FileNameLength / sizeof(WCHAR)),
                          entry.name_is_exact);
      if (!take(entry)) return false;
      if (found.NextEntryOffset == 0) break;
      at += found.NextEntryOffset;
    }
  }
  return GetLastError() == ERROR_NO_MORE_FILES;
}

// The listing used here gives no file numbers.
bool lists_cheaply(const Directory&) { return false; }

bool look_up_entry(Directory& directory, const std::string& name, DirectoryEntry& entry,
                   Identity& identity) {
  HANDLE handle = open_relative(directory, name, FILE_READ_ATTRIBUTES, shared, 0);
  if (handle == INVALID_HANDLE_VALUE) return false;
  FILE_ATTRIBUTE_TAG_INFO tag{};
  BY_HANDLE_FILE_INFORMATION facts;
  bool known = GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) &&
               GetFileInformationByHandle(handle, &facts);
  CloseHandle(handle);
  if (!known) return false;
  EntryKind kind = is_link(tag.FileAttributes, tag.ReparseTag)            ? EntryKind::other
                   : (tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::directory
                                                                          : EntryKind::regular_file;
  entry = {name, kind};
  identity = {facts.dwVolumeSerialNumber, joined(facts.nFileIndexHigh, facts.nFileIndexLow)};
  return true;
}

OpenedFile open_file(Directory& directory, const std::string& name, Access access) {
  DWORD rights =
      access == Access::read_write ? FILE_GENERIC_READ | FILE_GENERIC_WRITE : FILE_GENERIC_READ;
  constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE file = open_relative(directory, name, rights, share, FILE_NON_DIRECTORY_FILE);
  if (file == INVALID_HANDLE_VALUE) return {};
  file = past_reparse_point(file, rights, share, 0);
  if (file == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION facts;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &facts)) {
    CloseHandle(file);  // a pipe, a console
    return {};
  }
  auto size = static_cast<std::int64_t>(joined(facts.nFileSizeHigh, facts.nFileSizeLow));
  return {reinterpret_cast<FileHandle>(file), size, facts.nNumberOfLinks, false};
}

std::int64_t read_at(FileHandle file, char* data, std::size_t length, std::int64_t offset) {
  OVERLAPPED position = at(offset);
  DWORD got = 0;
  if (ReadFile(handle_of(file), data, static_cast<DWORD>(length), &got, &position)) return got;
  return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

std::int64_t write_at(FileHandle file, const char* data, std::size_t length, std::int64_t offset) {
  OVERLAPPED position = at(offset);
  DWORD put = 0;
  return WriteFile(handle_of(file), data, static_cast<DWORD>(length), &put, &position) ? put : -1;
}

bool close_file(FileHandle file) { return CloseHandle(handle_of(file)) != 0; }
