// The least any repair tool must do: for each file named in the list, open,
// size, read, close, open for writing, write, close; no listing, no matching,
// no output. Usage: io_floor LIST_FILE
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: io_floor LIST_FILE\n");
    return 1;
  }
  std::vector<std::string> paths;
  std::ifstream list(argv[1]);
  for (std::string path; std::getline(list, path);) paths.push_back(path);
  int failures = 0;
  for (const std::string& path : paths) {
    int input = open(path.c_str(), O_RDONLY);
    struct stat status;
    if (input < 0 || fstat(input, &status) != 0) {
      ++failures;
      continue;
    }
    size_t size = static_cast<size_t>(status.st_size);
    char* data = static_cast<char*>(std::malloc(size));
    bool read_whole = read(input, data, size) == static_cast<ssize_t>(size);
    close(input);
    int output = open(path.c_str(), O_WRONLY);
    if (!read_whole || output < 0 || write(output, data, size) != static_cast<ssize_t>(size))
      ++failures;
    if (output >= 0) close(output);
    std::free(data);
  }
  if (failures > 0) std::fprintf(stderr, "io_floor: %d files failed\n", failures);
  return failures > 0 ? 1 : 0;
}
