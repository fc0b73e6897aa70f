// Many files repaired at once through io_uring, for the file queue. Where
// the platform, the kernel or its settings offer no io_uring, or too few
// descriptors are left, it does not start and the plain calls serve.
#pragma once

#include <string>

#include "platform.h"

// True if the ring is set up and takes the files from now on.
bool start_uring_queue();

void uring_queue_file(const HeldDirectory& directory, DirectoryEntry entry,
                      std::string walked_path);

// Does nothing when called from within the queue's own work (memory that
// runs out there).
void finish_uring_queue();
