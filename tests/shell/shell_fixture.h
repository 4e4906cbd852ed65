// A main window on a document, with dialogs answered by the test instead of a person.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

#include <QDir>
#include <QList>
#include <QPrinter>
#include <QStringList>
#include <QTemporaryDir>

class QToolBar;

#include "app/shell/main_frame.h"
#include "app/shell/prompts.h"
#include "model/polydrom_doc.h"

class FakePrompts : public CShellPrompts {
public:
    QStringList openAnswers, saveAnswers, exportAnswers, importAnswers;
    QString exportFilter;  // the filter in force when the export's answer is given; empty: the one proposed
    QStringList exportSuggestions, exportSelectedFilters;
    QList<SaveChoice> saveChoices;
    QStringList errors, saveQuestions, saveSuggestions;
    int abouts = 0, pageSetups = 0;
    std::function<bool(QPrinter*)> onPrint;
    std::function<void(QPrinter*, const std::function<void(QPrinter*)>&)> onPreview;

    QString AskOpenFileName(QWidget*, const QString& filter) override
    {
        lastFilter = filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString AskSaveFileName(QWidget*, const QString& suggestion, const QString& filter) override
    {
        lastFilter = filter;
        saveSuggestions.append(suggestion);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    QString AskExportFileName(QWidget*, const QString& suggestion, const QString& filters,
                              const QString& selectedFilter, QString* chosenFilter, bool* convertAxes) override
    {
        exportConvertShown.append(*convertAxes);
        if (exportConvertAnswer) *convertAxes = *exportConvertAnswer;
        lastFilter = filters;
        exportSuggestions.append(suggestion);
        exportSelectedFilters.append(selectedFilter);
        if (chosenFilter) *chosenFilter = exportFilter.isEmpty() ? selectedFilter : exportFilter;
        return exportAnswers.isEmpty() ? QString() : exportAnswers.takeFirst();
    }
    QString AskImportFileName(QWidget*, const QString& filters, const QString& folder) override
    {
        lastFilter = filters;
        importFolders.append(folder);
        return importAnswers.isEmpty() ? QString() : importAnswers.takeFirst();
    }
    // The axis check boxes as the dialogs showed them, and the answers given (none: kept).
    QList<bool> exportConvertShown, importConvertShown;
    std::optional<bool> exportConvertAnswer;
    // The Import dialog: accepted with importChoice (convertAxes kept when not set) unless cancelled.
    std::optional<bool> importConvertAnswer;
    double importScale = 1.0;
    bool importCancel = false;
    QStringList importHints;
    bool AskImportOptions(QWidget*, const QString&, const MeshSize& size, ImportChoice* choice) override
    {
        importConvertShown.append(choice->convertAxes);
        importHints.append(QString::fromStdString(ScaleHint(size, importScale)));
        if (importCancel) return false;
        if (importConvertAnswer) choice->convertAxes = *importConvertAnswer;
        choice->scale = importScale;
        return true;
    }
    // The progress of an import: every fraction reported; onProgress may cancel.
    class FakeProgress : public CProgressPrompt {
    public:
        explicit FakeProgress(FakePrompts& prompts) : m_prompts(prompts) { ++m_prompts.progressShown; }
        ~FakeProgress() override { --m_prompts.progressShown; }
        bool Update(float fraction) override
        {
            m_prompts.progress.append(fraction);
            return !m_prompts.onProgress || m_prompts.onProgress(fraction);
        }

    private:
        FakePrompts& m_prompts;
    };
    std::unique_ptr<CProgressPrompt> StartProgress(QWidget*, const QString& text, bool) override
    {
        progressTexts.append(text);
        return std::make_unique<FakeProgress>(*this);
    }
    QStringList progressTexts;
    QList<float> progress;
    int progressShown = 0;         // progress prompts not yet closed
    int errorsOverProgress = 0;    // messages shown while one was still up
    std::function<bool(float)> onProgress;

    SaveChoice AskSaveChanges(QWidget*, const QString& name) override
    {
        saveQuestions.append(name);
        return saveChoices.isEmpty() ? SaveChoice::Cancel : saveChoices.takeFirst();
    }
    bool AskReplaceOther(QWidget*, const QString& path, const QString&) override
    {
        replaceQuestions.append(path);
        return replaceOther;
    }
    QStringList replaceQuestions;
    bool replaceOther = false;
    void ShowError(QWidget*, const QString& text) override
    {
        errors.append(text);
        errorsOverProgress += progressShown > 0;
    }
    void ShowAbout(QWidget*) override { ++abouts; }
    bool AskPrint(QWidget*, QPrinter* printer) override { return onPrint && onPrint(printer); }
    void AskPageSetup(QWidget*, QPrinter*) override { ++pageSetups; }
    void ShowPrintPreview(QWidget*, QPrinter* printer, const std::function<void(QPrinter*)>& paint) override
    {
        if (onPreview) onPreview(printer, paint);
    }

    // The point dialogs: the answers are offered in turn until one is taken.
    QList<std::array<double, 3>> pointAnswers;
    QStringList pointTitles, pointReplies;
    std::array<float, 3> pointInitial{};
    void AskPoint(QWidget*, const QString& title, const std::array<float, 3>& initial, const PointApply& apply) override
    {
        pointTitles.append(title);
        pointInitial = initial;
        while (!pointAnswers.isEmpty()) {
            pointReplies.append(apply(pointAnswers.takeFirst()));
            if (pointReplies.last().isEmpty()) break;
        }
    }
    // The number dialogs share the point dialogs' answers (their first value) and replies.
    void AskNumber(QWidget* parent, const QString& title, const char*, double initial, const PointApply& apply) override
    {
        AskPoint(parent, title, {static_cast<float>(initial), 0.0f, 0.0f}, apply);
    }

    QString lastFilter;
    QStringList importFolders;  // where each import dialog started
};

// Drags the bar by its handle well away from every edge, as a user makes it float.
void FloatToolBar(QToolBar* bar);

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        doc = std::make_unique<CPolydromDoc>();
        doc->OnNewDocument();
        frame = std::make_unique<CMainFrame>(*doc, prompts);
        frame->resize(1000, 760);
    }
    void TearDown() override
    {
        frame.reset();
        ClearSettings();
    }
    static void ClearSettings();

    QString Temp(const QString& name) const { return QDir(dir.path()).filePath(name); }
    // A model file with the cylinder of a fresh model, written through the document.
    QString WriteCylinder(const QString& name);

    QTemporaryDir dir;
    FakePrompts prompts;
    std::unique_ptr<CPolydromDoc> doc;
    std::unique_ptr<CMainFrame> frame;
};
