#include "command_line.h"

int main(int argc, char** argv) { return bentro_main(argc, argv); }
