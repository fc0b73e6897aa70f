// Builds without io_uring (Windows, or no liburing): each file is repaired
// with plain calls and reported at once.
#include "file_queue.h"
#include "messages.h"
#include "name_repair.h"
#include "same_field.h"

void start_file_queue() {}

void queue_file(const HeldDirectory& directory, DirectoryEntry entry, std::string walked_path) {
  report_repair(walked_path, fix_file(*directory, entry, walked_path));
}

void queue_note(std::function<void()> note) { note(); }

void finish_queued_files() {}
