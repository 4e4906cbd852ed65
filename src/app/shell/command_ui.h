// How each command appears: menu tree, accelerators, toolbar button sets, prompt
// strings, What's-This texts and button images. Plain data, read by the main frame.
#pragma once

#include <span>
#include <string_view>

// A menu entry: a command, a separator (id 0), or the recent-file placeholder.
struct MenuItemUi {
    unsigned id;            // 0 for a separator
    std::string_view text;  // "&New\tCtrl+N": the part after the tab is the shortcut shown
};

struct MenuUi {
    std::string_view title;
    std::span<const MenuItemUi> items;
};

// A key of the accelerator table; a command may have more than one.
struct AcceleratorUi {
    unsigned id;
    std::string_view keys;  // QKeySequence portable text, "Ctrl+N"
};

// A toolbar button (id 0 is a separator) in the order of the bar.
struct ToolBarUi {
    std::string_view objectName;  // the key the window layout is saved under
    std::string_view title;       // shown while the bar floats
    int imageWidth, imageHeight;
    std::span<const unsigned> buttons;
};

struct CommandLookUi {
    unsigned id;
    // "status text\ntool tip" for the framework's standard commands; empty for the program's own.
    std::string_view prompt;
    std::string_view whatsThis;  // the toolbar button's What's-This text
    std::string_view image;      // resource of the button image, empty without one
    std::string_view themeIcon;  // desktop icon theme name tried first, empty for none
};

std::span<const MenuUi> MainMenuUi();
std::span<const AcceleratorUi> AcceleratorsUi();
// File toolbar, Do toolbar, view toolbar.
std::span<const ToolBarUi> ToolBarsUi();
const CommandLookUi* FindCommandLook(unsigned id);

// The status bar's idle text and its text in context-help mode.
constexpr std::string_view kIdlePrompt = "For Help, press F1";
constexpr std::string_view kContextHelpPrompt = "Select an object on which to get Help";
// Status prompt of every recent-file entry.
constexpr std::string_view kRecentFilePrompt = "Open this document";
