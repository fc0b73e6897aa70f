// Many files repaired at once through io_uring. Each file is opened and read
// through a ring (advised first not to read ahead, where it is larger than a
// page), checked with fstat, its field written with a plain pwrite, or
// through the ring where its folder is on a network or FUSE file system
// (elsewhere a ring write only goes to a kernel worker thread), and closed
// through the ring. Up to 256 files are in flight and up to twice as many
// queued, so that one slow file holds up no other.
//
// Where the machine has several cores, each has a ring served by a thread of
// its own, and the walk's thread hands each folder's files, in runs, to one
// ring after the other; otherwise the walk's thread serves the one ring
// itself. Either way the walk's thread alone prints, each file in the order
// it was queued, and the rings' threads take no memory, so that memory that
// runs out is met by the walk's thread only.
//
// Whatever a ring cannot do for a file is done with plain calls by the
// walk's thread; a ring that keeps failing is given up, its files in flight
// finished with plain calls, and the run goes on without it.
#include <fcntl.h>
#include <liburing.h>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "bentro.h"
#include "file_queue.h"
#include "messages.h"
#include "name_repair.h"
#include "platform-posix.h"
#include "same_field.h"

namespace {

constexpr std::size_t most_files_in_flight = 256;
constexpr std::size_t most_queued_per_file_in_flight = 2;
// A folder's files go to one ring in runs of this many at most.
constexpr std::size_t files_in_a_run = 64;
// Prepared operations are handed to the kernel once there are this many,
// where the walk's thread serves the ring.
constexpr unsigned handed_over_at_once = 32;
// A ring that refuses work (busy, short of memory, interrupted) is asked
// again after a millisecond, then twice as long each time, before it is
// given up.
constexpr int ring_tries = 8;

enum class Step : std::uint8_t {
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

struct Ring;

// One queued file, from its queueing to its report. Hundreds are queued at
// once, so what few of them need (a note, a path shown otherwise) is kept
// apart.
struct QueuedFile {
  // Set by the walk's thread before the file is handed to a ring.
  HeldDirectory directory;
  DirectoryEntry entry;
  std::string walked_path;
  // Made before anything is written; null if the walked path is it.
  std::unique_ptr<std::string> shown_path;
  // Where the walk left a note in the place of a file.
  std::unique_ptr<std::function<void()>> note;
  Ring* ring = nullptr;  // none for a note, or a file that needs no ring
  // Changed by the ring's thread while it has the file; read by the walk's
  // thread once the ring has handed it back.
  FileReport report;
  std::int64_t size = 0;
  int descriptor = -1;
  std::uint32_t buffers = 0;     // its place in Ring::buffers, while in flight
  unsigned operations = 0;       // its operations the ring has yet to complete
  unsigned first_operation = 0;  // the place of the first of them in the submission queue
  Step step = Step::waiting;
  bool keeps_access_time = false;  // its open asks it
  bool opened_again = false;       // without that, as the first open was refused for it
  std::atomic<bool> handed_back{false};
};

// What a ring reads into and writes from, one pair for each file in flight:
// apart from the files, so that the kernel may still use them after the
// ring is given up, as they are then never freed nor used again.
struct RingBuffers {
  NameField read, write;
};

// A ring and the files on it. Once its thread runs, it takes no memory:
// whatever it fills has room enough from the start.
struct Ring {
  io_uring ring;
  bool running = false;   // as the ring's thread sees it
  bool stopping = false;  // no file is started any more: it is leaving
  std::size_t files_allowed = 0;
  std::size_t files_in_flight = 0;
  std::size_t operations_in_flight = 0;
  std::vector<RingBuffers> buffers;
  std::vector<QueuedFile*> flying;  // the file that has each pair of buffers
  std::vector<std::uint32_t> free_buffers;
  std::vector<QueuedFile*> waiting;  // taken from `handed`, not started, from `next_waiting` on
  std::size_t next_waiting = 0;
  // The folders of files whose operations the kernel may still carry out,
  // after the ring is given up: kept to the end, so that no other folder
  // takes their number.
  std::vector<HeldDirectory> kept_directories;
  // Shared with the walk's thread, under `lock`.
  std::mutex lock;
  std::condition_variable wake;
  std::vector<QueuedFile*> handed;
  bool leaving = false;  // asked to finish what it has and close
  bool closed = false;   // every file handed back, the ring closed
  std::thread thread;
};

// The rings, the files queued in walk order (addresses stay while queued),
// and the walk's runs of files for each ring not yet handed over. Made once
// the rings serve, and not before: a deque takes memory when it is made.
struct Queue {
  std::vector<std::unique_ptr<Ring>> rings;
  std::deque<QueuedFile> files;
  std::vector<std::vector<QueuedFile*>> runs;
  std::size_t ring_of_run = 0;
  std::size_t run_length = 0;
  bool threaded = false;  // rings served by threads of their own
};
std::optional<Queue> queue;
bool running = false;  // as the walk's thread sees it: some ring serves
std::size_t files_queued_allowed = 0;
std::int64_t page_size = 4096;
std::atomic<bool> ending{false};  // memory ran out: only the I/O in flight ends
bool inside = false;              // in the queue's own work, on the walk's thread
// A ring's thread says here that it handed files back.
std::mutex progress_lock;
std::condition_variable progress;

// Marks the queue's own work, which must not be entered again from within;
// it may nest (a plain repair that runs out of descriptors gives them back).
struct Inside {
  bool was = inside;
  Inside() { inside = true; }
  ~Inside() { inside = was; }
};

const std::string& shown(const QueuedFile& file) {
  return file.shown_path ? *file.shown_path : file.walked_path;
}

void say_progress() {
  { std::lock_guard<std::mutex> hold(progress_lock); }
  progress.notify_all();
}

// On the ring's thread ------------------------------------------------------

// The submission queue has two entries for each file that can be in flight,
// and a file has at most two operations outstanding (the advice and the
// read), so it never runs full.
io_uring_sqe* next_entry(Ring& ring, QueuedFile& file, Operation operation) {
  io_uring_sqe* entry = io_uring_get_sqe(&ring.ring);
  io_uring_sqe_set_data(
      entry, reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(&file) | operation));
  if (file.operations++ == 0) file.first_operation = ring.ring.sq.sqe_tail - 1;
  ++ring.operations_in_flight;
  return entry;
}

void submit_open(Ring& ring, QueuedFile& file) {
  int flags = (settings.list_only ? O_RDONLY : O_RDWR) | file_open_flags;
  if (file.keeps_access_time) flags |= O_NOATIME;
  io_uring_prep_openat(next_entry(ring, file, open_file_operation), file.directory->descriptor,
                       file.entry.name.c_str(), flags, 0);
}

void start(Ring& ring, QueuedFile& file) {
  ++ring.files_in_flight;
  file.buffers = ring.free_buffers.back();
  ring.free_buffers.pop_back();
  ring.flying[file.buffers] = &file;
  file.step = Step::opening;
  file.keeps_access_time = access_time_flag() != 0;
  submit_open(ring, file);
}

void submit_read(Ring& ring, QueuedFile& file) {
  // No read-ahead: a file not in memory costs one small read, not a window.
  // Linked, the advice's completion comes before the read's, whatever its
  // result, so that none of the file's comes after it is handed back.
  if (file.size > page_size) {
    io_uring_sqe* advising = next_entry(ring, file, advice);
    io_uring_prep_fadvise(advising, file.descriptor, 0, 0, POSIX_FADV_RANDOM);
    advising->flags |= IOSQE_IO_HARDLINK;
  }
  io_uring_prep_read(next_entry(ring, file, read_field), file.descriptor,
                     ring.buffers[file.buffers].read.data(), name_field_size, 0);
  file.step = Step::reading;
}

void submit_write(Ring& ring, QueuedFile& file) {
  file.report.touched = true;
  NameField& field = ring.buffers[file.buffers].write;
  field = file.report.new_field;
  io_uring_prep_write(next_entry(ring, file, write_field), file.descriptor, field.data(),
                      name_field_size, 0);
  file.step = Step::writing;
}

void submit_close(Ring& ring, QueuedFile& file) {
  io_uring_prep_close(next_entry(ring, file, close_file_operation), file.descriptor);
  file.step = Step::closing;
}

void hand_back(QueuedFile& file, Step step) {
  file.step = step;
  file.handed_back.store(true, std::memory_order_release);
}

// A file whose I/O is over goes back to the walk's thread, to be reported.
void leave_flight(Ring& ring, QueuedFile& file, Step step) {
  ring.flying[file.buffers] = nullptr;
  ring.free_buffers.push_back(file.buffers);
  --ring.files_in_flight;
  hand_back(file, step);
}

void opened(Ring& ring, QueuedFile& file, int result) {
  if (ending) {
    if (result >= 0) close(result);
    return leave_flight(ring, file, Step::plain);
  }
  if (result == -EPERM && file.keeps_access_time) {
    file.keeps_access_time = false;
    file.opened_again = true;
    return submit_open(ring, file);
  }
  // The plain calls try once more, and report what fails.
  if (result < 0) return leave_flight(ring, file, Step::plain);
  if (file.opened_again) access_time_refused();
  OpenedFile checked = checked_file(*file.directory, result);
  if (checked.handle == no_file) return leave_flight(ring, file, Step::plain);
  file.descriptor = result;
  file.size = checked.size;
  file.report = FileReport(refusal_of(checked));
  if (file.report.message == FileMessage::none)
    submit_read(ring, file);
  else
    submit_close(ring, file);
}

void field_read(Ring& ring, QueuedFile& file, int result) {
  if (ending) {
    close(file.descriptor);
    return leave_flight(ring, file, Step::plain);
  }
  // A read the ring could not make is made once more with a plain call.
  NameField& old_field = ring.buffers[file.buffers].read;
  if (result != name_field_size)
    result = static_cast<int>(read_at(file.descriptor, old_field.data(), name_field_size, 0));
  if (result != name_field_size) {
    file.report = FileReport(FileMessage::cannot_read);
    return submit_close(ring, file);
  }
  bool through_ring = file.directory->file_system == FileSystem::remote;
  file.report = repair_field(file.walked_path, old_field, !settings.list_only,
                             through_ring ? no_file : file.descriptor);
  if (file.report.to_write)
    submit_write(ring, file);
  else
    submit_close(ring, file);
}

void complete(Ring& ring, QueuedFile& file, Operation operation, int result) {
  --file.operations;
  --ring.operations_in_flight;
  switch (operation) {
    case open_file_operation:
      return opened(ring, file, result);
    case advice:
      return;
    case read_field:
      return field_read(ring, file, result);
    case write_field:
      file.report = written(std::move(file.report), result);
      return submit_close(ring, file);
    case close_file_operation:
      file.report = closed(std::move(file.report), result == 0);
      return leave_flight(ring, file, Step::done);
  }
}

// Takes every completion there is, each marked as seen before its work, so
// that work which runs out of memory and ends the run takes none twice.
void take_completions(Ring& ring) {
  io_uring_cqe* completion;
  while (io_uring_peek_cqe(&ring.ring, &completion) == 0) {
    auto data = reinterpret_cast<std::uintptr_t>(io_uring_cqe_get_data(completion));
    int result = completion->res;
    io_uring_cqe_seen(&ring.ring, completion);
    complete(ring, *reinterpret_cast<QueuedFile*>(data & ~operation_bits),
             static_cast<Operation>(data & operation_bits), result);
  }
}

void start_waiting_files(Ring& ring) {
  while (ring.running && !ring.stopping && !ending && ring.files_in_flight < ring.files_allowed &&
         ring.next_waiting < ring.waiting.size())
    start(ring, *ring.waiting[ring.next_waiting++]);
  if (ring.next_waiting == ring.waiting.size()) {
    ring.waiting.clear();  // keeps its room
    ring.next_waiting = 0;
  }
}

// Finishes with plain calls a file whose operations the ring will not
// complete. Where the kernel took them (`taken`) it may still carry them
// out, so a descriptor with a write or a close outstanding is left open:
// another file given its number could receive them.
void finish_plainly(Ring& ring, QueuedFile& file, bool taken) {
  if (taken) ring.kept_directories.push_back(file.directory);  // an open may yet look it up
  file.operations = 0;
  switch (file.step) {
    case Step::opening:
      return leave_flight(ring, file, Step::plain);  // an open the kernel made is never used
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
      if (taken) return leave_flight(ring, file, Step::done);
      break;
    }
    case Step::closing:
      if (taken) return leave_flight(ring, file, Step::done);  // the close's result is lost
      break;
    default:
      return;
  }
  file.report = closed(std::move(file.report), close_file(file.descriptor));
  leave_flight(ring, file, Step::done);
}

