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

// Hands what is queued to the kernel, as the walk does before it may wait
// (listing a folder not in memory), so that the files' I/O goes on meanwhile.
void start_queued_files();

// Returns once every queued file is repaired and reported.
void finish_queued_files();

// When memory has run out: lets the I/O in flight end without starting any
// more work, and prints, in order, the report of every file that is
// finished or whose field was written, without taking memory.
void report_touched_files();
