// The recovery folder: this program's copy, and which leftovers are offered, reported or left alone.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "framework/recovery_store.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

// A process that has ended: a child that exits at once, waited for.
ProcessIdentity EndedProcess()
{
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return ProcessIdentity{child, CurrentProcess().boot, "1"};
}

std::vector<unsigned char> Bytes(std::initializer_list<unsigned char> bytes) { return bytes; }

// Only the folder's file names, sorted.
std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every model is fine, except one shorter than 8 bytes.
Result CheckLength(const std::string& path)
{
    return fs::file_size(path) >= 8 ? Result::Success() : Result::Failure("file ends after 4 of 8 bytes");
}

TEST(ProcessIdentity, TellsARunningProgramFromAnEndedOneWithTheSameNumber)
{
    const ProcessIdentity self = CurrentProcess();
    EXPECT_TRUE(IsRunning(self));
    EXPECT_FALSE(self.boot.empty());
    EXPECT_FALSE(self.started.empty());
    // The same number, started at another time or in another boot, is another program.
    EXPECT_FALSE(IsRunning(ProcessIdentity{self.pid, self.boot, self.started + "0"}));
    EXPECT_FALSE(IsRunning(ProcessIdentity{self.pid, "an-earlier-boot", self.started}));
    EXPECT_FALSE(IsRunning(ProcessIdentity{}));

    // A killed child is no longer running even before its parent waits for it.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        char c;
        (void)::read(ready[0], &c, 1);
        ::_exit(0);
    }
    const ProcessIdentity running = IdentifyProcess(child);
    EXPECT_TRUE(IsRunning(running));
    ASSERT_EQ(::write(ready[1], "x", 1), 1);
    for (int i = 0; i < 1000 && IsRunning(running); ++i) ::usleep(10000);
    EXPECT_FALSE(IsRunning(running)) << "a zombie has ended";
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(IsRunning(running));
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(RecoveryStore, KeepsOneCopyWithItsDescriptionInAPrivateFolder)
{
    TempFolder temp;
    const std::string folder = temp / "data/recovery";
    CRecoveryStore store(folder);
    ASSERT_TRUE(store.Write(Bytes({1, 2, 3, 4, 5, 6, 7, 8}), "/home/ann/box.pdm", 100));
    ASSERT_TRUE(store.Write(Bytes({0, 0, 0, 0, 0, 0, 0, 0}), "/home/ann/box.pdm", 200));
    const std::string pid = std::to_string(::getpid());
    // The second write replaced the first, and no temporary file is left.
    EXPECT_EQ(Names(folder), (std::vector<std::string>{pid + ".info", pid + ".pdm"}));
    EXPECT_EQ(store.ModelPath(), folder + "/" + pid + ".pdm");
    EXPECT_EQ(ReadText(store.ModelPath()), std::string(8, '\0'));
    RecoveryInfo info;
    ASSERT_TRUE(ParseRecoveryInfo(ReadText(store.InfoPath()), &info));
    EXPECT_EQ(info.original, "/home/ann/box.pdm");
    EXPECT_EQ(info.time, 200);
    EXPECT_EQ(info.process, CurrentProcess());
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    ASSERT_TRUE(store.Remove());
    EXPECT_TRUE(Names(folder).empty());
    EXPECT_FALSE(store.HasCopy());
    EXPECT_TRUE(store.Remove()) << "nothing to remove is no failure";
}

TEST(RecoveryStore, OffersOnlyTheCopiesOfProgramsThatEnded)
{
    TempFolder temp;
    CRecoveryStore live(temp.Path()), ended(temp.Path(), EndedProcess());
    ASSERT_TRUE(live.Write(Bytes({1, 0, 0, 0, 0, 0, 0, 0}), "/a.pdm", 100));
    ASSERT_TRUE(ended.Write(Bytes({2, 0, 0, 0, 0, 0, 0, 0}), "/b.pdm", 50));
    // An earlier program that had this program's number, before the last restart.
    const ProcessIdentity self = CurrentProcess();
    CRecoveryStore reused(temp.Path(), ProcessIdentity{self.pid, "an-earlier-boot", self.started});
    ASSERT_TRUE(reused.Write(Bytes({3, 0, 0, 0, 0, 0, 0, 0}), "", 200));
    EXPECT_NE(reused.ModelPath(), live.ModelPath()) << "each program keeps its own copy";

    // A second program (this one, started again) sees the ended ones, newest first,
    // and not the live copy.
    CRecoveryStore starting(temp.Path());
    const auto leftovers = starting.FindLeftovers(CheckLength);
    ASSERT_EQ(leftovers.size(), 2u);
    EXPECT_EQ(leftovers[0].info.original, "");
    EXPECT_EQ(leftovers[0].modelPath, reused.ModelPath());
    EXPECT_EQ(leftovers[1].info.original, "/b.pdm");
    EXPECT_EQ(leftovers[1].modelPath, ended.ModelPath());
    for (const auto& leftover : leftovers) EXPECT_EQ(leftover.problem, "");
}

