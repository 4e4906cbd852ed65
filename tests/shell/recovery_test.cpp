// The recovery copy in the shell: it follows the unsaved model, goes when the model is
// saved or left, survives a killed program, and is offered, recovered or put aside at start-up.
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "app/command_ids.h"
#include "app/shell/recovery_dialog.h"
#include "app/shell/recovery_offer.h"
#include "app/shell/recovery_writer.h"
#include "app/shell/status_bar.h"
#include "framework/archive.h"
#include "framework/recovery_store.h"
#include "model/recovery_copy.h"
#include "shell/shell_fixture.h"

namespace {

constexpr int kPatienceMs = 10000;

std::string Native(const QString& path) { return QFile::encodeName(path).toStdString(); }

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ModelBytes(CPolydromDoc& doc)
{
    CArchive ar;
    doc.Serialize(ar);
    return QByteArray(reinterpret_cast<const char*>(ar.Bytes().data()), qsizetype(ar.Bytes().size()));
}

// A process that has ended: a child that exits at once, waited for.
ProcessIdentity EndedProcess()
{
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return ProcessIdentity{child, CurrentProcess().boot, "1"};
}

class FakeRecoveryPrompt : public CRecoveryPrompt {
public:
    QList<RecoveryAnswer> answers;
    QList<QList<RecoveryOffer>> asked;
    QStringList problems;

    RecoveryAnswer AskRecovery(QWidget*, const QList<RecoveryOffer>& offers) override
    {
        asked.append(offers);
        return answers.isEmpty() ? RecoveryAnswer{} : answers.takeFirst();
    }
    void ShowRecoveryProblem(QWidget*, const QString& text) override { problems.append(text); }
};

class RecoveryTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        folder = Temp(QStringLiteral("recovery"));
    }
    void TearDown() override
    {
        writer.reset();
        ShellTest::TearDown();
    }
    void StartWriter() { writer = std::make_unique<CRecoveryWriter>(*frame, *doc, CRecoveryStore(Native(folder))); }
    // The model files in the recovery folder.
    QStringList Copies() const { return QDir(folder).entryList({QStringLiteral("*.pdm")}, QDir::Files); }
    // A change, and its copy written without waiting for the timer.
    bool ChangeAndCopy()
    {
        frame->Dispatch(ID_SHAPE_BOX);
        writer->WriteNow();
        writer->WaitUntilIdle();
        return Copies().size() == 1 && FileBytes(writer->ModelPath()) == ModelBytes(*doc);
    }
    // What a program that ended without saving leaves behind.
    void LeaveCopy(const QByteArray& bytes, const QString& original, qint64 time)
    {
        CRecoveryStore ended(Native(folder), EndedProcess());
        ASSERT_TRUE(ended.Write(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()),
                                Native(original), time));
    }
    // A cylinder and a box: what the leftovers hold.
    static QByteArray TwoShapes()
    {
        auto model = std::make_unique<CPolydromDoc>();
        model->OnNewDocument();
        model->OnShapeCylinder({});
        model->OnShapeBox({});
        return ModelBytes(*model);
    }

    QString folder;
    std::unique_ptr<CRecoveryWriter> writer;
};

TEST_F(RecoveryTest, ACopyOfTheUnsavedModelAppearsSoonAfterAChange)
{
    // The write starts this long after a change, leaving the rest of two seconds for the disk.
    EXPECT_LE(kRecoveryDelayMs, 1000);
    StartWriter();
    frame->Dispatch(ID_VIEW_ZOOM_IN);
    EXPECT_TRUE(writer->ModelPath().isEmpty()) << "a saved model has no copy";

    frame->Dispatch(ID_SHAPE_BOX);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !writer->ModelPath().isEmpty(); }, kPatienceMs));
    const QString copy = writer->ModelPath();
    EXPECT_EQ(QFileInfo(copy).path(), folder);
    EXPECT_EQ(FileBytes(copy), ModelBytes(*doc));
    RecoveryInfo info;
    ASSERT_TRUE(ParseRecoveryInfo(FileBytes(copy.chopped(4) + QStringLiteral(".info")).toStdString(), &info));
    EXPECT_EQ(info.original, "");
    EXPECT_EQ(info.process, CurrentProcess());
    EXPECT_LE(std::abs(info.time - QDateTime::currentSecsSinceEpoch()), 60);

    // A burst of changes: the copy follows the last one.
    for (int i = 0; i < 5; ++i) frame->Dispatch(ID_DO_GROW);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileBytes(copy) == ModelBytes(*doc); }, kPatienceMs));
    EXPECT_EQ(Copies().size(), 1);
}

