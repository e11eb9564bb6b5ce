#include "app/cli.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return morvane::RunCli(args, std::cout, std::cerr);
}
