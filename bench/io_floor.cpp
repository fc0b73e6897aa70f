// The least any repair of a 32-byte field must do: for each file named in
// the list, open it for reading and writing, read 32 bytes, write 32 bytes at
// offset 0, close; no listing, no matching, no output. Usage: io_floor LIST_FILE
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
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
    char field[32];
    int file = open(path.c_str(), O_RDWR);
    if (file < 0 || read(file, field, sizeof field) != sizeof field ||
        pwrite(file, field, sizeof field, 0) != sizeof field)
      ++failures;
    if (file >= 0) close(file);
  }
  if (failures > 0) std::fprintf(stderr, "io_floor: %d files failed\n", failures);
  return failures > 0 ? 1 : 0;
}
