// quorlin-cli: the desktop program's work run from the command line.
#include <clocale>
#include <iostream>

#include "cli/run_cli.h"

int main(int argc, char** argv) {
  // The recognisers take their date, time and number settings from the environment's locale.
  std::setlocale(LC_ALL, "");
  return quorlin::RunCli(argc, argv, std::cout, std::cerr);
}
