// Extrude, Copy, Mirror, Grow, Shrink and the rotations on the document: the cases
// that need a cursor or an axis the batch mode cannot set, bits of the float
// arithmetic, refusals at the capacity, and the repaint requests.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "framework/view.h"
#include "model/polydrom_doc.h"

namespace {

struct Point {
    float x, y, z;
    int sel = 1;
};

std::unique_ptr<CPolydromDoc> Model(const std::vector<Point>& points, const std::vector<std::pair<int, int>>& edges)
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    for (const Point& p : points) {
        const int i = doc->m_nVertices++;
        doc->m_x[i] = p.x;
        doc->m_y[i] = p.y;
        doc->m_z[i] = p.z;
        doc->m_sel[i] = p.sel;
        doc->m_dup[i] = -1;
    }
    for (auto [f, t] : edges) {
        const int j = doc->m_nEdges++;
        doc->m_edgeFrom[j] = f;
        doc->m_edgeTo[j] = t;
        doc->m_edgeUsed[j] = 0;
    }
    return doc;
}

void ExpectVertex(const CPolydromDoc& doc, int i, float x, float y, float z)
{
    EXPECT_EQ(doc.m_x[i], x) << "vertex " << i;
    EXPECT_EQ(doc.m_y[i], y) << "vertex " << i;
    EXPECT_EQ(doc.m_z[i], z) << "vertex " << i;
}

class CountingView : public CView {
public:
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, long, void*) override { ++updates; }
    int updates = 0;
};

TEST(Duplicate, MirrorReflectsInXAboutHalfTheCursor)
{
    auto doc = Model({{3, 5, 7}, {12, 0, 0}, {1, 1, 1, 0}}, {});
    doc->SetCursorAndAxis(10, 99, 99, 1, 0, 0);  // the axis plays no part
    doc->OnDoMirror();
    ASSERT_EQ(doc->m_nVertices, 5);
    ExpectVertex(*doc, 3, 7, 5, 7);
    ExpectVertex(*doc, 4, -2, 0, 0);
    EXPECT_EQ(doc->m_sel[2], 0);
}

TEST(Duplicate, CopiesAreBitExactAndNoMarksRemain)
{
    auto doc = Model({{-0.0f, 1e-45f, 0x1.fffffep+127f}, {1, 2, 3, 0}, {0.1f, 0.2f, 0.3f}}, {{0, 2}, {1, 2}});
    doc->OnDoExtrude();
    ASSERT_EQ(doc->m_nVertices, 5);
    EXPECT_TRUE(std::signbit(doc->m_x[3]));
    ExpectVertex(*doc, 3, -0.0f, 1e-45f, 0x1.fffffep+127f);
    ExpectVertex(*doc, 4, 0.1f, 0.2f, 0.3f);
    const std::vector<int> sel(doc->m_sel, doc->m_sel + 5), dup(doc->m_dup, doc->m_dup + 5);
    EXPECT_EQ(sel, (std::vector<int>{0, 0, 0, 1, 1}));
    EXPECT_EQ(dup, (std::vector<int>{-1, -1, -1, -1, -1}));
}

TEST(Duplicate, RefusedWholeWhenTheDuplicatesWouldNotFit)
{
    // 6000 selected vertices in a chain: a copy needs 6000 more vertices than fit.
    std::vector<Point> points(6000, Point{1, 2, 3});
    std::vector<std::pair<int, int>> edges;
    for (int i = 0; i + 1 < 6000; ++i) edges.emplace_back(i, i + 1);
    for (auto command : {&CPolydromDoc::OnDoCopy, &CPolydromDoc::OnDoMirror, &CPolydromDoc::OnDoExtrude}) {
        auto doc = Model(points, edges);
        (doc.get()->*command)();
        EXPECT_EQ(doc->m_nVertices, 6000);
        EXPECT_EQ(doc->m_nEdges, 5999);
        EXPECT_EQ(doc->m_sel[0], 1);
        EXPECT_EQ(doc->m_sel[5999], 1);
        const CommandReport report = doc->TakeReport();
        EXPECT_EQ(report.kind, CommandReport::Kind::Refusal);
        EXPECT_NE(report.text.find("needs 6000 vertices"), std::string::npos) << report.text;
    }
}

TEST(Duplicate, ExtrudeIsRefusedWhenOnlyItsEdgesWouldNotFit)
{
    // 3000 vertices fit twice over, but 2 * 2999 + 3000 new edges do not.
    std::vector<Point> points(3000, Point{0, 0, 0});
    std::vector<std::pair<int, int>> edges;
    for (int i = 0; i + 1 < 3000; ++i) edges.emplace_back(i, i + 1);
    auto doc = Model(points, edges);
    doc->OnDoExtrude();
    EXPECT_EQ(doc->m_nVertices, 3000);
    EXPECT_EQ(doc->m_nEdges, 2999);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::Refusal);

    doc->OnDoCopy();  // 3000 vertices and 2999 edges: room for that
    EXPECT_EQ(doc->m_nVertices, 6000);
    EXPECT_EQ(doc->m_nEdges, 5998);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None);
}

