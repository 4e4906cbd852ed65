// The model file: byte layout, bit-exact round trips, refused files and atomic saving.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "framework/atomic_file.h"
#include "model/model_fixtures.h"
#include "test_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Read(const std::string& path)
{
    Bytes bytes;
    const FileResult read = ReadFileStart(path, std::size_t(1) << 26, &bytes);
    EXPECT_TRUE(read.ok) << read.error;
    return bytes;
}

std::size_t FilesIn(const TempFolder& folder)
{
    return std::distance(std::filesystem::directory_iterator(folder.Path()), std::filesystem::directory_iterator());
}

void Put32(Bytes& bytes, std::uint32_t word)
{
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(word >> shift));
}

// A model file from its values, laid out by hand.
Bytes File(std::int32_t n, std::int32_t e, std::vector<float> xyz, std::vector<std::int32_t> sel,
           std::vector<std::int32_t> ends)
{
    Bytes bytes;
    Put32(bytes, static_cast<std::uint32_t>(n));
    Put32(bytes, static_cast<std::uint32_t>(e));
    for (float f : xyz) Put32(bytes, Bits(f));
    for (std::int32_t s : sel) Put32(bytes, static_cast<std::uint32_t>(s));
    for (std::int32_t v : ends) Put32(bytes, static_cast<std::uint32_t>(v));
    return bytes;
}

TEST(FileFormat, ByteLayout)
{
    auto doc = NewDoc();
    EXPECT_EQ(SavedBytes(*doc), Bytes(8, 0));
    doc->AddVertex(1.0f, 2.0f, 3.0f);
    EXPECT_EQ(SavedBytes(*doc), (Bytes{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x3f, 0, 0, 0, 0x40, 0, 0, 0x40, 0x40,
                                       0x01, 0, 0, 0}));
    // Each array whole, one after the other.
    doc = ModelFrom("1 4 7 0|2 5 8 1|3 6 9 0;0-1 1-2 2-0");
    EXPECT_EQ(SavedBytes(*doc), File(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 1, 0}, {0, 1, 2, 1, 2, 0}));
    // Eight zero bytes load as the empty model.
    const Bytes zeros(8, 0);
    CArchive empty(zeros);
    doc->Serialize(empty);
    EXPECT_EQ(ModelText(*doc), ";");
}

TEST(ModelFile, RoundTripIsBitForBitAndKeepsWhatTheFileDoesNotHold)
{
    TempFolder folder;
    auto saved = NewDoc();
    const float odd[] = {-0.0f, 0.0f, std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::max(),
                         0.1f, -1e-30f, 3.4e38f};
    for (int i = 0; i < 7; ++i) Vertex(*saved, odd[i], odd[(i + 3) % 7], odd[(i + 5) % 7], i % 2);
    Edges(*saved, {{6, 0}, {0, 6}, {3, 3}, {0, 6}, {2, 5}});
    const std::string path = folder / "model.pdm";
    const Result stored = saved->OnSaveDocument(path);
    ASSERT_TRUE(stored.ok) << stored.error;
    EXPECT_EQ(Read(path), SavedBytes(*saved));
    EXPECT_EQ(Read(path).size(), 8u + 16 * 7 + 8 * 5);

    auto loaded = NewDoc();
    loaded->OnResHigh();
    loaded->m_step = 0.1f;
    loaded->OnShapeCylinder({});
    for (auto& used : loaded->m_edgeUsed) used = 1;  // marks of an earlier export
    Result opened = loaded->OnOpenDocument(path);
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_EQ(loaded->GetPathName(), path);
    EXPECT_EQ(ModelText(*loaded), ModelText(*saved));
    EXPECT_EQ(SavedBytes(*loaded), SavedBytes(*saved));
    EXPECT_EQ(loaded->m_nResolution, 40);
    EXPECT_EQ(loaded->m_step, 0.1f);
    // The model's own marks are fresh: no edge is marked, no vertex has a duplicate.
    EXPECT_EQ(loaded->m_edgeUsed, std::vector<std::int32_t>(5, 0));
    EXPECT_EQ(loaded->m_dup, std::vector<std::int32_t>(7, -1));

    // Past the old capacity of 10000: the same layout with bigger counts.
    auto full = std::make_unique<CPolydromDoc>();
    const int big = 10001;
    for (int i = 0; i < big; ++i) Vertex(*full, float(i), -float(i), 0.5f, i % 3 == 0);
    for (int j = 0; j < big + 5; ++j) Edges(*full, {{j % big, big - 1 - j % big}});
    const Bytes bytes = SavedBytes(*full);
    ASSERT_EQ(bytes.size(), 8u + 16u * big + 8u * (big + 5));
    WriteBytes(path, bytes);
    opened = loaded->OnOpenDocument(path);
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_EQ(SavedBytes(*loaded), bytes);
}

