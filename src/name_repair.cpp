// Derives a file's name from its walked path and rewrites its name field.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "bentro.h"
#include "platform.h"

namespace {

const char read_failed[] = "Could not read from '%s' properly.\n";

struct FileImage {
  std::unique_ptr<char[]> data;  // not zero-filled: the read fills it all
  std::size_t size = 0;
};

void report_failure(const char* message_format, const std::string& path) {
  std::printf(message_format, path.c_str());
  outcome.failure_reported = true;
}

// Fills `image` from an open file; returns the failure message, if any.
const char* load_image(const OpenedFile& input, FileImage& image) {
  std::int64_t size = input.size;
  if (size < 0) return read_failed;
  if (size > INT32_MAX) return "File '%s' is too large; file left unchanged\n";
  if (size < static_cast<std::int64_t>(name_field_size))
    return "File '%s' is shorter than the 32-byte name field; file left unchanged\n";
  image.size = static_cast<std::size_t>(size);
  image.data.reset(new (std::nothrow) char[image.size]);
  if (!image.data || !read_fully(input.handle, image.data.get(), image.size)) return read_failed;
  return nullptr;
}

bool read_image(const std::string& path, FileImage& image) {
  OpenedFile input = open_for_reading(path);
  if (input.handle == no_file) {
    report_failure("Could not open file '%s' for reading.\n", path);
    return false;
  }
  const char* failure = load_image(input, image);
  close_file(input.handle);
  if (failure != nullptr) report_failure(failure, path);
  return failure == nullptr;
}

void write_image(const std::string& path, const FileImage& image) {
  FileHandle output = open_for_writing(path);
  if (output == no_file) return report_failure("Could not open '%s' for writing\n", path);
  WriteResult result = write_fully(output, image.data.get(), image.size);
  bool closed = close_file(output);
  if (result.failed || !closed)
    return report_failure("Could not write the file '%s' correctly\n", path);
  if (result.written != image.size) {
    std::printf("Incorrect number of bytes written for file '%s'. Expected %i, got %i\n",
                path.c_str(), static_cast<int>(image.size), static_cast<int>(result.written));
    outcome.failure_reported = true;
  }
}

// The field without its trailing zero bytes, every byte outside 0x20-0x7E
// shown as \xNN, so that a listing is plain text whatever the field holds.
std::string shown_field(std::string_view field) {
  std::size_t end = field.find_last_not_of('\0');
  field = field.substr(0, end == std::string_view::npos ? 0 : end + 1);
  std::string shown;
  for (char byte : field) {
    auto value = static_cast<unsigned char>(byte);
    if (value >= 0x20 && value <= 0x7e) {
      shown += byte;
    } else {
      const char digits[] = "0123456789abcdef";
      shown += {'\\', 'x', digits[value >> 4], digits[value & 0xf]};
    }
  }
  return shown;
}

void report_change(std::string_view old_field, const std::string& new_field) {
  if (old_field == new_field) return;
  std::printf("Name field would change from '%s' to '%s'\n", shown_field(old_field).c_str(),
              shown_field(new_field).c_str());
  outcome.field_would_change = true;
}

}  // namespace

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

void fix_file(const std::string& walked_path) {
  std::printf("%s\n", walked_path.c_str());
  FileImage image;
  if (!read_image(walked_path, image)) return;
  std::string_view relative_name = std::string_view(walked_path).substr(root_prefix.size());
  std::string_view old_field(image.data.get(), name_field_size);
  std::optional<std::string> field =
      derive_name_field(old_field, relative_name, settings.forward_slash);
  if (!field)
    return report_failure(
        "Name for '%s' does not fit in the 32-byte name field; file left unchanged\n", walked_path);
  if (settings.list_only) return report_change(old_field, *field);
  std::memcpy(image.data.get(), field->data(), name_field_size);
  write_image(walked_path, image);
}
