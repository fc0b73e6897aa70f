// Many files repaired at once through io_uring, in one thread. Each file is
// opened and read through the ring (advised first not to read ahead, where
// it is larger than a page), checked with fstat, its field written with a
// plain pwrite, or through the ring where its folder is on a network or FUSE
// file system (elsewhere a ring write only goes to a kernel worker thread),
// and closed through the ring. Up to 256 files are in flight and up to four
// times as many queued, so that one slow file holds up no other, and each is
// reported in the order it was queued(). Whatever the ring cannot do for a
// file is done with plain calls; a ring that keeps failing is given up, the
// files in flight are finished with plain calls, and the run goes on
// without it.
#include <liburing.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <deque>
#include <optional>
#include <vector>

#include "bentro.h"
#include "file_queue.h"
#include "messages.h"
#include "name_repair.h"
#include "platform-posix.h"
#include "same_field.h"

namespace {

constexpr std::size_t most_files_in_flight = 256;
constexpr std::size_t most_queued_per_file_in_flight = 4;
// Prepared operations are handed over once there are this many, before the
// walk would wait for them.
constexpr unsigned handed_over_at_once = 32;
// A ring that refuses work (busy, short of memory, interrupted) is asked
// again after a millisecond, then twice as long each time, before it is
// given up.
constexpr int ring_tries = 8;

enum class Step {
  waiting,  // queued, not started
  opening,
  reading,
  writing,  // through the ring
  closing,
  done,
  plain,  // to be repaired with plain calls when its turn comes
};

// Each operation's kind, in the low bits of its user data.
enum Operation : std::uintptr_t {
  open_file_operation,
  advice,
  read_field,
  write_field,
  close_file_operation
};
constexpr std::uintptr_t operation_bits = 7;

// One queued file, from its queueing to its report.
struct QueuedFile {
  HeldDirectory directory;
  DirectoryEntry entry;
  std::string walked_path;
  std::string shown_path;  // made before anything is written; empty if the walked path is it
  Step step = Step::waiting;
  int descriptor = -1;
  std::int64_t size = 0;
  std::size_t buffers = 0;  // its place in `ring_buffers`, while in flight
  FileReport report;
  std::function<void()> note;    // where the walk left a note in the place of a file
  unsigned operations = 0;       // its operations the ring has yet to complete
  unsigned first_operation = 0;  // the place of the first of them in the submission queue
};

io_uring ring;
bool running = false;  // the ring serves
bool starting = true;  // waiting files may start: not while the ring is being closed
bool ending = false;   // memory ran out: only the I/O in flight ends
std::size_t files_in_flight_allowed = 0;
std::size_t files_queued_allowed = 0;
std::size_t files_in_flight = 0;
std::size_t operations_in_flight = 0;
std::int64_t page_size = 4096;
// The files queued, in walk order (addresses stay while queued), and those
// of them not started. Made once the ring serves, and not before: a deque
// takes memory when it is made.
struct Queue {
  std::deque<QueuedFile> files;
  std::deque<QueuedFile*> waiting;
};
std::optional<Queue> queue;
std::deque<QueuedFile>& queued() { return queue->files; }
std::deque<QueuedFile*>& waiting() { return queue->waiting; }
bool inside = false;  // in the queue's own work
// What the ring reads into and writes from, one pair for each file in
// flight: apart from the files, so that the kernel may still use them after
// the ring is given up, as they are never freed nor used again.
struct RingBuffers {
  NameField read, write;
};
std::vector<RingBuffers> ring_buffers;
std::vector<std::size_t> free_buffers;
// The folders of files whose operations the kernel may still carry out,
// after the ring is given up: kept to the end, so that no other folder
// takes their number.
std::vector<HeldDirectory> kept_directories;

// Marks the queue's own work, which must not be entered again from within;
// it may nest (a plain repair that runs out of descriptors gives them back).
struct Inside {
  bool was = inside;
  Inside() { inside = true; }
  ~Inside() { inside = was; }
};

const std::string& shown(const QueuedFile& file) {
  return file.shown_path.empty() ? file.walked_path : file.shown_path;
}

// The submission queue has two entries for each file that can be in flight,
// and a file has at most two operations outstanding (the advice and the
// read), so it never runs full.
io_uring_sqe* next_entry(QueuedFile& file, Operation operation) {
  io_uring_sqe* entry = io_uring_get_sqe(&ring);
  io_uring_sqe_set_data(
      entry, reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(&file) | operation));
  if (file.operations++ == 0) file.first_operation = ring.sq.sqe_tail - 1;
  ++operations_in_flight;
  return entry;
}

