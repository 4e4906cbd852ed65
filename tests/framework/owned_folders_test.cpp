// Folders left by a killed program are cleared at the next start; those of running programs stay.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "framework/owned_folders.h"
#include "framework/process_identity.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

// The owner file of a process that has ended: a child that exits at once, waited for.
void MarkEndedOwner(const fs::path& folder)
{
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    std::ofstream(folder / "owner") << child << '\n' << CurrentProcess().boot << "\n1\n";
}

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(OwnedFolders, OnlyFoldersOfEndedProgramsAndOldUnmarkedOnesGo)
{
    TempFolder temp;
    const fs::path parent = temp.Path();
    for (const char* name : {"p-alive", "p-ended", "p-unmarked-old", "p-unmarked-new", "p-garbled", "other-ended"})
        fs::create_directory(parent / name);
    ASSERT_TRUE(MarkFolderOwner(parent / "p-alive"));
    MarkEndedOwner(parent / "p-ended");
    MarkEndedOwner(parent / "other-ended");
    std::ofstream(parent / "p-ended" / "scene.pov") << "sphere {}";
    std::ofstream(parent / "p-garbled" / "owner") << "12x\n\n\n";
    fs::last_write_time(parent / "p-unmarked-old", fs::file_time_type::clock::now() - std::chrono::hours(2));
    fs::last_write_time(parent / "p-garbled", fs::file_time_type::clock::now() - std::chrono::hours(2));
    // A plain file and a link to an ended program's folder carry the prefix but are no folders of ours.
    std::ofstream(parent / "p-file") << "kept";
    fs::create_directory_symlink(parent / "other-ended", parent / "p-link");

    EXPECT_EQ(RemoveAbandonedFolders(parent, "p-"), 3);
    EXPECT_EQ(Names(temp.Path()), (std::vector<std::string>{"other-ended", "p-alive", "p-file", "p-link",
                                                            "p-unmarked-new"}));
    EXPECT_TRUE(fs::exists(parent / "other-ended" / "owner")) << "the link's target is not touched";
    // A second start finds nothing more to do.
    EXPECT_EQ(RemoveAbandonedFolders(parent, "p-"), 0);
}

TEST(OwnedFolders, AMissingParentIsNoError)
{
    EXPECT_EQ(RemoveAbandonedFolders("/nonexistent-folder-of-polydrom", "p-"), 0);
}

}  // namespace
