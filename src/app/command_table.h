// The one table that routes every command id to its handler on the view, the
// document, the frame or the application; the window and batch mode both use it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

class CPolydromDoc;
class CPolydromView;

// Commands the framework itself provides (files, printing, bars, help). The Qt
// window implements them with dialogs; batch mode with what makes sense headless.
class CShellCommands {
public:
    virtual ~CShellCommands() = default;
    virtual void OnFileNew() = 0;
    virtual void OnFileOpen() = 0;
    virtual void OnFileSave() = 0;
    virtual void OnFileSaveAs() = 0;
    virtual void OnFileExportAs() = 0;
    virtual void OnFilePrint() = 0;
    virtual void OnFilePrintPreview() = 0;
    virtual void OnFilePrintSetup() = 0;
    // Entry index of the recent-file list, 0 for ID_FILE_MRU_FILE1.
    virtual void OnFileMruFile(int index) = 0;
    virtual void OnAppAbout() = 0;
    virtual void OnAppExit() = 0;
    virtual void OnViewToolbar() = 0;
    virtual void OnViewDoToolbar() = 0;
    virtual void OnViewStatusBar() = 0;
    virtual void OnHelpFinder() = 0;
    virtual void OnHelp() = 0;
    virtual void OnContextHelp() = 0;
};

// Who answers a command, in the order the router asks them.
enum class CommandRoute { View, Document, Frame, App };

struct CommandEntry {
    unsigned id;
    std::string_view symbol;  // "ID_DO_CONNECT"
    CommandRoute route;
    void (CPolydromView::*viewHandler)() = nullptr;
    void (CPolydromDoc::*docHandler)() = nullptr;
    void (CShellCommands::*shellHandler)() = nullptr;
    // The recent-file entries share one handler that takes the entry's index.
    void (CShellCommands::*shellIndexHandler)(int) = nullptr;
    int index = 0;
};

struct CommandTargets {
    CPolydromView* view = nullptr;
    CPolydromDoc* doc = nullptr;
    CShellCommands* shell = nullptr;
};

std::span<const CommandEntry> CommandTable();
const CommandEntry* FindCommand(unsigned id);
// Batch-mode name: the symbol without "ID_", lower case, '_' as '-' ("do-connect").
std::string BatchName(const CommandEntry& entry);
const CommandEntry* FindCommandByBatchName(std::string_view name);

// Runs the command's handler. Returns false when the id is unknown or its handler's
// target is missing (a view command with no view, say). A command that changed the
// model or its selection becomes one undoable step, named by StepLabel.
bool RouteCommand(unsigned id, const CommandTargets& targets);

// A left press on the view at a client pixel (flags with MK_RBUTTON when the right
// button is held). What it changed in the model becomes one undoable step.
struct CPoint;
void RouteClick(const CommandTargets& targets, unsigned flags, CPoint point);

// The name of the undo step a command makes: "Extrude", "Cylinder", "Select All".
std::string StepLabel(unsigned id);
