// The command table's rows against the constants that other code sizes itself by.
#include <gtest/gtest.h>

#include <set>

#include "app/command_ids.h"
#include "app/command_table.h"

TEST(CommandTable, RecentFileRowsAreExactlyTheListsEntriesInOrder)
{
    // The menu, the settings store and the shell's list all take their length from
    // RECENT_FILE_COUNT; the table spells its rows out, so the two must agree.
    int rows = 0;
    for (const CommandEntry& entry : CommandTable()) {
        if (!entry.shellIndexHandler) continue;
        EXPECT_EQ(entry.id, ID_FILE_MRU_FILE1 + static_cast<unsigned>(rows)) << entry.symbol;
        EXPECT_EQ(entry.index, rows) << entry.symbol;
        ++rows;
    }
    EXPECT_EQ(rows, RECENT_FILE_COUNT);
}

TEST(CommandTable, EveryRowHasOneIdAndOneBatchNameThatFindsIt)
{
    std::set<unsigned> ids;
    for (const CommandEntry& entry : CommandTable()) {
        EXPECT_TRUE(ids.insert(entry.id).second) << entry.symbol << " repeats an id";
        EXPECT_EQ(FindCommand(entry.id), &entry) << entry.symbol;
        EXPECT_EQ(FindCommandByBatchName(BatchName(entry)), &entry) << entry.symbol;
    }
}
