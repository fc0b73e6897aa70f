// Builds without io_uring (Windows, or no liburing): the plain calls serve.
#include "uring_queue.h"

bool start_uring_queue() { return false; }

void uring_queue_file(const HeldDirectory&, DirectoryEntry, std::string) {}

void finish_uring_queue() {}
