// Imports that are refused: files too large for the room left in the model, and every
// kind of bad file. Each leaves the model byte for byte as it was, and no undo step.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "mesh_files.h"
#include "model_fixtures.h"
#include "test_files.h"

namespace {

// A model with exactly this much room left: a row of selected vertices and edges along it.
std::unique_ptr<CPolydromDoc> ModelWithRoom(int vertices, int edges)
{
    auto doc = NewDoc();
    while (doc->GetVertexCount() < kTestCapacity - vertices) Vertex(*doc, float(doc->GetVertexCount()), 1, 2, 1);
    for (int j = 0; doc->GetEdgeCount() < kTestCapacity - edges; ++j) {
        const int from = j % (doc->GetVertexCount() - 1);
        Edges(*doc, {{from, from + 1}});
    }
    doc->CommitStep("Setup");
    return doc;
}

struct Before {
    std::vector<unsigned char> snapshot;
    std::size_t steps;
};

Before Take(const CPolydromDoc& doc) { return {Snapshot(doc), doc.History().StepCount()}; }

void ExpectUnchanged(CPolydromDoc& doc, const Before& before)
{
    EXPECT_TRUE(Snapshot(doc) == before.snapshot) << "the model changed";
    EXPECT_FALSE(doc.CommitStep("Import")) << "the refusal left something to undo";
    EXPECT_EQ(doc.History().StepCount(), before.steps);
}

// --- Capacity --------------------------------------------------------------------------

struct CapacityCase {
    const char* name;
    int roomVertices, roomEdges;
    bool fits;
};

class ImportCapacity : public ::testing::TestWithParam<CapacityCase> {};

TEST_P(ImportCapacity, AFileThatDoesNotFitIsRefusedWithItsNumbers)
{
    // A 20 x 20 grid of quads: 400 vertices and 1121 edges once the quads are split.
    const int vertices = 400, edges = mesh_files::GridEdges(20, 20);
    ASSERT_EQ(edges, 1121);
    TempFolder folder;
    const std::string path = folder / "grid.obj";
    WriteBytes(path, mesh_files::GridObj(20, 20));
    const CapacityCase& c = GetParam();
    auto doc = ModelWithRoom(c.roomVertices, c.roomEdges);
    const Before before = Take(*doc);

    const ImportResult result = doc->ImportMesh(path);
    if (c.fits) {
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(doc->GetVertexCount(), kTestCapacity - c.roomVertices + vertices);
        EXPECT_EQ(doc->GetEdgeCount(), kTestCapacity - c.roomEdges + edges);
        return;
    }
    ASSERT_FALSE(result.ok);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.error, "grid.obj needs 400 vertices and 1121 edges; the model has room for " +
                                std::to_string(c.roomVertices) + " vertices and " + std::to_string(c.roomEdges) +
                                " edges.");
    ExpectUnchanged(*doc, before);
}

