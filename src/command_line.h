// The command line and the run: arguments in, exit status out.
#pragma once

int bentro_main(int argc, char** argv);
