// The files named one by one with /f, as a pre-commit hook or xargs hands
// them over: each visited once, in the order given, with the lines and
// checks of a file the walk finds.
#pragma once

#include <vector>

#include "platform.h"

void visit_named_files(const std::vector<TypedArgument>& names);