TEST(ModelFile, TrailingBytesAreNotRead)
{
    TempFolder folder;
    Bytes bytes = File(1, 0, {1, 2, 3}, {1}, {});
    bytes.insert(bytes.end(), {0xde, 0xad, 0xbe});
    WriteBytes(folder / "t.pdm", bytes);
    auto doc = NewDoc();
    const Result opened = doc->OnOpenDocument(folder / "t.pdm");
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_EQ(ModelText(*doc), "1 2 3 1;");
}

TEST(ModelFile, InvalidFileLeavesTheDocumentExactlyAsItWas)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        Bytes bytes;
        std::string reason;
    };
    const Bytes full = File(2, 1, {1, 2, 3, 4, 5, 6}, {0, 1}, {0, 1});
    const std::vector<Case> cases = {
        {File(16777217, 0, {}, {}, {}), "vertex count 16777217 exceeds 16777216"},
        {File(-1, 0, {}, {}, {}), "vertex count -1 is negative"},
        {File(0, 50000001, {}, {}, {}), "edge count 50000001 exceeds 50000000"},
        // Counts within the limits that promise more than the file holds: refused before anything is read.
        {File(16777216, 50000000, {}, {}, {}), "file ends after 8 of 668435464 bytes"},
        {File(10001, 0, {}, {}, {}), "file ends after 8 of 160024 bytes"},
        {File(0, -5, {}, {}, {}), "edge count -5 is negative"},
        {Bytes{}, "file ends after 0 of 4 bytes"},
        {Bytes{1, 0, 0, 0, 0, 0, 0}, "file ends after 7 of 8 bytes"},
        {Bytes(full.begin(), full.end() - 1), "file ends after 47 of 48 bytes"},
        {Bytes(full.begin(), full.begin() + 40), "file ends after 40 of 48 bytes"},
        {File(2, 1, {1, 2, 3, 4, 5, 6}, {0, 1}, {0, 2}), "edge 0 refers to vertex 2 of 2"},
        {File(2, 2, {1, 2, 3, 4, 5, 6}, {0, 1}, {0, -1, 1, 1}), "edge 1 refers to vertex -1 of 2"},
        {File(2, 0, {1, 2, 3, 4, 5, 6}, {0, 2}, {}), "vertex 1 has selection state 2"},
        {File(1, 0, {1, 2, 3}, {-1}, {}), "vertex 0 has selection state -1"},
        {File(2, 0, {1, inf, 3, 4, 5, 6}, {0, 0}, {}), "X of vertex 1 is not a finite number"},
        {File(2, 0, {1, 2, 3, -inf, 5, 6}, {0, 0}, {}), "Y of vertex 1 is not a finite number"},
        {File(2, 0, {1, 2, 3, 4, nan, 6}, {0, 0}, {}), "Z of vertex 0 is not a finite number"},
    };

    TempFolder folder;
    auto doc = NewDoc();
    doc->OnShapeCone({});
    doc->m_sel[2] = 0;
    doc->m_edgeUsed[3] = 1;
    const std::string good = folder / "good.pdm", bad = folder / "bad.pdm";
    ASSERT_TRUE(doc->OnSaveDocument(good).ok);
    const auto snapshot = Snapshot(*doc);
    for (const Case& c : cases) {
        WriteBytes(bad, c.bytes);
        const Result opened = doc->OnOpenDocument(bad);
        EXPECT_FALSE(opened.ok) << c.reason;
        EXPECT_TRUE(opened.error.starts_with("Cannot open \"" + bad + "\": " + c.reason)) << opened.error;
        EXPECT_TRUE(Snapshot(*doc) == snapshot) << c.reason;
        EXPECT_EQ(doc->GetPathName(), good) << c.reason;
    }
    // What is no regular file is refused before anything is read: a FIFO would wait for
    // a writer forever, /dev/zero never ends.
    const std::string fifo = folder / "fifo.pdm";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::pair<std::string, std::string> unreadable[] = {
        {folder / "missing.pdm", "No such file or directory"},
        {folder.Path(), "it is a folder"},
        {fifo, "it is not a regular file"},
        {"/dev/zero", "it is not a regular file"},
    };
    for (const auto& [path, reason] : unreadable) {
        EXPECT_EQ(doc->OnOpenDocument(path).error, "Cannot open \"" + path + "\": " + reason + ".");
        EXPECT_TRUE(Snapshot(*doc) == snapshot) << path;
    }
}

