// Undo and redo: every step restores the model bit for bit, in both directions.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <functional>
#include <random>
#include <vector>

#include "model/model_fixtures.h"

namespace {

// The document-level operations a user can reach, each committed as one step the
// way the command router and the click handler do.
using Operation = std::function<void(CPolydromDoc&)>;
const std::vector<std::pair<const char*, Operation>>& Operations()
{
    static const std::vector<std::pair<const char*, Operation>> ops = {
        {"Circle", [](CPolydromDoc& d) { d.OnShapeCircle({}); }},
        {"Box", [](CPolydromDoc& d) { d.OnShapeBox({}); }},
        {"Cone", [](CPolydromDoc& d) { d.OnShapeCone({}); }},
        {"Connect", [](CPolydromDoc& d) { d.OnDoConnect(); }},
        {"Un-connect", [](CPolydromDoc& d) { d.OnDoUnconnect(); }},
        {"Select All", [](CPolydromDoc& d) { d.OnDoSelectAll(); }},
        {"Deselect All", [](CPolydromDoc& d) { d.OnDoDeselectAll(); }},
        {"Select All Connected", [](CPolydromDoc& d) { d.OnDoSelectConnected(); }},
        {"Add Vertex", [](CPolydromDoc& d) { d.AddVertex(-0.0f, 12.5f, 3.0f); }},
        {"Select", [](CPolydromDoc& d) { d.ToggleSelectionNear(Looking(2, 0, 100)); }},
        {"Move", [](CPolydromDoc& d) { d.MoveSelected(7.25f, -3.0f, 0.0f); }},
        {"Extrude", [](CPolydromDoc& d) { d.OnDoExtrude(); }},
        {"Copy", [](CPolydromDoc& d) { d.OnDoCopy(); }},
        {"Mirror", [](CPolydromDoc& d) { d.OnDoMirror({}); }},
        {"Grow", [](CPolydromDoc& d) { d.OnDoGrow({}); }},
        {"Shrink", [](CPolydromDoc& d) { d.OnDoShrink({}); }},
        {"Rotate Clockwise", [](CPolydromDoc& d) { d.OnDoRotateCw({}); }},
        {"Rotate Counter-clockwise", [](CPolydromDoc& d) { d.OnDoRotateCcw({}); }},
    };
    return ops;
}

TEST(History, EveryKindOfStepUndoesAndRedoesExactly)
{
    for (const auto& [name, op] : Operations()) {
        auto doc = NewDoc();
        doc->OnShapeCylinder({});
        doc->ToggleSelectionNear(Looking(2, 0, 100, -100));  // leave a mixed selection
        doc->CommitStep("setup");
        const auto before = SavedBytes(*doc);
        op(*doc);
        if (!doc->CommitStep(name)) continue;  // this command changed nothing here
        const auto after = SavedBytes(*doc);
        EXPECT_EQ(doc->History().UndoLabel(), name);
        doc->OnEditUndo();
        EXPECT_EQ(SavedBytes(*doc), before) << name;
        EXPECT_EQ(doc->History().RedoLabel(), name);
        doc->OnEditRedo();
        EXPECT_EQ(SavedBytes(*doc), after) << name;
    }
}

TEST(History, CommandThatChangesNothingMakesNoStep)
{
    auto doc = NewDoc();
    doc->OnDoConnect();
    EXPECT_FALSE(doc->CommitStep("Connect"));
    doc->OnDoSelectAll();
    EXPECT_FALSE(doc->CommitStep("Select All")) << "an empty model has nothing to select";
    EXPECT_FALSE(doc->History().CanUndo());
    EXPECT_FALSE(doc->IsModified());
}

TEST(History, NegativeZeroIsAChange)
{
    auto doc = NewDoc();
    doc->AddVertex(0.0f, 0.0f, 0.0f);
    doc->CommitStep("Add Vertex");
    doc->m_x[0] = -0.0f;
    EXPECT_TRUE(doc->CommitStep("Move"));
    doc->OnEditUndo();
    EXPECT_FALSE(std::signbit(doc->m_x[0]));
}

TEST(History, RandomSessionUndoesToTheStartAndRedoesToTheEnd)
{
    std::mt19937 rng(20261207);
    auto doc = NewDoc();
    const auto empty = SavedBytes(*doc);
    int steps = 0;
    for (int k = 0; k < 200; ++k) {
        const auto& [name, op] = Operations()[rng() % Operations().size()];
        op(*doc);
        steps += doc->CommitStep(name);
    }
    const auto end = SavedBytes(*doc);
    ASSERT_GT(steps, 100);
    while (doc->History().CanUndo()) doc->OnEditUndo();
    EXPECT_EQ(SavedBytes(*doc), empty);
    while (doc->History().CanRedo()) doc->OnEditRedo();
    EXPECT_EQ(SavedBytes(*doc), end);
}

TEST(History, ModifiedFlagFollowsTheSavePoint)
{
    auto doc = NewDoc();
    doc->OnShapeBox({});
    doc->CommitStep("Box");
    EXPECT_TRUE(doc->IsModified());
    doc->OnEditUndo();
    EXPECT_FALSE(doc->IsModified()) << "back at the new, unsaved model";
    doc->OnEditRedo();
    const std::string path = ::testing::TempDir() + "history-save.pdm";
    const Result saved = doc->OnSaveDocument(path);
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_FALSE(doc->IsModified());
    // A change of the selection alone is a step, but leaves the model as saved.
    doc->OnDoDeselectAll();
    doc->CommitStep("Deselect All");
    EXPECT_TRUE(doc->History().CanUndo());
    EXPECT_FALSE(doc->IsModified());
    doc->OnEditUndo();
    EXPECT_FALSE(doc->IsModified());
    doc->OnEditUndo();
    EXPECT_TRUE(doc->IsModified()) << "before the saved state";
    doc->OnShapeCone({});
    doc->CommitStep("Cone");  // a new branch: the saved state can never come back
    doc->OnEditUndo();
    EXPECT_TRUE(doc->IsModified());
}

TEST(History, SelectionStepsAroundTheSavePointKeepTheModelUnmodified)
{
    auto doc = NewDoc();
    doc->OnShapeBox({});
    doc->CommitStep("Box");
    doc->OnDoDeselectAll();
    doc->CommitStep("Deselect All");
    const std::string path = ::testing::TempDir() + "history-selection.pdm";
    ASSERT_TRUE(doc->OnSaveDocument(path).ok);
    // Undo the selection, then pick anew: the saved step is thrown away, but only a
    // selection stood between it and here.
    doc->OnEditUndo();
    EXPECT_FALSE(doc->IsModified());
    doc->m_sel[0] = 0;
    doc->CommitStep("Select");
    EXPECT_FALSE(doc->IsModified());
    // A move after the save marks it, and undoing the move alone clears the mark again.
    doc->m_x[0] += 1;
    doc->CommitStep("Move");
    EXPECT_TRUE(doc->IsModified());
    doc->m_sel[1] = 0;
    doc->CommitStep("Select");
    EXPECT_TRUE(doc->IsModified());
    doc->OnEditUndo();
    doc->OnEditUndo();
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->TakeReport().text, "Undid Move");
    doc->OnEditRedo();
    EXPECT_EQ(doc->TakeReport().text, "Redid Move");
}

