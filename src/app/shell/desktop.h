// Start-up of the desktop program; a plain C++ header, so main.cpp stays free of Qt.
#pragma once

#include "app/command_line.h"

// polydrom [--no-splash] [FILE.pdm] [--do NAME]...: the About box as a splash, then the
// maximized main window with a new model or the file's, the offer of unsaved work left by
// a program that ended without saving, and the commands, named as in batch mode. argv
// still carries Qt's own options.
// Returns the process exit status.
int RunDesktop(int argc, char** argv, const StartOptions& options);

// Where the settings and the recovery copies live, found without a QApplication
// (and so without a display).
FileLocations DesktopFileLocations();
