// The model's recovery copy: the snapshot's bytes are the saved file's, a copy on disk is
// checked like any model file, and a recovered model stays modified under undo.
#include <gtest/gtest.h>

#include "model/model_fixtures.h"
#include "model/recovery_copy.h"
#include "test_files.h"

namespace {

// Full capacity, with values whose bits a careless copy would change (-0, subnormals).
std::unique_ptr<CPolydromDoc> FullModel()
{
    auto doc = NewDoc();
    for (int i = 0; i < kTestCapacity; ++i) {
        Vertex(*doc, i % 7 == 0 ? -0.0f : float(i) * 0.37f, 1e-40f * float(i % 5), -float(i), i % 2);
        Edges(*doc, {{i, (i * 7919) % kTestCapacity}});
    }
    return doc;
}

TEST(RecoveryCopy, SnapshotBytesAreWhatSaveWrites)
{
    auto doc = FullModel();
    ModelSnapshot snapshot;
    TakeSnapshot(*doc, &snapshot);
    const std::vector<unsigned char> saved = SavedBytes(*doc);
    ASSERT_EQ(saved.size(), 8u + 16u * kTestCapacity + 8u * kTestCapacity);
    EXPECT_EQ(SnapshotBytes(snapshot), saved);

    // The snapshot is a copy: the model may change while the worker writes it.
    doc->m_x[5] = 99.0f;
    doc->m_edgeTo[kTestCapacity - 1] = 0;
    EXPECT_EQ(SnapshotBytes(snapshot), saved);

    // Taken again into the same storage, a smaller model leaves nothing of the larger one.
    auto small = ModelFrom("1 2 3 1|4 5 6 0;0-1");
    TakeSnapshot(*small, &snapshot);
    EXPECT_EQ(SnapshotBytes(snapshot), SavedBytes(*small));
    auto empty = NewDoc();
    TakeSnapshot(*empty, &snapshot);
    EXPECT_EQ(SnapshotBytes(snapshot), std::vector<unsigned char>(8, 0));
}

TEST(RecoveryCopy, ACopyOnDiskIsCheckedLikeAnyModelFile)
{
    TempFolder temp;
    auto doc = ModelFrom("1 2 3 1|4 5 6 0;0-1");
    const std::vector<unsigned char> bytes = SavedBytes(*doc);
    WriteBytes(temp / "sound.pdm", bytes);
    EXPECT_TRUE(CheckModelFile(temp / "sound.pdm"));

    // Cut short by a power failure or a full disk: refused, with the reason.
    WriteBytes(temp / "cut.pdm", std::vector<unsigned char>(bytes.begin(), bytes.end() - 3));
    const Result cut = CheckModelFile(temp / "cut.pdm");
    EXPECT_FALSE(cut);
    EXPECT_NE(cut.error.find("file ends after"), std::string::npos) << cut.error;
    EXPECT_NE(cut.error.find(temp / "cut.pdm"), std::string::npos) << cut.error;

    std::vector<unsigned char> bad = bytes;
    bad[8 + 12 * 2] = 2;  // the first vertex's selection state
    WriteBytes(temp / "bad.pdm", bad);
    EXPECT_NE(CheckModelFile(temp / "bad.pdm").error.find("selection state 2"), std::string::npos);
    EXPECT_FALSE(CheckModelFile(temp / "missing.pdm"));
}

TEST(RecoveryCopy, ARecoveredModelStaysModifiedUntilSaved)
{
    TempFolder temp;
    WriteBytes(temp / "copy.pdm", SavedBytes(*ModelFrom("1 2 3 1;")));
    auto doc = NewDoc();
    const Result opened = doc->OnOpenDocument(temp / "copy.pdm");
    ASSERT_TRUE(opened.ok) << opened.error;
    doc->MarkUnsaved();
    EXPECT_TRUE(doc->IsModified());

    // Undoing every later change returns to the recovered state, which no file holds.
    doc->OnShapeBox({});
    ASSERT_TRUE(doc->CommitStep("Box"));
    doc->OnEditUndo();
    EXPECT_EQ(doc->GetVertexCount(), 1);
    EXPECT_TRUE(doc->IsModified());

    const Result saved = doc->OnSaveDocument(temp / "saved.pdm");
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_FALSE(doc->IsModified());
    doc->OnEditRedo();
    EXPECT_TRUE(doc->IsModified());
    doc->OnEditUndo();
    EXPECT_FALSE(doc->IsModified()) << "back at the save";
}

}  // namespace