void start(QueuedFile& file) {
  ++files_in_flight;
  file.buffers = free_buffers.back();
  free_buffers.pop_back();
  file.step = Step::opening;
  int mode = settings.list_only ? O_RDONLY : O_RDWR;
  io_uring_prep_openat(next_entry(file, open_file_operation), file.directory->descriptor,
                       file.entry.name.c_str(), mode | file_open_flags, 0);
}

void submit_read(QueuedFile& file) {
  // No read-ahead: a file not in memory costs one small read, not a window.
  // The kernel takes the advice before the read that follows it, at once;
  // linked, the read would wait for another round.
  if (file.size > page_size)
    io_uring_prep_fadvise(next_entry(file, advice), file.descriptor, 0, 0, POSIX_FADV_RANDOM);
  io_uring_prep_read(next_entry(file, read_field), file.descriptor,
                     ring_buffers[file.buffers].read.data(), name_field_size, 0);
  file.step = Step::reading;
}

void submit_write(QueuedFile& file) {
  file.report.touched = true;
  NameField& field = ring_buffers[file.buffers].write;
  field = file.report.new_field;
  io_uring_prep_write(next_entry(file, write_field), file.descriptor, field.data(), name_field_size,
                      0);
  file.step = Step::writing;
}

void submit_close(QueuedFile& file) {
  io_uring_prep_close(next_entry(file, close_file_operation), file.descriptor);
  file.step = Step::closing;
}

// A file whose I/O is over waits only for its turn to be reported.
void leave_flight(QueuedFile& file, Step step) {
  file.step = step;
  free_buffers.push_back(file.buffers);
  --files_in_flight;
}

void opened(QueuedFile& file, int result) {
  if (ending) {
    if (result >= 0) close(result);
    return leave_flight(file, Step::plain);
  }
  // The plain calls try once more, and report what fails.
  if (result < 0) return leave_flight(file, Step::plain);
  OpenedFile checked = checked_file(*file.directory, result);
  if (checked.handle == no_file) return leave_flight(file, Step::plain);
  file.descriptor = result;
  file.size = checked.size;
  file.report = FileReport(refusal_of(checked));
  if (file.report.message == FileMessage::none)
    submit_read(file);
  else
    submit_close(file);
}

void field_read(QueuedFile& file, int result) {
  if (ending) {
    close(file.descriptor);
    return leave_flight(file, Step::plain);
  }
  // A read the ring could not make is made once more with a plain call.
  NameField& old_field = ring_buffers[file.buffers].read;
  if (result != name_field_size)
    result = static_cast<int>(read_at(file.descriptor, old_field.data(), name_field_size, 0));
  if (result != name_field_size) {
    file.report = FileReport(FileMessage::cannot_read);
    return submit_close(file);
  }
  bool through_ring = file.directory->file_system == FileSystem::remote;
  file.report = repair_field(file.walked_path, old_field, !settings.list_only,
                             through_ring ? no_file : file.descriptor);
  if (file.report.to_write)
    submit_write(file);
  else
    submit_close(file);
}

void complete(QueuedFile& file, Operation operation, int result) {
  --file.operations;
  --operations_in_flight;
  switch (operation) {
    case open_file_operation:
      return opened(file, result);
    case advice:
      return;
    case read_field:
      return field_read(file, result);
    case write_field:
      file.report = written(std::move(file.report), result);
      return submit_close(file);
    case close_file_operation:
      file.report = closed(std::move(file.report), result == 0);
      return leave_flight(file, Step::done);
  }
}

// Takes every completion there is, each marked as seen before its work, so
// that work which runs out of memory and ends the run takes none twice.
void take_completions() {
  io_uring_cqe* completion;
  while (io_uring_peek_cqe(&ring, &completion) == 0) {
    auto data = reinterpret_cast<std::uintptr_t>(io_uring_cqe_get_data(completion));
    int result = completion->res;
    io_uring_cqe_seen(&ring, completion);
    complete(*reinterpret_cast<QueuedFile*>(data & ~operation_bits),
             static_cast<Operation>(data & operation_bits), result);
  }
}

void start_waiting_files() {
  while (running && starting && files_in_flight < files_in_flight_allowed && !waiting().empty()) {
    start(*waiting().front());
    waiting().pop_front();
  }
}

