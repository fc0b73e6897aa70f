// Every folder the walk entered, so that none is entered twice whatever
// binds or moves lead back to it, each with the path first taken to it: in
// about twenty bytes a folder, as a walk of a million files enters tens of
// thousands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform.h"

struct EnteredFolders {
  // The places of the volume's folders, open addressed: place + 1, or 0.
  struct Volume {
    std::uint64_t volume;
    std::vector<std::uint32_t> slots;
    std::size_t count = 0;
  };
  // Each folder's number on its volume, by its place: the order entered.
  // Deques grow without copying what they hold.
  std::deque<std::uint64_t> indexes;
  // For each folder in turn, read only for a message: how many places back
  // its parent is (0: it is the start), its name's length, both in 7-bit
  // groups, and its name.
  std::deque<char> records;
  std::vector<std::size_t> marks;  // where the records of places 0, 16, 32... begin
  std::vector<Volume> volumes;
};

// Notes the folder `identity`, entered below the folder at `parent` as
// `name`, and gives its place; or, if it was entered already, false and its
// place then (`place`).
bool enter_once(EnteredFolders& entered, Identity identity, std::size_t parent,
                std::string_view name, std::size_t& place);

// The walked path under which the folder at `place` was entered, as shown:
// "." for the first.
std::string first_path(const EnteredFolders& entered, std::size_t place);
