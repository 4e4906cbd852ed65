// The menu bar and the toolbars, filled from the rows of the command table.
#include "app/command_layout.h"

#include "app/command_table.h"

namespace {

// In the order of InMenu, after None. Shapes comes last so that every older menu keeps its place.
constexpr std::string_view kMenuTitles[] = {
    "&File", "&Edit", "&View", "&Do", "Object &Resolution", "&Help", "Rotate/&Zoom", "&Shapes",
};

static_assert(std::size(kMenuTitles) == static_cast<std::size_t>(InMenu::Shapes), "a title for every menu");

struct ToolBarLook {
    std::string_view objectName, title;
    int imageWidth, imageHeight;
};
// In the order of OnBar, after None.
constexpr ToolBarLook kToolBars[] = {
    {"FileToolBar", "File", 16, 15},
    {"DoToolBar", "Do", 25, 17},
    {"ViewToolBar", "View", 23, 21},
};
static_assert(std::size(kToolBars) == static_cast<std::size_t>(OnBar::View), "a look for every toolbar");

// Each place's ids in the rows' order, 0 before a row that starts a new group.
template <typename Place>
std::vector<std::vector<unsigned>> Placed(std::size_t places, Place CommandEntry::*place, bool CommandEntry::*newGroup)
{
    std::vector<std::vector<unsigned>> items(places);
    for (const CommandEntry& entry : CommandTable()) {
        const auto index = static_cast<std::size_t>(entry.*place);
        if (index == 0) continue;
        std::vector<unsigned>& list = items[index - 1];
        if (entry.*newGroup && !list.empty()) list.push_back(0);
        list.push_back(entry.id);
    }
    return items;
}

std::vector<MenuLayout> BuildMenus()
{
    auto items = Placed(std::size(kMenuTitles), &CommandEntry::menu, &CommandEntry::newMenuGroup);
    std::vector<MenuLayout> menus;
    for (std::size_t m = 0; m < std::size(kMenuTitles); ++m) menus.push_back({kMenuTitles[m], std::move(items[m])});
    return menus;
}

std::vector<ToolBarLayout> BuildToolBars()
{
    auto buttons = Placed(std::size(kToolBars), &CommandEntry::bar, &CommandEntry::newBarGroup);
    std::vector<ToolBarLayout> bars;
    for (std::size_t b = 0; b < std::size(kToolBars); ++b) {
        const ToolBarLook& look = kToolBars[b];
        bars.push_back({look.objectName, look.title, look.imageWidth, look.imageHeight, std::move(buttons[b])});
    }
    return bars;
}

}  // namespace

std::span<const MenuLayout> MainMenuLayout()
{
    static const std::vector<MenuLayout> menus = BuildMenus();
    return menus;
}

std::span<const ToolBarLayout> ToolBarLayouts()
{
    static const std::vector<ToolBarLayout> bars = BuildToolBars();
    return bars;
}
