// The STL export checked by ADMesh, a repair tool for STL files: a closed model must need
// no repair at all - no backwards edges, no normals fixed, no facets reversed.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "batch_run.h"
#include "model/model_fixtures.h"
#include "model/solid_models.h"
#include "test_files.h"

namespace {

// The first number after the label in ADMesh's report ("Facets reversed       :     0"),
// or -1 when the label is missing.
long Figure(const std::string& report, const std::string& label)
{
    const auto at = report.find(label);
    if (at == std::string::npos) return -1;
    const auto colon = report.find(':', at);
    return colon == std::string::npos ? -1 : std::stol(report.substr(colon + 1));
}

std::string Check(CPolydromDoc& doc, const TempFolder& folder)
{
    const MeshExportResult result = doc.ExportMesh(folder / "model.stl", MeshFormat::Stl);
    EXPECT_TRUE(result.ok) << result.error;
    // Without options ADMesh runs every check and repair, and counts what it had to change.
    const BatchOutcome run = RunShell("cd " + Quoted(folder.Path()) + " && admesh model.stl");
    EXPECT_EQ(run.status, 0) << run.out;
    return run.out;
}

TEST(Admesh, ClosedModelsNeedNoRepair)
{
    const struct {
        const char* name;
        std::unique_ptr<CPolydromDoc> doc;
        long facets, parts;
    } cases[] = {
        {"box closed with Connects", ConnectedBox(), 12, 1},
        {"tetrahedron", ModelFrom(kTetrahedron), 4, 1},
        {"tetrahedron mirrored in X", ModelFrom("0 0 0 0|-10 0 0 0|0 10 0 0|0 0 10 0;0-1 0-2 0-3 1-2 2-3 3-1"), 4, 1},
        {"octahedron",
         ModelFrom("10 0 0 0|-10 0 0 0|0 10 0 0|0 -10 0 0|0 0 10 0|0 0 -10 0;"
                   "0-2 2-1 1-3 3-0 4-0 4-1 4-2 4-3 5-0 5-1 5-2 5-3"),
         8, 1},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        const std::string report = Check(*c.doc, folder);
        EXPECT_EQ(Figure(report, "Number of facets"), c.facets) << c.name << "\n" << report;
        EXPECT_EQ(Figure(report, "Number of parts"), c.parts) << c.name << "\n" << report;
        for (const char* label : {"Total disconnected facets", "Degenerate facets", "Edges fixed", "Facets removed",
                                  "Facets added", "Facets reversed", "Backwards edges", "Normals fixed"})
            EXPECT_EQ(Figure(report, label), 0) << c.name << ": " << label << "\n" << report;
        EXPECT_GT(std::stod(report.substr(report.find("Volume   :") + 10)), 0) << c.name << "\n" << report;
    }
}

TEST(Admesh, ReportsTheHolesOfAnOpenBox)
{
    // The box primitive has no top or bottom: ADMesh finds the open edges, so the check
    // above is not passing for want of looking.
    TempFolder folder;
    auto box = NewDoc();
    box->OnShapeBox({});
    const std::string report = Check(*box, folder);
    EXPECT_EQ(Figure(report, "Number of facets"), 8) << report;
    EXPECT_GT(Figure(report, "Total disconnected facets"), 0) << report;
}

}  // namespace
