// The Render Preview panel and its renderer: the newest change wins over a render in
// progress, notes instead of pictures (said once, never as a dialog), the picture at the
// panel's size, and the private folder gone with the renderer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "app/command_ids.h"
#include "app/povray_runner.h"
#include "app/shell/preview_panel.h"
#include "app/shell/preview_renderer.h"
#include "app/shell/shaded_panel.h"
#include "app/shell/view_widget.h"
#include "model/polydrom_doc.h"
#include "shell/shell_fixture.h"
#include "view/polydrom_view.h"
#include "view/preview_scene.h"

namespace {

// A model and the view that frames it; no window needed, the preview has its own size.
struct Framed {
    Framed()
    {
        doc->OnNewDocument();
        doc->AddView(&view);
        view.m_state.zoom = 3;
    }
    CPreviewRenderer::JobSource Source(int width, int height)
    {
        return [this, width, height] {
            return [source = TakePreviewSource(view), width, height] {
                const PreviewScene scene = BuildPreviewScene(source, width, height);
                return PreviewJob{scene.ok ? QString() : QString::fromStdString(scene.error), scene.text, width, height,
                                  false};
            };
        };
    }
    std::unique_ptr<CPolydromDoc> doc = std::make_unique<CPolydromDoc>();
    CPolydromView view;
};

// A stand-in for povray: a shell script that waits first, then runs the real one (or
// nothing, with an empty command), so that a render is certainly still running.
QString Script(const QTemporaryDir& dir, const QString& body)
{
    const QString path = QDir(dir.path()).filePath(QStringLiteral("povray"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

bool WaitFor(const std::function<bool()>& done, int milliseconds = 30000)
{
    return QTest::qWaitFor(done, milliseconds);
}

std::vector<std::uint32_t> Pixels(const QImage& image)
{
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) pixels.push_back(image.pixel(x, y) & 0xffffff);
    return pixels;
}

struct Counts {
    int starts = 0, pictures = 0, notes = 0;
    QImage picture;
    QString note;
};

void Count(CPreviewRenderer& renderer, Counts& counts)
{
    QObject::connect(&renderer, &CPreviewRenderer::Progress, [&counts](int percent) { counts.starts += percent < 0; });
    QObject::connect(&renderer, &CPreviewRenderer::PictureReady, [&counts](const QImage& p) {
        ++counts.pictures;
        counts.picture = p;
    });
    QObject::connect(&renderer, &CPreviewRenderer::NoteReady, [&counts](const QString& n) {
        ++counts.notes;
        counts.note = n;
    });
}

TEST(PovRayPanel, NewestChangeWinsOverTheRenderItCancels)
{
    Framed framed;
    framed.doc->OnShapeBox(framed.view.m_state);
    QTemporaryDir dir;
    CPreviewRenderer renderer(framed.Source(120, 90));
    renderer.SetProgram(Script(dir, QStringLiteral("sleep 1\nexec povray \"$@\"")));
    Counts counts;
    Count(renderer, counts);

    renderer.Changed();
    ASSERT_TRUE(WaitFor([&] { return renderer.IsRendering(); }));
    // Two quick changes while that render waits: they make one new render, which wins.
    framed.view.OnViewZoomIn();
    renderer.Changed();
    framed.view.OnViewPanLeft();
    renderer.Changed();
    ASSERT_TRUE(WaitFor([&] { return !renderer.IsRendering() && counts.pictures + counts.notes > 0; }));
    EXPECT_EQ(counts.note, "");
    EXPECT_EQ(renderer.CancelledCount(), 1);
    EXPECT_EQ(counts.starts, 2);
    EXPECT_EQ(counts.pictures, 1);
    // The ended renders leave no files behind; only the note naming the folder's program stays.
    EXPECT_EQ(QDir(renderer.Folder()).entryList(QDir::Files), QStringList({"owner"}));

    // The picture is the model as it is now, exactly as POV-Ray renders it on its own.
    const PovRayPicture now = RunPovRay(BuildPreviewScene(framed.view, 120, 90).text, 120, 90, false);
    ASSERT_TRUE(now.ok) << now.error;
    std::vector<std::uint32_t> expected;
    for (std::uint32_t p : now.image.pixels) expected.push_back(p & 0xffffff);
    EXPECT_TRUE(Pixels(counts.picture) == expected);
    // Nothing changed since: no render.
    renderer.Changed();
    QTest::qWait(300);
    EXPECT_EQ(counts.starts, 2);
}

TEST(PovRayPanel, ShowsThePictureAtItsOwnSizeAndAgainWithAntialiasing)
{
    Framed framed;
    framed.doc->OnShapeCylinder(framed.view.m_state);
    // From the side: seen along its axis a tube shows nothing but its edge-on walls.
    framed.view.OnViewAxisY();
    CPreviewPanel panel(framed.view);
    panel.AntialiasAction()->setChecked(false);
    panel.resize(240, 180);
    panel.show();
    ASSERT_TRUE(WaitFor([&] { return !panel.Picture().isNull(); })) << panel.Note().toStdString();
    const QImage plain = panel.Picture();
    EXPECT_EQ(plain.size(), panel.PictureSize());
    EXPECT_GT(panel.PictureSize().width(), 100);
    // The cylinder is there: its middle differs from the corner's background.
    EXPECT_NE(plain.pixel(plain.width() / 2, plain.height() / 2), plain.pixel(0, 0));

    panel.AntialiasAction()->setChecked(true);
    ASSERT_TRUE(WaitFor([&] { return !panel.IsRendering() && panel.Picture() != plain; }));
    EXPECT_EQ(panel.Picture().size(), plain.size());
    panel.AntialiasAction()->setChecked(false);
}

TEST(PreviewPanel, ModelWithoutTrianglesShowsTheNote)
{
    Framed framed;
    framed.doc->OnShapeCircle(framed.view.m_state);
    CPreviewPanel panel(framed.view);
    panel.resize(240, 180);
    panel.show();
    ASSERT_TRUE(WaitFor([&] { return !panel.Note().isEmpty(); }));
    EXPECT_EQ(panel.Note().toStdString(), kNoTrianglesNote);
    EXPECT_FALSE(panel.IsRendering());
    EXPECT_TRUE(panel.Picture().isNull());
}

TEST(PreviewPanel, MissingPovRayIsSaidOnceInThePanelNeverAsADialog)
{
    Framed framed;
    framed.doc->OnShapePyramid(framed.view.m_state);
    CPreviewPanel panel(framed.view);
    panel.Renderer().SetProgram(QStringLiteral("/nonexistent/povray"));
    Counts counts;
    Count(panel.Renderer(), counts);
    panel.resize(240, 180);
    panel.show();
    ASSERT_TRUE(WaitFor([&] { return counts.notes > 0 && !panel.IsRendering(); }));
    EXPECT_EQ(panel.Note().toStdString(),
              PovRayMissingReason("/nonexistent/povray", "No such file or directory"));
    // Every later change fails the same way, and nothing more is said.
    for (int k = 0; k < 3; ++k) {
        framed.view.OnViewZoomIn();
        panel.Changed();
        ASSERT_TRUE(WaitFor([&] { return counts.starts == k + 2 && !panel.IsRendering(); }));
    }
    EXPECT_EQ(counts.notes, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(panel.Note().toStdString(),
              PovRayMissingReason("/nonexistent/povray", "No such file or directory"));
}

TEST_F(ShellTest, F9OpensThePreviewAndEveryCommandRendersItAgain)
{
    frame->show();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    CPreviewPanel* panel = frame->PreviewPanel();
    ASSERT_TRUE(panel->isHidden());
    QTest::keyClick(frame.get(), Qt::Key_F9);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(WaitFor([&] { return panel->width() > frame->width() / 5; }, 2000)) << panel->width();
    // A new model has no triangles.
    ASSERT_TRUE(WaitFor([&] { return !panel->Note().isEmpty(); }));
    EXPECT_EQ(panel->Note().toStdString(), kNoTrianglesNote);

    // A shape gives triangles, and the panel renders them (with a POV-Ray that is not there).
    panel->Renderer().SetProgram(QStringLiteral("/nonexistent/povray"));
    Counts counts;
    Count(panel->Renderer(), counts);
    // (A box added along Z is a tube along Z, seen edge-on: the panel says so.)
    frame->Dispatch(ID_SHAPE_BOX);
    ASSERT_TRUE(WaitFor([&] { return panel->Note().startsWith(QLatin1String("Every triangle is seen edge-on")); }));
    frame->Dispatch(ID_EDIT_UNDO);
    frame->Dispatch(ID_SHAPE_PYRAMID);
    ASSERT_TRUE(WaitFor([&] { return panel->Note().startsWith(QLatin1String("Cannot run POV-Ray")); }));
    // The wheel zooms about the pointer without a command; the panel follows it too.
    ASSERT_TRUE(WaitFor([&] { return !panel->IsRendering(); }));
    const int starts = counts.starts;
    const QPointF at(50, 50);
    QWheelEvent wheel(at, frame->ViewWidget()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(frame->ViewWidget(), &wheel);
    ASSERT_TRUE(WaitFor([&] { return counts.starts == starts + 1; }));
    // Closed, it renders nothing; undone, the model has no triangles again.
    panel->close();
    frame->Dispatch(ID_EDIT_UNDO);
    QTest::qWait(300);
    EXPECT_TRUE(panel->Note().startsWith(QLatin1String("Cannot run POV-Ray")));
    frame->Dispatch(ID_VIEW_RENDER_PREVIEW);
    ASSERT_TRUE(WaitFor([&] { return panel->Note().toStdString() == kNoTrianglesNote; }));
}

// The second side panel opened shares the side with the first, not a sliver of its size hint.
TEST_F(ShellTest, TheSecondSidePanelTakesHalfTheSide)
{
    frame->resize(1200, 900);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    frame->Dispatch(ID_VIEW_RENDER_PREVIEW);
    frame->Dispatch(ID_VIEW_3D);
    QDockWidget* preview = frame->PreviewPanel();
    QDockWidget* shaded = frame->ShadedPanel();
    ASSERT_TRUE(preview->isVisible() && shaded->isVisible());
    EXPECT_TRUE(WaitFor([&] { return shaded->height() > (preview->height() + shaded->height()) / 3; }, 2000))
        << shaded->height() << " of " << preview->height() + shaded->height();
}

TEST(PreviewPanel, PrivateFolderGoesWithTheRendererEvenWhileItRenders)
{
    Framed framed;
    framed.doc->OnShapeBox(framed.view.m_state);
    QTemporaryDir dir;
    auto renderer = std::make_unique<CPreviewRenderer>(framed.Source(80, 60));
    renderer->SetProgram(Script(dir, QStringLiteral("exec sleep 30")));
    // No folder until there is something to render.
    EXPECT_EQ(renderer->Folder(), QString());
    renderer->Changed();
    ASSERT_TRUE(WaitFor([&] { return renderer->IsRendering(); }));
    const QString folder = renderer->Folder();
    EXPECT_TRUE(QDir(folder).exists());
    EXPECT_FALSE(QDir(folder).entryList(QDir::Files).isEmpty());
    renderer.reset();
    EXPECT_FALSE(QDir(folder).exists());
}

// A render that takes too long is ended, and the panel says it was cut short.
TEST(PreviewPanel, SaysWhenARenderWasCutShort)
{
    Framed framed;
    framed.doc->OnShapeBox(framed.view.m_state);
    QTemporaryDir dir;
    CPreviewRenderer renderer(framed.Source(80, 60));
    renderer.SetProgram(Script(dir, QStringLiteral("exec sleep 30")));
    renderer.SetTimeLimit(std::chrono::milliseconds(300));
    Counts counts;
    Count(renderer, counts);
    renderer.Changed();
    ASSERT_TRUE(WaitFor([&] { return counts.notes > 0 && !renderer.IsRendering(); }, 10000));
    EXPECT_EQ(counts.note, QStringLiteral("The render was cut short: POV-Ray did not finish within 0.3 seconds and "
                                          "was stopped."));
    EXPECT_EQ(counts.pictures, 0);
}

// The scene is made on a thread of its own: the window goes on while it is made, a change
// meanwhile makes it once more (the first is dropped), and one made after Stop is dropped.
TEST(PreviewPanel, SceneIsMadeAsideAndAChangeMeanwhileMakesItAgain)
{
    std::atomic<bool> open{false};
    std::atomic<int> asked{0};
    CPreviewRenderer renderer([&] {
        const int scene = ++asked;
        return [&open, scene] {
            while (!open) std::this_thread::sleep_for(std::chrono::milliseconds(2));
            return PreviewJob{QStringLiteral("scene %1").arg(scene), {}, 0, 0, false};
        };
    });
    renderer.SetDelay(0);
    Counts counts;
    Count(renderer, counts);
    renderer.Changed();
    ASSERT_TRUE(WaitFor([&] { return asked == 1; }));
    renderer.Changed();
    QTest::qWait(100);
    EXPECT_EQ(asked, 1);  // one scene at a time
    open = true;
    ASSERT_TRUE(WaitFor([&] { return counts.notes > 0; }));
    QTest::qWait(100);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(counts.notes, 1);
    EXPECT_EQ(counts.note, QStringLiteral("scene 2"));

    open = false;
    renderer.Changed();
    ASSERT_TRUE(WaitFor([&] { return asked == 3; }));
    renderer.Stop();
    open = true;
    QTest::qWait(200);
    EXPECT_EQ(counts.notes, 1);
}

}  // namespace
