// Preloaded by tests/faults.py (LD_PRELOAD): with BENTRO_FAIL_ALLOCATION=N,
// the Nth allocation of the process and every later one fail, as when
// memory runs out; with N=0 none fails, and the number made is written to
// standard error at the end.
#include <malloc.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}

namespace {

long made = 0;
long failing_from = -1;  // not read yet

void report_count() {
  char line[64];
  int length = std::snprintf(line, sizeof line, "allocations: %ld\n", made);
  if (write(2, line, static_cast<size_t>(length)) < 0) _exit(125);
}

// Whether this allocation is to fail.
bool fails() {
  if (failing_from < 0) {
    const char* setting = getenv("BENTRO_FAIL_ALLOCATION");  // takes no memory
    failing_from = setting != nullptr ? std::strtol(setting, nullptr, 10) : 0;
    if (failing_from == 0) std::atexit(report_count);
  }
  ++made;
  if (failing_from == 0 || made < failing_from) return false;
  errno = ENOMEM;
  return true;
}

}  // namespace

extern "C" {
void* malloc(size_t size) { return fails() ? nullptr : __libc_malloc(size); }
void* calloc(size_t count, size_t size) { return fails() ? nullptr : __libc_calloc(count, size); }
void* realloc(void* block, size_t size) { return fails() ? nullptr : __libc_realloc(block, size); }
void* memalign(size_t alignment, size_t size) {
  return fails() ? nullptr : __libc_memalign(alignment, size);
}
void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }
int posix_memalign(void** block, size_t alignment, size_t size) {
  void* made_block = memalign(alignment, size);
  if (made_block == nullptr) return ENOMEM;
  *block = made_block;
  return 0;
}
void free(void* block) { __libc_free(block); }
}