// Closes the ring: every file it has not started goes back to be repaired
// with plain calls, as does every file handed to it from now on.
void close_ring(Ring& ring) {
  io_uring_queue_exit(&ring.ring);
  ring.running = false;
  std::lock_guard<std::mutex> hold(ring.lock);
  for (std::size_t at = ring.next_waiting; at < ring.waiting.size(); ++at)
    hand_back(*ring.waiting[at], Step::plain);
  for (QueuedFile* file : ring.handed) hand_back(*file, Step::plain);
  ring.waiting.clear();
  ring.handed.clear();
  ring.closed = true;
}

// The ring keeps refusing work: what it completed is taken, every file in
// flight is finished with plain calls, and the run goes on without it.
void give_up_ring(Ring& ring) {
  take_completions(ring);
  // The operations the kernel has taken, in order.
  unsigned taken_up_to = io_uring_smp_load_acquire(ring.ring.sq.khead);
  for (QueuedFile* file : ring.flying)
    if (file != nullptr && file->operations > 0)
      finish_plainly(ring, *file, static_cast<int>(file->first_operation - taken_up_to) < 0);
  ring.operations_in_flight = 0;
  close_ring(ring);
}

void pause_for_milliseconds(long milliseconds) {
  timespec pause{milliseconds / 1000, milliseconds % 1000 * 1000000};
  nanosleep(&pause, nullptr);
}

