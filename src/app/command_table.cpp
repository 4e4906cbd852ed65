// Every command in one row, and the router that runs a command or a click.
#include "app/command_table.h"

#include <algorithm>
#include <new>
#include <cctype>

#include "app/command_ids.h"
#include "model/polydrom_doc.h"
#include "view/polydrom_view.h"

namespace {

using D = CPolydromDoc;
using S = CShellCommands;
using V = CPolydromView;

using M = InMenu;
using B = OnBar;

// The check marks: a setting's item at its current value, the move tool's button while it
// is on, a bar's item while the bar shows.
template <int points>
bool ResolutionIs(const CommandTargets& t)
{
    return t.doc && t.doc->m_nResolution == points;
}
// The step in hundredths: 1 / 100.0f is the float 0.01f exactly as the step commands store it.
template <int hundredths>
bool StepIs(const CommandTargets& t)
{
    return t.doc && t.doc->m_step == static_cast<float>(hundredths) / 100.0f;
}
bool MoveToolOn(const CommandTargets& t) { return t.view && t.view->m_movePresses == 1; }
template <bool (CShellCommands::*shown)() const>
bool Shows(const CommandTargets& t)
{
    return t.shell && (t.shell->*shown)();
}

constexpr CommandEntry kCommands[] = {
// The id and its spelling, which names the command in batch mode and in the window's objects.
#define COMMAND(ID, NUMBER, ...) {.id = ID, .symbol = #ID, __VA_ARGS__},
#define RECENT(n, NUMBER)                                                                                              \
    {.id = ID_FILE_MRU_FILE##n,                                                                                        \
     .symbol = "ID_FILE_MRU_FILE" #n,                                                                                  \
     .shellIndexHandler = &S::OnFileMruFile,                                                                           \
     .index = (n)-1,                                                                                                   \
     .menu = (n) == 1 ? M::File : M::None,                                                                             \
     .newMenuGroup = (n) == 1,                                                                                         \
     .name = "Recent file " #n,                                                                                        \
     .prompt = "Open this document"},
#include "app/command_list.inc"
#undef RECENT
#undef COMMAND
};

// What the rows promise the code that reads them, checked as the table is compiled. The
// sanitizers instrument comparisons of member pointers, which makes them no longer
// constant: their builds leave the checks that read handlers to the plain build.
#if defined(__SANITIZE_ADDRESS__)
#define POLYDROM_CONSTANT_HANDLERS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define POLYDROM_CONSTANT_HANDLERS 0
#endif
#endif
#ifndef POLYDROM_CONSTANT_HANDLERS
#define POLYDROM_CONSTANT_HANDLERS 1
#endif

constexpr bool IdsAreDistinct()
{
    for (std::size_t i = 0; i < std::size(kCommands); ++i)
        for (std::size_t j = i + 1; j < std::size(kCommands); ++j)
            if (kCommands[i].id == kCommands[j].id || kCommands[i].id == 0) return false;
    return true;
}
static_assert(IdsAreDistinct(), "two commands share a number, or one has 0 (a separator in the layout)");

constexpr bool OneHandlerEach()
{
    for (const CommandEntry& e : kCommands) {
        const int handlers = (e.viewHandler != nullptr) + (e.docHandler != nullptr) + (e.docViewHandler != nullptr) +
                             (e.shellHandler != nullptr) + (e.shellIndexHandler != nullptr);
        if (handlers != 1) return false;
    }
    return true;
}
#if POLYDROM_CONSTANT_HANDLERS
static_assert(OneHandlerEach(), "a command runs exactly one handler");
#endif

// A menu item needs its text, a button its image (the recent files take theirs from the list).
constexpr bool PlacedRowsCanBeShown()
{
    for (const CommandEntry& e : kCommands) {
        if (e.menu != InMenu::None && e.menuText.empty() && !e.shellIndexHandler) return false;
        if (e.bar != OnBar::None && e.image.empty()) return false;
    }
    return true;
}
#if POLYDROM_CONSTANT_HANDLERS
static_assert(PlacedRowsCanBeShown(), "a command in a menu has a menu text, one on a toolbar an image");
#endif

// The recent-file entries are numbered in a row: the shell finds entry i at the first one's id + i.
constexpr bool RecentFilesInARow()
{
    int entries = 0;
    for (const CommandEntry& e : kCommands) {
        if (!e.shellIndexHandler) continue;
        if (e.id != ID_FILE_MRU_FILE1 + static_cast<unsigned>(entries) || e.index != entries) return false;
        ++entries;
    }
    return entries == RECENT_FILE_COUNT;
}
#if POLYDROM_CONSTANT_HANDLERS
static_assert(RecentFilesInARow(), "the recent-file rows are numbered one after another");
#endif

}  // namespace

std::span<const CommandEntry> CommandTable() { return kCommands; }

const CommandEntry* FindCommand(unsigned id)
{
    auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                           [id](const CommandEntry& e) { return e.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

std::string BatchName(const CommandEntry& entry)
{
    std::string name(entry.symbol.substr(3));
    for (char& c : name) c = c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

const CommandEntry* FindCommandByBatchName(std::string_view name)
{
    auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                           [name](const CommandEntry& e) { return BatchName(e) == name; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

std::string StepLabel(const CommandEntry& entry)
{
    return entry.stepLabel.empty() ? std::string("Change") : std::string(entry.stepLabel);
}

RouteResult RouteCommand(unsigned id, const CommandTargets& targets)
{
    const CommandEntry* entry = FindCommand(id);
    if (!entry) return {};
    if (targets.doc) targets.doc->TakeReport();
    try {
        if (entry->viewHandler && targets.view) {
            (targets.view->*entry->viewHandler)();
        } else if (entry->docHandler && targets.doc) {
            (targets.doc->*entry->docHandler)();
        } else if (entry->docViewHandler && targets.doc) {
            // Without a view, the state a view starts with.
            (targets.doc->*entry->docViewHandler)(targets.view ? targets.view->m_state : ViewState{});
        } else if (entry->shellHandler && targets.shell) {
            (targets.shell->*entry->shellHandler)();
        } else if (entry->shellIndexHandler && targets.shell) {
            (targets.shell->*entry->shellIndexHandler)(entry->index);
        } else {
            return {};
        }
    } catch (const std::bad_alloc&) {
        // Commands make their room before they change the model; running out of memory
        // is said, never the end of the program with the user's work.
        if (!targets.doc) throw;
        targets.doc->ReportFailure(std::string(entry->name) + " stopped: there is not enough memory.");
    }
    // Undo and redo move through the history; every other command that changed the
    // model leaves a step. File > New and Open start a fresh history themselves.
    if (!targets.doc) return {true, {}};
    if (id != ID_EDIT_UNDO && id != ID_EDIT_REDO) targets.doc->CommitStep(StepLabel(*entry));
    return {true, targets.doc->TakeReport()};
}

CommandReport RouteClick(const CommandTargets& targets, unsigned flags, CPoint point)
{
    if (!targets.view) return {};
    if (targets.doc) targets.doc->TakeReport();
    // Named by what the click does: the right button adds, the move tool moves, else it picks.
    const char* label = (flags & MK_RBUTTON) ? "Add Vertex" : targets.view->m_movePresses == 1 ? "Move" : "Select";
    targets.view->OnLButtonDown(flags, point);
    if (!targets.doc) return {};
    targets.doc->CommitStep(label);
    return targets.doc->TakeReport();
}
