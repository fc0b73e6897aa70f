// Many files repaired at once through io_uring, in one thread. Each file is
// opened, advised and read through the ring; it is checked with fstat and
// its field written with plain calls (a buffered write through the ring
// would only go to a kernel worker thread); it is closed through the ring.
// Whatever the ring cannot do for a file is done with the plain calls, and
// every file is reported in the order it was queued.
#include <liburing.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>

#include "bentro.h"
#include "file_queue.h"
#include "messages.h"
#include "name_repair.h"
#include "platform-posix.h"
#include "same_field.h"

namespace {

// More files at once gain nothing measurable.
constexpr std::size_t most_files_at_once = 64;

enum class Step {
  opening,
  reading,
  closing,
  done,
  plain,  // to be repaired with the plain calls, when its turn comes
};

// One queued file, from its queueing to its report.
struct QueuedFile {
  HeldDirectory directory;
  DirectoryEntry entry;
  std::string walked_path;
  Step step = Step::opening;
  int descriptor = -1;
  std::string old_field = std::string(name_field_size, '\0');  // what the read fills
  FileReport report;
  std::function<void()> note;  // where the walk left a note in the place of a file
};

io_uring ring;
bool running = false;
std::size_t files_at_once = 0;
std::size_t operations_in_flight = 0;
std::deque<QueuedFile> queued;  // in walk order; addresses stay while queued
bool inside = false;            // in the queue's own work

// Marks the queue's own work, which must not be entered again from within;
// it may nest (a plain repair that runs out of descriptors gives them back).
struct Inside {
  bool was = inside;
  Inside() { inside = true; }
  ~Inside() { inside = was; }
};

// The submission queue has two entries for each file that can be queued,
// and a file has at most two operations in flight (the advice and the
// read), so it never runs full; and entries are handed over only in
// take_completions, so that the two of a file go over together.
io_uring_sqe* next_entry(QueuedFile* file) {
  io_uring_sqe* entry = io_uring_get_sqe(&ring);
  io_uring_sqe_set_data(entry, file);
  ++operations_in_flight;
  return entry;
}

void submit_open(QueuedFile& file) {
  int mode = settings.list_only ? O_RDONLY : O_RDWR;
  io_uring_prep_openat(next_entry(&file), file.directory->descriptor, file.entry.name.c_str(),
                       mode | file_open_flags, 0);
}

void submit_read(QueuedFile& file) {
  // No read-ahead: a file not in memory costs one small read, not a window.
  io_uring_sqe* advice = next_entry(nullptr);
  io_uring_prep_fadvise(advice, file.descriptor, 0, 0, POSIX_FADV_RANDOM);
  advice->flags |= IOSQE_IO_HARDLINK;  // the read follows whatever the advice's result
  io_uring_prep_read(next_entry(&file), file.descriptor, file.old_field.data(), name_field_size, 0);
  file.step = Step::reading;
}

void submit_close(QueuedFile& file) {
  io_uring_prep_close(next_entry(&file), file.descriptor);
  file.step = Step::closing;
}

void opened(QueuedFile& file, int result) {
  // The plain calls try once more, and report what fails.
  if (result < 0) {
    file.step = Step::plain;
    return;
  }
  OpenedFile checked = checked_file(*file.directory, result);
  if (checked.handle == no_file) {
    file.step = Step::plain;
    return;
  }
  file.descriptor = result;
  file.report = FileReport(refusal_of(checked));
  if (file.report.message == FileMessage::none)
    submit_read(file);
  else
    submit_close(file);
}

void field_read(QueuedFile& file, int result) {
  // A read the ring could not make is made once more with a plain call.
  if (result != name_field_size)
    result = static_cast<int>(read_at(file.descriptor, file.old_field.data(), name_field_size, 0));
  if (result == name_field_size)
    file.report = repair_field(file.walked_path, std::move(file.old_field), !settings.list_only,
                               file.descriptor);
  else
    file.report = FileReport(FileMessage::cannot_read);
  submit_close(file);
}

void complete(QueuedFile& file, int result) {
  switch (file.step) {
    case Step::opening:
      return opened(file, result);
    case Step::reading:
      return field_read(file, result);
    case Step::closing:
      file.report = closed(std::move(file.report), result == 0);
      file.step = Step::done;
      return;
    case Step::done:
    case Step::plain:
      return;
  }
}

// Submits what is prepared, waits for at least one operation to complete
// and takes every completion there is.
void take_completions() {
  for (;;) {
    int submitted = io_uring_submit_and_wait(&ring, 1);
    if (submitted >= 0 || submitted == -EINTR) break;
    // EAGAIN, EBUSY: the kernel has completions to hand over first.
    if (submitted != -EAGAIN && submitted != -EBUSY) {
      std::fprintf(stderr, "io_uring: %s\n", std::strerror(-submitted));
      std::abort();
    }
    if (io_uring_cq_ready(&ring) > 0) break;
  }
  unsigned head;
  unsigned taken = 0;
  io_uring_cqe* completion;
  io_uring_for_each_cqe(&ring, head, completion) {
    ++taken;
    --operations_in_flight;
    auto* file = static_cast<QueuedFile*>(io_uring_cqe_get_data(completion));
    if (file != nullptr) complete(*file, completion->res);
  }
  io_uring_cq_advance(&ring, taken);
}

// Reports the files at the front that are done, repairing with the plain
// calls those that the ring left to them.
void report_finished_files() {
  while (!queued.empty()) {
    QueuedFile& file = queued.front();
    if (file.step == Step::plain) {
      file.report = fix_file(*file.directory, file.entry, file.walked_path);
      file.step = Step::done;
    }
    if (file.step != Step::done) return;
    if (file.note)
      file.note();
    else
      report_repair(file.walked_path, file.report);
    queued.pop_front();
  }
}

// When an open finds no descriptor free: every file in flight is finished
// and closed, the ring itself is closed, and the plain calls serve from now
// on, needing no more descriptors than they always did.
bool give_back_descriptors() {
  if (!running) return false;
  Inside work;
  while (operations_in_flight > 0) take_completions();
  io_uring_queue_exit(&ring);
  running = false;
  return true;
}

void report_every_file() {
  for (;;) {
    report_finished_files();
    if (queued.empty()) return;
    take_completions();
  }
}

// Descriptors for the files in flight, each with its directory, leaving
// room for the walk's own.
std::size_t descriptors_allow() {
  rlimit limit;
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
    return most_files_at_once;
  return limit.rlim_cur > 8 ? (limit.rlim_cur - 8) / 2 : 0;
}

bool set_up_ring() {
  // The fastest set-up the kernel knows: completions handled only when
  // asked for, by this thread alone.
  const unsigned flag_sets[] = {
      IORING_SETUP_SUBMIT_ALL | IORING_SETUP_SINGLE_ISSUER | IORING_SETUP_DEFER_TASKRUN,
      IORING_SETUP_SUBMIT_ALL | IORING_SETUP_COOP_TASKRUN, 0};
  int result = -EINVAL;  // flags this kernel does not know
  for (unsigned flags : flag_sets) {
    io_uring_params parameters{};
    parameters.flags = flags;
    result = io_uring_queue_init_params(2 * files_at_once, &ring, &parameters);
    if (result != -EINVAL) break;
  }
  // Otherwise a kernel before 5.6, io_uring_disabled, a seccomp filter, ENOMEM.
  return result == 0;
}

bool ring_offers_every_operation() {
  io_uring_probe* probe = io_uring_get_probe_ring(&ring);
  if (probe == nullptr) return false;
  bool offers = true;
  for (int operation : {IORING_OP_OPENAT, IORING_OP_FADVISE, IORING_OP_READ, IORING_OP_CLOSE})
    offers = offers && io_uring_opcode_supported(probe, operation);
  io_uring_free_probe(probe);
  return offers;
}

}  // namespace

