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
  while (volume.slots[slot] != 0 && entered.folders[volume.slots[slot] - 1].index != index)
    slot = (slot + 1) & (volume.slots.size() - 1);
  return slot;
}

void grow(const EnteredFolders& entered, EnteredFolders::Volume& volume) {
  std::vector<std::uint32_t> old = std::move(volume.slots);
  volume.slots.assign(std::max<std::size_t>(64, old.size() * 2), 0);
  for (std::uint32_t place : old)
    if (place != 0)
      volume.slots[slot_of(entered, volume, entered.folders[place - 1].index)] = place;
}

std::string_view name_of(const EnteredFolders& entered, std::size_t place) {
  std::size_t at = entered.folders[place].name_at;
  std::size_t length = static_cast<unsigned char>(entered.names[at]) << 8 |
                       static_cast<unsigned char>(entered.names[at + 1]);
  return std::string_view(entered.names).substr(at + 2, length);
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
  place = entered.folders.size();
  entered.folders.push_back({identity.index, static_cast<std::uint32_t>(parent),
                             static_cast<std::uint32_t>(entered.names.size())});
  entered.names += {static_cast<char>(name.size() >> 8), static_cast<char>(name.size() & 0xff)};
  entered.names += name;
  volume->slots[slot] = static_cast<std::uint32_t>(place + 1);
  ++volume->count;
  return true;
}

std::string first_path(const EnteredFolders& entered, std::size_t place) {
  std::vector<std::string_view> names;
  for (; entered.folders[place].parent != place; place = entered.folders[place].parent)
    names.push_back(name_of(entered, place));
  std::string path = ".";
  for (auto name = names.rbegin(); name != names.rend(); ++name)
    path.append(1, directory_separator).append(*name);
  return path;
}
