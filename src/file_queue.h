// The files the walk finds, repaired and reported in the order it found
// them: one at a time with plain calls, or many at once through io_uring
// where the kernel offers it. The output is the same either way.
#pragma once

#include <functional>
#include <string>

#include "platform.h"

// Chooses how files are repaired; called once, before the walk. Each build
// has its variant: file_queue-uring.cpp (Linux with liburing), which uses
// io_uring where the kernel, its settings and the descriptors allowed offer
// it, and file_queue-plain.cpp.
void start_file_queue();

// Repairs the file `entry` of `directory`, whose walked path is
// `walked_path`, and reports it once every file queued before it is.
void queue_file(const HeldDirectory& directory, DirectoryEntry entry, std::string walked_path);

// Runs `note` (a folder's message, a step of the walk that reports must
// follow) once every file queued before it is reported.
void queue_note(std::function<void()> note);

// Returns once every queued file is repaired and reported; at once when
// called from within the queue's own work (memory that runs out there).
void finish_queued_files();
