#pragma once

#include <ostream>
#include <string>
#include <vector>

// zarnctl [--simulate[=MODEL]] COMMAND [ARGS]; `args` excludes the program
// name.  Progress is drawn in place when `err` is a terminal.  Returns the
// exit status.
int RunZarnctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               bool errIsTerminal = false);