void start_file_queue() {
  files_at_once = std::min(most_files_at_once, descriptors_allow());
  if (files_at_once < 2 || !set_up_ring()) return;
  if (!ring_offers_every_operation()) {
    io_uring_queue_exit(&ring);
    return;
  }
  running = true;
  set_descriptor_giver(give_back_descriptors);
}

void queue_file(const HeldDirectory& directory, DirectoryEntry entry, std::string walked_path) {
  Inside work;
  while (running && queued.size() >= files_at_once) {
    take_completions();
    report_finished_files();
  }
  if (!running) {  // no ring, or descriptors ran short: the plain calls serve
    report_every_file();
    report_repair(walked_path, fix_file(*directory, entry, walked_path));
    return;
  }
  QueuedFile& file = queued.emplace_back();
  file.directory = directory;
  file.entry = std::move(entry);
  file.walked_path = std::move(walked_path);
  file.report = FileReport(refusal_of(file.entry));
  if (file.report.message == FileMessage::none)
    submit_open(file);
  else
    file.step = Step::done;
  report_finished_files();
}

void queue_note(std::function<void()> note) {
  if (queued.empty()) return note();
  QueuedFile& file = queued.emplace_back();
  file.step = Step::done;
  file.note = std::move(note);
}

void finish_queued_files() {
  if (inside) return;  // memory ran out within the queue's own work
  Inside work;
  report_every_file();
}
