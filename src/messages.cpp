// Every failure message, in one place, with literal formats that the
// compiler checks.
#include <cstdio>

#include "bentro.h"

void report_failure(Failure failure, const std::string& path, std::size_t written) {
  const char* p = path.c_str();
  switch (failure) {
    case Failure::cannot_list:
      std::printf("Could not list directory '%s'\n", p);
      break;
    case Failure::cannot_open:
      std::printf("Could not open file '%s' for reading.\n", p);
      break;
    case Failure::cannot_read:
      std::printf("Could not read from '%s' properly.\n", p);
      break;
    case Failure::too_short:
      std::printf("File '%s' is shorter than the 32-byte name field; file left unchanged\n", p);
      break;
    case Failure::name_too_long:
      std::printf("Name for '%s' does not fit in the 32-byte name field; file left unchanged\n", p);
      break;
    case Failure::cannot_open_for_writing:
      std::printf("Could not open '%s' for writing\n", p);
      break;
    case Failure::cannot_write:
      std::printf("Could not write the file '%s' correctly\n", p);
      break;
    case Failure::wrong_count:
      std::printf("Incorrect number of bytes written for file '%s'. Expected %i, got %i\n", p,
                  static_cast<int>(name_field_size), static_cast<int>(written));
      break;
  }
  outcome.failure_reported = true;
}
