// Builds without io_uring (Windows, or no liburing): each file is repaired
// with plain calls and reported at once.
#include "file_queue.h"
#include "name_repair.h"

void start_file_queue() {}

void queue_file(const HeldDirectory& directory, DirectoryEntry entry, std::string walked_path) {
  repair_and_report(*directory, entry, walked_path);
}

void queue_note(std::function<void()> note) { note(); }

void start_queued_files() {}

// Only a file whose report memory ran out before is left to report.
void finish_queued_files() { report_repair_in_hand(); }

void report_touched_files() { report_repair_in_hand(); }
