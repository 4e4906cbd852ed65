// The command line: what the words ask for, and the program's answers to --help,
// --version and a wrong option, given without a display as from any terminal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/batch.h"
#include "app/command_line.h"
#include "batch_run.h"

namespace {

using Mode = StartOptions::Mode;

// The program without a display, with a home folder of the test's own.
std::string Headless(const TempFolder& home, const std::string& arguments)
{
    return "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME=" +
           Quoted(home.Path()) + " " + Quoted(POLYDROM_BINARY) + " " + arguments;
}

}  // namespace

TEST(CommandLine, WordsChooseWhatTheProgramDoes)
{
    struct Case {
        std::vector<std::string> args;
        Mode mode;
        std::string file;
        bool splash = true;
    };
    const Case cases[] = {
        {{}, Mode::Desktop, ""},
        {{"box.pdm"}, Mode::Desktop, "box.pdm"},
        {{"--no-splash", "box.pdm"}, Mode::Desktop, "box.pdm", false},
        {{"--", "-odd.pdm"}, Mode::Desktop, "-odd.pdm"},
        // Qt's own options, with their values, are left for Qt.
        {{"-platform", "offscreen", "box.pdm", "--style=fusion", "-reverse"}, Mode::Desktop, "box.pdm"},
        {{"box.pdm", "--help"}, Mode::Help, "box.pdm"},
        {{"-h"}, Mode::Help, ""},
        {{"--version"}, Mode::Version, ""},
        {{"--list-commands"}, Mode::ListCommands, ""},
        {{"--batch", "--help"}, Mode::Batch, ""},
        {{"--bogus"}, Mode::Error, ""},
        {{"-x"}, Mode::Error, ""},
        {{"a.pdm", "b.pdm"}, Mode::Error, "a.pdm"},
        {{"-platform"}, Mode::Error, ""},
        {{"box.pdm", "--batch"}, Mode::Error, "box.pdm"},
    };
    for (const Case& c : cases) {
        const StartOptions options = ParseCommandLine(c.args);
        const std::string words = c.args.empty() ? "(none)" : c.args[0] + (c.args.size() > 1 ? " ..." : "");
        EXPECT_EQ(options.mode, c.mode) << words;
        EXPECT_EQ(options.file, c.file) << words;
        EXPECT_EQ(options.splash, c.splash) << words;
        EXPECT_EQ(options.error.empty(), c.mode != Mode::Error) << words;
    }
    EXPECT_EQ(ParseCommandLine({"--bogus"}).error, "unknown option --bogus");
    EXPECT_EQ(ParseCommandLine({"--batch", "x.pdm", "--dump"}).batch, (std::vector<std::string>{"x.pdm", "--dump"}));
}

TEST(CommandLine, HelpAndVersionWorkWithoutADisplay)
{
    TempFolder home;
    const BatchOutcome help = RunShell(Headless(home, "--help"));
    EXPECT_EQ(help.status, 0) << help.out;
    EXPECT_TRUE(help.out.starts_with("Usage: polydrom [--no-splash] [FILE.pdm] [--do NAME]...\n")) << help.out;
    for (const BatchStepHelp& step : BatchStepsHelp())
        EXPECT_NE(help.out.find("\n  " + std::string(step.name) + " "), std::string::npos) << step.name;
    for (const char* option : {"--no-splash", "--batch", "--list-commands", "--version", "--help"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    // Where the settings and the recovery copies live, found without starting the window.
    EXPECT_NE(help.out.find(home.Path() + "/.config/Local AppWizard-Generated Applications/Polydrom.conf"),
              std::string::npos)
        << help.out;
    EXPECT_NE(help.out.find(home.Path() + "/.local/share/Local AppWizard-Generated Applications/Polydrom/recovery"),
              std::string::npos)
        << help.out;

    const BatchOutcome version = RunShell(Headless(home, "--version"));
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "polydrom 1.0.0.1\nPolydrom 3D Modeling Software\n");
    EXPECT_EQ(VersionText(), version.out);
}

TEST(CommandLine, AWrongOptionPrintsTheUsageToStderrAndExits2)
{
    TempFolder home;
    const std::string errors = home / "stderr.txt";
    for (const char* words : {"--bogus", "a.pdm b.pdm", "-platform"}) {
        const BatchOutcome run = RunShell("(" + Headless(home, words) + " 2>" + Quoted(errors) + ")");
        EXPECT_EQ(run.status, 2) << words;
        EXPECT_EQ(run.out, "") << words;
        const std::string err = ReadText(errors);
        EXPECT_TRUE(err.starts_with("polydrom: ")) << err;
        EXPECT_NE(err.find("\nUsage: polydrom"), std::string::npos) << err;
    }
}
