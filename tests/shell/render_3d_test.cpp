// The 3-D view's picture through --render-3d on the software renderer, the panel that
// follows the model, and the uploads that send only what changed. The Render3d suites
// need OpenGL: ctest runs them on a virtual X display (shell_render_3d).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QTest>

#include "app/batch.h"
#include "app/command_ids.h"
#include "app/shell/render_3d_step.h"
#include "app/shell/shaded_canvas.h"
#include "app/shell/shaded_panel.h"
#include "app/shell/shaded_renderer.h"
#include "app/shell/view_widget.h"
#include "shell/shell_fixture.h"
#include "view/shaded_mesh.h"

namespace {

// A box from (-1, -1, -1) to (1, top, 1) as an OBJ file, every face wound outwards;
// `open` leaves out the side at y = -1, the side the screen shows up when looking along Z.
std::string BoxObj(double top, bool open)
{
    std::ostringstream obj;
    for (const double z : {-1.0, 1.0})
        obj << "v -1 -1 " << z << "\nv 1 -1 " << z << "\nv 1 " << top << ' ' << z << "\nv -1 " << top << ' ' << z
            << '\n';
    obj << "f 1 4 3\nf 1 3 2\nf 5 6 7\nf 5 7 8\nf 4 8 7\nf 4 7 3\nf 1 5 8\nf 1 8 4\nf 2 3 7\nf 2 7 6\n";
    if (!open) obj << "f 1 2 6\nf 1 6 5\n";
    return obj.str();
}

class Render3d : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterShellBatchSteps(); }

    // The picture of the steps' model, after they ran.
    QImage Picture(std::vector<std::string> steps, const std::string& name = "out.png")
    {
        const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
        steps.insert(steps.end(), {"--render-3d", path + angles});
        std::ostringstream out, err;
        EXPECT_EQ(RunBatch(steps, out, err), 0) << err.str();
        return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    }
    std::string Obj(const std::string& text)
    {
        const std::string path = dir.filePath(QStringLiteral("box.obj")).toStdString();
        std::ofstream(path) << text;
        return path;
    }
    static bool Background(QRgb p) { return (p & 0xFFFFFF) == ShadedColours::kBackground; }
    static bool BackFace(QRgb p) { return qBlue(p) > qRed(p) + 60 && qBlue(p) > qGreen(p) + 30; }
    static int Count(const QImage& image, bool (*test)(QRgb))
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) count += test(image.pixel(x, y));
        return count;
    }

    QTemporaryDir dir;
    std::string angles;  // ",AZIMUTH,ELEVATION" or nothing
};

}  // namespace

TEST_F(Render3d, ABoxSeenFromTheFrontCoversItsProjectedFrontFace)
{
    const QImage image = Picture({"--import", Obj(BoxObj(2, false)), "--do", "do-deselect-all", "--size", "400x300"});
    ASSERT_EQ(image.size(), QSize(400, 300));
    // Fitted: the sphere round the box (centre (0, 0.5, 0)) fills the height with a tenth
    // to spare; the eye looks along +Z from the -Z side, X to the right, Y down, as the
    // wireframe does; the front face at z = -1 is the silhouette.
    const double halfFov = 15 * 3.14159265358979323846 / 180, radius = std::sqrt(1 + 1.5 * 1.5 + 1);
    const double distance = 1.1 * radius / std::cos(halfFov) / std::tan(halfFov);
    const double scale = 150 / std::tan(halfFov) / (distance - 1);
    const double left = 200 - scale, right = 200 + scale, top = 150 + scale * (-1 - 0.5),
                 bottom = 150 + scale * (2 - 0.5);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            const bool inside = cx > left + 2 && cx < right - 2 && cy > top + 2 && cy < bottom - 2;
            const bool outside = cx < left - 2 || cx > right + 2 || cy < top - 2 || cy > bottom + 2;
            if (inside) {
                ASSERT_FALSE(Background(image.pixel(x, y))) << x << ',' << y;
            }
            if (outside) {
                ASSERT_TRUE(Background(image.pixel(x, y))) << x << ',' << y;
            }
        }
    EXPECT_EQ(Count(image, BackFace), 0);
}

TEST_F(Render3d, AnOpenBoxShowsItsInnerWallsInTheBackFaceColourAndAClosedOneDoesNot)
{
    angles = ",20,50";  // a little to the right and well above: into the opening
    const QImage open = Picture({"--axes", "as-stored", "--import", Obj(BoxObj(1, true)), "--do", "do-deselect-all"}, "open.png");
    EXPECT_GT(Count(open, BackFace), 800 * 600 / 20);
    const QImage closed = Picture({"--axes", "as-stored", "--import", Obj(BoxObj(1, false)), "--do", "do-deselect-all"}, "closed.png");
    EXPECT_EQ(Count(closed, BackFace), 0);
    EXPECT_GT(800 * 600 - Count(closed, Background), 800 * 600 / 10);
}

