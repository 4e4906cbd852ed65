// Entry point: batch mode without a window, or the desktop program.
#include <iostream>
#include <string>
#include <vector>

#include "app/batch.h"
#ifdef POLYDROM_HAVE_GUI
#include "app/shell/desktop.h"
#endif

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "polydrom " << POLYDROM_VERSION << '\n';
        return 0;
    }
    // Batch mode is decided before anything of Qt exists: it needs no display.
    if (!args.empty() && args[0] == "--batch") {
        args.erase(args.begin());
        return RunBatch(args, std::cout, std::cerr);
    }
#ifdef POLYDROM_HAVE_GUI
    return RunDesktop(argc, argv);
#else
    std::cerr << "polydrom: built without the desktop window; use --batch\n";
    return 2;
#endif
}
