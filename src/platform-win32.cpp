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

namespace {

HANDLE handle_of(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

FileHandle file_of(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? no_file : reinterpret_cast<FileHandle>(handle);
}

// The largest count one ReadFile or WriteFile call takes.
DWORD chunk(std::size_t left) { return left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left); }

}  // namespace

std::vector<DirectoryEntry> find_entries(const std::string& prefix, const std::string& pattern) {
  std::vector<DirectoryEntry> entries;
  if (pattern.empty()) return entries;  // the bare prefix names no entry
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((prefix + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    // Junctions and directory links carry the directory bit too; they are not
    // descended into, so that no walk can loop.
    DWORD attributes = found.dwFileAttributes;
    bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                     (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    entries.push_back({found.cFileName, directory});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return entries;
}

OpenedFile open_for_reading(const std::string& path) {
  // Fails for directories; devices such as NUL or a pipe are refused below.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {no_file, -1};
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return {no_file, -1};
  }
  LARGE_INTEGER size;
  return {file_of(file), GetFileSizeEx(file, &size) ? size.QuadPart : -1};
}

bool read_fully(FileHandle file, char* data, std::size_t length) {
  std::size_t done = 0;
  while (done < length) {
    DWORD got = 0;
    if (!ReadFile(handle_of(file), data + done, chunk(length - done), &got, nullptr) || got == 0)
      return false;
    done += got;
  }
  return true;
}

FileHandle open_for_writing(const std::string& path) {
  // OPEN_ALWAYS, not CREATE_ALWAYS: the old bytes stay until new ones replace them.
  return file_of(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
}

WriteResult write_fully(FileHandle file, const char* data, std::size_t length) {
  std::size_t done = 0;
  while (done < length) {
    DWORD put = 0;
    if (!WriteFile(handle_of(file), data + done, chunk(length - done), &put, nullptr))
      return {true, done};
    if (put == 0) break;
    done += put;
  }
  return {false, done};
}

bool close_file(FileHandle file) { return CloseHandle(handle_of(file)) != 0; }
