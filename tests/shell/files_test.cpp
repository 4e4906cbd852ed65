// Open, Save, Save As, the save prompt and the recent-file list.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include "app/command_ids.h"
#include "app/shell/settings.h"
#include "app/shell/status_bar.h"
#include "shell/shell_fixture.h"

namespace {
QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

TEST_F(ShellTest, OpenOfAnInvalidFileKeepsTheModelAndShowsTheError)
{
    frame->Dispatch(ID_SHAPE_BOX);
    const QString bad = Temp("bad.pdm");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a model");
    file.close();
    prompts.openAnswers << bad;
    prompts.saveChoices << SaveChoice::Discard;
    frame->Dispatch(ID_FILE_OPEN);
    EXPECT_EQ(prompts.lastFilter, QStringLiteral(" Files (*.pdm)"));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(bad)) << prompts.errors[0].toStdString();
    EXPECT_EQ(doc->GetVertexCount(), 8);
    EXPECT_TRUE(frame->RecentFiles().Files().isEmpty());
    EXPECT_TRUE(frame->windowTitle().startsWith(QStringLiteral("Untitled")));

    // A missing file: the reason is named too, and nothing changes.
    prompts.openAnswers << Temp("missing.pdm");
    prompts.saveChoices << SaveChoice::Discard;
    frame->Dispatch(ID_FILE_OPEN);
    ASSERT_EQ(prompts.errors.size(), 2);
    EXPECT_TRUE(prompts.errors[1].contains(QStringLiteral("missing.pdm")));
    EXPECT_EQ(doc->GetVertexCount(), 8);
}

TEST_F(ShellTest, OpenLoadsTheFileAndNamesTheCaption)
{
    const QString path = WriteCylinder("tube.pdm");
    prompts.openAnswers << path;
    frame->Dispatch(ID_FILE_OPEN);
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(doc->GetVertexCount(), 10);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("tube.pdm[*] - Polydrom"));
    EXPECT_FALSE(frame->isWindowModified());
}

TEST_F(ShellTest, SavePromptGuardsUnsavedWork)
{
    frame->Dispatch(ID_SHAPE_BOX);
    ASSERT_TRUE(doc->IsModified());

    // Cancel keeps the model; nothing is asked when there is nothing to lose.
    prompts.saveChoices << SaveChoice::Cancel;
    frame->Dispatch(ID_FILE_NEW);
    EXPECT_EQ(prompts.saveQuestions, QStringList{"Untitled"});
    EXPECT_EQ(doc->GetVertexCount(), 8);

    // Save on an untitled model asks for a name, appends ".pdm", saves, then goes on.
    prompts.saveChoices << SaveChoice::Save;
    prompts.saveAnswers << Temp("boxed");
    frame->Dispatch(ID_FILE_NEW);
    EXPECT_EQ(prompts.saveSuggestions, QStringList{"Untitled.pdm"});
    EXPECT_EQ(Bytes(Temp("boxed.pdm")).size(), 8 + 16 * 8 + 8 * 16 + 12 + 12 * 8);  // and the box's 8 faces
    EXPECT_EQ(doc->GetVertexCount(), 0);
    EXPECT_FALSE(doc->IsModified());
    prompts.saveQuestions.clear();
    frame->Dispatch(ID_FILE_NEW);
    EXPECT_TRUE(prompts.saveQuestions.isEmpty());

    // Cancelling the Save As dialog cancels the whole command.
    frame->Dispatch(ID_SHAPE_SQUARE);
    prompts.saveChoices << SaveChoice::Save;
    frame->Dispatch(ID_FILE_NEW);
    EXPECT_EQ(doc->GetVertexCount(), 4);

    // Don't Save discards.
    prompts.saveChoices << SaveChoice::Discard;
    frame->Dispatch(ID_FILE_NEW);
    EXPECT_EQ(doc->GetVertexCount(), 0);
}

TEST_F(ShellTest, ClosingAModifiedWindowAsksFirst)
{
    frame->show();
    frame->Dispatch(ID_SHAPE_BOX);
    prompts.saveChoices << SaveChoice::Cancel;
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    prompts.saveChoices << SaveChoice::Discard;
    frame->Dispatch(ID_APP_EXIT);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(prompts.saveQuestions.size(), 2);
}

