// The command listing: the golden text of the whole command table and menu layout, as
// `polydrom --list-commands` prints it, and the rules its texts keep.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
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

// The one test of the command table: every row, where it stands and what it says, as
// `polydrom --list-commands` prints it from a terminal without a display.
TEST(CommandListing, ListCommandsPrintsTheGoldenListing)
{
    const BatchOutcome run = RunShell(Headless("--list-commands"));
    ASSERT_EQ(run.status, 0) << run.out;
    ExpectGolden("golden/app/commands.txt", run.out);
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
    // A doubled ampersand is a real one in the listing's menu paths.
    EXPECT_EQ(WithoutAccessKeys("Fish && &Chips"), "Fish & Chips");
}
