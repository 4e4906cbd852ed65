// The history on arrays of its own, without a document: every step undone and redone
// lands on exactly the arrays and counts it was taken from.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include "model/history.h"

namespace {

// A model in arrays of a small capacity with counts of their live entries, so that a
// test can grow and shrink it by changing a count; faces hold three corners each.
struct SmallModel {
    static constexpr int kCapacity = 48;
    std::vector<float> x = std::vector<float>(kCapacity), y = x, z = x;
    std::vector<std::int32_t> sel = std::vector<std::int32_t>(kCapacity), from = sel, to = sel;
    std::vector<std::int32_t> face = std::vector<std::int32_t>(3 * kCapacity);
    std::int32_t vertices = 0, edges = 0, faces = 0;

    ModelArrays Live() const
    {
        return {vertices, edges, x.data(), y.data(), z.data(), sel.data(), from.data(), to.data(), faces, face.data()};
    }
    // Undo or redo through arrays of the live size, as a document holds them, and back.
    bool Step(CModelHistory& history, bool undo)
    {
        auto live = [](const auto& array, std::size_t n) { return std::vector(array.begin(), array.begin() + n); };
        auto lx = live(x, vertices), ly = live(y, vertices), lz = live(z, vertices);
        auto lsel = live(sel, vertices), lfrom = live(from, edges), lto = live(to, edges);
        auto lface = live(face, 3 * std::size_t(faces));
        std::vector<std::int32_t> dup(std::size_t(vertices), -1);
        const RestoredArrays arrays{&lx, &ly, &lz, &lsel, &lfrom, &lto, &lface, &dup, nullptr};
        if (!(undo ? history.Undo(arrays) : history.Redo(arrays))) return false;
        EXPECT_EQ(dup.size(), lx.size());
        vertices = static_cast<std::int32_t>(lx.size());
        edges = static_cast<std::int32_t>(lfrom.size());
        faces = static_cast<std::int32_t>(lface.size() / 3);
        EXPECT_TRUE(ly.size() == lx.size() && lz.size() == lx.size() && lsel.size() == lx.size() &&
                    lto.size() == lfrom.size() && lface.size() % 3 == 0);
        std::copy(lx.begin(), lx.end(), x.begin());
        std::copy(ly.begin(), ly.end(), y.begin());
        std::copy(lz.begin(), lz.end(), z.begin());
        std::copy(lsel.begin(), lsel.end(), sel.begin());
        std::copy(lfrom.begin(), lfrom.end(), from.begin());
        std::copy(lto.begin(), lto.end(), to.begin());
        std::copy(lface.begin(), lface.end(), face.begin());
        return true;
    }
    bool Undo(CModelHistory& history) { return Step(history, true); }
    bool Redo(CModelHistory& history) { return Step(history, false); }

    // The live part only: what a file or a dump would show.
    std::vector<float> LiveFloats() const
    {
        std::vector<float> all;
        for (const auto* a : {&x, &y, &z}) all.insert(all.end(), a->begin(), a->begin() + vertices);
        return all;
    }
    std::vector<std::int32_t> LiveInts() const
    {
        std::vector<std::int32_t> all(sel.begin(), sel.begin() + vertices);
        all.insert(all.end(), from.begin(), from.begin() + edges);
        all.insert(all.end(), to.begin(), to.begin() + edges);
        all.insert(all.end(), face.begin(), face.begin() + 3 * faces);
        all.push_back(vertices);
        all.push_back(edges);
        all.push_back(faces);
        return all;
    }
};

}  // namespace

TEST(HistoryArrays, AChangeIsOneStepAndNoChangeIsNone)
{
    SmallModel model;
    model.vertices = 3;
    model.x = {1, 2, 3};
    model.x.resize(SmallModel::kCapacity);
    CModelHistory history;
    history.Reset(model.Live());
    EXPECT_FALSE(history.Commit(model.Live(), "Nothing"));

    const SmallModel before = model;
    model.x[1] = 20;
    model.sel[2] = 1;
    model.vertices = 4;  // a vertex appended, and an edge to it
    model.x[3] = 4;
    model.edges = 1;
    model.from[0] = 0;
    model.to[0] = 3;
    ASSERT_TRUE(history.Commit(model.Live(), "Edit"));
    EXPECT_FALSE(history.Commit(model.Live(), "Again"));
    EXPECT_EQ(history.UndoLabel(), "Edit");
    const SmallModel after = model;

    ASSERT_TRUE(model.Undo(history));
    EXPECT_EQ(model.LiveFloats(), before.LiveFloats());
    EXPECT_EQ(model.LiveInts(), before.LiveInts());
    ASSERT_TRUE(model.Redo(history));
    EXPECT_EQ(model.LiveFloats(), after.LiveFloats());
    EXPECT_EQ(model.LiveInts(), after.LiveInts());
    EXPECT_FALSE(model.Redo(history));
}

TEST(HistoryArrays, RandomStepsUndoAndRedoToEveryStateTakenBitForBit)
{
    SmallModel model;
    CModelHistory history;
    history.Reset(model.Live());
    std::mt19937 random(16);
    std::vector<SmallModel> states{model};
    for (int step = 0; step < 300; ++step) {
        // Grow, shrink or rewrite a run of entries anywhere, as commands do; -0 and 0
        // count as different values.
        std::uniform_int_distribution<int> pick(0, SmallModel::kCapacity);
        model.vertices = pick(random);
        model.edges = pick(random);
        model.faces = pick(random);
        const int first = pick(random) % SmallModel::kCapacity, count = pick(random) % 6;
        for (int i = first; i < std::min(first + count, SmallModel::kCapacity); ++i) {
            model.x[i] = (random() % 2) ? -0.0f : static_cast<float>(random() % 5);
            model.z[i] = static_cast<float>(step);
            model.sel[i] ^= 1;
            model.to[i] = step;
            model.face[3 * i + step % 3] = step;
        }
        if (history.Commit(model.Live(), "Step")) states.push_back(model);
    }
    ASSERT_GT(states.size(), 250u);
    auto same = [](const SmallModel& a, const SmallModel& b) {
        const std::vector<float> fa = a.LiveFloats(), fb = b.LiveFloats();
        // Bit for bit (-0 differs from 0); no memcmp, whose pointers may not be null even for no bytes.
        return std::equal(fa.begin(), fa.end(), fb.begin(), fb.end(),
                          [](float x, float y) { return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y); }) &&
               a.LiveInts() == b.LiveInts();
    };
    for (std::size_t k = states.size() - 1; k > 0; --k) {
        ASSERT_TRUE(model.Undo(history));
        ASSERT_TRUE(same(model, states[k - 1])) << "undo to state " << k - 1;
    }
    EXPECT_FALSE(history.CanUndo());
    for (std::size_t k = 1; k < states.size(); ++k) {
        ASSERT_TRUE(model.Redo(history));
        ASSERT_TRUE(same(model, states[k])) << "redo to state " << k;
    }
}