// Hands the prepared operations to the kernel and takes what has completed,
// after at least one operation where `wait`. A ring that keeps refusing, or
// refuses while a stop is requested, is given up.
void pump(Ring& ring, bool wait) {
  for (int tries = 1;; ++tries) {
    int result =
        wait ? io_uring_submit_and_wait(&ring.ring, 1) : io_uring_submit_and_get_events(&ring.ring);
    // Busy: completions are there to take first.
    if (result >= 0 || io_uring_cq_ready(&ring.ring) > 0) break;
    if (tries == ring_tries || (result != -EINTR && stop_request() != 0)) return give_up_ring(ring);
    if (result != -EINTR) pause_for_milliseconds(1L << (tries - 1));
  }
  take_completions(ring);
  start_waiting_files(ring);
}

// Takes the files handed over, starts what room allows, and hands the
// prepared operations to the kernel, waiting for one where `wait` and some
// are in flight.
void serve_once(Ring& ring, bool wait) {
  {
    std::lock_guard<std::mutex> hold(ring.lock);
    ring.stopping = ring.leaving;
    if (!ending && !ring.stopping && !ring.handed.empty()) {
      // Those started go first: the rest and the new fit in the room kept.
      ring.waiting.erase(ring.waiting.begin(), ring.waiting.begin() + ring.next_waiting);
      ring.next_waiting = 0;
      ring.waiting.insert(ring.waiting.end(), ring.handed.begin(), ring.handed.end());
      ring.handed.clear();
    }
  }
  start_waiting_files(ring);
  if (ring.operations_in_flight > 0) pump(ring, wait);
}

