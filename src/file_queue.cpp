#include "file_queue.h"

#include "messages.h"
#include "name_repair.h"
#include "uring_queue.h"

namespace {

bool through_uring = false;

}  // namespace

void start_file_queue() { through_uring = start_uring_queue(); }

void queue_file(const HeldDirectory& directory, DirectoryEntry entry, std::string walked_path) {
  if (through_uring)
    uring_queue_file(directory, std::move(entry), std::move(walked_path));
  else
    report_file(walked_path, fix_file(*directory, entry, walked_path));
}

void finish_queued_files() {
  if (through_uring) finish_uring_queue();
}
