// Checks the properties of every derived name field. Input: a flag byte (its
// low bit is the separator flag), 32 bytes of old field, the relative name.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "bentro.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 + name_field_size) return 0;
  const char* bytes = reinterpret_cast<const char*>(data);
  bool forward_slash = (data[0] & 1) != 0;
  std::string old_field(bytes + 1, name_field_size);
  std::string relative_name(bytes + 1 + name_field_size, size - 1 - name_field_size);
  std::optional<std::string> field = derive_name_field(old_field, relative_name, forward_slash);
  size_t point = relative_name.rfind('.');
  check(field.has_value() == (point == std::string::npos || point < name_field_size));
  if (!field) return 0;
  check(field->size() == name_field_size);
  const std::string& source = point == std::string::npos ? old_field : relative_name;
  size_t kept = point == std::string::npos ? name_field_size : point;
  for (size_t i = 0; i < name_field_size; ++i) {
    char byte = (*field)[i];
    check(!(byte >= 'A' && byte <= 'Z'));
    check(byte != (forward_slash ? '\\' : '/'));
    if (i >= kept) {
      check(byte == 0);
    } else if (byte == '/' || byte == '\\') {
      check(source[i] == '/' || source[i] == '\\');
    } else {
      check(byte == fold_case(source[i]));
    }
  }
  return 0;
}
