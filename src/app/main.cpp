// Entry point: the command line is read before anything of Qt exists, so batch mode,
// --help, --version, --list-commands and a wrong option all work without a display.
#include <iostream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/command_line.h"
#include "app/command_listing.h"
#ifdef POLYDROM_HAVE_GUI
#include "app/shell/desktop.h"
#include "app/shell/render_3d_step.h"
#endif

namespace {

FileLocations Locations()
{
#ifdef POLYDROM_HAVE_GUI
    return DesktopFileLocations();
#else
    return {};
#endif
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef POLYDROM_HAVE_GUI
    // The steps that draw with OpenGL come with the desktop shell: listed by --help, run by --batch.
    RegisterShellBatchSteps();
#endif
    const StartOptions options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (options.mode) {
    case StartOptions::Mode::Batch:
        return RunBatch(options.batch, std::cout, std::cerr);
    case StartOptions::Mode::Help:
        std::cout << UsageText(Locations());
        return 0;
    case StartOptions::Mode::Version:
        std::cout << VersionText();
        return 0;
    case StartOptions::Mode::ListCommands:
        std::cout << CommandListing();
        return 0;
    case StartOptions::Mode::Error:
        std::cerr << "polydrom: " << options.error << "\n\n" << UsageText(Locations());
        return 2;
    case StartOptions::Mode::Desktop:
        break;
    }
#ifdef POLYDROM_HAVE_GUI
    return RunDesktop(argc, argv, options);
#else
    std::cerr << "polydrom: built without the desktop window; use --batch\n";
    return 2;
#endif
}
