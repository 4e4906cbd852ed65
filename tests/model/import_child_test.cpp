// The import helper process: whatever the helper does - crash, hang, answer nonsense -
// the caller survives it and gets a reason; a good answer arrives whole and checked.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "model/formats/import_child.h"

namespace {

using Kind = ChildAnswer::Kind;

ChildLimits Limits(int vertices = 100, int edges = 100, std::chrono::milliseconds time = std::chrono::seconds(30))
{
    ChildLimits limits;
    limits.time = time;
    limits.maxVertices = vertices;
    limits.maxEdges = edges;
    limits.maxFaces = 100;
    return limits;
}

ImportedMesh Triangle()
{
    return {{0, 1, 0}, {0, 0, 1}, {5, 5, 5}, {0, 1, 2}, {1, 2, 0}, {0, 1, 2}};
}

template <typename T>
std::string Bytes(T value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// A mesh record written by hand: counts, then whatever arrays follow.
std::string MeshRecord(std::int64_t vertices, std::int64_t edges, const std::string& arrays)
{
    return "M" + Bytes(vertices) + Bytes(edges) + Bytes(std::int64_t(0)) + arrays;
}


ImportedMesh WithEdges(std::vector<std::int32_t> from, std::vector<std::int32_t> to)
{
    ImportedMesh mesh = Triangle();
    mesh.from = std::move(from);
    mesh.to = std::move(to);
    return mesh;
}

ImportedMesh WithFaces(std::vector<std::int32_t> faces)
{
    ImportedMesh mesh = Triangle();
    mesh.faces = std::move(faces);
    return mesh;
}

struct Helper {
    const char* name;
    std::function<void(ChildChannel&)> work;
    Kind kind;
    const char* reason;  // part of the answer's reason
};

std::vector<Helper> Helpers()
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    ImportedMesh withNan = Triangle(), withInf = Triangle();
    withNan.y[1] = nan;
    withInf.z[2] = -inf;
    auto raw = [](std::string bytes) { return [bytes](ChildChannel& c) { c.Raw(bytes); }; };
    auto mesh = [](ImportedMesh m) { return [m](ChildChannel& c) { c.Mesh(m); }; };
    return {
        // Ends of the helper.
        {"Aborts", [](ChildChannel&) { std::abort(); }, Kind::Failed, "the importer crashed reading it (signal 6"},
        {"IsKilled", [](ChildChannel&) { ::kill(::getpid(), SIGKILL); }, Kind::Failed, "stopped by signal 9"},
        {"CrashesAfterHalfAnAnswer",
         [](ChildChannel& c) {
             c.Raw(MeshRecord(3, 3, "half"));
             std::abort();
         },
         Kind::Failed, "crashed"},
        {"LeavesWithoutAnswer", [](ChildChannel&) { ::_exit(0); }, Kind::Failed, "ended without an answer"},
        {"LeavesWithAStatus", [](ChildChannel&) { ::_exit(7); }, Kind::Failed, "exit status 7"},
        {"Throws", [](ChildChannel&) { throw std::runtime_error("odd scene"); }, Kind::Refused, "odd scene"},
        {"RunsOutOfMemory", [](ChildChannel&) { throw std::bad_alloc(); }, Kind::Refused, "ran out of memory"},
        // Answers the parent refuses.
        {"UnknownRecord", raw("X"), Kind::Failed, "an unknown record"},
        {"NegativeCount", raw(MeshRecord(-1, 0, "")), Kind::Failed, "a negative count"},
        {"EdgeToAMissingVertex", mesh(WithEdges({0}, {3})), Kind::Failed, "names a vertex that does not exist"},
        {"EdgeToANegativeVertex", mesh(WithEdges({-1}, {0})), Kind::Failed, "names a vertex that does not exist"},
        {"EdgeFromAVertexToItself", mesh(WithEdges({1}, {1})), Kind::Failed, "joins a vertex to itself"},
        {"EdgeTwice", mesh(WithEdges({0, 2}, {2, 0})), Kind::Failed, "an edge comes twice"},
        {"FaceOnAMissingVertex", mesh(WithFaces({0, 1, 3})), Kind::Failed, "names a vertex that does not exist"},
        {"FaceWithTwoEqualCorners", mesh(WithFaces({0, 1, 1})), Kind::Failed, "the same vertex at two corners"},
        {"FaceSideNotAnEdge", mesh(WithEdges({0, 1}, {1, 2})), Kind::Failed, "face 0 is not an edge"},
        {"FaceTwice", mesh(WithFaces({0, 1, 2, 2, 1, 0})), Kind::Failed, "a face comes twice"},
        {"NaN", mesh(withNan), Kind::Failed, "not a finite number"},
        {"Infinity", mesh(withInf), Kind::Failed, "not a finite number"},
        {"MoreAfterTheAnswer",
         [](ChildChannel& c) {
             c.Error("bad file");
             c.Progress(0.5f);
         },
         Kind::Failed, "more after its answer"},
        {"EndlessReason", raw("E" + Bytes(std::uint32_t(1) << 30)), Kind::Failed, "a reason of 1073741824 bytes"},
        // Answers it takes.
        {"RefusesOnSeveralLines", [](ChildChannel& c) { c.Error("line one\nline two.\n"); }, Kind::Refused,
         "line one line two"},
        {"NeedsMoreThanTheRoom",
         [](ChildChannel& c) {
             ImportedMesh big;
             big.x.assign(101, 0.0f);
             big.y = big.z = big.x;
             c.Mesh(big);
         },
         Kind::TooLarge, ""},
    };
}

class MisbehavingHelper : public ::testing::TestWithParam<Helper> {};

TEST_P(MisbehavingHelper, GivesAReasonAndNoMesh)
{
    const ChildAnswer answer = RunImportChild(GetParam().work, Limits(), {});
    EXPECT_EQ(answer.kind, GetParam().kind) << answer.reason;
    EXPECT_NE(answer.reason.find(GetParam().reason), std::string::npos) << answer.reason;
    EXPECT_TRUE(answer.mesh.x.empty());
    EXPECT_TRUE(answer.mesh.from.empty());
}

INSTANTIATE_TEST_SUITE_P(Helpers, MisbehavingHelper, ::testing::ValuesIn(Helpers()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImportHelper, AGoodAnswerArrivesWholeWithItsProgress)
{
    // Large enough to take several reads of the pipe.
    ImportedMesh sent;
    for (int i = 0; i < 9000; ++i) {
        sent.x.push_back(float(i));
        sent.y.push_back(-float(i) / 7);
        sent.z.push_back(1e30f);
        if (i > 0) {
            sent.from.push_back(i - 1);
            sent.to.push_back(i);
        }
    }
    std::vector<float> seen;
    const ChildAnswer answer = RunImportChild(
        [&](ChildChannel& c) {
            c.Progress(0.25f);
            c.Progress(0.5f);
            c.Mesh(sent);
        },
        Limits(10000, 10000), [&](float f) {
            seen.push_back(f);
            return true;
        });
    ASSERT_EQ(answer.kind, Kind::Mesh) << answer.reason;
    EXPECT_EQ(answer.vertices, 9000);
    EXPECT_EQ(answer.edges, 8999);
    EXPECT_EQ(answer.mesh.x, sent.x);
    EXPECT_EQ(answer.mesh.y, sent.y);
    EXPECT_EQ(answer.mesh.z, sent.z);
    EXPECT_EQ(answer.mesh.from, sent.from);
    EXPECT_EQ(answer.mesh.to, sent.to);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 0.5f);
}

TEST(ImportHelper, AMeshTooLargeForTheRoomSendsOnlyItsCounts)
{
    const ChildAnswer answer = RunImportChild(
        [](ChildChannel& c) {
            ImportedMesh mesh = Triangle();
            c.Mesh(mesh);
        },
        Limits(3, 2), {});
    EXPECT_EQ(answer.kind, Kind::TooLarge);
    EXPECT_EQ(answer.vertices, 3);
    EXPECT_EQ(answer.edges, 3);
    EXPECT_TRUE(answer.mesh.x.empty());
}

TEST(ImportHelper, AHangingHelperIsStoppedAtTheTimeLimit)
{
    const ChildAnswer answer = RunImportChild(
        [](ChildChannel&) {
            for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
        },
        Limits(100, 100, std::chrono::milliseconds(300)), {});
    EXPECT_EQ(answer.kind, Kind::Failed);
    EXPECT_EQ(answer.reason, "the importer did not finish within 0.3 seconds");
}

TEST(ImportHelper, CancellingStopsTheHelper)
{
    int asked = 0;
    const ChildAnswer answer = RunImportChild(
        [](ChildChannel& c) {
            c.Progress(0.1f);
            for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
        },
        Limits(), [&](float) { return ++asked < 3; });
    EXPECT_EQ(answer.kind, Kind::Cancelled);
    EXPECT_EQ(asked, 3);
}

TEST(ImportHelper, KeepsNoneOfTheProgramsFilesAndWritesNothingToItsOutput)
{
    // A pipe the program has open (another child's, say): the helper must not hold it.
    int other[2];
    ASSERT_EQ(::pipe(other), 0);
    struct stat null{};
    ASSERT_EQ(::stat("/dev/null", &null), 0);
    const ChildAnswer answer = RunImportChild(
        [&](ChildChannel& c) {
            struct stat out{};
            const bool quiet = ::fstat(STDOUT_FILENO, &out) == 0 && out.st_rdev == null.st_rdev;
            const bool closed = ::fcntl(other[0], F_GETFD) == -1 && ::fcntl(other[1], F_GETFD) == -1;
            c.Error(std::string(quiet ? "quiet" : "loud") + (closed ? " closed" : " open"));
        },
        Limits(), {});
    ::close(other[0]);
    ::close(other[1]);
    EXPECT_EQ(answer.reason, "quiet closed");
}

TEST(ImportHelper, AHelperThatWantsTooMuchMemoryFailsAlone)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the memory ceiling is left out under AddressSanitizer";
#endif
    const ChildAnswer answer = RunImportChild(
        [](ChildChannel& c) {
            std::vector<char> huge(std::size_t(64) << 30);  // far beyond the helper's ceiling
            c.Error(std::to_string(huge.size()));
        },
        Limits(), {});
    EXPECT_EQ(answer.kind, Kind::Refused);
    EXPECT_EQ(answer.reason, kHelperOutOfMemory);
}

}  // namespace
