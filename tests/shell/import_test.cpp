// File > Import...: the dialog's filters, the undo step and report, refusals and
// cancelling, and files dropped on the window.
#include <algorithm>

#include <QApplication>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QProgressDialog>
#include <QTest>
#include <QUrl>

#include "app/command_ids.h"
#include "app/shell/status_bar.h"
#include "mesh_files.h"
#include "shell/shell_fixture.h"

namespace {

const std::vector<mesh_files::Point> kTetra = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

QString WriteFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

QString WriteTetra(const QString& path)
{
    return WriteFile(path, mesh_files::Obj(kTetra, {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}}));
}

// Drops the files on the window as a file manager would, and lets the queued work run.
bool Drop(CMainFrame& frame, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    const QPoint at = frame.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
}

}  // namespace

TEST_F(ShellTest, ImportAddsTheMeshAsOneUndoStep)
{
    frame->Dispatch(ID_SHAPE_BOX);
    prompts.importAnswers << WriteTetra(Temp("tetra.obj"));
    frame->Dispatch(ID_FILE_IMPORT);

    // The library's own formats, all of them first.
    EXPECT_TRUE(prompts.lastFilter.startsWith(QStringLiteral("All supported meshes (*."))) << prompts.lastFilter.toStdString();
    const QString all = prompts.lastFilter.section(QStringLiteral(";;"), 0, 0);
    for (const char* pattern : {"*.obj", "*.stl", "*.ply", "*.off", "*.3ds", "*.gltf", "*.glb", "*.dae"})
        EXPECT_TRUE(all.contains(QLatin1String(pattern))) << pattern;
    EXPECT_TRUE(prompts.lastFilter.endsWith(QStringLiteral(";;All files (*)")));

    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();
    EXPECT_EQ(doc->GetVertexCount(), 8 + 4);
    EXPECT_EQ(doc->GetEdgeCount(), 16 + 6);
    // The reading, and then the adding, which is done on a worker thread too.
    EXPECT_EQ(prompts.progressTexts,
              QStringList({QStringLiteral("Importing tetra.obj..."), QStringLiteral("Adding tetra.obj to the model...")}));
    EXPECT_EQ(frame->StatusBar()->currentMessage(), QStringLiteral("Imported 4 vertices, 6 edges and 4 faces from tetra.obj"));
    EXPECT_EQ(frame->Action(ID_EDIT_UNDO)->text(), QStringLiteral("&Undo Import\tCtrl+Z"));
    EXPECT_TRUE(frame->isWindowModified());

    frame->Dispatch(ID_EDIT_UNDO);
    EXPECT_EQ(doc->GetVertexCount(), 8);
    EXPECT_EQ(doc->GetEdgeCount(), 16);
    for (int v = 0; v < 8; ++v) EXPECT_EQ(doc->m_sel[v], 1) << "the box's selection comes back";
}

TEST_F(ShellTest, ARefusedImportShowsWhyAndChangesNothing)
{
    frame->Dispatch(ID_SHAPE_CYLINDER);
    const std::string before = std::to_string(doc->GetVertexCount()) + "/" + std::to_string(doc->GetEdgeCount());
    prompts.importAnswers << WriteFile(Temp("broken.stl"), "solid x\n  facet normal 0 0 1\n    outer loop\n");
    frame->Dispatch(ID_FILE_IMPORT);
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].startsWith(QStringLiteral("Cannot import \"%1\": ").arg(Temp("broken.stl"))))
        << prompts.errors[0].toStdString();
    EXPECT_EQ(std::to_string(doc->GetVertexCount()) + "/" + std::to_string(doc->GetEdgeCount()), before);
    EXPECT_EQ(frame->Action(ID_EDIT_UNDO)->text(), QStringLiteral("&Undo Cylinder\tCtrl+Z"));
    EXPECT_EQ(prompts.errorsOverProgress, 0) << "the progress dialog would cover the message and block it";

    // Cancelling the dialog does nothing at all; it opened where the last file came from.
    frame->Dispatch(ID_FILE_IMPORT);
    EXPECT_EQ(prompts.importFolders, QStringList({QString(), QFileInfo(Temp("broken.stl")).absolutePath()}));
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(prompts.progressTexts.size(), 1);
}

TEST_F(ShellTest, CancellingTheProgressLeavesTheModel)
{
    prompts.importAnswers << WriteFile(Temp("grid.obj"), mesh_files::GridObj(30, 30));
    prompts.onProgress = [](float) { return false; };
    frame->Dispatch(ID_FILE_IMPORT);
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_FALSE(prompts.progress.isEmpty());
    EXPECT_EQ(doc->GetVertexCount(), 0);
    EXPECT_EQ(frame->StatusBar()->currentMessage(), QStringLiteral("Import of grid.obj cancelled."));
    EXPECT_FALSE(frame->Action(ID_EDIT_UNDO)->isEnabled());
}