INSTANTIATE_TEST_SUITE_P(Room, ImportCapacity,
                         ::testing::Values(CapacityCase{"FarTooSmall", 160, 320, false},
                                           CapacityCase{"OneEdgeShort", 400, 1120, false},
                                           CapacityCase{"OneVertexShort", 399, 5000, false},
                                           CapacityCase{"Exactly", 400, 1121, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Bad files -------------------------------------------------------------------------

struct BadFile {
    const char* name;
    // Makes the file (or leaves it missing) and returns its path.
    std::function<std::string(const TempFolder&)> make;
    const char* reason;  // part of the message after the file's name; "" for the library's own words
};

std::string Write(const TempFolder& folder, const char* name, const std::string& bytes)
{
    const std::string path = folder / name;
    WriteBytes(path, bytes);
    return path;
}

// Bytes nobody would take for a mesh, the same on every run.
std::string Noise(std::size_t size)
{
    std::string bytes;
    std::uint32_t x = 2463534242u;
    for (std::size_t k = 0; k < size; ++k) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes += static_cast<char>(x);
    }
    return bytes;
}

const std::vector<mesh_files::Point> kSquare = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};

std::vector<BadFile> BadFiles()
{
    using mesh_files::Point;
    const std::string triangle = "v 1 0 0\nv 0 1 0\nf 1 2 3\n";
    return {
        {"Missing", [](const TempFolder& f) { return f / "missing.obj"; }, "No such file or directory"},
        {"Folder",
         [](const TempFolder& f) {
             std::filesystem::create_directory(f / "meshes.obj");
             return f / "meshes.obj";
         },
         "it is a folder"},
        {"Pipe",
         [](const TempFolder& f) {
             ::mkfifo((f / "pipe.stl").c_str(), 0600);
             return f / "pipe.stl";
         },
         "it is not a plain file"},
        {"Empty", [](const TempFolder& f) { return Write(f, "empty.stl", ""); }, "the file is empty"},
        // A 2 GB scan is refused before a byte of it is read (the file is sparse: it costs no disk).
        {"TwoGigabytes",
         [](const TempFolder& f) {
             const std::string path = Write(f, "scan.stl", "solid scan\n");
             std::filesystem::resize_file(path, std::uintmax_t(2) << 30);
             return path;
         },
         "the file has 2147483648 bytes; a mesh that fits the model takes far less, so files over 268435456 "
         "bytes (256 MB) are not read"},
        {"OneByteOverTheLimit",
         [](const TempFolder& f) {
             const std::string path = Write(f, "scan.stl", "solid scan\n");
             std::filesystem::resize_file(path, (std::uintmax_t(256) << 20) + 1);
             return path;
         },
         "the file has 268435457 bytes"},
        // A FIFO named as the material library or a buffer would block the library's own
        // existence test until the time limit; it is refused at once.
        {"PipeAsMaterialLibrary",
         [=](const TempFolder& f) {
             ::mkfifo((f / "lib.mtl").c_str(), 0600);
             return Write(f, "material.obj", "mtllib lib.mtl\n" + triangle);
         },
         "lib.mtl\": not a plain file"},
        {"PipeAsGltfBuffer",
         [](const TempFolder& f) {
             ::mkfifo((f / "data.bin").c_str(), 0600);
             return Write(f, "buffer.gltf",
                          R"({"asset":{"version":"2.0"},"buffers":[{"byteLength":36,"uri":"data.bin"}],)"
                          R"("bufferViews":[{"buffer":0,"byteLength":36}],"accessors":[{"bufferView":0,)"
                          R"("componentType":5126,"count":3,"type":"VEC3","min":[0,0,0],"max":[1,1,0]}],)"
                          R"("meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}],"nodes":[{"mesh":0}],)"
                          R"("scenes":[{"nodes":[0]}],"scene":0})");
         },
         "data.bin\": not a plain file"},
        {"NoiseStl", [](const TempFolder& f) { return Write(f, "noise.stl", Noise(300)); }, ""},
        {"NoiseUnknownExtension", [](const TempFolder& f) { return Write(f, "noise.xyz", Noise(300)); }, ""},
        {"OnlyComments", [](const TempFolder& f) { return Write(f, "notes.obj", "# a file of notes\n# and no geometry at all\n"); },
         "it holds no points, lines or faces"},
        // The header promises ten triangles, two follow.
        {"TruncatedBinaryStl",
         [&](const TempFolder& f) {
             std::string bytes = mesh_files::BinaryStl({{kSquare[0], kSquare[1], kSquare[2]},
                                                        {kSquare[0], kSquare[2], kSquare[3]}});
             bytes[80] = 10;
             return Write(f, "short.stl", bytes);
         },
         ""},
        // Cut in the middle of the faces: the library hands on garbage corner numbers, and
        // post-processing them would crash.
        {"TruncatedBinaryPly",
         [&](const TempFolder& f) {
             const std::string bytes = mesh_files::BinaryPly(kSquare, {{0, 1, 2}, {0, 2, 3}});
             return Write(f, "short.ply", bytes.substr(0, bytes.size() - 20));
         },
         "it is damaged"},
        // Cut after two of four points: the library hands on faces without corners.
        {"TruncatedOff", [](const TempFolder& f) { return Write(f, "short.off", "OFF\n4 2 0\n0 0 0\n1 0 0\n"); },
         "it is damaged"},
        {"NaN", [=](const TempFolder& f) { return Write(f, "nan.obj", "v nan 0 0\n" + triangle); },
         "not a finite number"},
        {"Infinity", [=](const TempFolder& f) { return Write(f, "inf.obj", "v 0 -inf 0\n" + triangle); },
         "not a finite number"},
        {"BeyondFloat", [=](const TempFolder& f) { return Write(f, "huge.obj", "v 0 0 1e39\n" + triangle); },
         "not a finite number"},
        {"NaNInBinaryStl",
         [&](const TempFolder& f) {
             const float nan = std::numeric_limits<float>::quiet_NaN();
             return Write(f, "nan.stl", mesh_files::BinaryStl({{kSquare[0], kSquare[1], Point{nan, 0, 0}}}));
         },
         "not a finite number"},
        {"FaceBeyondThePoints", [](const TempFolder& f) { return Write(f, "index.obj", "v 0 0 0\nf 1 2 3\n"); }, ""},
        // Two scales of 1e30 under each other put a corner at 1e60.
        {"TransformBeyondFloat",
         [](const TempFolder& f) { return Write(f, "far.gltf", mesh_files::InstancedGltf(1e30f, 1e30f)); },
         "beyond the range of a float"},
    };
}

