// The export command on the document: its report, its marks, and what it refuses.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "model/polydrom_doc.h"

namespace {

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs the test inside a fresh temporary folder and goes back afterwards.
class InTempFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_old = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "polydrom-export-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        std::filesystem::current_path(m_folder);
    }
    void TearDown() override
    {
        std::filesystem::current_path(m_old);
        std::filesystem::remove_all(m_folder);
    }
    std::filesystem::path m_old, m_folder;
};


TEST_F(InTempFolder, MenuCommandReportsTheTriangleCount)
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    doc->OnShapeCylinder();
    doc->OnFileExportPov();
    const CommandReport report = doc->TakeReport();
    EXPECT_EQ(report.kind, CommandReport::Kind::Info);
    EXPECT_EQ(report.text, "Exported 10 triangles to object.pov");
    EXPECT_EQ(Contents("object.pov").substr(0, 8), "union{ \r");
    // Every edge of the cylinder belongs to a written side triangle.
    for (int j = 0; j < doc->m_nEdges; ++j) EXPECT_EQ(doc->m_edgeUsed[j], 1) << "edge " << j;
}

TEST_F(InTempFolder, MarksAreClearedBeforeEachSearch)
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    doc->OnShapeBox();
    for (int j = 0; j < doc->m_nEdges; ++j) doc->m_edgeUsed[j] = 1;
    const PovExportResult result = doc->ExportPov("box.pov");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.triangles, 8);
}

TEST_F(InTempFolder, ANonFiniteCoordinateIsRefusedAndTheOldFileKept)
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    doc->OnShapeSquare();
    std::ofstream("object.pov", std::ios::binary) << "old";
    // Three of the square's corners joined into a triangle, then grown past the float range.
    doc->m_sel[3] = 0;
    doc->OnDoConnect();
    doc->m_x[1] = FLT_MAX;
    doc->OnStepCoarsest();
    doc->OnDoGrow();
    ASSERT_TRUE(std::isinf(doc->m_x[1]));
    doc->OnFileExportPov();
    const CommandReport report = doc->TakeReport();
    EXPECT_EQ(report.kind, CommandReport::Kind::Refusal);
    EXPECT_NE(report.text.find("object.pov\": vertex 1 has a coordinate that is not a finite number"),
              std::string::npos)
        << report.text;
    EXPECT_EQ(Contents("object.pov"), "old");
}

}  // namespace
