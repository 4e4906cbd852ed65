// Entry point: batch mode without a window, or the desktop program.
#include <iostream>
#include <string>
#include <vector>

#include "app/batch.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--batch") {
        args.erase(args.begin());
        return RunBatch(args, std::cout, std::cerr);
    }
    std::cerr << "polydrom: the desktop window is not built yet; use --batch\n";
    return 2;
}
