// The command listing of --list-commands and the help page's table of commands.
#include "app/command_listing.h"

#include <sstream>

#include "app/command_ids.h"
#include "app/command_layout.h"

namespace {

bool IsRecentFile(unsigned id) { return id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + RECENT_FILE_COUNT; }

// The menu item standing for the command: the recent files all stand at the first one's place.
const MenuLayout* MenuHolding(unsigned id)
{
    const unsigned placed = IsRecentFile(id) ? ID_FILE_MRU_FILE1 : id;
    for (const MenuLayout& menu : MainMenuLayout())
        for (unsigned item : menu.items)
            if (item == placed) return &menu;
    return nullptr;
}

const ToolBarLayout* ToolBarHolding(unsigned id)
{
    for (const ToolBarLayout& bar : ToolBarLayouts())
        for (unsigned button : bar.buttons)
            if (button == id) return &bar;
    return nullptr;
}

// The text in its column, and at least one blank before the next.
void Column(std::ostream& out, const std::string& text, std::size_t width)
{
    out << text << std::string(text.size() < width ? width - text.size() : 1, ' ');
}

std::string Html(std::string_view text)
{
    std::string html;
    for (char c : text) {
        switch (c) {
        case '&': html += "&amp;"; break;
        case '<': html += "&lt;"; break;
        case '>': html += "&gt;"; break;
        case '"': html += "&quot;"; break;
        default: html += c;
        }
    }
    return html;
}

// Where to find the command, in one phrase.
std::string Where(const CommandPlace& place)
{
    if (!place.menuPath.empty()) return place.menuPath;
    if (!place.toolBar.empty()) return "toolbar only";
    return place.keys.empty() ? "-" : "keys only";
}

}  // namespace

std::string WithoutAccessKeys(std::string_view menuText)
{
    std::string text;
    for (std::size_t i = 0; i < menuText.size(); ++i) {
        if (menuText[i] == '\t') break;
        // "&&" is a real ampersand; a single one marks the next letter.
        if (menuText[i] == '&' && i + 1 < menuText.size()) ++i;
        text += menuText[i];
    }
    return text;
}

std::vector<CommandPlace> CommandPlaces()
{
    std::vector<CommandPlace> places;
    for (const CommandEntry& entry : CommandTable()) {
        CommandPlace place;
        place.batchName = BatchName(entry);
        place.name = entry.name;
        if (const MenuLayout* menu = MenuHolding(entry.id)) {
            const std::string item =
                IsRecentFile(entry.id) ? std::string(entry.name) : WithoutAccessKeys(entry.menuText);
            place.menuPath = WithoutAccessKeys(menu->title) + " > " + item;
        }
        if (const ToolBarLayout* bar = ToolBarHolding(entry.id)) place.toolBar = bar->title;
        place.keys = entry.shortcut;
        if (!entry.shortcut2.empty()) place.keys += ", " + std::string(entry.shortcut2);
        place.prompt = entry.prompt;
        places.push_back(std::move(place));
    }
    return places;
}

std::string CommandListing()
{
    std::ostringstream out;
    out << "Every command: its name for polydrom --batch --do NAME, where to find it, its keys, what it does.\n\n";
    for (const CommandPlace& place : CommandPlaces()) {
        Column(out, place.batchName, 24);
        Column(out, Where(place), 42);
        Column(out, place.keys, 22);
        out << place.prompt << '\n';
    }

    out << "\nMenus (& marks the access key, - a separator):\n";
    for (const MenuLayout& menu : MainMenuLayout()) {
        out << "  " << menu.title << ':';
        const char* separator = " ";
        for (unsigned id : menu.items) {
            out << separator;
            separator = " | ";
            if (id == 0) {
                out << '-';
            } else if (id == ID_FILE_MRU_FILE1) {
                out << "(recent files)";
            } else {
                const CommandEntry* entry = FindCommand(id);
                out << (entry ? std::string(entry->menuText) : "?" + std::to_string(id));
            }
        }
        out << '\n';
    }

    out << "\nToolbars (| a separator):\n";
    for (const ToolBarLayout& bar : ToolBarLayouts()) {
        out << "  " << bar.title << ':';
        for (unsigned id : bar.buttons) {
            const CommandEntry* entry = id == 0 ? nullptr : FindCommand(id);
            out << ' ' << (id == 0 ? std::string("|") : entry ? BatchName(*entry) : "?" + std::to_string(id));
        }
        out << '\n';
    }
    return out.str();
}

std::string CommandListHtml()
{
    std::ostringstream out;
    out << "<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\n"
           "<tr><th>Command</th><th>Where</th><th>Keys</th><th>What it does</th></tr>\n";
    for (const CommandPlace& place : CommandPlaces()) {
        // Commands the framework gives itself, from no menu, button or key, mean nothing to a reader.
        if (place.menuPath.empty() && place.toolBar.empty() && place.keys.empty()) continue;
        std::string where = place.menuPath;
        if (!place.toolBar.empty()) where += (where.empty() ? "" : "; ") + place.toolBar + " toolbar";
        out << "<tr><td>" << Html(place.name) << "</td><td>" << Html(where) << "</td><td>" << Html(place.keys)
            << "</td><td>" << Html(place.prompt) << "</td></tr>\n";
    }
    out << "</table>\n";
    return out.str();
}