class BadImport : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadImport, IsRefusedWithTheFileAndTheReasonAndChangesNothing)
{
    TempFolder folder;
    const std::string path = GetParam().make(folder);
    auto doc = NewDoc();
    doc->OnShapeCylinder({});
    doc->CommitStep("Cylinder");
    doc->TakeReport();
    const Before before = Take(*doc);

    const ImportResult result = doc->ImportMesh(path);
    ASSERT_FALSE(result.ok);
    EXPECT_FALSE(result.cancelled);
    const std::string prefix = "Cannot import \"" + path + "\": ";
    ASSERT_TRUE(result.error.starts_with(prefix)) << result.error;
    EXPECT_NE(result.error.find(GetParam().reason, prefix.size()), std::string::npos) << result.error;
    EXPECT_GT(result.error.size(), prefix.size() + 2) << "no reason given";
    EXPECT_EQ(result.error.find('\n'), std::string::npos) << "a batch error is one line";
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None);
    ExpectUnchanged(*doc, before);
}

INSTANTIATE_TEST_SUITE_P(Files, BadImport, ::testing::ValuesIn(BadFiles()),
                         [](const auto& info) { return std::string(info.param.name); });

// Files that bring the library itself down (with libassimp 5.2.5): a binary PLY whose
// header does not end where it should crashes it, and a header cut short inside the
// format line makes it loop for ever. The import survives both in its helper process.
struct LibraryBreaker {
    const char* name;
    std::function<std::string()> bytes;
    std::chrono::milliseconds timeLimit;
};

class LibraryBreakers : public ::testing::TestWithParam<LibraryBreaker> {};

TEST_P(LibraryBreakers, AreRefusedAndTheProgramCarriesOn)
{
    TempFolder folder;
    const std::string path = folder / (std::string(GetParam().name) + ".ply");
    WriteBytes(path, GetParam().bytes());
    auto doc = NewDoc();
    doc->OnShapeCone({});
    doc->CommitStep("Cone");
    const Before before = Take(*doc);
    ImportOptions options;
    options.timeLimit = GetParam().timeLimit;
    const ImportResult result = doc->ImportMesh(path, options);
    ASSERT_FALSE(result.ok);
    EXPECT_TRUE(result.error.starts_with("Cannot import \"" + path + "\": ")) << result.error;
    ExpectUnchanged(*doc, before);

    // And the next import works as ever.
    const std::string good = folder / "good.off";
    WriteBytes(good, mesh_files::Off(kSquare, {{0, 1, 2, 3}}));
    const ImportResult next = doc->ImportMesh(good);
    EXPECT_TRUE(next.ok) << next.error;
}

