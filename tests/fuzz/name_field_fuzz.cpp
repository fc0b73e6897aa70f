// Looks for inputs on which the name derivation misbehaves. Input: a flag
// byte (its low bit is the separator flag), 32 bytes of old field, then the
// relative name.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "bentro.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 + name_field_size) return 0;
  const char* bytes = reinterpret_cast<const char*>(data);
  bool forward_slash = (data[0] & 1) != 0;
  std::string old_field(bytes + 1, name_field_size);
  std::string relative_name(bytes + 1 + name_field_size, size - 1 - name_field_size);
  std::optional<std::string> field = derive_name_field(old_field, relative_name, forward_slash);

  // Refused exactly when the cut name leaves no room for its terminator.
  size_t point = relative_name.rfind('.');
  bool fits = point == std::string::npos || point < name_field_size;
  if (field.has_value() != fits) std::abort();
  if (!field) return 0;
  if (field->size() != name_field_size) std::abort();
  for (size_t i = 0; i < name_field_size; ++i) {
    char byte = (*field)[i];
    bool wrong_separator = byte == (forward_slash ? '\\' : '/');
    bool unfolded = byte >= 'A' && byte <= 'Z';
    bool not_cleared = point != std::string::npos && i >= point && byte != '\0';
    if (wrong_separator || unfolded || not_cleared) std::abort();
  }
  return 0;
}