TEST_F(ShellTest, SaveReportsAFailureNamingTheFile)
{
    frame->Dispatch(ID_SHAPE_BOX);
    const QString target = Temp("no/such/folder/box.pdm");
    prompts.saveAnswers << target;
    frame->Dispatch(ID_FILE_SAVE_AS);
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(target)) << prompts.errors[0].toStdString();
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(doc->GetPathName().empty());

    // Save of a named model writes without asking; a typed extension is kept.
    prompts.saveAnswers << Temp("box.model");
    frame->Dispatch(ID_FILE_SAVE_AS);
    EXPECT_TRUE(QFileInfo::exists(Temp("box.model")));
    frame->Dispatch(ID_SHAPE_SQUARE);
    frame->Dispatch(ID_FILE_SAVE);
    EXPECT_EQ(prompts.saveSuggestions.size(), 2);
    EXPECT_EQ(Bytes(Temp("box.model")).size(), 8 + 16 * 12 + 8 * 20 + 12 + 12 * 8);
}

TEST_F(ShellTest, RecentFileListKeepsSixNewestFirst)
{
    EXPECT_TRUE(frame->RecentPlaceholder()->isVisible());
    QStringList paths;
    for (int i = 0; i < 7; ++i) paths << WriteCylinder(QStringLiteral("m%1.pdm").arg(i));
    for (const QString& path : paths) ASSERT_TRUE(frame->OpenFile(path));

    const QStringList& files = frame->RecentFiles().Files();
    ASSERT_EQ(files.size(), 6);
    EXPECT_EQ(files.front(), paths[6]);
    EXPECT_EQ(files.back(), paths[1]);
    EXPECT_FALSE(frame->RecentPlaceholder()->isVisible());
    EXPECT_TRUE(frame->RecentFileActions()[0]->isVisible());
    EXPECT_EQ(frame->RecentFileActions()[0]->text(), QStringLiteral("&1 ") + paths[6]);
    EXPECT_EQ(frame->RecentFileActions()[0]->statusTip(), QStringLiteral("Open this document"));

    // Stored under the framework's keys, and read back by the next window.
    auto settings = OpenSettings();
    EXPECT_EQ(settings->value("Recent File List/File1").toString(), paths[6]);
    EXPECT_EQ(settings->value("Recent File List/File6").toString(), paths[1]);
    auto other = std::make_unique<CPolydromDoc>();
    CMainFrame second(*other, prompts);
    EXPECT_EQ(second.RecentFiles().Files(), files);

    // An entry opens its file; one that fails leaves the list.
    frame->Dispatch(ID_FILE_MRU_FILE1 + 2);
    EXPECT_EQ(QString::fromStdString(doc->GetPathName()), paths[4]);
    EXPECT_EQ(frame->RecentFiles().Files().front(), paths[4]);
    QFile::remove(paths[5]);
    const int before = int(frame->RecentFiles().Files().size());
    const int gone = int(frame->RecentFiles().Files().indexOf(paths[5]));
    ASSERT_GE(gone, 0);
    frame->Dispatch(ID_FILE_MRU_FILE1 + gone);
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(frame->RecentFiles().Files().size(), before - 1);
    EXPECT_FALSE(frame->RecentFiles().Files().contains(paths[5]));
}

TEST_F(ShellTest, ExportAsWritesTheFormatTheNameOrFilterChooses)
{
    frame->Dispatch(ID_SHAPE_BOX);
    prompts.exportAnswers << Temp("box.stl");
    frame->Dispatch(ID_FILE_EXPORT_AS);
    EXPECT_TRUE(prompts.lastFilter.contains(QStringLiteral("Wavefront OBJ (*.obj)")));
    // Binary STL: 80-byte header, count, 50 bytes per triangle.
    const QByteArray stl = Bytes(Temp("box.stl"));
    ASSERT_GE(stl.size(), 84);
    EXPECT_EQ(stl.size(), 84 + 50 * qFromLittleEndian<quint32>(stl.constData() + 80));
    // The box primitive has no top or bottom: the report warns that it is not closed.
    EXPECT_EQ(frame->StatusBar()->currentMessage().toStdString(),
              "Exported 8 triangles to box.stl (1 open or non-manifold piece)");

    // A name without a known extension takes the chosen filter's.
    prompts.exportAnswers << Temp("box");
    prompts.exportFilter = QStringLiteral("Wavefront OBJ (*.obj)");
    frame->Dispatch(ID_FILE_EXPORT_AS);
    EXPECT_TRUE(Bytes(Temp("box.obj")).startsWith("v ") || Bytes(Temp("box.obj")).contains("\nv "));
    // Exporting is no change to the model.
    EXPECT_EQ(doc->History().UndoLabel(), "Box");
}

