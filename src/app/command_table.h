// The one table of commands: for every command the user can give, its id, its handler on
// the view, the document or the shell, where it stands (menu, toolbar, check mark) and how
// it appears (menu text, shortcut, tool tip, status-bar prompt, undo-step name, button
// image). Its rows are in command_list.inc. Menus, toolbars, help, batch mode,
// --list-commands and the Edit menu's labels all read it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "framework/document.h"

class CPolydromDoc;
class CPolydromView;
struct ViewState;
struct CPoint;

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
    // "object.pov" in the current folder: the window writes it behind a progress prompt.
    virtual void OnFileExportPov() = 0;
    virtual void OnFileImport() = 0;
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
    virtual void OnViewRenderPreview() = 0;
    virtual void OnView3D() = 0;
    virtual void OnHelpFinder() = 0;
    virtual void OnHelp() = 0;
    virtual void OnContextHelp() = 0;
    // The dialogs of the typed edits and of the cursor.
    virtual void OnDoAddVertexAt() = 0;
    virtual void OnDoTransform() = 0;
    virtual void OnDoSetCursor() = 0;
    virtual void OnDoMergeVertices() = 0;
    // Whether the window shows its bars, for the View menu's check marks; a window without
    // bars (batch mode) shows none.
    virtual bool FileToolBarShown() const { return false; }
    virtual bool DoToolBarShown() const { return false; }
    virtual bool StatusBarShown() const { return false; }
};

// The menus of the menu bar in its order, and the toolbars; None where a command is in none.
enum class InMenu : unsigned char { None, File, Edit, View, Do, Resolution, Help, Step, Shapes };
enum class OnBar : unsigned char { None, File, Do, View };

struct CommandTargets {
    CPolydromView* view = nullptr;
    CPolydromDoc* doc = nullptr;
    CShellCommands* shell = nullptr;
};

// One command. Exactly one handler is set; the rest of the row says how it looks.
struct CommandEntry {
    unsigned id;
    std::string_view symbol;  // "ID_DO_CONNECT"; the batch name is made from it
    void (CPolydromView::*viewHandler)() = nullptr;
    void (CPolydromDoc::*docHandler)() = nullptr;
    // A document command that places or picks by what the view shows: given the view's state.
    void (CPolydromDoc::*docViewHandler)(const ViewState&) = nullptr;
    void (CShellCommands::*shellHandler)() = nullptr;
    // The recent-file entries share one handler that takes the entry's index.
    void (CShellCommands::*shellIndexHandler)(int) = nullptr;
    int index = 0;
    // Where it stands: a menu and a toolbar, in the order of the rows; a separator before it
    // where it starts a new group.
    InMenu menu = InMenu::None;
    bool newMenuGroup = false;
    OnBar bar = OnBar::None;
    bool newBarGroup = false;
    // Whether its item or button shows a check mark now; none without the test.
    bool (*checked)(const CommandTargets&) = nullptr;
    std::string_view menuText = {};   // "&Open...": its text in a menu (the shortcut is added)
    std::string_view shortcut = {};   // "Ctrl+O": shown in the menu and bound as a key
    std::string_view shortcut2 = {};  // a second key for the same command, "Ctrl+Shift+Z"
    std::string_view name = {};       // "Open": the tool tip, and the name in help and listings
    std::string_view prompt = {};     // the status-bar line while the item or button is hovered
    std::string_view details = {};    // What's This text where it says more than the prompt
    std::string_view stepLabel = {};  // "Extrude": the undo step a change makes; empty for "Change"
    std::string_view image = {};      // the toolbar button's SVG resource
    std::string_view themeIcon = {};  // the desktop icon theme's name for it, tried first
};

std::span<const CommandEntry> CommandTable();
const CommandEntry* FindCommand(unsigned id);
// Batch-mode name: the symbol without "ID_", lower case, '_' as '-' ("do-connect").
std::string BatchName(const CommandEntry& entry);
const CommandEntry* FindCommandByBatchName(std::string_view name);
// The undo step a command makes: its row's label, "Change" where it has none.
std::string StepLabel(const CommandEntry& entry);

// The outcome of routing: whether a handler ran, and what the command reported
// (a refusal such as "the model is full", or an export's summary).
struct RouteResult {
    bool handled = false;
    CommandReport report;
};

// Runs the command's handler: the view's, else the document's, else the shell's. Not
// handled when the id is unknown or its target is missing (a view command without a
// view). A command that changed the model or its selection becomes one undoable step.
RouteResult RouteCommand(unsigned id, const CommandTargets& targets);

// A left press on the view at a client pixel (flags with MK_RBUTTON when the right
// button is held). What it changed in the model becomes one undoable step.
CommandReport RouteClick(const CommandTargets& targets, unsigned flags, CPoint point);
