// The program's command line: what the words ask for, and the usage and version texts.
// Plain C++, so that --help, --version and a wrong option work without a display.
#pragma once

#include <string>
#include <vector>

// What the command line asks the program to do.
struct StartOptions {
    enum class Mode { Desktop, Batch, Help, Version, ListCommands, Error };
    Mode mode = Mode::Desktop;
    bool splash = true;               // the About box first (--no-splash turns it off)
    std::string file;                 // the model to open in the window, or empty
    std::vector<std::string> commands;  // --do NAME: batch names of commands to run once the window is up
    std::vector<std::string> batch;   // the words after --batch
    std::string error;                // why the words make no sense, when mode is Error
};

// args are the words after the program's name. Qt's own options (-platform NAME,
// -display NAME, ...) are let through for Qt to read; any other word starting with
// "-" is an error, as is a second model file.
StartOptions ParseCommandLine(const std::vector<std::string>& args);

// Where the desktop program keeps its files; empty where there are none (a build
// without the window).
struct FileLocations {
    std::string settings;  // the recent-file list and the window's layout
    std::string recovery;  // copies of unsaved models
};

// "polydrom 1.0.0.1" and, on the next line, the program's long name.
std::string VersionText();
// The usage: the ways to start the program, its options, the batch steps with a line
// each, and where the files live.
std::string UsageText(const FileLocations& where);

// "1.0.0.1" and "Polydrom 3D Modeling Software".
const char* ProgramVersion();
const char* ProgramLongName();
