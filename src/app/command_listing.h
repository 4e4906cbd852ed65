// Every command as text, made from the command table and the menu and toolbar layout:
// `polydrom --list-commands` prints it, and the help page shows it as a table.
#pragma once

#include <string>
#include <vector>

#include "app/command_table.h"

// Where the user finds one command and what it does.
struct CommandPlace {
    std::string batchName;  // "do-connect"
    std::string name;       // "Connect"
    std::string menuPath;   // "Do > Connect", without the access-key marks; empty when in no menu
    std::string toolBar;    // "Do": the toolbar with its button; empty when on none
    std::string keys;       // "Ctrl+Y, Ctrl+Shift+Z"
    std::string prompt;     // the one-line description
};

// The table's commands in its order.
std::vector<CommandPlace> CommandPlaces();

// "&Open...\tCtrl+O" as a reader sees it: "Open...".
std::string WithoutAccessKeys(std::string_view menuText);

// One line per command (batch name, menu path or "toolbar only", keys, description),
// then the menus with their access keys and separators, then the toolbars' buttons.
std::string CommandListing();

// The commands the user can give, as an HTML table for the help page: name, where, keys,
// what it does.
std::string CommandListHtml();
