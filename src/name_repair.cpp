// Derives a file's name from its walked path and rewrites its name field:
// one open, 32 bytes read, 32 bytes written back; no other byte is touched.
#include "name_repair.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "bentro.h"
#include "messages.h"

std::optional<std::string> derive_name_field(std::string_view old_field,
                                             std::string_view relative_name, bool forward_slash) {
  std::string field(old_field);
  std::size_t point = relative_name.rfind('.');
  if (point != std::string_view::npos) {
    if (point >= name_field_size) return std::nullopt;  // no room for the terminator
    field.assign(name_field_size, '\0');
    field.replace(0, point, relative_name.substr(0, point));
  }
  for (char& byte : field) {
    byte = fold_case(byte);
    if (byte == '\\' || byte == '/') byte = forward_slash ? '/' : '\\';
  }
  return field;
}

namespace {

// True, after saying why, for an open file that must be left as it is: an
// interface to the kernel, a file whose other names (hard links) would
// give it another field or lie outside the tree, a file with no whole field.
bool refused(const std::string& walked_path, const OpenedFile& file) {
  if (file.on_kernel_file_system)
    report_failure(Failure::file_on_kernel_file_system, walked_path);
  else if (file.names > 1)
    report_failure(Failure::several_names, walked_path);
  else if (file.size < name_field_size)
    report_failure(Failure::too_short, walked_path);
  else
    return false;
  return true;
}

// The 32 bytes of an open file, or nothing after a failure was reported.
std::optional<std::string> read_field(const std::string& walked_path, const OpenedFile& file) {
  std::string field(name_field_size, '\0');
  if (read_at(file.handle, field.data(), name_field_size, 0) != name_field_size) {
    report_failure(Failure::cannot_read, walked_path);
    return std::nullopt;
  }
  return field;
}

// The field the file should hold, or nothing after a failure was reported.
std::optional<std::string> repaired_field(const std::string& walked_path,
                                          const std::string& old_field) {
  std::string_view relative_name = std::string_view(walked_path).substr(root_prefix.size());
  std::optional<std::string> field =
      derive_name_field(old_field, relative_name, settings.forward_slash);
  if (!field) report_failure(Failure::name_too_long, walked_path);
  return field;
}

// True if all 32 bytes were written; otherwise the failure is reported.
bool write_field(const std::string& walked_path, FileHandle file, const std::string& field) {
  std::int64_t written = write_at(file, field.data(), name_field_size, 0);
  if (written == name_field_size) return true;
  if (written < 0)
    report_failure(Failure::cannot_write, walked_path);
  else
    report_wrong_count(walked_path, written);
  return false;
}

// Reads, derives, and lists or writes the field of an open file. True if
// the field was written.
bool repair_open_file(const std::string& walked_path, const OpenedFile& file, bool writable) {
  if (refused(walked_path, file)) return false;
  std::optional<std::string> old_field = read_field(walked_path, file);
  if (!old_field) return false;
  std::optional<std::string> field = repaired_field(walked_path, *old_field);
  if (!field) return false;
  if (settings.list_only) {
    report_field_change(*old_field, *field);
    return false;
  }
  if (!writable) {
    report_failure(Failure::cannot_open_for_writing, walked_path);
    return false;
  }
  return write_field(walked_path, file.handle, *field);
}

}  // namespace

void fix_file(Directory& directory, const DirectoryEntry& entry, const std::string& walked_path) {
  print_progress(walked_path);
  // Only what the listing calls a regular file is opened: opening a FIFO
  // releases its writer, opening a device can start the device.
  if (entry.kind != EntryKind::regular_file)
    return report_failure(Failure::cannot_open, walked_path);
  // Its printed form stands for another name, which must not be opened.
  if (!entry.name_is_exact) return report_failure(Failure::name_outside_code_page, walked_path);
  // A file that can be read but not written is told apart by a second,
  // read-only open: its field is still read and derived.
  bool writable = !settings.list_only;
  OpenedFile file;
  if (writable) file = open_file(directory, entry.name, Access::read_write);
  if (file.handle == no_file) {
    writable = false;
    file = open_file(directory, entry.name, Access::read_only);
  }
  if (file.handle == no_file) return report_failure(Failure::cannot_open, walked_path);
  bool written = repair_open_file(walked_path, file, writable);
  // A delayed write error shows only here; one failure is reported a file.
  if (!close_file(file.handle) && written) report_failure(Failure::cannot_write, walked_path);
}
