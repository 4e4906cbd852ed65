// Finds the layer of every file and of every header it includes, and compares the two.
#include "include_rules.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <regex>

namespace fs = std::filesystem;

namespace {

// From the bottom up; a layer sees its own rank and those below it.
enum class Layer { Framework, Model, View, App, Shell, Program };

const char* Name(Layer layer)
{
    switch (layer) {
    case Layer::Framework: return "framework";
    case Layer::Model: return "model";
    case Layer::View: return "view";
    case Layer::App: return "app";
    case Layer::Shell: return "app/shell";
    case Layer::Program: return "the program";
    }
    return "?";
}

// The folder names under src/ and tests/ that are layers.
std::optional<Layer> LayerOfFolder(const std::string& folder, bool underTests)
{
    if (folder == "framework") return Layer::Framework;
    if (folder == "model") return Layer::Model;
    if (folder == "view") return Layer::View;
    if (folder == "app") return Layer::App;
    if (underTests && folder == "shell") return Layer::Shell;
    return std::nullopt;
}

// The layer a file of the tree belongs to, from where it lies.
std::optional<Layer> LayerOf(const fs::path& relative)
{
    auto part = relative.begin();
    if (part == relative.end()) return std::nullopt;
    const std::string top = part->string();
    if (top == "bench" || top == "fuzz") return Layer::Program;
    if (top != "src" && top != "tests") return std::nullopt;
    if (++part == relative.end()) return std::nullopt;
    const std::string folder = part->string();
    // Shared test helpers at the top of tests/ serve every layer's tests.
    if (top == "tests" && std::next(part) == relative.end()) return Layer::Framework;
    const std::optional<Layer> layer = LayerOfFolder(folder, top == "tests");
    if (layer != Layer::App || top != "src") return layer;
    if (++part == relative.end()) return std::nullopt;
    if (part->string() == "shell") return Layer::Shell;
    if (part->string() == "main.cpp") return Layer::Program;
    return Layer::App;
}

bool Sees(Layer viewer, Layer seen) { return static_cast<int>(seen) <= static_cast<int>(viewer); }

// Qt's own headers: <QWidget>, <QtCore/QObject>, <qglobal.h>.
bool IsQtHeader(const std::string& header)
{
    static const std::regex qt("^(Q[A-Za-z0-9]+|Qt[A-Za-z]+/.*|q[a-z0-9_]+\\.h)$");
    return std::regex_match(header, qt);
}

bool IsSource(const fs::path& path) { return path.extension() == ".h" || path.extension() == ".cpp"; }

std::string Relative(const fs::path& path, const fs::path& root)
{
    return fs::relative(path, root).generic_string();
}

// Where an include is found without layered include folders: beside the file, then
// (outside src/, where the test helpers are at hand) at the top of tests/, then at the
// top of src/.
std::optional<fs::path> Resolve(const fs::path& root, const fs::path& file, const std::string& header,
                                bool outsideSrc)
{
    std::vector<fs::path> folders{file.parent_path()};
    if (outsideSrc) folders.push_back(root / "tests");
    folders.push_back(root / "src");
    for (const fs::path& folder : folders) {
        const fs::path candidate = folder / header;
        if (fs::is_regular_file(candidate)) return fs::weakly_canonical(candidate);
    }
    return std::nullopt;
}

void CheckFile(const fs::path& root, const fs::path& file, std::vector<IncludeViolation>& out)
{
    const fs::path canonicalRoot = fs::weakly_canonical(root);
    const std::string relative = Relative(file, root);
    const std::optional<Layer> layer = LayerOf(fs::path(relative));
    if (!layer) return;
    const bool outsideSrc = !relative.starts_with("src/");
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::ifstream in(file);
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        std::smatch match;
        if (!std::regex_search(text, match, include)) continue;
        const bool angled = match[1] == "<";
        const std::string header = match[2];
        auto report = [&](std::string reason) { out.push_back({relative, number, header, std::move(reason)}); };
        if (IsQtHeader(header)) {
            if (!Sees(*layer, Layer::Shell)) report(std::string(Name(*layer)) + " may not include Qt");
            continue;
        }
        const std::optional<fs::path> found = Resolve(root, file, header, outsideSrc);
        if (!found) {
            if (!angled) report("resolves to no file of the tree: name it from the top of its layer");
            continue;  // a system or library header
        }
        const std::optional<Layer> seen = LayerOf(fs::path(Relative(*found, canonicalRoot)));
        if (seen && !Sees(*layer, *seen))
            report(std::string(Name(*layer)) + " may not see " + Name(*seen));
    }
}

}  // namespace

std::vector<IncludeViolation> CheckIncludeRules(const fs::path& root)
{
    std::vector<IncludeViolation> violations;
    std::vector<fs::path> files;
    for (const char* top : {"src", "tests", "bench", "fuzz"}) {
        if (!fs::is_directory(root / top)) continue;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root / top))
            if (entry.is_regular_file() && IsSource(entry.path())) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());  // the same report on every file system
    for (const fs::path& file : files) CheckFile(root, file, violations);
    return violations;
}

std::string Describe(const IncludeViolation& violation)
{
    return violation.file + ":" + std::to_string(violation.line) + ": includes \"" + violation.include +
           "\": " + violation.reason;
}
