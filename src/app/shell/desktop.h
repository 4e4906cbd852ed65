// Start-up of the desktop program; a plain C++ header, so main.cpp stays free of Qt.
#pragma once

// polydrom [--no-splash] [FILE.pdm] [--do COMMAND]...: the About box as a splash, then the
// maximized main window with a new model or the file's, the offer of unsaved work left by
// a program that ended without saving, and the commands, named as in batch mode.
// Returns the process exit status.
int RunDesktop(int argc, char** argv);
