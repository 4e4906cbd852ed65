// Reading the command line, and the texts of --help and --version.
#include "app/command_line.h"

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <string_view>

#include "app/batch.h"
#include "app/command_table.h"

namespace {

// Qt reads these itself (with one dash or two); the first group takes the next word.
constexpr std::string_view kQtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "session",  "display",            "geometry",      "style",  "stylesheet",      "qmljsdebugger",
};
constexpr std::string_view kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

template <std::size_t N>
bool Among(const std::string_view (&names)[N], std::string_view name)
{
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

// The options of the program itself, for --help.
struct OptionHelp {
    std::string_view words, description;
};
constexpr OptionHelp kOptions[] = {
    {"--no-splash", "start without showing the About box first"},
    {"--do NAME", "run a command once the window is up, named as in batch mode (repeatable)"},
    {"--batch [FILE.pdm] STEP...", "work on the model (or a new one) without a window: run the steps in order"},
    {"--list-commands", "list every command: its name for --do, its menu item, its keys and what it does"},
    {"--help, -h", "print this text"},
    {"--version", "print the version"},
};

void Row(std::ostream& out, std::string_view left, std::string_view right, std::size_t width)
{
    out << "  " << std::left << std::setw(static_cast<int>(width)) << left;
    if (left.size() >= width) out << "\n  " << std::string(width, ' ');
    out << "  " << right << '\n';
}

}  // namespace

const char* ProgramVersion() { return POLYDROM_VERSION; }
const char* ProgramLongName() { return POLYDROM_LONG_NAME; }

StartOptions ParseCommandLine(const std::vector<std::string>& args)
{
    StartOptions options;
    // Batch mode owns every word after it; its steps are checked as they run.
    if (!args.empty() && args[0] == "--batch") {
        options.mode = StartOptions::Mode::Batch;
        options.batch.assign(args.begin() + 1, args.end());
        return options;
    }
    auto fail = [&options](std::string why) {
        options.mode = StartOptions::Mode::Error;
        options.error = std::move(why);
        return options;
    };
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyFiles || arg.size() < 2 || arg[0] != '-') {
            if (!options.file.empty()) return fail("only one model file can be opened");
            options.file = arg;
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
        } else if (arg == "--help" || arg == "-h") {
            options.mode = StartOptions::Mode::Help;
            return options;
        } else if (arg == "--version") {
            options.mode = StartOptions::Mode::Version;
            return options;
        } else if (arg == "--list-commands") {
            options.mode = StartOptions::Mode::ListCommands;
            return options;
        } else if (arg == "--no-splash") {
            options.splash = false;
        } else if (arg == "--do") {
            if (i + 1 >= args.size()) return fail("--do needs a command name");
            if (!FindCommandByBatchName(args[i + 1])) return fail("unknown command " + args[i + 1]);
            options.commands.push_back(args[++i]);
        } else if (arg == "--batch") {
            return fail("--batch must come first");
        } else {
            std::string_view name(arg);
            name.remove_prefix(name.starts_with("--") ? 2 : 1);
            const auto equals = name.find('=');
            if (equals != std::string_view::npos && Among(kQtOptionsWithValue, name.substr(0, equals))) continue;
            if (Among(kQtFlags, name)) continue;
            if (!Among(kQtOptionsWithValue, name)) return fail("unknown option " + arg);
            if (i + 1 >= args.size()) return fail(arg + " needs a value");
            ++i;
        }
    }
    return options;
}

std::string VersionText() { return std::string("polydrom ") + ProgramVersion() + '\n' + ProgramLongName() + '\n'; }

std::string UsageText(const FileLocations& where)
{
    std::ostringstream out;
    out << "Usage: polydrom [--no-splash] [FILE.pdm] [--do NAME]...\n"
           "       polydrom --batch [FILE.pdm] STEP...\n"
           "       polydrom --list-commands | --help | --version\n\n"
        << ProgramLongName()
        << ": a 3-D wireframe modeller for ray tracers. Without --batch the window opens,\n"
           "with the model FILE.pdm or a new one.\n\nOptions:\n";
    constexpr std::size_t kWidth = 28;
    for (const OptionHelp& option : kOptions) Row(out, option.words, option.description, kWidth);
    Row(out, "-platform NAME, ...", "Qt's own options, for the window", kWidth);

    out << "\nBatch steps (exit status 0, or 1 and one line on stderr at the first step that fails):\n";
    for (const BatchStepHelp& step : BatchStepsHelp()) {
        std::string words(step.name);
        if (!step.value.empty()) words += " " + std::string(step.value);
        Row(out, words, step.description, kWidth);
    }

    if (!where.settings.empty() || !where.recovery.empty()) out << "\nFiles:\n";
    if (!where.settings.empty()) Row(out, "settings", where.settings + " (recent files, window layout)", kWidth);
    if (!where.recovery.empty()) Row(out, "recovery copies", where.recovery + " (unsaved models)", kWidth);
    return out.str();
}