TEST_F(RecoveryTest, SavingOrLeavingTheModelRemovesTheCopy)
{
    StartWriter();
    ASSERT_TRUE(ChangeAndCopy());
    prompts.saveAnswers << Temp(QStringLiteral("box.pdm"));
    frame->Dispatch(ID_FILE_SAVE);
    writer->WaitUntilIdle();
    EXPECT_TRUE(Copies().isEmpty()) << "Save";

    ASSERT_TRUE(ChangeAndCopy());
    frame->Dispatch(ID_EDIT_UNDO);
    writer->WaitUntilIdle();
    EXPECT_TRUE(Copies().isEmpty()) << "undone back to the save";

    ASSERT_TRUE(ChangeAndCopy());
    prompts.saveChoices << SaveChoice::Cancel;
    frame->Dispatch(ID_FILE_NEW);
    writer->WaitUntilIdle();
    EXPECT_EQ(Copies().size(), 1) << "Cancel keeps the model, and its copy";

    prompts.saveChoices << SaveChoice::Discard;
    frame->Dispatch(ID_FILE_NEW);
    writer->WaitUntilIdle();
    EXPECT_TRUE(Copies().isEmpty()) << "New, Don't Save";

    ASSERT_TRUE(ChangeAndCopy());
    prompts.openAnswers << Temp(QStringLiteral("box.pdm"));
    prompts.saveChoices << SaveChoice::Discard;
    frame->Dispatch(ID_FILE_OPEN);
    writer->WaitUntilIdle();
    EXPECT_TRUE(Copies().isEmpty()) << "Open, Don't Save";

    ASSERT_TRUE(ChangeAndCopy());
    writer.reset();
    EXPECT_TRUE(Copies().isEmpty()) << "a clean exit";
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty()) << "descriptions too";
}

TEST_F(RecoveryTest, AFailedWriteIsReportedOnceInTheStatusBarAndTriedAgain)
{
    // The recovery folder cannot be made while a file stands in its way (as on a full disk).
    QFile blocker(Temp(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    folder = Temp(QStringLiteral("blocked/recovery"));
    StartWriter();
    QSignalSpy messages(frame->StatusBar(), &QStatusBar::messageChanged);
    for (unsigned id : {ID_SHAPE_BOX, ID_SHAPE_CONE, ID_DO_GROW}) {
        frame->Dispatch(id);
        writer->WriteNow();
        writer->WaitUntilIdle();
        QCoreApplication::processEvents();
    }
    int reports = 0;
    for (const QList<QVariant>& message : messages)
        if (message[0].toString().contains(QStringLiteral(": recovery copy not written; trying again"))) ++reports;
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(writer->Failure().contains(folder)) << writer->Failure().toStdString();
    // The reason first, where a narrow status bar still shows it; the whole in the tool tip.
    EXPECT_EQ(frame->StatusBar()->currentMessage(),
              QStringLiteral("Not a directory: recovery copy not written; trying again"));
    EXPECT_EQ(frame->StatusBar()->toolTip(), writer->Failure());
    EXPECT_TRUE(prompts.errors.isEmpty()) << "no dialog";

    // Once the way is clear the copy appears without another change.
    ASSERT_TRUE(QFile::remove(blocker.fileName()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !writer->ModelPath().isEmpty(); }, kPatienceMs));
    EXPECT_EQ(FileBytes(writer->ModelPath()), ModelBytes(*doc));
    EXPECT_TRUE(writer->Failure().isEmpty());
}

TEST_F(RecoveryTest, RecoverRestoresTheModelAsUnsavedWorkOnTheOriginalFile)
{
    const QString original = WriteCylinder(QStringLiteral("tube.pdm"));
    const QByteArray work = TwoShapes();
    LeaveCopy(work, original, 1714567890);
    FakeRecoveryPrompt ask;
    ask.answers << RecoveryAnswer{RecoveryChoice::Recover, 0};
    CRecoveryStore store(Native(folder));
    OfferRecoveredWork(*frame, store, ask);

    ASSERT_EQ(ask.asked.size(), 1);
    ASSERT_EQ(ask.asked[0].size(), 1);
    EXPECT_EQ(ask.asked[0][0].original, original);
    EXPECT_EQ(ask.asked[0][0].time, QDateTime::fromSecsSinceEpoch(1714567890));
    EXPECT_EQ(ModelBytes(*doc), work);
    EXPECT_EQ(doc->GetPathName(), Native(original));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("tube.pdm[*] - Polydrom"));
    EXPECT_TRUE(frame->isWindowModified());
    EXPECT_TRUE(frame->RecentFiles().Files().isEmpty()) << "the copy is no file of the user's";

    // The copy is this program's now: no other start offers it, and Save writes the
    // original and takes the copy away.
    CRecoveryStore another(Native(folder));
    EXPECT_TRUE(another.FindLeftovers(CheckModelFile).empty());
    writer = std::make_unique<CRecoveryWriter>(*frame, *doc, std::move(store));
    frame->Dispatch(ID_FILE_SAVE);
    writer->WaitUntilIdle();
    EXPECT_EQ(FileBytes(original), work);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
}