TEST_F(Render3d, AModelWithoutTrianglesDrawsAnEmptyViewWithANote)
{
    const QImage image = Picture({"--do", "shape-circle"});
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!Background(image.pixel(x, y))) {
                ++ink;
                // The note is a line or two of text across the middle.
                ASSERT_GT(y, 200) << x;
                ASSERT_LT(y, 400) << x;
            }
    EXPECT_GT(ink, 100);
}

TEST_F(Render3d, TheSameChangeSendsOnlyWhatItTouched)
{
    QOpenGLContext context;
    context.setFormat(ShadedSurfaceFormat());
    ASSERT_TRUE(context.create());
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    ASSERT_TRUE(context.makeCurrent(&surface));
    // A grid of 40 x 40 squares, each cut in two: 3,200 triangles.
    std::ostringstream grid;
    for (int j = 0; j <= 40; ++j)
        for (int i = 0; i <= 40; ++i) grid << "v " << i << ' ' << j << " 0\n";
    for (int j = 0; j < 40; ++j)
        for (int i = 0; i < 40; ++i) {
            const int a = j * 41 + i + 1;
            grid << "f " << a << ' ' << a + 1 << ' ' << a + 42 << "\nf " << a << ' ' << a + 42 << ' ' << a + 41 << '\n';
        }
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    ASSERT_TRUE(doc->ImportMesh(Obj(grid.str())).ok);
    CShadedRenderer renderer;
    QString reason;
    ASSERT_TRUE(renderer.Initialize(&reason)) << reason.toStdString();
    ShadedMesh mesh = BuildShadedMesh(CopyModel(*doc));
    ASSERT_EQ(mesh.triangles, 3200);
    EXPECT_EQ(renderer.Upload(mesh), (mesh.corners.size() + mesh.marks.size()) * sizeof(float));
    // Nothing changed: nothing sent.
    EXPECT_EQ(renderer.Upload(mesh), 0u);
    // One vertex moved: a stretch or two of the arrays.
    doc->m_x[doc->GetVertexCount() - 1] += 0.5f;
    const ShadedMesh moved = BuildShadedMesh(CopyModel(*doc));
    const std::size_t sent = renderer.Upload(moved);
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, moved.corners.size() * sizeof(float) / 4);
    renderer.Release();
    context.doneCurrent();
}

TEST_F(Render3d, BadAnglesAreRefusedBeforeAnythingIsDrawn)
{
    std::ostringstream out, err;
    const std::vector<std::string> steps{"--render-3d", dir.filePath("x,ten,5").toStdString()};
    EXPECT_EQ(RunBatch(steps, out, err), 1);
    EXPECT_NE(err.str().find("is not PATH.png or PATH,AZIMUTH,ELEVATION"), std::string::npos) << err.str();
}

using Render3dPanel = ShellTest;

// The panel follows each change by the next frame: the arrays are built at once. (On a
// window system that shows OpenGL in windows: ctest runs it on a virtual X display.)
TEST_F(Render3dPanel, FollowsEveryChangeOfTheModelAndSelection)
{
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    frame->Dispatch(ID_VIEW_3D);
    QCoreApplication::processEvents();
    CShadedCanvas* canvas = frame->ShadedPanel()->Canvas();
    ASSERT_NE(canvas, nullptr) << frame->ShadedPanel()->Note().toStdString();
    EXPECT_EQ(canvas->Triangles(), 0);
    EXPECT_TRUE(frame->ShadedPanel()->Note().startsWith(QStringLiteral("No triangles"))) << frame->ShadedPanel()->Note().toStdString();
    frame->Dispatch(ID_SHAPE_BOX);
    EXPECT_GT(canvas->Triangles(), 0);
    EXPECT_TRUE(frame->ShadedPanel()->Note().isEmpty());
    frame->Dispatch(ID_EDIT_UNDO);
    EXPECT_EQ(canvas->Triangles(), 0);
}

// Without OpenGL (the offscreen platform with no display) the panel says so and the
// window goes on working; with it, the canvas is there.
TEST_F(ShellTest, TheThreeDViewSaysWhenOpenGlIsMissing)
{
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    frame->Dispatch(ID_VIEW_3D);
    QCoreApplication::processEvents();
    QString reason;
    if (QGuiApplication::platformName() != QStringLiteral("offscreen") && OpenGlAvailable(&reason)) {
        EXPECT_NE(frame->ShadedPanel()->Canvas(), nullptr);
    } else {
        EXPECT_EQ(frame->ShadedPanel()->Canvas(), nullptr);
        EXPECT_TRUE(frame->ShadedPanel()->Note().startsWith(QStringLiteral("OpenGL is not available: ")))
            << frame->ShadedPanel()->Note().toStdString();
    }
    frame->Dispatch(ID_SHAPE_BOX);
    EXPECT_GT(doc->GetVertexCount(), 0);
    EXPECT_FALSE(frame->ViewWidget()->grab().isNull());
}