TEST(Duplicate, ExactlyFullIsAllowed)
{
    std::vector<Point> points(5000, Point{0, 0, 0});
    auto doc = Model(points, {});
    doc->OnDoExtrude();  // 5000 vertices and 5000 pillars: fills both arrays
    EXPECT_EQ(doc->m_nVertices, MODEL_CAPACITY);
    EXPECT_EQ(doc->m_nEdges, 5000);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None);
}

TEST(Duplicate, EveryEditingCommandAsksTheViewsToRepaintButNotTheSteps)
{
    auto doc = Model({{1, 2, 3}}, {});
    CountingView view;
    doc->AddView(&view);
    for (auto command : {&CPolydromDoc::OnDoExtrude, &CPolydromDoc::OnDoCopy, &CPolydromDoc::OnDoMirror,
                         &CPolydromDoc::OnDoGrow, &CPolydromDoc::OnDoShrink, &CPolydromDoc::OnDoRotateCcw,
                         &CPolydromDoc::OnDoRotateCw}) {
        const int before = view.updates;
        (doc.get()->*command)();
        EXPECT_EQ(view.updates, before + 1);
    }
    const int before = view.updates;
    doc->OnStepFinest();
    doc->OnStepFine();
    doc->OnStepCoarse();
    doc->OnStepCoarsest();
    EXPECT_EQ(view.updates, before);
    doc->RemoveView(&view);
}

TEST(Transform, ShrinkScalesAboutTheCursorDepthToo)
{
    auto doc = Model({{0, 0, 0}}, {});
    doc->SetCursorAndAxis(0, 0, 10, 0, 0, 1);
    doc->OnStepCoarsest();
    doc->OnDoShrink();
    ExpectVertex(*doc, 0, 0, 0, 5);
}

// The expected bits below were worked out apart from this code, with the same
// double-precision steps and float roundings written out by hand.
TEST(Transform, GrowAndShrinkBits)
{
    auto doc = Model({{3.3f, -7.7f, 1e-3f}, {3.3f, -7.7f, 1e-3f, 0}}, {});
    doc->SetCursorAndAxis(0.7f, 0.2f, -5.1f, 0, 0, 1);
    doc->OnStepFine();
    doc->OnDoGrow();
    ExpectVertex(*doc, 0, 0x1.b70a3cp+1f, -0x1.030a3cp+3f, 0x1.0631e8p-2f);
    ExpectVertex(*doc, 1, 3.3f, -7.7f, 1e-3f);

    auto other = Model({{3.3f, -7.7f, 1e-3f}}, {});
    other->SetCursorAndAxis(0.7f, 0.2f, -5.1f, 0, 0, 1);
    other->OnDoShrink();  // the step of a new model, 0.01
    ExpectVertex(*other, 0, 0x1.a3126ep+1f, -0x1.e7be76p+2f, -0x1.99ae78p-5f);
}

TEST(Transform, RotationsInTheXAndYPlanesToTheBit)
{
    auto alongX = Model({{3.25f, -7.5f, 2}}, {});
    alongX->SetCursorAndAxis(1.5f, 2.5f, -4, 1, 0, 0);
    alongX->OnDoRotateCcw();
    ExpectVertex(*alongX, 0, 3.25f, -0x1.e3ceb6p+2f, 0x1.e6549p+0f);

    auto alongY = Model({{3.25f, -7.5f, 2}}, {});
    alongY->SetCursorAndAxis(1.5f, 2.5f, -4, 0, 1, 0);
    alongY->OnStepFine();
    alongY->OnDoRotateCw();
    ExpectVertex(*alongY, 0, 0x1.79558p+1f, -7.5f, 0x1.0a3c58p+1f);
}

TEST(Transform, TheCursorPointAndUnselectedVerticesStayPut)
{
    auto doc = Model({{4, 5, 6}, {1, 2, 3, 0}}, {});
    doc->SetCursorAndAxis(4, 5, 6, 0, 1, 0);
    doc->OnStepCoarsest();
    for (auto command : {&CPolydromDoc::OnDoGrow, &CPolydromDoc::OnDoShrink, &CPolydromDoc::OnDoRotateCcw,
                         &CPolydromDoc::OnDoRotateCw}) {
        (doc.get()->*command)();
        ExpectVertex(*doc, 0, 4, 5, 6);
        ExpectVertex(*doc, 1, 1, 2, 3);
    }
}

}  // namespace
