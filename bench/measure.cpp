// Runs a command and prints its wall time, CPU time and peak resident memory.
// The peak reported for a child is at least the RSS of the process it was
// forked from, so the benchmark starts every program through this small one
// rather than from Python. Usage: measure COMMAND [ARGUMENT...]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace {

double seconds(const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; }

double now() {
  timespec time;
  clock_gettime(CLOCK_MONOTONIC, &time);
  return time.tv_sec + time.tv_nsec / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: measure COMMAND [ARGUMENT...]\n");
    return 125;
  }
  double start = now();
  pid_t child = fork();
  if (child == 0) {
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) < 0) return 125;
  std::fprintf(stderr, "measure: %.6f %.6f %.6f %ld\n", now() - start, seconds(usage.ru_utime),
               seconds(usage.ru_stime), usage.ru_maxrss);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 125;
}
