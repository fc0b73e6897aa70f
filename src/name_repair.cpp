// Derives a file's name from its walked path and rewrites its name field:
// one open, 32 bytes read, 32 bytes written back; no other byte is touched.
#include "name_repair.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "bentro.h"
#include "messages.h"
#include "same_field.h"

std::optional<NameField> derive_name_field(const NameField& old_field,
                                           std::string_view relative_name, bool forward_slash) {
  NameField field = old_field;
  std::size_t point = relative_name.rfind('.');
  if (point != std::string_view::npos) {
    if (point >= name_field_size) return std::nullopt;  // no room for the terminator
    field.fill('\0');
    relative_name.copy(field.data(), point);
  }
  char separator = forward_slash ? '/' : '\\';
  for (char& byte : field) {
    char folded = fold_case(byte);
    byte = folded == '\\' || folded == '/' ? separator : folded;
  }
  return field;
}

namespace {

// Writes the report's new field through `file`.
FileReport write_field(FileHandle file, FileReport report) {
  report.touched = true;
  std::int64_t stored = write_at(file, report.new_field.data(), name_field_size, 0);
  return written(std::move(report), stored);
}

// The file repaired, not yet reported, for the out-of-memory path.
const std::string* shown_in_hand = nullptr;
const FileReport* report_in_hand = nullptr;

}  // namespace

FileMessage refusal_of(const DirectoryEntry& entry) {
  // Only what the listing calls a regular file is opened: opening a FIFO
  // releases its writer, opening a device can start the device.
  if (entry.kind != EntryKind::regular_file) return FileMessage::cannot_open;
  // Its printed form stands for another name, which must not be opened.
  if (!entry.name_is_exact) return FileMessage::name_outside_code_page;
  return FileMessage::none;
}

FileMessage refusal_of(const OpenedFile& file) {
  if (file.on_kernel_file_system) return FileMessage::file_on_kernel_file_system;
  if (file.names > 1) return FileMessage::several_names;
  if (file.size < name_field_size) return FileMessage::too_short;
  return FileMessage::none;
}

FileReport repair_field(const std::string& walked_path, const NameField& old_field, bool writable,
                        FileHandle file) {
  std::string_view relative_name = std::string_view(walked_path).substr(root_prefix.size());
  std::optional<NameField> field =
      derive_name_field(old_field, relative_name, settings.forward_slash);
  if (!field) return FileReport(FileMessage::name_too_long);
  FileReport report;
  std::size_t point = relative_name.rfind('.');
  report.field_from_path = point != std::string_view::npos && point > 0;
  bool changes = *field != old_field;
  report.old_field = old_field;
  report.new_field = *field;
  if (settings.list_only) {
    if (changes) report.message = FileMessage::field_would_change;
    return report;
  }
  // With /c a right field is left alone, contents and time alike.
  if (settings.changes_only && !changes) return report;
  if (!writable) {
    report.message = FileMessage::cannot_open_for_writing;
    return report;
  }
  if (settings.changes_only) report.message = FileMessage::field_changed;
  report.to_write = file == no_file;
  if (report.to_write) return report;
  return write_field(file, std::move(report));
}

FileReport written(FileReport report, std::int64_t written) {
  // The report stands if all 32 bytes are stored.
  if (written == name_field_size) {
    report.field_written = true;
  } else {
    report.message = written < 0 ? FileMessage::cannot_write : FileMessage::wrong_count;
    report.bytes_written = written;
  }
  return report;
}

FileReport closed(FileReport report, bool close_succeeded) {
  // A delayed write error shows only here; it takes the place of a note.
  if (!close_succeeded && report.field_written) report.message = FileMessage::cannot_write;
  return report;
}

FileReport fix_file(Directory& directory, const DirectoryEntry& entry,
                    const std::string& walked_path) {
  if (FileMessage refusal = refusal_of(entry); refusal != FileMessage::none)
    return FileReport(refusal);
  // A file that can be read but not written is told apart by a second,
  // read-only open: its field is still read and derived.
  bool writable = !settings.list_only;
  OpenedFile file;
  if (writable) file = open_file(directory, entry.name, Access::read_write);
  if (file.handle == no_file) {
    writable = false;
    file = open_file(directory, entry.name, Access::read_only);
  }
  if (file.handle == no_file) return FileReport(FileMessage::cannot_open);
  FileReport report = FileReport(refusal_of(file));
  if (report.message == FileMessage::none) {
    NameField old_field;
    if (read_at(file.handle, old_field.data(), name_field_size, 0) == name_field_size)
      report = repair_field(walked_path, old_field, writable, file.handle);
    else
      report = FileReport(FileMessage::cannot_read);
  }
  return closed(std::move(report), close_file(file.handle));
}

void repair_and_report(Directory& directory, const DirectoryEntry& entry,
                       const std::string& walked_path) {
  std::string shown = shown_path(walked_path);
  FileReport report = fix_file(directory, entry, walked_path);
  shown_in_hand = &shown;
  report_in_hand = &report;
  report_repair(walked_path, shown, report);
  report_in_hand = nullptr;
}

void report_repair_in_hand() {
  if (report_in_hand != nullptr) report_file(*shown_in_hand, *report_in_hand, false);
  report_in_hand = nullptr;
}
