#include "same_field.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>

#include "bentro.h"
#include "name_repair.h"

namespace {

// The walked paths of the first files to get their fields, a few dozen bytes
// each: the field itself is derived again from the path where hashes agree.
struct Fields {
  struct First {
    std::uint64_t hash;
    std::uint32_t path_at;
    std::uint32_t path_size;
  };
  std::string paths;  // one after another
  std::vector<First> firsts;
  std::vector<std::uint32_t> slots;  // a first's place + 1, or 0; none until the first
};

// Fields of files directly in their folder are let go with it; a field cut
// at a point in a folder's name stays to the end.
Fields kept_to_the_end, scoped;
std::vector<std::size_t> scope_starts;  // scoped.firsts.size() as each was entered

std::uint64_t hash_of(const NameField& field) {
  return std::hash<std::string_view>{}({field.data(), field.size()});
}

std::string_view path_of(const Fields& fields, std::size_t first) {
  const Fields::First& entry = fields.firsts[first];
  return std::string_view(fields.paths).substr(entry.path_at, entry.path_size);
}

NameField field_of(std::string_view walked_path) {
  NameField none{};  // a field cut from the path owes nothing to it
  return *derive_name_field(none, walked_path.substr(root_prefix.size()), settings.forward_slash);
}

std::size_t mask(const Fields& fields) { return fields.slots.size() - 1; }

// The slot that holds `first`, or the empty one where it would go.
std::size_t slot_of(const Fields& fields, std::uint64_t hash, std::size_t first) {
  std::size_t slot = hash & mask(fields);
  while (fields.slots[slot] != 0 && fields.slots[slot] != first + 1)
    slot = (slot + 1) & mask(fields);
  return slot;
}

// The walked path of the first file that got `field`, if any did.
bool find(const Fields& fields, const NameField& field, std::uint64_t hash,
          std::string_view& path) {
  if (fields.slots.empty()) return false;
  for (std::size_t slot = hash & mask(fields); fields.slots[slot] != 0;
       slot = (slot + 1) & mask(fields)) {
    std::size_t first = fields.slots[slot] - 1;
    if (fields.firsts[first].hash == hash && field_of(path_of(fields, first)) == field) {
      path = path_of(fields, first);
      return true;
    }
  }
  return false;
}

void grow(Fields& fields) {
  fields.slots.assign(std::max<std::size_t>(64, fields.slots.size() * 2), 0);
  for (std::size_t first = 0; first < fields.firsts.size(); ++first)
    fields.slots[slot_of(fields, fields.firsts[first].hash, first)] = first + 1;
}

void add(Fields& fields, std::uint64_t hash, const std::string& walked_path) {
  if (2 * (fields.firsts.size() + 1) > fields.slots.size()) grow(fields);
  std::size_t first = fields.firsts.size();
  fields.firsts.push_back({hash, static_cast<std::uint32_t>(fields.paths.size()),
                           static_cast<std::uint32_t>(walked_path.size())});
  fields.paths += walked_path;
  fields.slots[slot_of(fields, hash, first)] = first + 1;
}

// Empties the slot of the last first, moving back each later one that can
// take its place, so that no search stops short of it.
void remove_last(Fields& fields) {
  std::size_t first = fields.firsts.size() - 1;
  std::size_t hole = slot_of(fields, fields.firsts[first].hash, first);
  fields.slots[hole] = 0;
  for (std::size_t next = (hole + 1) & mask(fields); fields.slots[next] != 0;
       next = (next + 1) & mask(fields)) {
    std::size_t home = fields.firsts[fields.slots[next] - 1].hash & mask(fields);
    // Whether `home` lies cyclically after the hole and up to `next`.
    bool stays = hole < next ? home > hole && home <= next : home > hole || home <= next;
    if (stays) continue;
    fields.slots[hole] = fields.slots[next];
    fields.slots[next] = 0;
    hole = next;
  }
  fields.paths.resize(fields.firsts[first].path_at);
  fields.firsts.pop_back();
}

// The field as folders compare: letters as small ones, "\" as "/".
std::string as_in_field(const std::string& name) {
  std::string key;
  for (char byte : name) key += byte == '\\' ? '/' : fold_case(byte);
  return key;
}

bool starts_with(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

}  // namespace

void report_repair(const std::string& walked_path, const std::string& shown,
                   const FileReport& report) {
  std::string_view first;
  bool same = false;
  if (report.field_from_path) {
    std::uint64_t hash = hash_of(report.new_field);
    same = find(kept_to_the_end, report.new_field, hash, first) ||
           find(scoped, report.new_field, hash, first);
    bool cut_in_own_name = walked_path.rfind('.') > walked_path.rfind(directory_separator);
    if (!same)
      add(cut_in_own_name && !scope_starts.empty() ? scoped : kept_to_the_end, hash, walked_path);
  }
  // Whatever takes memory comes before the file's lines: memory that runs
  // out then has them printed once (report_repair_in_hand).
  std::string shown_first = same ? shown_path(first) : std::string();
  report_file(shown, report, same);
  if (same) report_same_field(shown, shown_first);
}

void enter_field_scope() { scope_starts.push_back(scoped.firsts.size()); }

void leave_field_scope(bool kept) {
  std::size_t start = scope_starts.back();
  scope_starts.pop_back();
  if (!kept)
    while (scoped.firsts.size() > start) remove_last(scoped);
}

bool may_give_same_fields(const std::string& name, const std::vector<DirectoryEntry>& siblings,
                          std::size_t later) {
  // A field cut at a point in a folder's name is kept to the end; one cut in
  // a file's name begins with its folders' names, whole.
  std::string key = as_in_field(name);
  std::size_t lead = std::min(key.find('/'), key.size());
  // Those that could give one begin as `name` does up to its first "\": the
  // order keeps them together, right after it.
  for (; later < siblings.size(); ++later) {
    std::string other = as_in_field(siblings[later].name);
    if (other.compare(0, lead, key, 0, lead) != 0) return false;
    if (other == key || starts_with(other, key + '/') || starts_with(key, other + '/')) return true;
  }
  return false;
}