// A copy whose recorded original is no model (a text file): Save asks before it goes.
TEST_F(RecoveryTest, SaveAsksBeforeReplacingAnOriginalThatIsNoModel)
{
    const QString notes = Temp(QStringLiteral("notes.txt"));
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("my notes\n");
    file.close();
    LeaveCopy(TwoShapes(), notes, 1714567890);
    FakeRecoveryPrompt ask;
    ask.answers << RecoveryAnswer{RecoveryChoice::Recover, 0};
    CRecoveryStore store(Native(folder));
    OfferRecoveredWork(*frame, store, ask);
    ASSERT_EQ(doc->GetPathName(), Native(notes));

    frame->Dispatch(ID_FILE_SAVE);
    EXPECT_EQ(prompts.replaceQuestions, QStringList{notes});
    EXPECT_EQ(FileBytes(notes), QByteArray("my notes\n"));
    EXPECT_TRUE(doc->IsModified());
    prompts.replaceOther = true;
    frame->Dispatch(ID_FILE_SAVE);
    EXPECT_EQ(FileBytes(notes), TwoShapes());
    frame->Dispatch(ID_SHAPE_BOX);
    frame->Dispatch(ID_FILE_SAVE);
    EXPECT_EQ(prompts.replaceQuestions.size(), 2) << "a model file is replaced without a question";
}

TEST_F(RecoveryTest, DiscardDeletesACopyAndLaterKeepsItForTheNextStart)
{
    LeaveCopy(TwoShapes(), Temp(QStringLiteral("old.pdm")), 100);
    LeaveCopy(TwoShapes(), QString(), 200);
    FakeRecoveryPrompt ask;
    ask.answers << RecoveryAnswer{RecoveryChoice::Discard, 1} << RecoveryAnswer{RecoveryChoice::Later, 0};
    CRecoveryStore store(Native(folder));
    OfferRecoveredWork(*frame, store, ask);
    ASSERT_EQ(ask.asked.size(), 2);
    ASSERT_EQ(ask.asked[0].size(), 2);
    EXPECT_EQ(ask.asked[0][0].original, QString()) << "newest first";
    EXPECT_EQ(ask.asked[0][1].original, Temp(QStringLiteral("old.pdm")));
    ASSERT_EQ(ask.asked[1].size(), 1);
    EXPECT_EQ(doc->GetVertexCount(), 0);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Copies().size(), 1);

    FakeRecoveryPrompt next;
    OfferRecoveredWork(*frame, store, next);
    ASSERT_EQ(next.asked.size(), 1);
    EXPECT_EQ(next.asked[0].size(), 1);
    EXPECT_EQ(next.asked[0][0].time, QDateTime::fromSecsSinceEpoch(200));
}

