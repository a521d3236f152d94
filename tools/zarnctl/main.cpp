#include "tools/zarnctl/Zarnctl.h"

#include <iostream>

#include <unistd.h>

int main(int argc, char** argv) {
    return RunZarnctl(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                      ::isatty(STDERR_FILENO) == 1);
}