// A ring's own thread: it serves until asked to close, or until memory runs
// out and only what is in flight is finished. The ring was made disabled,
// so that this thread, which alone gives it work, can take it over.
void serve(Ring& ring) {
  if (syscall(__NR_io_uring_register, ring.ring.ring_fd, IORING_REGISTER_ENABLE_RINGS, nullptr,
              0) != 0) {
    close_ring(ring);
    return say_progress();
  }
  for (;;) {
    {
      std::unique_lock<std::mutex> hold(ring.lock);
      ring.wake.wait(hold, [&] {
        return ring.leaving || ending || !ring.handed.empty() || ring.operations_in_flight > 0;
      });
      if ((ring.leaving || ending) && ring.operations_in_flight == 0) break;
    }
    serve_once(ring, true);
    say_progress();
    if (!ring.running) return say_progress();
  }
  if (ring.running) close_ring(ring);
  say_progress();
}

// On the walk's thread --------------------------------------------------------

bool is_ready(const QueuedFile& file) {
  return file.ring == nullptr || file.handed_back.load(std::memory_order_acquire);
}

// Hands each ring the runs queued for it since the last time; one that
// closed meanwhile leaves them to the plain calls.
void hand_over() {
  for (std::size_t at = 0; at < queue->rings.size(); ++at) {
    std::vector<QueuedFile*>& run = queue->runs[at];
    if (run.empty()) continue;
    Ring& ring = *queue->rings[at];
    {
      std::lock_guard<std::mutex> hold(ring.lock);
      if (ring.closed)
        for (QueuedFile* file : run) file->ring = nullptr, file->step = Step::plain;
      else
        ring.handed.insert(ring.handed.end(), run.begin(), run.end());
    }
    if (queue->threaded) ring.wake.notify_one();
    run.clear();
  }
}

