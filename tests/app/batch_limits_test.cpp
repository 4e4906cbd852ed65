// Batch mode at the limits: coordinates at the edge of the float range, and files that
// are FIFOs, devices, links, huge, long-named, read-only or another user's.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "batch_run.h"
#include "unprivileged.h"

namespace {

namespace fs = std::filesystem;
using Steps = std::vector<std::string>;

Steps operator+(Steps a, const Steps& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A box whose vertices Grow has taken about -1.5e38 along X (cursor at 3e38, step 0.5).
const Steps kFarBox = {"--do", "shape-box", "--do", "do-select-all", "--do", "step-coarsest",
                       "--cursor", "3e38,0,0", "--do", "do-grow"};

std::string OneLine(const BatchOutcome& run) { return run.status == 0 ? "" : run.err; }

TEST(BatchLimits, CommandsThatWouldLeaveTheRangeStopTheRun)
{
    TempFolder folder;
    const std::string saved = folder / "inf.pdm";
    const std::string tail = " refused: the result would leave the range of coordinates.\n";
    const struct {
        Steps steps;
        std::string error;
    } cases[] = {
        {kFarBox + Steps{"--do", "do-grow", "--save", saved}, "polydrom: do-grow: Grow" + tail},
        {kFarBox + Steps{"--cursor", "3.4e38,0,0", "--do", "do-mirror", "--save", saved},
         "polydrom: do-mirror: Mirror" + tail},
        {kFarBox + Steps{"--cursor", "2.5e38,0,0", "--do", "do-rotate-ccw", "--save", saved},
         "polydrom: do-rotate-ccw: Rotate Counter-clockwise" + tail},
        // The move anchor is the cursor at 3e38; a click at the centre moves by -3e38.
        {kFarBox + Steps{"--do", "do-move", "--click", "400,300", "--save", saved},
         "polydrom: click 400,300: Move" + tail},
    };
    for (const auto& c : cases) {
        const BatchOutcome run = RunBatchSteps(c.steps);
        EXPECT_EQ(OneLine(run), c.error);
        EXPECT_FALSE(fs::exists(saved)) << "the steps after the refusal did not run";
    }
    // The model before the refused step is a valid file that opens again.
    const BatchOutcome good = RunBatchSteps(kFarBox + Steps{"--save", saved});
    ASSERT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(RunBatchSteps({saved, "--fit", "--dump"}).status, 0);
}

TEST(BatchLimits, CursorTakesTheNearestFloatOfAnyNumberAFloatCanHold)
{
    const struct {
        std::string text, dumped;  // dumped empty: refused
    } cases[] = {
        {"1e-46,0,0", "cursor 0 0 0"},
        {"-1e-46,1e-40,1e-5000", "cursor -0 1e-40 0"},
        {"3.4028235e38,-3.4028235e38,0.5", "cursor 3.4028235e+38 -3.4028235e+38 0.5"},
        {"3.5e38,0,0", ""},
        {"1e5000,0,0", ""},
        {"inf,0,0", ""},
        {"nan,0,0", ""},
        {"1e-46x,0,0", ""},
    };
    for (const auto& c : cases) {
        const BatchOutcome run = RunBatchSteps({"--cursor", c.text, "--dump"});
        if (c.dumped.empty()) {
            EXPECT_EQ(OneLine(run), "polydrom: --cursor \"" + c.text + "\" is not X,Y,Z with three finite numbers\n");
        } else {
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_NE(run.out.find("\n" + c.dumped + "\n"), std::string::npos) << run.out;
        }
    }
}

TEST(BatchLimits, OpenRefusesWhatIsNoRegularFileAndReadsNoMoreThanAModel)
{
    TempFolder folder;
    const std::string fifo = folder / "x.pdm", huge = folder / "huge.pdm";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        EXPECT_EQ(OneLine(RunBatchSteps({path, "--dump"})),
                  "polydrom: Cannot open \"" + path + "\": it is not a regular file.\n");
    }
    // A sparse gigabyte that starts with a valid square (no faces, so no face block whose
    // length is checked); the rest is never read.
    ASSERT_EQ(RunBatchSteps({"--do", "shape-square", "--save", huge}).status, 0);
    fs::resize_file(huge, std::uintmax_t(1) << 30);
    const BatchOutcome run = RunBatchSteps({huge, "--dump"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\nvertices 4\n"), std::string::npos);
}

TEST(BatchLimits, SaveAndExportFollowLinksAndRefuseWhatIsNoRegularFile)
{
    TempFolder folder;
    const std::string real = folder / "real.pdm", link = folder / "link.pdm", fifo = folder / "fifo.stl";
    ASSERT_EQ(RunBatchSteps({"--do", "shape-square", "--save", real}).status, 0);
    fs::create_symlink("real.pdm", link);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);

    const BatchOutcome saved = RunBatchSteps({"--do", "shape-box", "--save", link});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_TRUE(fs::is_symlink(link)) << "the link stays a link";
    EXPECT_NE(RunBatchSteps({real, "--dump"}).out.find("\nvertices 8\n"), std::string::npos) << "its file is new";

    EXPECT_EQ(OneLine(RunBatchSteps({"--do", "shape-box", "--save", fifo})),
              "polydrom: Cannot save \"" + fifo + "\": it is not a regular file.\n");
    EXPECT_EQ(OneLine(RunBatchSteps({"--do", "shape-box", "--export", fifo})),
              "polydrom: Cannot export " + fifo + ": it is not a regular file\n");
    EXPECT_TRUE(fs::is_fifo(fifo));

    // The longest name a folder entry may have is saved like any other.
    const std::string longest = folder / (std::string(NAME_MAX - 4, 'b') + ".pdm");
    EXPECT_EQ(OneLine(RunBatchSteps({"--do", "shape-box", "--save", longest})), "");
    EXPECT_EQ(RunBatchSteps({longest}).status, 0);
}

TEST(BatchLimits, SaveAndExportKeepReadOnlyFilesAndOtherUsersOwnership)
{
    const std::optional<UserIds> user = UnprivilegedUser();
    if (!user) GTEST_SKIP() << "running as root and the system has no user \"nobody\" to drop to";
    TempFolder folder;
    ASSERT_TRUE(GiveFolderTo(folder.Path(), *user));
    const std::string model = folder / "model.pdm", mesh = folder / "model.stl";
    ASSERT_EQ(RunBatchSteps({"--do", "shape-square", "--save", model, "--export", mesh}).status, 0);
    if (::geteuid() == 0) {
        // Root saves over the user's file: the file stays the user's.
        for (const std::string& path : {model, mesh}) ASSERT_EQ(::chown(path.c_str(), user->uid, user->gid), 0);
        ASSERT_EQ(RunBatchSteps({"--do", "shape-box", "--save", model, "--export", mesh}).status, 0);
        for (const std::string& path : {model, mesh}) {
            struct stat st {};
            ASSERT_EQ(::stat(path.c_str(), &st), 0);
            EXPECT_EQ(st.st_uid, user->uid) << path;
            EXPECT_EQ(st.st_gid, user->gid) << path;
        }
    }

    // Mode 444 in a folder the user may write: the rename could replace it, the save must not.
    for (const std::string& path : {model, mesh}) ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const std::string before = ReadText(model) + ReadText(mesh);
    const std::string errors = RunUnprivileged([&] {
        return RunBatchSteps({"--do", "shape-cone", "--save", model}).err +
               RunBatchSteps({"--do", "shape-cone", "--export", mesh}).err;
    });
    if (errors.find("Permission denied (in folder") != std::string::npos)
        GTEST_SKIP() << "the unprivileged user cannot reach the temporary folder: " << errors;
    EXPECT_EQ(errors, "polydrom: Cannot save \"" + model + "\": the file is read-only.\npolydrom: Cannot export " +
                          mesh + ": the file is read-only\n");
    EXPECT_EQ(ReadText(model) + ReadText(mesh), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2);
}

}  // namespace