TEST(History, NewAndOpenClearTheHistory)
{
    auto doc = NewDoc();
    doc->OnShapeBox({});
    doc->CommitStep("Box");
    const std::string path = ::testing::TempDir() + "history-open.pdm";
    ASSERT_TRUE(doc->OnSaveDocument(path).ok);
    doc->OnNewDocument();
    EXPECT_FALSE(doc->History().CanUndo());
    doc->OnShapeCircle({});
    doc->CommitStep("Circle");
    const Result opened = doc->OnOpenDocument(path);
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_FALSE(doc->History().CanUndo());
    EXPECT_FALSE(doc->History().CanRedo());
    EXPECT_EQ(doc->GetVertexCount(), 8);
}

TEST(History, OldestStepsGoFirstWhenTheBudgetIsReached)
{
    auto doc = NewDoc();
    for (int i = 0; i < kTestCapacity; ++i) Vertex(*doc, float(i), 0.0f, 0.0f, 1);
    doc->CommitStep("Fill");
    // Moving everything rewrites all three coordinate arrays: the largest kind of step.
    for (int k = 0; k < 400; ++k) {
        doc->MoveSelected(1.0f, 1.0f, 1.0f);
        doc->CommitStep("Move");
    }
    const std::size_t kept = doc->History().StepCount();
    EXPECT_LE(doc->History().BytesUsed(), CModelHistory::kByteBudget);
    EXPECT_GE(kept, 100u);
    EXPECT_LT(kept, 400u);
    const float last = doc->m_x[5];
    while (doc->History().CanUndo()) doc->OnEditUndo();
    EXPECT_EQ(doc->m_x[5], last + float(kept)) << "each undo takes back one move, the oldest are gone";
}

