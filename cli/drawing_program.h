// The drawing commands run in a program of their own, wayloom-cli-drawing,
// which sits beside wayloom-cli: only it loads Qt, so the other commands
// start in a fraction of the time.
#pragma once

namespace wayloom::cli {

// Replaces this process with wayloom-cli-drawing given the same arguments.
// Returns only when that fails, with exit code 1 after printing why.
int run_drawing_program(char** argv);

} // namespace wayloom::cli
