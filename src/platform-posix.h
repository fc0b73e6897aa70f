// What the Linux-only io_uring queue shares with the POSIX platform layer.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include "platform.h"

struct Directory {
  int descriptor;
  dev_t device;
  ino_t inode;
  off_t size;
  FileSystem file_system;
  Directory(int descriptor, const struct stat& status, FileSystem file_system)
      : descriptor(descriptor),
        device(status.st_dev),
        inode(status.st_ino),
        size(status.st_size),
        file_system(file_system) {}
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;
  ~Directory();
};

// Every file is opened without following a link, without waiting on a FIFO
// and without becoming the controlling terminal.
constexpr int file_open_flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// Files are also opened so that reading them leaves their access time as it
// was: a check then changes no file's time, and ext4 journals one change of
// each file's inode the less. Only the file's owner (or root) may ask it; an
// open that another's file refuses for it (EPERM) is made again without it.
// O_NOATIME, or 0 once such a file has been met: the run opens as usual then.
int access_time_flag();
void access_time_refused();

// What open_file checks of a file it opened in `directory`: a regular file,
// and its facts. Where it is none, `descriptor` is closed and the result is
// no file.
OpenedFile checked_file(const Directory& directory, int descriptor);

// Whoever holds descriptors for later (the io_uring queue) names here how it
// gives them back; an open that finds no descriptor free is then tried once
// more.
void set_descriptor_giver(bool (*give_back)());
