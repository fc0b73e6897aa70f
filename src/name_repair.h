// Rewrites one file's name field from its walked path.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "bentro.h"
#include "messages.h"
#include "platform.h"

// The 32-byte field that `old_field` becomes for a file whose path relative
// to the start folder is `relative_name`: the name cut at its last point, or
// the old field where there is none, folded to lower case, with "/" (or "\")
// between folders. Nothing when the cut name leaves no room for its
// terminator.
std::optional<NameField> derive_name_field(const NameField& old_field,
                                           std::string_view relative_name, bool forward_slash);

// Each step of a file's repair, for whoever makes its calls: why an entry
// must not be opened, or an open file must be left as it is (none if
// neither)...
FileMessage refusal_of(const DirectoryEntry& entry);
FileMessage refusal_of(const OpenedFile& file);

// ... the report for a file whose 32 bytes `old_field` were read: the new
// field derived and, where it is to be written and the file was opened for
// writing, written through `file` (or, if that is no_file, left to the
// caller: `to_write`)...
FileReport repair_field(const std::string& walked_path, const NameField& old_field, bool writable,
                        FileHandle file);

// ... the report once `written` bytes of the field (-1: an error) were
// stored...
FileReport written(FileReport report, std::int64_t written);

// ... and the report once the file is closed.
FileReport closed(FileReport report, bool close_succeeded);

// Repairs the file that `entry` names in `directory`, whose walked path is
// `walked_path`, one plain call after another: what became of it, to be
// reported.
FileReport fix_file(Directory& directory, const DirectoryEntry& entry,
                    const std::string& walked_path);

// fix_file, then its report (report_repair).
void repair_and_report(Directory& directory, const DirectoryEntry& entry,
                       const std::string& walked_path);

// When memory has run out between repair_and_report's repair and its
// report: prints the report, so that no file touched goes unreported.
void report_repair_in_hand();
