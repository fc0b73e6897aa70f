// The platform layer over the Win32 calls.
#include <windows.h>

#include <algorithm>

#include "platform.h"

// The arguments must reach main as typed: "*.wal" is the tool's to match,
// not the C runtime's to expand into file names.
extern "C" {
int _dowildcard = 0;
}

const char directory_separator = '\\';

bool is_directory_separator(char byte) { return byte == '\\' || byte == '/'; }

namespace {

HANDLE handle_of(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

// Symbolic links and junctions; other reparse points, such as the
// placeholders of cloud-synced folders, are ordinary files and directories.
bool is_link(DWORD attributes, DWORD reparse_tag) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsReparseTagNameSurrogate(reparse_tag);
}

bool no_match(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES; }

// The largest count one ReadFile or WriteFile call takes.
DWORD chunk(std::size_t left) { return left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left); }

// Adds what one directory search yields, each entry marked as a match or not.
bool search(const std::string& prefix, const std::string& pattern, bool matches,
            std::vector<DirectoryEntry>& entries) {
  if (pattern.empty()) return true;  // the bare prefix names no entry
  WIN32_FIND_DATAA found;
  HANDLE handle = FindFirstFileA((prefix + pattern).c_str(), &found);
  if (handle == INVALID_HANDLE_VALUE) return no_match(GetLastError());
  do {
    DWORD attributes = found.dwFileAttributes;
    bool directory =
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !is_link(attributes, found.dwReserved0);
    entries.push_back({found.cFileName, matches, directory});
  } while (FindNextFileA(handle, &found));
  bool complete = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(handle);
  return complete;
}

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

bool prepare_process() { return true; }  // handles and descriptors never share numbers

bool find_entries(const std::string& prefix, const std::string& pattern, bool with_directories,
                  std::vector<DirectoryEntry>& entries) {
  // The system matches the pattern; with directories a second search lists
  // them all. Sorted by name, matches first, a name found by both is kept once.
  std::vector<DirectoryEntry> found;
  if (!search(prefix, pattern, true, found)) return false;
  if (with_directories && !search(prefix, "*.*", false, found)) return false;
  std::sort(found.begin(), found.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
    return a.name != b.name ? a.name < b.name : a.matches > b.matches;
  });
  for (const DirectoryEntry& entry : found) {
    bool seen = !entries.empty() && entries.back().name == entry.name;
    if (!seen && (entry.matches || entry.is_directory)) entries.push_back(entry);
  }
  return true;
}

OpenedFile open_file(const std::string& path, Access access) {
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