// Finishes with plain calls a file whose operations the ring will not
// complete. Where the kernel took them (`taken`) it may still carry them
// out, so a descriptor with a write or a close outstanding is left open:
// another file given its number could receive them.
void finish_plainly(QueuedFile& file, bool taken) {
  if (taken) kept_directories.push_back(file.directory);  // an open may yet look it up
  file.operations = 0;
  switch (file.step) {
    case Step::opening:
      return leave_flight(file, Step::plain);  // an open the kernel made is never used
    case Step::reading: {
      NameField field;
      if (read_at(file.descriptor, field.data(), name_field_size, 0) == name_field_size)
        file.report = repair_field(file.walked_path, field, !settings.list_only, file.descriptor);
      else
        file.report = FileReport(FileMessage::cannot_read);
      break;
    }
    case Step::writing: {
      std::int64_t stored = write_at(file.descriptor, file.report.new_field.data(), name_field_size,
                                     0);  // the same bytes, if twice
      file.report = written(std::move(file.report), stored);
      if (taken) return leave_flight(file, Step::done);
      break;
    }
    case Step::closing:
      if (taken) return leave_flight(file, Step::done);  // the close's result is lost
      break;
    default:
      return;
  }
  file.report = closed(std::move(file.report), close_file(file.descriptor));
  leave_flight(file, Step::done);
}

// The ring keeps refusing work: what it completed is taken, every file in
// flight is finished with plain calls, and the run goes on without it.
void give_up_ring() {
  take_completions();
  // The operations the kernel has taken, in order.
  unsigned taken_up_to = io_uring_smp_load_acquire(ring.sq.khead);
  for (QueuedFile& file : queued())
    if (file.operations > 0)
      finish_plainly(file, static_cast<int>(file.first_operation - taken_up_to) < 0);
  operations_in_flight = 0;
  io_uring_queue_exit(&ring);
  running = false;
  for (QueuedFile* file : waiting()) file->step = Step::plain;
  waiting().clear();
}

void pause_for_milliseconds(long milliseconds) {
  timespec pause{milliseconds / 1000, milliseconds % 1000 * 1000000};
  nanosleep(&pause, nullptr);
}

// Hands the prepared operations to the kernel and takes what has completed,
// after at least one operation where `wait`. A ring that keeps refusing, or
// refuses while a stop is requested, is given up.
void pump(bool wait) {
  for (int tries = 1;; ++tries) {
    int result = wait ? io_uring_submit_and_wait(&ring, 1) : io_uring_submit_and_get_events(&ring);
    // Busy: completions are there to take first.
    if (result >= 0 || io_uring_cq_ready(&ring) > 0) break;
    if (tries == ring_tries || (result != -EINTR && stop_request() != 0)) return give_up_ring();
    if (result != -EINTR) pause_for_milliseconds(1L << (tries - 1));
  }
  take_completions();
  start_waiting_files();
}

// Reports the files at the front that are done, repairing with the plain
// calls those that the ring left to them.
void report_finished_files() {
  while (!queued().empty()) {
    QueuedFile& file = queued().front();
    if (file.step == Step::plain)
      repair_and_report(*file.directory, file.entry, file.walked_path);
    else if (file.step != Step::done || file.operations > 0)
      return;
    else if (file.note)
      file.note();
    else
      report_repair(file.walked_path, shown(file), file.report);
    queued().pop_front();
  }
}

void report_every_file() {
  if (!queue) return;
  for (;;) {
    report_finished_files();
    if (queued().empty() || !running) return;
    pump(true);
  }
}

// When an open finds no descriptor free: every file in flight is finished
// and closed, the ring itself is closed, and the plain calls serve from now
// on, needing no more descriptors than they always did.
bool give_back_descriptors() {
  if (!running) return false;
  Inside work;
  starting = false;
  while (running && operations_in_flight > 0) pump(true);
  starting = true;
  if (running) io_uring_queue_exit(&ring);
  running = false;
  for (QueuedFile* file : waiting()) file->step = Step::plain;
  waiting().clear();
  return true;
}

