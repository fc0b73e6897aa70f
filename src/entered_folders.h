// Every folder the walk entered, so that none is entered twice whatever
// binds or moves lead back to it, each with the path first taken to it: in
// a few dozen bytes a folder, as a walk of a million files enters tens of
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
  struct Folder {
    std::uint64_t index;    // its number on its volume
    std::uint32_t parent;   // its place in `folders`; the start's own
    std::uint32_t name_at;  // in `names`: its length in two bytes, then its bytes
  };
  // The places of the volume's folders, open addressed: place + 1, or 0.
  struct Volume {
    std::uint64_t volume;
    std::vector<std::uint32_t> slots;
    std::size_t count = 0;
  };
  std::deque<Folder> folders;  // grows without copying what it holds
  std::string names;
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