// Returns once the front file is back from its ring, or the walk's thread
// has served its ring for one round.
void wait_for_front() {
  QueuedFile& front = queue->files.front();
  if (is_ready(front)) return;
  hand_over();
  if (!queue->threaded) return serve_once(*queue->rings[0], true);
  std::unique_lock<std::mutex> hold(progress_lock);
  progress.wait(hold, [&] { return is_ready(front); });
}

// Reports the files at the front that are back, repairing with the plain
// calls those that a ring left to them.
void report_finished_files() {
  std::deque<QueuedFile>& files = queue->files;
  while (!files.empty() && is_ready(files.front())) {
    QueuedFile& file = files.front();
    if (file.note)
      (*file.note)();
    else if (file.step == Step::plain)
      repair_and_report(*file.directory, file.entry, file.walked_path);
    else
      report_repair(file.walked_path, shown(file), file.report);
    files.pop_front();
  }
}

void report_every_file() {
  if (!queue) return;
  for (;;) {
    report_finished_files();
    if (queue->files.empty()) return;
    wait_for_front();
  }
}

// Asks each ring to finish what it has and close; returns once they have.
void close_rings() {
  hand_over();
  for (auto& ring : queue->rings) {
    if (!queue->threaded) {
      ring->stopping = true;
      while (ring->running && ring->operations_in_flight > 0) pump(*ring, true);
      if (ring->running) close_ring(*ring);
      continue;
    }
    {
      std::lock_guard<std::mutex> hold(ring->lock);
      ring->leaving = true;
    }
    ring->wake.notify_one();
    if (ring->thread.joinable()) ring->thread.join();
  }
  running = false;
}

// When an open finds no descriptor free: every file in flight is finished
// and closed, the rings themselves are closed, and the plain calls serve
// from now on, needing no more descriptors than they always did.
bool give_back_descriptors() {
  if (!running) return false;
  Inside work;
  close_rings();
  return true;
}

// The ring that takes the next file: a folder's files go to one ring, in
// runs, and the next folder's to the next ring.
std::size_t ring_for_file(bool new_folder) {
  std::size_t count = queue->rings.size();
  if (new_folder || queue->run_length == files_in_a_run) {
    queue->run_length = 0;
    // The next ring that has not closed; files handed to one that closes
    // meanwhile go to the plain calls.
    for (std::size_t tried = 0; tried < count; ++tried) {
      queue->ring_of_run = (queue->ring_of_run + 1) % count;
      Ring& ring = *queue->rings[queue->ring_of_run];
      std::lock_guard<std::mutex> hold(ring.lock);
      if (!ring.closed) break;
    }
  }
  ++queue->run_length;
  return queue->ring_of_run;
}

bool new_folder = true;  // the walk has begun a folder since the last file

// The kernel grows a process's table of descriptors as higher numbers are
// taken, and once threads share it (the rings' and the kernel's workers)
// each growth waits for the other cores, for milliseconds. Grown now, to the
// highest number the queue may take, it never grows again.
void grow_descriptor_table(std::size_t highest) {
  int probe = fcntl(0, F_DUPFD_CLOEXEC, static_cast<int>(highest));
  if (probe >= 0) close(probe);
}

