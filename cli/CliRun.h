#pragma once
// What charvane-cli does with a parsed command line: the window's start-up table, the options
// applied as the window's controls would apply them, then the table printed, or the picture
// opened, converted and printed or saved in pages.
//
// Failures are reported as the window's error box words them, on one line of err, and give
// exit status 1; lines finished before a failing row have been written to out by then. An out
// that refuses what is written to it (a full disk, a closed pipe) is such a failure too.
//
// Several pictures convert at once on every core and print one after another in the order
// given; a failure is reported as "NAME: message" after the lines of that picture finished
// before it, the others still convert, and the status is 1.

#include <iostream>
#include <istream>
#include <ostream>

#include "cli/CliOptions.h"

namespace cli {

// in: where the picture named "-" is read from.
int RunCli(const CliOptions& options, std::ostream& out, std::ostream& err,
           std::istream& in = std::cin);

} // namespace cli
