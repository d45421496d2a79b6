// The whole command-line program behind main(), with its streams passed in.
#pragma once

#include <istream>
#include <ostream>

namespace quorlin {

// Parses the arguments, runs the command, and gives the exit status: 0 done, 1 reported
// failure, 2 command line or check refused, 3 an error stopped the work.
// Every message on `err` starts with the program's name.
int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err);
// The same reading the standard input.
int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace quorlin