// Raises the soft limit of descriptors to the hard one, and shares it out:
// one for each file in flight, one for the folder of each file queued, and a
// few for the walk.
std::size_t share_out_descriptors() {
  rlimit limit;
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
  if (limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
  }
  std::size_t spare = limit.rlim_cur > 8 ? limit.rlim_cur - 8 : 0;
  if (limit.rlim_cur == RLIM_INFINITY) spare = 1 << 20;
  std::size_t in_flight = std::min(most_files_in_flight, spare / 2);
  files_queued_allowed =
      std::max(in_flight, std::min(most_queued_per_file_in_flight * in_flight, spare - in_flight));
  grow_descriptor_table(std::min<rlim_t>(limit.rlim_cur, in_flight + files_queued_allowed + 64) -
                        1);
  return in_flight;
}

// A ring for `files_allowed` files in flight, disabled where a thread of its
// own is to serve it.
bool set_up_ring(Ring& ring, std::size_t files_allowed, bool disabled) {
  // The fastest set-up the kernel knows: completions handled only when
  // asked for, by the ring's thread alone.
  const unsigned flag_sets[] = {
      IORING_SETUP_SUBMIT_ALL | IORING_SETUP_SINGLE_ISSUER | IORING_SETUP_DEFER_TASKRUN,
      IORING_SETUP_SUBMIT_ALL | IORING_SETUP_COOP_TASKRUN, 0};
  int result = -EINVAL;  // flags this kernel does not know
  for (unsigned flags : flag_sets) {
    io_uring_params parameters{};
    parameters.flags = flags | (disabled ? IORING_SETUP_R_DISABLED : 0);
    result = io_uring_queue_init_params(2 * files_allowed, &ring.ring, &parameters);
    if (result != -EINVAL) break;
  }
  // Otherwise a kernel before 5.6, io_uring_disabled, a seccomp filter, ENOMEM.
  if (result != 0) return false;
  io_uring_probe* probe = io_uring_get_probe_ring(&ring.ring);
  bool offers = probe != nullptr;
  for (int operation :
       {IORING_OP_OPENAT, IORING_OP_FADVISE, IORING_OP_READ, IORING_OP_WRITE, IORING_OP_CLOSE})
    offers = offers && io_uring_opcode_supported(probe, operation);
  if (probe != nullptr) io_uring_free_probe(probe);
  if (!offers) {
    io_uring_queue_exit(&ring.ring);
    return false;
  }
  // A file on a network or FUSE file system waits in a kernel worker for
  // each operation; by default there are four of them for each core. Where
  // the kernel cannot be asked for more, fewer files are at once on a share.
  unsigned workers[2] = {static_cast<unsigned>(files_allowed),
                         static_cast<unsigned>(files_allowed)};
  io_uring_register_iowq_max_workers(&ring.ring, workers);
  ring.files_allowed = files_allowed;
  ring.buffers.resize(files_allowed);
  ring.flying.resize(files_allowed);
  for (std::uint32_t buffers = 0; buffers < files_allowed; ++buffers)
    ring.free_buffers.push_back(buffers);
  ring.waiting.reserve(files_queued_allowed);
  ring.handed.reserve(
      files_queued_allowed);  // nor does the walk's thread take memory under its lock
  ring.kept_directories.reserve(files_allowed);
  ring.running = true;
  return true;
}

// The cores this process may run on.
std::size_t cores_allowed() {
  cpu_set_t cores;
  if (sched_getaffinity(0, sizeof cores, &cores) != 0) return 1;
  return static_cast<std::size_t>(std::max(1, CPU_COUNT(&cores)));
}

// Starts a thread for each ring, with the stop signals held back there, so
// that they reach the walk's thread; the rings whose thread cannot be
// started are closed. The number started.
std::size_t start_threads() {
  sigset_t stops, was;
  sigemptyset(&stops);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stops, signal);
  pthread_sigmask(SIG_BLOCK, &stops, &was);
  std::size_t started = 0;
  for (auto& ring : queue->rings) {
    try {  // the one error the standard library gives as an exception
      ring->thread = std::thread(serve, std::ref(*ring));
      ++started;
    } catch (const std::system_error&) {
      close_ring(*ring);
    }
  }
  pthread_sigmask(SIG_SETMASK, &was, nullptr);
  return started;
}