TEST_F(RecoveryTest, ATruncatedCopyIsRefusedWithAReasonAndKeptAside)
{
    const QByteArray work = TwoShapes();
    LeaveCopy(work.left(work.size() - 5), Temp(QStringLiteral("cut.pdm")), 100);
    FakeRecoveryPrompt ask;
    CRecoveryStore store(Native(folder));
    OfferRecoveredWork(*frame, store, ask);
    EXPECT_TRUE(ask.asked.isEmpty()) << "never offered";
    ASSERT_EQ(ask.problems.size(), 1);
    const QString& problem = ask.problems[0];
    EXPECT_TRUE(problem.contains(QStringLiteral("cut.pdm"))) << problem.toStdString();
    EXPECT_TRUE(problem.contains(QStringLiteral(": the face block of 18 faces needs"))) << problem.toStdString();
    EXPECT_FALSE(problem.contains(QStringLiteral("Cannot open"))) << "the reason, not the moved file's old name";
    EXPECT_TRUE(problem.contains(folder + QStringLiteral("/damaged"))) << problem.toStdString();
    EXPECT_TRUE(Copies().isEmpty());
    EXPECT_EQ(QDir(folder + QStringLiteral("/damaged")).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(doc->GetVertexCount(), 0);
}

TEST_F(RecoveryTest, TheDialogNamesEachCopyAndAnswersWithItsButtons)
{
    const QList<RecoveryOffer> offers{
        {QStringLiteral("/home/ann/box.pdm"), QDateTime(QDate(2024, 5, 1), QTime(12, 30, 15))},
        {QString(), QDateTime(QDate(2024, 4, 30), QTime(9, 5, 0))}};
    {
        CRecoveryDialog dialog(offers, frame.get());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Recover Unsaved Work"));
        EXPECT_EQ(dialog.List()->topLevelItem(0)->text(0), QStringLiteral("box.pdm (in /home/ann)"));
        EXPECT_EQ(dialog.List()->topLevelItem(0)->text(1), QStringLiteral("2024-05-01 12:30:15"));
        EXPECT_EQ(dialog.List()->topLevelItem(1)->text(0), QStringLiteral("Untitled"));
        EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("Recover"))->isDefault());
    }
    // Answered through the prompt, as start-up asks: pick a row, then a button or a key.
    CQtRecoveryPrompt prompt;
    auto answer = [&](int row, const std::function<void(CRecoveryDialog*)>& act) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CRecoveryDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->List()->setCurrentItem(dialog->List()->topLevelItem(row));
            act(dialog);
        });
        return prompt.AskRecovery(frame.get(), offers);
    };
    auto click = [](const char* name) {
        return [name](CRecoveryDialog* d) { d->findChild<QPushButton*>(QString::fromLatin1(name))->click(); };
    };
    RecoveryAnswer a = answer(1, click("Discard"));
    EXPECT_EQ(a.choice, RecoveryChoice::Discard);
    EXPECT_EQ(a.index, 1);
    a = answer(1, click("Recover"));
    EXPECT_EQ(a.choice, RecoveryChoice::Recover);
    EXPECT_EQ(a.index, 1);
    EXPECT_EQ(answer(0, click("Later")).choice, RecoveryChoice::Later);
    EXPECT_EQ(answer(0, [](CRecoveryDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }).choice, RecoveryChoice::Later);
    a = answer(0, [](CRecoveryDialog* d) { QTest::keyClick(d, Qt::Key_Return); });
    EXPECT_EQ(a.choice, RecoveryChoice::Recover);
    EXPECT_EQ(a.index, 0);
}

// The real program, twice at once; one is killed. Its copy is offered at the next start
// and recovered bit for bit; the other, still running, keeps its copy to itself.
TEST_F(RecoveryTest, AKilledProgramsWorkIsOfferedAtTheNextStartAndALiveOnesIsNot)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString data = home.filePath(QStringLiteral("data"));
    const QString copies = data + QStringLiteral("/Local AppWizard-Generated Applications/Polydrom/recovery");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), data);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    auto copyOf = [&](const QProcess& program) {
        return copies + QStringLiteral("/%1.pdm").arg(program.processId());
    };
    auto start = [&](QProcess& program, const QStringList& arguments) {
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(POLYDROM_BINARY), arguments);
        return program.waitForStarted() &&
               QTest::qWaitFor([&] { return QFile::exists(copyOf(program)); }, kPatienceMs);
    };

    const QString original = WriteCylinder(QStringLiteral("tube.pdm"));
    QProcess killed, running;
    const QString noSplash = QStringLiteral("--no-splash"), command = QStringLiteral("--do");
    ASSERT_TRUE(start(killed, {noSplash, original, command, QStringLiteral("shape-box")}));
    ASSERT_TRUE(start(running, {noSplash, command, QStringLiteral("shape-cone")}));
    CRecoveryStore store(Native(copies));
    EXPECT_TRUE(store.FindLeftovers(CheckModelFile).empty()) << "both programs still run";

    const QString killedCopy = copyOf(killed);  // the id is gone once it has ended
    killed.kill();
    ASSERT_TRUE(killed.waitForFinished());
    const QByteArray work = FileBytes(killedCopy);
    FakeRecoveryPrompt ask;
    ask.answers << RecoveryAnswer{RecoveryChoice::Recover, 0};
    OfferRecoveredWork(*frame, store, ask);
    ASSERT_EQ(ask.asked.size(), 1);
    ASSERT_EQ(ask.asked[0].size(), 1) << "only the killed program's copy";
    EXPECT_EQ(ask.asked[0][0].original, original);
    EXPECT_EQ(doc->GetVertexCount(), 10 + 8) << "the file's cylinder and the box added to it";
    EXPECT_EQ(ModelBytes(*doc), work);
    EXPECT_EQ(doc->GetPathName(), Native(original));
    EXPECT_TRUE(frame->isWindowModified());
    EXPECT_TRUE(QFile::exists(copyOf(running)));

    running.kill();
    running.waitForFinished();
}

}  // namespace
