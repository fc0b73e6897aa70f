#include "entered_folders.h"

#include <algorithm>

namespace {

std::size_t home_of(std::uint64_t index, std::size_t slots) {
  return (index * 0x9e3779b97f4a7c15ULL >> 17) & (slots - 1);
}

// The slot of the folder `index` in `volume`, or the empty one where it goes.
std::size_t slot_of(const EnteredFolders& entered, const EnteredFolders::Volume& volume,
                    std::uint64_t index) {
  std::size_t slot = home_of(index, volume.slots.size());
  while (volume.slots[slot] != 0 && entered.indexes[volume.slots[slot] - 1] != index)
    slot = (slot + 1) & (volume.slots.size() - 1);
  return slot;
}

void grow(const EnteredFolders& entered, EnteredFolders::Volume& volume) {
  std::vector<std::uint32_t> old = std::move(volume.slots);
  volume.slots.assign(std::max<std::size_t>(64, old.size() * 2), 0);
  for (std::uint32_t place : old)
    if (place != 0) volume.slots[slot_of(entered, volume, entered.indexes[place - 1])] = place;
}

constexpr std::size_t places_a_mark = 16;

void put_number(std::deque<char>& records, std::size_t number) {
  for (; number >= 0x80; number >>= 7) records.push_back(static_cast<char>((number & 0x7f) | 0x80));
  records.push_back(static_cast<char>(number));
}

std::size_t take_number(const std::deque<char>& records, std::size_t& at) {
  std::size_t number = 0;
  for (unsigned shift = 0;; shift += 7) {
    auto byte = static_cast<unsigned char>(records[at++]);
    number |= std::size_t{byte & 0x7fu} << shift;
    if (byte < 0x80) return number;
  }
}

// The place of the parent of the folder at `place`, and its name.
std::size_t parent_of(const EnteredFolders& entered, std::size_t place, std::string& name) {
  std::size_t at = entered.marks[place / places_a_mark];
  for (std::size_t read = place - place % places_a_mark;; ++read) {
    std::size_t back = take_number(entered.records, at);
    std::size_t length = take_number(entered.records, at);
    if (read == place) {
      auto begin = entered.records.begin() + static_cast<std::ptrdiff_t>(at);
      name.assign(begin, begin + static_cast<std::ptrdiff_t>(length));
      return place - back;
    }
    at += length;
  }
}

}  // namespace

bool enter_once(EnteredFolders& entered, Identity identity, std::size_t parent,
                std::string_view name, std::size_t& place) {
  auto volume = std::find_if(entered.volumes.begin(), entered.volumes.end(),
                             [&](const auto& known) { return known.volume == identity.volume; });
  if (volume == entered.volumes.end())
    volume = entered.volumes.insert(volume, EnteredFolders::Volume{identity.volume, {}, 0});
  if (4 * (volume->count + 1) > 3 * volume->slots.size()) grow(entered, *volume);
  std::size_t slot = slot_of(entered, *volume, identity.index);
  if (volume->slots[slot] != 0) {
    place = volume->slots[slot] - 1;
    return false;
  }
  place = entered.indexes.size();
  if (place % places_a_mark == 0) entered.marks.push_back(entered.records.size());
  entered.indexes.push_back(identity.index);
  put_number(entered.records, place - parent);
  put_number(entered.records, name.size());
  entered.records.insert(entered.records.end(), name.begin(), name.end());
  volume->slots[slot] = static_cast<std::uint32_t>(place + 1);
  ++volume->count;
  return true;
}

std::string first_path(const EnteredFolders& entered, std::size_t place) {
  std::vector<std::string> names;
  std::string name;
  for (std::size_t parent; (parent = parent_of(entered, place, name)) != place; place = parent)
    names.push_back(name);
  std::string path = ".";
  for (auto at = names.rbegin(); at != names.rend(); ++at)
    path.append(1, directory_separator).append(*at);
  return path;
}
