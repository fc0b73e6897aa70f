// Checks the matcher against a plain reference that works by dynamic
// programming over pattern and name. Input: pattern, a zero byte, name.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "wildcard.h"

namespace {

char lower(char byte) { return (byte >= 'A' && byte <= 'Z') ? byte + ('a' - 'A') : byte; }

// matches[i][j]: the first i pattern bytes match the first j name bytes.
bool reference_match(const std::string& pattern, const std::string& name) {
  std::vector<std::vector<bool>> matches(pattern.size() + 1,
                                         std::vector<bool>(name.size() + 1, false));
  matches[0][0] = true;
  for (size_t i = 1; i <= pattern.size(); ++i) {
    char p = pattern[i - 1];
    for (size_t j = 0; j <= name.size(); ++j) {
      if (p == '*')
        matches[i][j] = matches[i - 1][j] || (j > 0 && matches[i][j - 1]);
      else
        matches[i][j] =
            j > 0 && matches[i - 1][j - 1] && (p == '?' || lower(p) == lower(name[j - 1]));
    }
  }
  if (matches[pattern.size()][name.size()]) return true;
  bool ends_in_point_star =
      pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0;
  return ends_in_point_star && reference_match(pattern.substr(0, pattern.size() - 2), name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t split = input.find('\0');
  if (split == std::string::npos) return 0;
  std::string pattern = input.substr(0, split);
  std::string name = input.substr(split + 1);
  if (wildcard_match(pattern, name) != reference_match(pattern, name)) std::abort();
  return 0;
}
