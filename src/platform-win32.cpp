// The platform layer over the Win32 calls.
#include <windows.h>

#include "platform.h"

// The arguments must reach main as typed: "*.wal" is the tool's to match,
// not the C runtime's to expand into file names.
extern "C" {
int _dowildcard = 0;
}

const char directory_separator = '\\';

bool is_directory_separator(char byte) { return byte == '\\' || byte == '/'; }

struct Directory {
  std::string prefix;  // the walked path, ending in the separator
};

namespace {

HANDLE handle_of(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

volatile LONG received_stop = 0;

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

EntryKind kind_of(const WIN32_FIND_DATAA& found) {
  if (is_link(found.dwFileAttributes, found.dwReserved0)) return EntryKind::other;
  if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::directory;
  return EntryKind::regular_file;
}

// The largest count one ReadFile or WriteFile call takes.
DWORD chunk(std::size_t left) { return left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left); }

OVERLAPPED at(std::int64_t offset) {
  OVERLAPPED position{};
  position.Offset = static_cast<DWORD>(offset);
  position.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return position;
}

HANDLE open_handle(const std::string& path, Access access, DWORD flags) {
  DWORD rights = access == Access::read_write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  return CreateFileA(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, flags, nullptr);
}

}  // namespace

StandardOutput prepare_process() {
  SetConsoleCtrlHandler(note_stop, TRUE);
  return StandardOutput::open;  // handles and descriptors never share numbers
}

int stop_request() { return static_cast<int>(received_stop); }

void end_as_stopped(int) { ExitProcess(STATUS_CONTROL_C_EXIT); }

Directory* open_start_directory() { return new Directory{std::string{'.', directory_separator}}; }

Directory* open_sub_directory(Directory& parent, const std::string& name) {
  std::string path = parent.prefix + name;
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return nullptr;
  return new Directory{path + directory_separator};
}

void close_directory(Directory* directory) { delete directory; }

bool is_on_kernel_file_system(Directory&) { return false; }

bool list_entries(Directory& directory, const std::function<void(DirectoryEntry&)>& take) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory.prefix + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    DirectoryEntry listed{found.cFileName, kind_of(found)};
    take(listed);
  } while (FindNextFileA(search, &found));
  bool complete = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(search);
  return complete;
}

OpenedFile open_file(Directory& directory, const std::string& name, Access access) {
  std::string path = directory.prefix + name;
  // Opens a link itself rather than its target; directories cannot be opened
  // this way at all.
  HANDLE file = open_handle(path, access, FILE_FLAG_OPEN_REPARSE_POINT);
  if (file == INVALID_HANDLE_VALUE) return {no_file, 0};
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag) &&
      (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    CloseHandle(file);
    if (is_link(tag.FileAttributes, tag.ReparseTag)) return {no_file, 0};
    // Another kind of reparse point: an ordinary file, opened as such.
    file = open_handle(path, access, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) return {no_file, 0};
  }
  LARGE_INTEGER size;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
    CloseHandle(file);  // NUL, a pipe, a console
    return {no_file, 0};
  }
  return {reinterpret_cast<FileHandle>(file), size.QuadPart};
}

std::int64_t read_at(FileHandle file, char* data, std::size_t length, std::int64_t offset) {
  OVERLAPPED position = at(offset);
  DWORD got = 0;
  if (ReadFile(handle_of(file), data, chunk(length), &got, &position)) return got;
  return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

std::int64_t write_at(FileHandle file, const char* data, std::size_t length, std::int64_t offset) {
  OVERLAPPED position = at(offset);
  DWORD put = 0;
  return WriteFile(handle_of(file), data, chunk(length), &put, &position) ? put : -1;
}

bool close_file(FileHandle file) { return CloseHandle(handle_of(file)) != 0; }