TEST(RecoveryStore, ANewProgramNeverWritesOverALeftover)
{
    TempFolder temp;
    const ProcessIdentity self = CurrentProcess();
    CRecoveryStore earlier(temp.Path(), ProcessIdentity{self.pid, "an-earlier-boot", "1"});
    ASSERT_TRUE(earlier.Write(Bytes({9, 9, 9, 9, 9, 9, 9, 9}), "/old.pdm", 1));
    CRecoveryStore now(temp.Path());
    ASSERT_TRUE(now.Write(Bytes({1, 1, 1, 1, 1, 1, 1, 1}), "/new.pdm", 2));
    EXPECT_EQ(now.ModelPath(), temp / (std::to_string(self.pid) + "-2.pdm"));
    EXPECT_EQ(ReadText(earlier.ModelPath()), std::string(8, '\x09'));
}

TEST(RecoveryStore, ReportsDamagedCopiesAndPutsThemAside)
{
    TempFolder temp;
    CRecoveryStore truncated(temp.Path(), EndedProcess());
    ASSERT_TRUE(truncated.Write(Bytes({1, 0, 0, 0}), "/cut.pdm", 10));
    WriteBytes(temp / "900.pdm", Bytes({0, 0, 0, 0, 0, 0, 0, 0}));  // no description
    WriteBytes(temp / "901.pdm", Bytes({0, 0, 0, 0, 0, 0, 0, 0}));
    WriteBytes(temp / "901.info", std::string("Polydrom recovery copy 1\noriginal /x.pdm\ntime 5\n"));
    // A description whose program ended before its first copy holds no work.
    CRecoveryStore empty(temp.Path(), EndedProcess());
    ASSERT_TRUE(empty.Write(Bytes({0, 0, 0, 0, 0, 0, 0, 0}), "/e.pdm", 3));
    fs::remove(empty.ModelPath());

    CRecoveryStore starting(temp.Path());
    auto leftovers = starting.FindLeftovers(CheckLength);
    ASSERT_EQ(leftovers.size(), 3u);
    EXPECT_FALSE(fs::exists(empty.InfoPath()));
    std::map<std::string, std::string> problems;
    for (const auto& leftover : leftovers) problems[leftover.stem] = leftover.problem;
    EXPECT_EQ(problems[fs::path(truncated.ModelPath()).stem().string()], "file ends after 4 of 8 bytes");
    EXPECT_EQ(problems["900"], "its description is missing");
    EXPECT_NE(problems["901"].find("its description is damaged"), std::string::npos) << problems["901"];

    for (const auto& leftover : leftovers) ASSERT_TRUE(starting.PutAside(leftover));
    EXPECT_TRUE(starting.FindLeftovers(CheckLength).empty());
    const std::string aside = starting.DamagedFolder();
    EXPECT_TRUE(fs::exists(aside + "/900.pdm"));
    EXPECT_TRUE(fs::exists(aside + "/901.info"));
    // A later damaged copy of the same name joins them without replacing any.
    WriteBytes(temp / "900.pdm", Bytes({1}));
    leftovers = starting.FindLeftovers(CheckLength);
    ASSERT_EQ(leftovers.size(), 1u);
    ASSERT_TRUE(starting.PutAside(leftovers[0]));
    EXPECT_EQ(ReadText(aside + "/900.pdm").size(), 8u);
    EXPECT_EQ(ReadText(aside + "/900-2.pdm").size(), 1u);
}

