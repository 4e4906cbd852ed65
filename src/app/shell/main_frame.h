// The main window: menu, accelerators, three dockable toolbars, status bar and the view;
// every command goes through the one command table from here.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include <QMainWindow>

#include "app/command_table.h"
#include "app/precise_edits.h"
#include "app/shell/recent_files.h"
#include "framework/view.h"

class CHelpWindow;
class CPolydromDoc;
class CPolydromView;
class CPreviewPanel;
class CShadedPanel;
class CShellPrompts;
class CStatusBar;
class CTransformDialog;
class CViewWidget;
class QAction;
class QPainter;
class QPrinter;
class QToolBar;

class CMainFrame : public QMainWindow, public CShellCommands {
    Q_OBJECT
public:
    CMainFrame(CPolydromDoc& doc, CShellPrompts& prompts, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Routes the command to its handler (view, document, frame, application), marks the
    // model modified when the command changed it, and shows what it reported: a failure
    // in a dialog, a refusal or an outcome in the status bar. False when no handler took it.
    bool Dispatch(unsigned id);
    // A left press on the view, with the same bookkeeping as a command.
    void LeftPress(unsigned flags, CPoint point);

    // A rubber band released over the view (MK_SHIFT adds, MK_CONTROL takes away), the
    // wheel's zoom about the pointer, and the pointer's moves for the status bar.
    void BoxSelect(CPoint from, CPoint to, unsigned flags);
    void WheelZoom(CPoint pointer, int notches);
    void PointerMoved(bool inside, CPoint pointer);

    // Opens the file into the document; on failure shows the error and keeps the model.
    bool OpenFile(const QString& path);
    // The same, telling a failure (shown) from the user's cancel.
    enum class Opening { Opened, Failed, Cancelled };
    Opening OpenFileReporting(const QString& path);
    // Opens a recovery copy as the model of the original file (empty: untitled), marked
    // modified so that Save writes it there; on failure shows the error and keeps the model.
    bool OpenRecoveredModel(const QString& copy, const QString& original);
    // Asks "Save changes to ...?" when the model is modified; false when the user cancels
    // (or the save failed), and the caller must then leave the model alone.
    bool SaveModified();
    // File > Import of this file without the dialog: one undo step, the outcome in the
    // status bar, a refusal in a message box.
    void ImportFile(const QString& path);
    // Dropped files: the first model (.pdm) among them is opened after the save prompt;
    // without one, every mesh is imported in turn.
    void OpenOrImport(const QStringList& files);

    // Saves to the document's file, or asks for a name first when it has none.
    bool SaveDocument(bool askForName);
    // Before Save replaces the model's file: asks when what is there now is no model.
    bool ConfirmReplacing(const QString& path);

    // Shows the window as it was left last time, or maximized the first time; floating
    // bars come back above the window and inside the screen.
    void ShowWithSavedLayout();
    // The normal (un-maximized) geometry of a first start: inside the available area with
    // room for the window's frame.
    static QRect FittingNormalGeometry(const QRect& available);
    void SaveLayout() const;

    // One printed page: the view's OnDraw on the printer, the window's pixels taken
    // as the printer's device units.
    void PrintPage(QPrinter* printer);
    // The page's drawing on any painter whose drawable area is page units in size.
    void PaintPage(QPainter& painter, QSize page);

    QAction* Action(unsigned id) const;
    QToolBar* FileToolBar() const { return m_toolBars[0]; }
    QToolBar* DoToolBar() const { return m_toolBars[1]; }
    QToolBar* ViewToolBar() const { return m_toolBars[2]; }
    CStatusBar* StatusBar() const { return m_statusBar; }
    CViewWidget* ViewWidget() const { return m_viewWidget; }
    CPolydromView& View() const { return *m_view; }
    CHelpWindow* HelpWindow() const { return m_help; }
    CPreviewPanel* PreviewPanel() const { return m_preview; }
    // Do > Transform...'s dialog once it has been opened, else null.
    CTransformDialog* TransformDialog() const { return m_transform; }
    CShadedPanel* ShadedPanel() const { return m_shaded; }
    CRecentFileList& RecentFiles() { return m_recent; }
    QAction* RecentPlaceholder() const { return m_recentPlaceholder; }
    const QList<QAction*>& RecentFileActions() const { return m_recentActions; }
    QPrinter& Printer() const { return *m_printer; }

    // CShellCommands: the framework's commands, as this window provides them.
    void OnFileNew() override;
    void OnFileOpen() override;
    void OnFileSave() override;
    void OnFileSaveAs() override;
    void OnFileExportAs() override;
    void OnFileExportPov() override;
    void OnFileImport() override;
    void OnFilePrint() override;
    void OnFilePrintPreview() override;
    void OnFilePrintSetup() override;
    void OnFileMruFile(int index) override;
    void OnAppAbout() override;
    void OnAppExit() override;
    void OnViewToolbar() override;
    void OnViewDoToolbar() override;
    void OnViewStatusBar() override;
    void OnViewRenderPreview() override;
    void OnView3D() override;
    void OnHelpFinder() override;
    void OnHelp() override;
    void OnContextHelp() override;
    void OnDoAddVertexAt() override;
    void OnDoTransform() override;
    void OnDoSetCursor() override;
    void OnDoMergeVertices() override;
    bool FileToolBarShown() const override;
    bool DoToolBarShown() const override;
    bool StatusBarShown() const override;

Q_SIGNALS:
    // The model or whether it is saved may have changed: after a command or a click, a
    // new, opened or saved model. The recovery copy follows it.
    void DocumentStateChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Dropped files: a model (.pdm) is opened, meshes of other programs are imported.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Shows a side panel. Opened the first time (no saved layout knows it yet) it takes a
    // third of the window's width, and half the side's height when the other panel is
    // already there, rather than the sliver its size hint asks for.
    void ShowSidePanel(QDockWidget* panel, QDockWidget* other);
    void BuildActions();
    void BuildMenus();
    void BuildToolBars();
    void BuildKeys();
    void KeepOnScreen(QWidget* window) const;
    void UpdateRecentMenu();
    void UpdateCaption();
    // After File > New or Open: the views repaint and the caption follows the document.
    void DocumentReplaced();
    // After a command or a click: the Edit menu follows the history; a failure the
    // command reported shows in a dialog, a refusal or an outcome in the status bar.
    void AfterCommand(const CommandReport& report);
    void UpdateEditMenu();
    // The check marks (and the Move button's pressed look) and the status bar's axis,
    // pointer and selection panes, after anything that may change them.
    void UpdateMarks();
    // Every item and button with a check mark, as its row's test says.
    void UpdateChecks();
    // A dialog's edit, with the bookkeeping of a command; the refusal for the dialog, if any.
    QString ApplyTypedEdit(TypedEdit edit, std::span<const double> values);
    // Work that changes the model, run on a worker thread behind a progress prompt with
    // this text. The document's news for the window (a repaint, the modified mark) is
    // held until the work has ended and given here, on the window's thread.
    void ChangeModelAside(const QString& text, std::function<void()> work);

    CPolydromDoc& m_doc;
    CShellPrompts& m_prompts;
    std::unique_ptr<CPolydromView> m_view;
    CViewWidget* m_viewWidget = nullptr;
    CStatusBar* m_statusBar = nullptr;
    CHelpWindow* m_help = nullptr;
    CPreviewPanel* m_preview = nullptr;
    CTransformDialog* m_transform = nullptr;
    double m_mergeDistance = kDefaultMergeDistance;
    CShadedPanel* m_shaded = nullptr;
    QToolBar* m_toolBars[3] = {};
    std::map<unsigned, QAction*> m_actions;
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    CRecentFileList m_recent;
    // The file File > Import takes instead of asking (set for a dropped file).
    QString m_importPath;
    // Where the pointer was last seen over the view, for the status bar.
    bool m_pointerInside = false;
    CPoint m_pointer;
    // The printer that Print Setup configures and Print starts from.
    std::unique_ptr<QPrinter> m_printer;
};