TEST(ModelFile, SavingReplacesTheWholeFileOrNothing)
{
    TempFolder folder;
    auto doc = NewDoc();
    doc->OnShapeBox({});
    const std::string path = folder / "box.pdm";
    WriteBytes(path, Bytes(1000, 0xaa));
    auto snapshot = Snapshot(*doc);
    ASSERT_TRUE(doc->OnSaveDocument(path).ok);
    EXPECT_EQ(Read(path), SavedBytes(*doc)) << "a longer old file leaves no tail";
    EXPECT_TRUE(Snapshot(*doc) == snapshot);
    const Bytes old = Read(path);

    // Let the disk "fill up" after 32 bytes: the write of the new, larger model fails.
    doc->OnShapeCylinder({});
    doc->SetPathName("elsewhere.pdm");
    snapshot = Snapshot(*doc);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 32;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Result result = doc->OnSaveDocument(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.starts_with("Cannot save \"" + path + "\": ")) << result.error;
    EXPECT_EQ(Read(path), old);
    EXPECT_TRUE(Snapshot(*doc) == snapshot);
    EXPECT_EQ(doc->GetPathName(), "elsewhere.pdm");
    EXPECT_EQ(FilesIn(folder), 1u) << "no temporary file is left behind";
}

TEST(ModelFile, ABigModelsFacesAreCheckedInTheSameOrder)
{
    // A strip of 100,000 faces: big enough for the face checks to run side by side,
    // which must still name the side before the repeated face.
    constexpr int kFaces = 100000;
    auto doc = NewDoc();
    for (int i = 0; i < kFaces + 2; ++i) Vertex(*doc, float(i % 2), float(i), 0.0f);
    for (int k = 0; k < kFaces; ++k) {
        Edges(*doc, {{k, k + 1}, {k, k + 2}});
        doc->m_face.insert(doc->m_face.end(), {k, k + 1, k + 2});
    }
    Edges(*doc, {{kFaces, kFaces + 1}});
    const Bytes good = SavedBytes(*doc);
    ASSERT_FALSE(good.empty());
    auto corner = [](Bytes& bytes, int face, int k, std::uint32_t vertex) {
        const std::size_t at = bytes.size() - 12u * std::size_t(kFaces - face) + 4u * std::size_t(k);
        for (int shift = 0; shift < 32; shift += 8) bytes[at + std::size_t(shift / 8)] = std::uint8_t(vertex >> shift);
    };
    Bytes twice = good;  // the last face on face 0's corners
    for (int k = 0; k < 3; ++k) corner(twice, kFaces - 1, k, std::uint32_t(k));
    Bytes both = twice;  // and face 5 on a side that is no edge
    corner(both, 5, 2, 9);

    TempFolder folder;
    auto loaded = NewDoc();
    for (const auto& [bytes, reason] : {std::pair{twice, "face 99999 has the same vertices as face 0"},
                                        std::pair{both, "side 6-9 of face 5 is not an edge"}}) {
        WriteBytes(folder / "strip.pdm", bytes);
        EXPECT_EQ(loaded->OnOpenDocument(folder / "strip.pdm").error,
                  "Cannot open \"" + (folder / "strip.pdm") + "\": " + reason + ".");
    }
    // Its face array (1.2 MB) goes to the file from where it is, not through a copy: the
    // same bytes.
    ASSERT_TRUE(doc->OnSaveDocument(folder / "strip.pdm").ok);
    EXPECT_EQ(Read(folder / "strip.pdm"), good);
    EXPECT_TRUE(loaded->OnOpenDocument(folder / "strip.pdm").ok);

    // A save checks a big model beside writing it: the refusal still keeps the old file.
    for (int k = 0; k < 3; ++k) doc->m_face[3 * std::size_t(kFaces - 1) + std::size_t(k)] = k;
    EXPECT_EQ(doc->OnSaveDocument(folder / "strip.pdm").error,
              "Cannot save \"" + (folder / "strip.pdm") + "\": face 99999 has the same vertices as face 0.");
    EXPECT_TRUE(loaded->OnOpenDocument(folder / "strip.pdm").ok);
    EXPECT_EQ(SavedBytes(*loaded), good);
    EXPECT_EQ(FilesIn(folder), 1u) << "no temporary file is left behind";
}