// Raises the soft limit of descriptors to the hard one, and shares it out:
// one for each file in flight, one for the folder of each file queued, and a
// few for the walk.
void share_out_descriptors() {
  rlimit limit;
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return;
  if (limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
  }
  std::size_t spare = limit.rlim_cur > 8 ? limit.rlim_cur - 8 : 0;
  if (limit.rlim_cur == RLIM_INFINITY) spare = 1 << 20;
  files_in_flight_allowed = std::min(most_files_in_flight, spare / 2);
  files_queued_allowed = std::max(files_in_flight_allowed,
                                  std::min(most_queued_per_file_in_flight * files_in_flight_allowed,
                                           spare - files_in_flight_allowed));
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
    result = io_uring_queue_init_params(2 * files_in_flight_allowed, &ring, &parameters);
    if (result != -EINVAL) break;
  }
  // Otherwise a kernel before 5.6, io_uring_disabled, a seccomp filter, ENOMEM.
  if (result != 0) return false;
  // A file on a network or FUSE file system waits in a kernel worker for each
  // operation; by default there are four of them for each core. Where the
  // kernel cannot be asked for more, fewer files are at once on such a share.
  unsigned workers[2] = {static_cast<unsigned>(files_in_flight_allowed),
                         static_cast<unsigned>(files_in_flight_allowed)};
  io_uring_register_iowq_max_workers(&ring, workers);
  return true;
}

bool ring_offers_every_operation() {
  io_uring_probe* probe = io_uring_get_probe_ring(&ring);
  if (probe == nullptr) return false;
  bool offers = true;
  for (int operation :
       {IORING_OP_OPENAT, IORING_OP_FADVISE, IORING_OP_READ, IORING_OP_WRITE, IORING_OP_CLOSE})
    offers = offers && io_uring_opcode_supported(probe, operation);
  io_uring_free_probe(probe);
  return offers;
}

}  // namespace

void start_file_queue() {
  share_out_descriptors();
  page_size = sysconf(_SC_PAGESIZE);
  if (files_in_flight_allowed < 2 || !set_up_ring()) return;
  ring_buffers.resize(files_in_flight_allowed);
  for (std::size_t buffers = 0; buffers < files_in_flight_allowed; ++buffers)
    free_buffers.push_back(buffers);
  if (!ring_offers_every_operation()) {
    io_uring_queue_exit(&ring);
    return;
  }
  queue.emplace();
  running = true;
  set_descriptor_giver(give_back_descriptors);
}

void queue_file(const HeldDirectory& directory, DirectoryEntry entry, std::string walked_path) {
  Inside work;
  while (running && queued().size() >= files_queued_allowed) {
    pump(true);
    report_finished_files();
  }
  if (!running) {  // no ring, or it was given up: the plain calls serve
    report_every_file();
    return repair_and_report(*directory, entry, walked_path);
  }
  QueuedFile& file = queued().emplace_back();
  file.directory = directory;
  file.entry = std::move(entry);
  file.walked_path = std::move(walked_path);
  if (!is_shown_as_is(file.walked_path)) file.shown_path = shown_path(file.walked_path);
  file.report = FileReport(refusal_of(file.entry));
  if (file.report.message != FileMessage::none)
    file.step = Step::done;
  else if (files_in_flight < files_in_flight_allowed)
    start(file);
  else
    waiting().push_back(&file);
  if (io_uring_sq_ready(&ring) >= handed_over_at_once) pump(false);
  report_finished_files();
}

void queue_note(std::function<void()> note) {
  if (!queue || queued().empty()) return note();
  QueuedFile& file = queued().emplace_back();
  file.step = Step::done;
  file.note = std::move(note);
}

void start_queued_files() {
  if (!running || inside || io_uring_sq_ready(&ring) == 0) return;
  Inside work;
  pump(false);
  report_finished_files();
}

void finish_queued_files() {
  if (inside) return report_touched_files();  // memory ran out within the queue's own work
  if (!queue) return;
  Inside work;
  report_every_file();
}

void report_touched_files() {
  ending = true;
  for (int tries = 0; running && operations_in_flight > 0 && tries < ring_tries;) {
    if (io_uring_submit_and_wait(&ring, 1) < 0) ++tries;
    take_completions();
  }
  // A plain repair in hand is the file at the front.
  report_repair_in_hand();
  if (!queue) return;
  for (const QueuedFile& file : queued()) {
    if (file.note || (file.step != Step::done && !file.report.touched)) continue;
    // A write still in flight may or may not have been made.
    if (file.step == Step::writing)
      report_file(shown(file), FileReport(FileMessage::cannot_write), false);
    else
      report_file(shown(file), file.report, false);
  }
}
