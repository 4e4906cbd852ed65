// Scenario cases: a short file of batch steps and, beside it, what the run must print and
// write. A behaviour is checked in a few lines of steps instead of a page of C++. The
// format is described in tests/scenarios/README.md.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/batch_run.h"
#include "golden.h"
#include "golden_image.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

// Every case's path below tests/scenarios without ".steps", made by CMake from the folder.
const std::vector<std::string> kPlainCases = {
#include "scenario_cases.inc"
};
const std::vector<std::string> kExternalCases = {
#include "scenario_external_cases.inc"
};

struct Scenario {
    std::string model;                 // the model file to open first, or empty
    std::vector<std::string> args;     // the batch steps, split into words
    std::vector<std::string> commands;  // shell commands run afterwards in the same folder
};

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A step line is a step and, after the first space, its one value (which may hold spaces).
Scenario ReadScenario(const std::string& path, const std::string& here)
{
    Scenario s;
    std::istringstream in(ReadText(path));
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        line = Replace(line, "$HERE", here);
        if (line.rfind("$ ", 0) == 0) {
            s.commands.push_back(line.substr(2));
        } else if (line.rfind("--", 0) == 0) {
            const auto space = line.find(' ');
            s.args.push_back(line.substr(0, space));
            if (space != std::string::npos) s.args.push_back(line.substr(space + 1));
        } else {
            EXPECT_TRUE(first && s.model.empty()) << path << ": only the first step line may name a model: " << line;
            s.model = fs::path(line).is_absolute() ? line : here + "/" + line;
        }
        first = false;
    }
    return s;
}

// The expected files beside a case: NAME.FILE for every FILE the steps write.
std::vector<std::string> ExpectedFiles(const fs::path& folder, const std::string& name)
{
    std::vector<std::string> files;
    const std::string prefix = name + ".";
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string file = entry.path().filename().string();
        if (file.rfind(prefix, 0) != 0) continue;
        const std::string rest = file.substr(prefix.size());
        if (rest == "steps" || rest == "stdout" || rest == "stderr") continue;
        if (rest.find("out.") != std::string::npos || rest.find("diff.") != std::string::npos) continue;
        files.push_back(rest);
    }
    std::sort(files.begin(), files.end());
    return files;
}

void RunScenario(const std::string& relative)
{
    const std::string stepsPath = TestPath("scenarios/" + relative + ".steps");
    const fs::path folder = fs::path(stepsPath).parent_path();
    const std::string name = fs::path(stepsPath).stem().string();
    const Scenario s = ReadScenario(stepsPath, folder.string());

    TempFolder work;
    // In a subshell, so that the runner's own redirection leaves the two streams apart.
    std::string command = "(cd " + Quoted(work.Path()) + " && QT_QPA_PLATFORM=offscreen " + Quoted(POLYDROM_BINARY) +
                          " --batch";
    if (!s.model.empty()) command += " " + Quoted(s.model);
    for (const auto& arg : s.args) command += " " + Quoted(arg);
    command += " > .stdout 2> .stderr)";
    const BatchOutcome run = RunShell(command);
    std::string out = ReadText(work / ".stdout");
    // The case's folder is written $HERE, so that messages naming its files match anywhere.
    const std::string err = Replace(ReadText(work / ".stderr"), folder.string(), "$HERE");
    for (const auto& shell : s.commands) out += RunShell("cd " + Quoted(work.Path()) + " && " + shell).out;
    out = Replace(out, folder.string(), "$HERE");

    const std::string base = "scenarios/" + relative;
    if (fs::exists(TestPath(base + ".stderr"))) {
        EXPECT_NE(run.status, 0) << relative << " was meant to fail";
        ExpectGolden(base + ".stderr", err);
    } else {
        EXPECT_EQ(run.status, 0) << relative << " failed: " << err;
    }
    if (fs::exists(TestPath(base + ".stdout")) || (PromotingGoldenFiles() && !out.empty())) {
        if (!fs::exists(TestPath(base + ".stdout"))) std::ofstream(TestPath(base + ".stdout"));
        ExpectGolden(base + ".stdout", out);
    }
    for (const auto& file : ExpectedFiles(folder, name)) {
        const std::string actual = work / file;
        if (!fs::exists(actual)) {
            ADD_FAILURE() << relative << " wrote no " << file;
            continue;
        }
        if (fs::path(file).extension() == ".png")
            ExpectGoldenImage(base + "." + file, actual);
        else
            ExpectGolden(base + "." + file, ReadText(actual));
    }
}

std::string CaseName(const testing::TestParamInfo<std::string>& info)
{
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class Scenarios : public testing::TestWithParam<std::string> {};
TEST_P(Scenarios, Run) { RunScenario(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Plain, Scenarios, testing::ValuesIn(kPlainCases), CaseName);
INSTANTIATE_TEST_SUITE_P(ExternalScenarios, Scenarios, testing::ValuesIn(kExternalCases), CaseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Scenarios);

}  // namespace