TEST_F(ShellTest, ADroppedMeshIsImported)
{
    EXPECT_FALSE(Drop(*frame, {WriteFile(Temp("notes.txt"), "not a mesh")}));
    ASSERT_TRUE(Drop(*frame, {WriteTetra(Temp("a.obj")), WriteTetra(Temp("b.obj"))}));
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join('\n').toStdString();
    // The same positions twice: each file its own mesh, its own step.
    EXPECT_EQ(doc->GetVertexCount(), 8);
    EXPECT_EQ(doc->History().StepCount(), 2u);
    EXPECT_EQ(doc->History().UndoLabel(), "Import");
    EXPECT_TRUE(prompts.importAnswers.isEmpty());
}

TEST_F(ShellTest, ADroppedModelIsOpenedAfterTheSavePrompt)
{
    const QString model = WriteCylinder("tube.pdm");
    frame->Dispatch(ID_SHAPE_BOX);
    prompts.saveChoices << SaveChoice::Cancel;
    ASSERT_TRUE(Drop(*frame, {WriteTetra(Temp("a.obj")), model}));
    EXPECT_EQ(prompts.saveQuestions.size(), 1);
    EXPECT_EQ(doc->GetVertexCount(), 8) << "cancelled: the box stays and nothing is imported";

    prompts.saveChoices << SaveChoice::Discard;
    ASSERT_TRUE(Drop(*frame, {model}));
    EXPECT_EQ(doc->GetVertexCount(), 10);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("tube.pdm[*] - Polydrom"));
}

TEST(QtProgress, AppearsAfterAMomentAndTellsOfTheCancelClick)
{
    CQtPrompts prompts;
    QWidget window;
    window.show();
    const std::unique_ptr<CProgressPrompt> progress = prompts.StartProgress(&window, QStringLiteral("Importing..."), true);
    auto dialog = [&] { return window.findChild<QProgressDialog*>(); };
    ASSERT_NE(dialog(), nullptr);
    EXPECT_TRUE(progress->Update(0.1f));
    EXPECT_FALSE(dialog()->isVisible()) << "a quick import shows nothing";
    QTest::qWait(500);
    EXPECT_TRUE(progress->Update(0.5f));
    ASSERT_TRUE(dialog()->isVisible());
    EXPECT_EQ(dialog()->value(), 50);
    EXPECT_EQ(dialog()->labelText(), QStringLiteral("Importing..."));
    EXPECT_TRUE(progress->Update(-1.0f));
    EXPECT_EQ(dialog()->maximum(), 0) << "busy while the importer does not say how far it is";
    dialog()->cancel();
    EXPECT_FALSE(progress->Update(0.6f));
}

TEST_F(ShellTest, TheImportDialogTurnsAndScalesAndRemembersTheAxisChoice)
{
    // On at first: the tetrahedron's y and z change sign, after the scale.
    prompts.importAnswers << WriteTetra(Temp("tetra.obj"));
    prompts.importScale = 2;
    frame->Dispatch(ID_FILE_IMPORT);
    ASSERT_EQ(doc->GetVertexCount(), 4);
    EXPECT_EQ(prompts.importConvertShown, QList<bool>{true});
    EXPECT_EQ(prompts.importHints, QStringList{QStringLiteral("The mesh is 1 x 1 x 1 units: scale 2 makes it 2 x 2 x 2.")});
    EXPECT_EQ(*std::min_element(doc->m_y.begin(), doc->m_y.begin() + 4), -2.0f);
    EXPECT_EQ(*std::min_element(doc->m_z.begin(), doc->m_z.begin() + 4), -2.0f);
    EXPECT_EQ(*std::max_element(doc->m_x.begin(), doc->m_x.begin() + 4), 2.0f);

    // Turned off, the file's coordinates stand, and the next dialog shows it off.
    prompts.importAnswers << Temp("tetra.obj") << Temp("tetra.obj");
    prompts.importConvertAnswer = false;
    prompts.importScale = 1;
    frame->Dispatch(ID_FILE_IMPORT);
    ASSERT_EQ(doc->GetVertexCount(), 8);
    EXPECT_EQ(*std::max_element(doc->m_y.begin() + 4, doc->m_y.begin() + 8), 1.0f);

    // Cancelled, nothing is added and no step is made.
    prompts.importCancel = true;
    frame->Dispatch(ID_FILE_IMPORT);
    EXPECT_EQ(prompts.importConvertShown, (QList<bool>{true, true, false}));
    EXPECT_EQ(doc->GetVertexCount(), 8);
    EXPECT_EQ(frame->StatusBar()->currentMessage(), QStringLiteral("Import of tetra.obj cancelled."));
    EXPECT_EQ(doc->History().StepCount(), 2u);
}
