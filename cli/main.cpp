// mondral-cli: the librarian's file work without its window.

#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/Commands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return cli::RunCli(args, {std::cout, std::cerr, isatty(STDERR_FILENO) == 1});
}