TEST(ModelFile, OpenReadsOnlyWhatTheLargestModelNeeds)
{
    // A sparse gigabyte whose first bytes are a valid model: those are all that is read.
    TempFolder folder;
    const std::string path = folder / "huge.pdm";
    WriteBytes(path, File(1, 0, {1, 2, 3}, {1}, {}));
    std::filesystem::resize_file(path, std::uintmax_t(1) << 30);
    auto doc = NewDoc();
    const Result opened = doc->OnOpenDocument(path);
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_EQ(ModelText(*doc), "1 2 3 1;");
    EXPECT_EQ(doc->MaxFileBytes(), 8u + 16u * 16777216 + 8u * 50000000 + 12u + 12u * 50000000);
}

TEST(ModelFile, SaveRefusesAModelNoFileMayHold)
{
    // No command makes these; should one slip through, the save says so instead of
    // writing a file that would never open again.
    constexpr float inf = std::numeric_limits<float>::infinity();
    const struct {
        void (*spoil)(CPolydromDoc&);
        std::string reason;
    } cases[] = {
        {[](CPolydromDoc& d) { d.m_x[1] = inf; }, "X of vertex 1 is not a finite number"},
        {[](CPolydromDoc& d) { d.m_y[0] = -inf; }, "Y of vertex 0 is not a finite number"},
        {[](CPolydromDoc& d) { d.m_z[2] = std::numeric_limits<float>::quiet_NaN(); },
         "Z of vertex 2 is not a finite number"},
        {[](CPolydromDoc& d) { d.m_sel[1] = 2; }, "vertex 1 has selection state 2 (only 0 and 1 are valid)"},
        {[](CPolydromDoc& d) { d.m_edgeTo[2] = 3; }, "edge 2 refers to vertex 3 of 3"},
    };
    TempFolder folder;
    const std::string path = folder / "kept.pdm";
    WriteBytes(path, std::string("old"));
    for (const auto& c : cases) {
        auto doc = ModelFrom("1 4 7 0|2 5 8 1|3 6 9 0;0-1 1-2 2-0");
        doc->SetModifiedFlag(true);
        c.spoil(*doc);
        const Result saved = doc->OnSaveDocument(path);
        EXPECT_EQ(saved.error, "Cannot save \"" + path + "\": " + c.reason + ".");
        EXPECT_EQ(ReadText(path), "old");
        EXPECT_TRUE(doc->IsModified()) << "the work is still unsaved";
        EXPECT_EQ(doc->GetPathName(), "");
    }
    EXPECT_EQ(FilesIn(folder), 1u);
}

}  // namespace