// In a child process: a Copy of half a million selected vertices with only `megabytes` more
// address space. 0: refused; 1: done with its undo step; 2: done, said to have no step of
// its own; anything else: a model or history gone wrong. Either way one undo (after the
// next step) returns to the half million vertices.
int CopyWithin(long megabytes)
{
    auto doc = NewDoc();
    doc->m_limits = ModelLimits{};
    for (int i = 0; i < 500000; ++i) Vertex(*doc, float(i), 0, 0, 1);
    doc->CommitStep("Add");
    long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    rlimit saved{};
    ::getrlimit(RLIMIT_AS, &saved);
    rlimit tight = saved;
    tight.rlim_cur = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + rlim_t(megabytes << 20);
    if (pages == 0 || ::setrlimit(RLIMIT_AS, &tight) != 0) return 10;
    doc->TakeReport();
    doc->OnDoCopy();
    doc->CommitStep("Copy");
    const std::string said = doc->TakeReport().text;
    ::setrlimit(RLIMIT_AS, &saved);
    if (doc->GetVertexCount() == 500000) return said.starts_with("Copy refused") ? 0 : 9;
    if (doc->GetVertexCount() != 1000000) return 8;
    const bool alone = said == "Copy is done, but there is not enough memory to keep it as an undo step of its own.";
    if (alone) doc->CommitStep("Later");
    doc->OnEditUndo();
    if (doc->GetVertexCount() != 500000 || doc->m_x[499999] != 499999.0f) return 7;
    return alone ? 2 : 1;
}

// Running out of memory at any moment of a command never ends the program and never
// leaves a history that undoes to a model that never was. Each limit is tried in a fresh
// run of this test program: a forked child would inherit the free heap earlier tests left,
// and what a limit leaves would depend on the order the tests ran in.
TEST(History, RunningOutOfMemoryKeepsTheModelAndItsUndo)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer needs more address space than these limits leave";
#endif
    if (const char* within = std::getenv("POLYDROM_COPY_WITHIN_MB")) ::_exit(CopyWithin(std::atol(within)));
    const std::string self = std::filesystem::read_symlink("/proc/self/exe");
    const std::string filter = "--gtest_filter=History.RunningOutOfMemoryKeepsTheModelAndItsUndo";
    int outcomes[3] = {0, 0, 0};
    for (long megabytes = 4; megabytes <= 30; megabytes += 2) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("POLYDROM_COPY_WITHIN_MB", std::to_string(megabytes).c_str(), 1);
            if (std::FILE* quiet = std::fopen("/dev/null", "w")) {
                ::dup2(::fileno(quiet), STDOUT_FILENO);
                ::dup2(::fileno(quiet), STDERR_FILENO);
            }
            ::execl(self.c_str(), self.c_str(), filter.c_str(), static_cast<char*>(nullptr));
            ::_exit(11);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << megabytes << " MB: ended by signal " << WTERMSIG(status);
        ASSERT_LT(WEXITSTATUS(status), 3) << megabytes << " MB";
        ++outcomes[WEXITSTATUS(status)];
    }
    // The limits reach each outcome: the refusal, the step, and the change without one.
    EXPECT_GT(outcomes[0], 0);
    EXPECT_GT(outcomes[1], 0);
    EXPECT_GT(outcomes[2], 0);
}

}  // namespace
