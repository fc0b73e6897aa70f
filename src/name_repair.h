// Rewrites one file's name field from its walked path.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "messages.h"
#include "platform.h"

// The 32-byte field that `old_field` becomes for a file whose path relative
// to the start folder is `relative_name`: the name cut at its last point, or
// the old field where there is none, folded to lower case, with "/" (or "\")
// between folders. Nothing when the cut name leaves no room for its
// terminator.
std::optional<std::string> derive_name_field(std::string_view old_field,
                                             std::string_view relative_name, bool forward_slash);

// Repairs the file that `entry` names in `directory`, whose walked path is
// `walked_path`: what became of it, to be reported.
FileReport fix_file(Directory& directory, const DirectoryEntry& entry,
                    const std::string& walked_path);