TEST_F(ShellTest, ExportFailuresGetTheDialogASaveFailureGets)
{
    frame->Dispatch(ID_SHAPE_BOX);
    // File > Export POVFILE where a folder takes the name object.pov.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("object.pov")));
    const QString oldDir = QDir::currentPath();
    QDir::setCurrent(dir.path());
    frame->Dispatch(ID_FILE_EXPORT_POV);
    QDir::setCurrent(oldDir);
    ASSERT_EQ(prompts.errors.size(), 1);
    // The full path once, then the reason.
    EXPECT_EQ(prompts.errors[0], QStringLiteral("Cannot export %1: it is a folder").arg(Temp("object.pov")));
    EXPECT_TRUE(frame->StatusBar()->currentMessage().isEmpty());

    // File > Export As... into a folder that does not exist.
    const QString target = Temp("no/such/folder/box.stl");
    prompts.exportAnswers << target;
    frame->Dispatch(ID_FILE_EXPORT_AS);
    ASSERT_EQ(prompts.errors.size(), 2);
    EXPECT_EQ(prompts.errors[1], QStringLiteral("Cannot export %1: No such file or directory").arg(target));

    // A refusal is no failure of a file: it stays a word in the status bar.
    doc->m_limits.vertices = doc->GetVertexCount() + 3;
    frame->Dispatch(ID_SHAPE_CYLINDER);
    EXPECT_EQ(prompts.errors.size(), 2);
    EXPECT_FALSE(frame->StatusBar()->currentMessage().isEmpty());
}

TEST_F(ShellTest, ExportAsProposesTheModelsNameInTheFormatUsedLast)
{
    // A new model: its name, in the first format.
    frame->Dispatch(ID_SHAPE_BOX);
    frame->Dispatch(ID_FILE_EXPORT_AS);
    ASSERT_EQ(prompts.exportSuggestions.size(), 1);
    EXPECT_EQ(prompts.exportSuggestions[0], QStringLiteral("Untitled.inc"));
    EXPECT_EQ(prompts.exportSelectedFilters[0], QStringLiteral("POV-Ray mesh2 (*.inc)"));

    // A saved model: beside its file; after an STL export, STL is proposed.
    prompts.saveAnswers << Temp("crate.pdm");
    frame->Dispatch(ID_FILE_SAVE_AS);
    prompts.exportAnswers << Temp("crate.stl");
    frame->Dispatch(ID_FILE_EXPORT_AS);
    EXPECT_EQ(prompts.exportSuggestions[1], Temp("crate.inc"));
    ASSERT_TRUE(QFileInfo::exists(Temp("crate.stl")));
    frame->Dispatch(ID_FILE_EXPORT_AS);
    EXPECT_EQ(prompts.exportSuggestions[2], Temp("crate.stl"));
    EXPECT_EQ(prompts.exportSelectedFilters[2], QStringLiteral("STL (binary) (*.stl)"));

    // A name without an extension takes the filter in force, which is remembered the same way,
    // also by the next window.
    prompts.exportAnswers << Temp("crate");
    prompts.exportFilter = QStringLiteral("Wavefront OBJ (*.obj)");
    frame->Dispatch(ID_FILE_EXPORT_AS);
    ASSERT_TRUE(QFileInfo::exists(Temp("crate.obj")));
    auto other = std::make_unique<CPolydromDoc>();
    CMainFrame next(*other, prompts);
    next.Dispatch(ID_FILE_EXPORT_AS);
    EXPECT_EQ(prompts.exportSuggestions.last(), QStringLiteral("Untitled.obj"));
}

TEST_F(ShellTest, ExportAsTurnsTheObjUnlessTheBoxIsCleared)
{
    frame->Dispatch(ID_SHAPE_BOX);
    prompts.exportAnswers << Temp("turned.obj") << Temp("stored.obj") << Temp("again.obj");
    frame->Dispatch(ID_FILE_EXPORT_AS);
    prompts.exportConvertAnswer = false;
    frame->Dispatch(ID_FILE_EXPORT_AS);
    prompts.exportConvertAnswer.reset();
    frame->Dispatch(ID_FILE_EXPORT_AS);
    EXPECT_EQ(prompts.exportConvertShown, (QList<bool>{true, true, false}));

    // The same points, y and z negated in the turned file; the box's own in the other.
    auto points = [&](const QString& name) {
        QList<QList<double>> found;
        for (const QByteArray& line : Bytes(Temp(name)).split('\n'))
            if (line.startsWith("v ")) {
                const QList<QByteArray> words = line.split(' ');
                found.append({words[1].toDouble(), words[2].toDouble(), words[3].toDouble()});
            }
        return found;
    };
    const QList<QList<double>> turned = points(QStringLiteral("turned.obj")), stored = points(QStringLiteral("stored.obj"));
    ASSERT_EQ(turned.size(), 8);
    ASSERT_EQ(stored.size(), 8);
    for (qsizetype k = 0; k < 8; ++k)
        EXPECT_EQ(turned[k], (QList<double>{stored[k][0], -stored[k][1], -stored[k][2]}));
    EXPECT_TRUE(stored.contains(QList<double>{doc->m_x[0], doc->m_y[0], doc->m_z[0]}));
}
