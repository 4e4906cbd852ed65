// The command listing: the golden text of the whole command table and menu layout, what
// `polydrom --list-commands` prints of it, and the rules its texts keep.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "app/command_layout.h"
#include "app/command_listing.h"
#include "batch_run.h"
#include "golden.h"

namespace {

// The letters that the menu texts mark with '&', lower case; "&&" marks none.
std::string AccessKey(std::string_view text)
{
    std::string keys;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') keys += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
        ++i;
    }
    return keys;
}

// The program run as a user runs it from a terminal without a display.
std::string Headless(const std::string& arguments)
{
    return "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + Quoted(POLYDROM_BINARY) + " " + arguments;
}

}  // namespace

TEST(CommandListing, MatchesTheGoldenDumpOfTableAndLayout)
{
    ExpectGolden("golden/app/commands.txt", CommandListing());
}

TEST(CommandListing, ListCommandsNamesEveryCommandWithItsDescription)
{
    const BatchOutcome run = RunShell(Headless("--list-commands"));
    ASSERT_EQ(run.status, 0) << run.out;
    std::map<std::string, std::string> lines;
    std::istringstream in(run.out);
    for (std::string line; std::getline(in, line);) lines[line.substr(0, line.find(' '))] = line;
    for (const CommandEntry& entry : CommandTable()) {
        const std::string name = BatchName(entry);
        ASSERT_TRUE(lines.count(name)) << name << " is not listed";
        EXPECT_FALSE(entry.prompt.empty()) << name;
        EXPECT_TRUE(lines[name].ends_with(" " + std::string(entry.prompt))) << lines[name];
    }
}

TEST(CommandListing, WhereAndKeysComeFromTheLayoutAndTable)
{
    std::map<std::string, CommandPlace> places;
    for (const CommandPlace& place : CommandPlaces()) places[place.batchName] = place;
    EXPECT_EQ(places["do-connect"].menuPath, "Do > Connect");
    EXPECT_EQ(places["do-connect"].toolBar, "Do");
    EXPECT_EQ(places["file-open"].menuPath, "File > Open...");
    EXPECT_EQ(places["file-mru-file3"].menuPath, "File > Recent file 3");
    EXPECT_EQ(places["edit-redo"].keys, "Ctrl+Y, Ctrl+Shift+Z");
    EXPECT_EQ(places["shape-cone"].menuPath, "Shapes > Cone");
    EXPECT_EQ(places["view-zoom-in"].menuPath, "");
    EXPECT_EQ(places["view-zoom-in"].keys, "+, =");
    EXPECT_EQ(WithoutAccessKeys("Save &As...\tCtrl+S"), "Save As...");
    EXPECT_EQ(WithoutAccessKeys("Fish && &Chips"), "Fish & Chips");
    // Every row has a place to be given from, but the two the framework calls itself.
    for (const auto& [name, place] : places) {
        if (name != "file-print-direct" && name != "default-help") {
            EXPECT_FALSE(place.menuPath.empty() && place.toolBar.empty() && place.keys.empty()) << name;
        }
    }
}

TEST(CommandListing, MenusOpenAndItemsPickByDistinctAccessKeys)
{
    std::set<std::string> titles;
    for (const MenuLayout& menu : MainMenuLayout()) {
        const std::string key = AccessKey(menu.title);
        EXPECT_EQ(key.size(), 1u) << menu.title;
        EXPECT_TRUE(titles.insert(key).second) << menu.title << " shares its key";
        std::set<std::string> items;
        for (unsigned id : menu.items) {
            const CommandEntry* entry = id == 0 ? nullptr : FindCommand(id);
            if (!entry) continue;
            const std::string item = AccessKey(entry->menuText);
            EXPECT_LE(item.size(), 1u) << entry->menuText;
            if (!item.empty()) {
                EXPECT_TRUE(items.insert(item).second) << entry->menuText << " shares its key";
            }
        }
    }
}

TEST(CommandListing, EveryPromptIsOneLineAndEveryCommandHasAName)
{
    std::set<std::string> names;
    for (const CommandEntry& entry : CommandTable()) {
        EXPECT_FALSE(entry.name.empty()) << entry.symbol;
        EXPECT_TRUE(names.insert(BatchName(entry)).second) << entry.symbol;
        EXPECT_EQ(entry.prompt.find('\n'), std::string_view::npos) << entry.symbol;
        EXPECT_FALSE(entry.prompt.ends_with('.')) << entry.symbol;
        ASSERT_FALSE(entry.prompt.empty()) << entry.symbol;
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(entry.prompt[0]))) << entry.symbol;
    }
}
