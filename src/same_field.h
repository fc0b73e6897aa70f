// Two files of one run whose paths give them the same name field would hold
// one name in the game that reads them. The field each file got is kept, in
// the order files are reported, and a second file that gets one of them is
// reported. A folder's fields are let go once it is left, unless a folder
// still to come could give the same ones, so that memory does not grow with
// the tree.
#pragma once

#include <string>
#include <vector>

#include "messages.h"
#include "platform.h"

// Prints the file's lines, then one more if an earlier file got its field.
void report_repair(const std::string& walked_path, const std::string& shown,
                   const FileReport& report);

// Called in report order as the walk enters a sub-folder and leaves it: the
// fields of files in it (and below) are kept until then, and beyond only if
// `kept`.
void enter_field_scope();
void leave_field_scope(bool kept);

// Whether a sub-folder of `siblings` from `later` on, still to come after
// `name`, could give a file the same field as one below `name`: one whose
// name is the same as capitals, or the same up to a "\" (a separator in the
// field).
bool may_give_same_fields(const std::string& name, const std::vector<DirectoryEntry>& siblings,
                          std::size_t later);