INSTANTIATE_TEST_SUITE_P(
    Files, LibraryBreakers,
    ::testing::Values(LibraryBreaker{"CrashingHeader",
                                     [] {
                                         const std::vector<mesh_files::Point> cube = {
                                             {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                             {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
                                         std::string bytes = mesh_files::BinaryPly(
                                             cube, {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                                    {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}});
                                         bytes.replace(bytes.find("end_header"), 10, "end_6eader");
                                         return bytes;
                                     },
                                     std::chrono::seconds(30)},
                      LibraryBreaker{"EndlessHeader", [] { return std::string("ply\nformat binary_little"); },
                                     std::chrono::seconds(1)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BadImport, AnUnreadableFileIsRefusedWithTheReason)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    TempFolder folder;
    const std::string path = folder / "locked.obj";
    WriteBytes(path, std::string("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"));
    ::chmod(path.c_str(), 0);
    auto doc = NewDoc();
    const Before before = Take(*doc);
    const ImportResult result = doc->ImportMesh(path);
    EXPECT_EQ(result.error, "Cannot import \"" + path + "\": Permission denied.");
    ExpectUnchanged(*doc, before);
}

TEST(ImportCancel, ACancelledImportChangesNothing)
{
    TempFolder folder;
    const std::string path = folder / "grid.obj";
    WriteBytes(path, mesh_files::GridObj(10, 10));
    auto doc = NewDoc();
    doc->OnShapeBox({});
    doc->CommitStep("Box");
    const Before before = Take(*doc);
    ImportOptions options;
    int asked = 0;
    options.progress = [&](float) { return ++asked < 1; };
    const ImportResult result = doc->ImportMesh(path, options);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.error, "Import of grid.obj cancelled.");
    EXPECT_EQ(asked, 1);
    ExpectUnchanged(*doc, before);
}

}  // namespace

TEST(ImportScale, AScaleThatCannotWorkIsRefusedAndChangesNothing)
{
    TempFolder folder;
    const std::string path = folder / "big.obj";
    WriteBytes(path, std::string("v 0 0 0\nv 1e30 0 0\nv 0 0.5 0\nf 1 2 3\n"));
    auto doc = NewDoc();
    doc->OnShapeBox({});
    doc->CommitStep("Box");
    const Before before = Take(*doc);
    const std::string prefix = "Cannot import \"" + path + "\": ";
    for (double scale : {0.0, -1.0, double(INFINITY), double(NAN)}) {
        ImportOptions options;
        options.scale = scale;
        EXPECT_EQ(doc->ImportMesh(path, options).error, prefix + "the scale must be a positive finite number.");
    }
    // Too large a coordinate, or a non-zero one shrunk to nothing, would not be the file's mesh.
    ImportOptions options;
    options.axes = AxisConversion::Converted;
    options.scale = 1e9;
    EXPECT_EQ(doc->ImportMesh(path, options).error,
              prefix + "scale 1e+09 takes the point 1e+30 0 0 beyond the coordinates a vertex can hold.");
    options.scale = 1e-38;
    EXPECT_EQ(doc->ImportMesh(path, options).error,
              prefix + "scale 1e-38 takes the point 0 0.5 0 beyond the coordinates a vertex can hold.");
    ExpectUnchanged(*doc, before);
}

namespace {

// A header that promises two billion points makes the library reserve far more than the
// helper's memory ceiling: the refusal says so plainly, not with the library's "std::bad_alloc".
TEST(ImportMemory, AMeshNeedingTooMuchMemoryIsSaidPlainly)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the memory ceiling is left out under AddressSanitizer";
#endif
    TempFolder folder;
    const std::string path = Write(folder, "huge.ply",
                                   "ply\nformat ascii 1.0\nelement vertex 2000000000\nproperty float x\n"
                                   "property float y\nproperty float z\nend_header\n0 0 0\n");
    const MeshReadResult result = ReadMeshFile(path, 100, 100, 100, ImportOptions{});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "not enough memory to import huge.ply: the mesh needs more than " +
                                std::to_string(HelperMemoryMegabytes()) + " MB");
}

}  // namespace