// Waits, reporting, until the queue has room for one more file or note.
void make_room() {
  while (running && queue->files.size() >= files_queued_allowed) {
    wait_for_front();
    report_finished_files();
  }
}

}  // namespace

void start_file_queue() {
  std::size_t in_flight = share_out_descriptors();
  page_size = sysconf(_SC_PAGESIZE);
  if (in_flight < 2) return;
  // A ring a core, each served by a thread of its own; one core's ring is
  // served by the walk's thread.
  std::size_t cores = cores_allowed();
  std::size_t count = in_flight >= 2 * cores ? cores : 1;
  queue.emplace();
  queue->threaded = count > 1;
  for (std::size_t at = 0; at < count; ++at) {
    auto ring = std::make_unique<Ring>();
    if (set_up_ring(*ring, in_flight / count, queue->threaded))
      queue->rings.push_back(std::move(ring));
  }
  queue->runs.resize(queue->rings.size());
  if (queue->threaded && start_threads() == 0) queue->rings.clear();
  if (queue->rings.empty()) return queue.reset();
  running = true;
  set_descriptor_giver(give_back_descriptors);
}

void queue_file(const HeldDirectory& directory, DirectoryEntry entry, std::string walked_path) {
  Inside work;
  make_room();
  if (!running) {  // no ring, or they were closed: the plain calls serve
    report_every_file();
    return repair_and_report(*directory, entry, walked_path);
  }
  QueuedFile& file = queue->files.emplace_back();
  file.directory = directory;
  file.entry = std::move(entry);
  file.walked_path = std::move(walked_path);
  if (!is_shown_as_is(file.walked_path))
    file.shown_path = std::make_unique<std::string>(shown_path(file.walked_path));
  file.report = FileReport(refusal_of(file.entry));
  if (file.report.message != FileMessage::none) {
    file.step = Step::done;
  } else {
    std::size_t ring = ring_for_file(new_folder);
    file.ring = queue->rings[ring].get();
    queue->runs[ring].push_back(&file);
    if (queue->runs[ring].size() >= (queue->threaded ? files_in_a_run : handed_over_at_once)) {
      hand_over();
      if (!queue->threaded) serve_once(*queue->rings[0], false);
    }
  }
  new_folder = false;
  report_finished_files();
}

void queue_note(std::function<void()> note) {
  // Folders without files leave notes too: they wait for room like files.
  if (queue && !inside) {
    Inside work;
    make_room();
  }
  if (!queue || queue->files.empty()) return note();
  QueuedFile& file = queue->files.emplace_back();
  file.step = Step::done;
  file.note = std::make_unique<std::function<void()>>(std::move(note));
}

void start_queued_files() {
  new_folder = true;
  if (!running || inside) return;
  Inside work;
  hand_over();
  if (!queue->threaded) serve_once(*queue->rings[0], false);
  report_finished_files();
}

void finish_queued_files() {
  if (inside) return report_touched_files();  // memory ran out within the queue's own work
  if (!queue) return;
  Inside work;
  report_every_file();
  if (running) close_rings();
}

void report_touched_files() {
  ending = true;
  if (queue && running) {
    if (queue->threaded) {
      for (auto& ring : queue->rings) {
        { std::lock_guard<std::mutex> hold(ring->lock); }
        ring->wake.notify_one();
        if (ring->thread.joinable()) ring->thread.join();
      }
    } else {
      Ring& ring = *queue->rings[0];
      for (int tries = 0; ring.running && ring.operations_in_flight > 0 && tries < ring_tries;) {
        if (io_uring_submit_and_wait(&ring.ring, 1) < 0) ++tries;
        take_completions(ring);
      }
    }
  }
  // A plain repair in hand is the file at the front.
  report_repair_in_hand();
  if (!queue) return;
  for (const QueuedFile& file : queue->files) {
    if (file.note || (file.step != Step::done && !file.report.touched)) continue;
    // A write still in flight may or may not have been made.
    if (file.step == Step::writing)
      report_file(shown(file), FileReport(FileMessage::cannot_write), false);
    else
      report_file(shown(file), file.report, false);
  }
}
