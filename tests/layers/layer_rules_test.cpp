// The layer rules hold for the whole tree, and the checker finds each kind of wrong include.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "include_rules.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

// A small tree of sources in a fresh temporary folder.
class FakeTree {
public:
    void Write(const std::string& relative, const std::string& text)
    {
        const fs::path path = fs::path(m_folder.Path()) / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    // "file:line include" -> reason, for every violation found.
    std::map<std::string, std::string> Violations() const
    {
        std::map<std::string, std::string> found;
        for (const IncludeViolation& v : CheckIncludeRules(m_folder.Path()))
            found[v.file + ":" + std::to_string(v.line) + " " + v.include] = v.reason;
        return found;
    }

private:
    TempFolder m_folder;
};

}  // namespace

TEST(LayerRules, TheSourceTreeKeepsEveryRule)
{
    const fs::path root = fs::path(POLYDROM_TEST_DIR).parent_path();
    ASSERT_TRUE(fs::is_directory(root / "src" / "framework")) << root;
    for (const IncludeViolation& violation : CheckIncludeRules(root)) ADD_FAILURE() << Describe(violation);
}

TEST(LayerRules, EachKindOfWrongIncludeIsFound)
{
    FakeTree tree;
    tree.Write("src/framework/dc.h", "#pragma once\n");
    tree.Write("src/framework/doc.h", "#include \"framework/dc.h\"\n#include \"model/mesh.h\"\n#include <vector>\n");
    tree.Write("src/model/mesh.h", "#include \"framework/doc.h\"\n#  include \"view/view.h\"\n");
    tree.Write("src/model/mesh.cpp", "#include \"mesh.h\"\n#include \"../view/view.h\"\n#include \"history.h\"\n");
    tree.Write("src/view/view.h", "#include \"model/mesh.h\"\n#include <QPainter>\n#include <qglobal.h>\n");
    tree.Write("src/app/batch.cpp",
               "#include \"view/view.h\"\n#include \"app/shell/window.h\"\n#include <QString>\n");
    tree.Write("src/app/shell/window.h", "#include <QWidget>\n#include \"app/batch.h\"\n#include \"view/view.h\"\n");
    tree.Write("src/app/batch.h", "#pragma once\n");
    tree.Write("src/app/main.cpp", "#include \"app/shell/window.h\"\n#include \"app/batch.h\"\n");
    tree.Write("tests/golden.h", "#include \"framework/dc.h\"\n");
    tree.Write("tests/model/fixtures.h", "#include \"model/mesh.h\"\n");
    tree.Write("tests/framework/dc_test.cpp",
               "#include \"golden.h\"\n#include \"model/fixtures.h\"\n#include <gtest/gtest.h>\n");
    tree.Write("tests/view/view_test.cpp", "#include \"model/fixtures.h\"\n#include \"view/view.h\"\n");
    tree.Write("tests/shell/window_test.cpp", "#include <QTest>\n#include \"app/shell/window.h\"\n");
    tree.Write("bench/bench.cpp", "#include \"app/batch.h\"\n#include <QWidget>\n");

    const std::map<std::string, std::string> expected = {
        {"src/app/batch.cpp:2 app/shell/window.h", "app may not see app/shell"},
        {"src/app/batch.cpp:3 QString", "app may not include Qt"},
        {"src/framework/doc.h:2 model/mesh.h", "framework may not see model"},
        {"src/model/mesh.cpp:2 ../view/view.h", "model may not see view"},
        {"src/model/mesh.cpp:3 history.h", "resolves to no file of the tree: name it from the top of its layer"},
        {"src/model/mesh.h:2 view/view.h", "model may not see view"},
        {"src/view/view.h:2 QPainter", "view may not include Qt"},
        {"src/view/view.h:3 qglobal.h", "view may not include Qt"},
        {"tests/framework/dc_test.cpp:2 model/fixtures.h", "framework may not see model"},
    };
    EXPECT_EQ(tree.Violations(), expected);
}

TEST(LayerRules, AViolationIsDescribedByFileLineAndRule)
{
    const IncludeViolation violation{"src/model/history.h", 9, "view/polydrom_view.h", "model may not see view"};
    EXPECT_EQ(Describe(violation), "src/model/history.h:9: includes \"view/polydrom_view.h\": model may not see view");
}