TEST(RecoveryStore, DiscardDeletesAndAdoptMakesTheCopyThisProgramsOwn)
{
    TempFolder temp;
    CRecoveryStore first(temp.Path(), EndedProcess()), second(temp.Path(), EndedProcess());
    ASSERT_TRUE(first.Write(Bytes({1, 0, 0, 0, 0, 0, 0, 0}), "/one.pdm", 1));
    ASSERT_TRUE(second.Write(Bytes({2, 0, 0, 0, 0, 0, 0, 0}), "/two.pdm", 2));
    CRecoveryStore starting(temp.Path());
    auto leftovers = starting.FindLeftovers(CheckLength);
    ASSERT_EQ(leftovers.size(), 2u);
    ASSERT_TRUE(starting.Discard(leftovers[1]));
    EXPECT_FALSE(fs::exists(first.ModelPath()));
    EXPECT_FALSE(fs::exists(first.InfoPath()));

    ASSERT_TRUE(starting.Adopt(leftovers[0], 77));
    EXPECT_EQ(starting.ModelPath(), second.ModelPath());
    CRecoveryStore another(temp.Path());
    EXPECT_TRUE(another.FindLeftovers(CheckLength).empty()) << "an adopted copy is live";
    // Its next write goes under its own name, and the adopted copy then goes.
    ASSERT_TRUE(starting.Write(Bytes({3, 0, 0, 0, 0, 0, 0, 0}), "/two.pdm", 78));
    EXPECT_EQ(Names(temp.Path()), (std::vector<std::string>{std::to_string(::getpid()) + ".info",
                                                            std::to_string(::getpid()) + ".pdm"}));
    ASSERT_TRUE(starting.Remove());
    EXPECT_TRUE(Names(temp.Path()).empty());
}

// Two programs offered the same copy and both pressed Recover: only the first takes it.
TEST(RecoveryStore, AdoptionIsExclusiveBetweenTwoPrograms)
{
    TempFolder temp;
    CRecoveryStore crashed(temp.Path(), EndedProcess());
    ASSERT_TRUE(crashed.Write(Bytes({1, 0, 0, 0, 0, 0, 0, 0}), "/one.pdm", 1));
    CRecoveryStore here(temp.Path());
    const auto offered = here.FindLeftovers(CheckLength);
    ASSERT_EQ(offered.size(), 1u);

    int adopted[2];
    ASSERT_EQ(::pipe(adopted), 0);
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        CRecoveryStore there(temp.Path());  // this child's own identity
        const char outcome = there.Adopt(offered[0], 2) ? 'y' : 'n';
        (void)!::write(adopted[1], &outcome, 1);
        for (;;) ::pause();  // a program that goes on running with the model
    }
    char outcome = 0;
    ASSERT_EQ(::read(adopted[0], &outcome, 1), 1);
    EXPECT_EQ(outcome, 'y');
    const Result second = here.Adopt(offered[0], 3);
    EXPECT_FALSE(second);
    EXPECT_TRUE(second.error.starts_with(kRecoveredElsewhere)) << second.error;
    EXPECT_FALSE(here.HasCopy());
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    ::close(adopted[0]);
    ::close(adopted[1]);
    EXPECT_EQ(ReadText(crashed.ModelPath()).size(), 8u) << "the copy itself is untouched";
}

TEST(RecoveryStore, OffersOnlyTheUsersOwnCopiesInAFolderOnlyTheUserWrites)
{
    TempFolder temp;
    CRecoveryStore crashed(temp.Path(), EndedProcess());
    ASSERT_TRUE(crashed.Write(Bytes({1, 0, 0, 0, 0, 0, 0, 0}), "/home/ann/notes.txt", 1));
    CRecoveryStore here(temp.Path());
    ::chmod(temp.Path().c_str(), 0777);
    EXPECT_TRUE(here.FindLeftovers(CheckLength).empty());
    EXPECT_NE(here.FolderProblem().find("others may write to the folder"), std::string::npos);
    ::chmod(temp.Path().c_str(), 0700);
    EXPECT_EQ(here.FindLeftovers(CheckLength).size(), 1u);
    EXPECT_EQ(here.FolderProblem(), "");
    if (::geteuid() == 0) {
        // A copy planted by another user is neither offered nor touched.
        ASSERT_EQ(::chown(crashed.InfoPath().c_str(), 65534, 65534), 0);
        EXPECT_TRUE(here.FindLeftovers(CheckLength).empty());
        EXPECT_TRUE(fs::exists(crashed.ModelPath()));
    }
}

TEST(RecoveryStore, AFolderThatCannotBeMadeIsAFailureWithAReason)
{
    TempFolder temp;
    WriteBytes(temp / "file", Bytes({1}));
    CRecoveryStore store(temp / "file/recovery");
    const Result written = store.Write(Bytes({0, 0, 0, 0, 0, 0, 0, 0}), "", 1);
    EXPECT_FALSE(written);
    EXPECT_NE(written.error.find(temp / "file/recovery"), std::string::npos) << written.error;
    EXPECT_FALSE(store.HasCopy());
}

}  // namespace
