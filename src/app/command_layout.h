// The menu bar and the toolbars: their own titles and sizes, and what stands in them, in
// order, as the command list's rows place it. What each item says and does comes from its row.
#pragma once

#include <span>
#include <string_view>
#include <vector>

// A menu: its title and its items' command ids in order, 0 for a separator. The first
// recent-file id stands for the whole list (and its placeholder while it is empty).
struct MenuLayout {
    std::string_view title;
    std::vector<unsigned> items;
};

// A toolbar: its buttons' ids in order, 0 for a separator.
struct ToolBarLayout {
    std::string_view objectName;  // the key the window layout is saved under
    std::string_view title;       // shown while the bar floats
    int imageWidth, imageHeight;
    std::vector<unsigned> buttons;
};

std::span<const MenuLayout> MainMenuLayout();
// File toolbar, Do toolbar, view toolbar.
std::span<const ToolBarLayout> ToolBarLayouts();

// The status bar's idle text and its text in context-help mode.
constexpr std::string_view kIdlePrompt = "For Help, press F1";
constexpr std::string_view kContextHelpPrompt = "Select an object on which to get Help";
// The greyed menu item that stands in for the recent-file list while it is empty.
constexpr std::string_view kRecentFilePlaceholder = "Recent File";
