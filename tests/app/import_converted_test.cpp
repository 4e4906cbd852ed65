// Formats the tests cannot sensibly write by hand (3DS, COLLADA, binary glTF), made by
// the library's own command-line tool from an OBJ export: each must import with the
// OBJ's coordinates, bit for bit, whatever axis convention its reader assumes.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "batch_run.h"
#include "model/polydrom_doc.h"

namespace {

using PointBits = std::array<std::uint32_t, 3>;

// Every vertex by its bits; with signedZero false, -0 counts as 0.
std::set<PointBits> Points(const CPolydromDoc& doc, bool signedZero)
{
    auto bits = [&](float f) { return std::bit_cast<std::uint32_t>(!signedZero && f == 0.0f ? 0.0f : f); };
    std::set<PointBits> points;
    for (int v = 0; v < doc.GetVertexCount(); ++v) points.insert({bits(doc.m_x[v]), bits(doc.m_y[v]), bits(doc.m_z[v])});
    return points;
}

struct Conversion {
    const char* extension;
    const char* format;  // assimp export -f
    // Text to change in the converted file before it is imported ("" for none).
    const char* from;
    const char* to;
    // The 3-D Studio reader multiplies every vertex by its mesh's matrix, which turns -0 into 0.
    bool signedZero = true;
};

class ConvertedImport : public ::testing::TestWithParam<Conversion> {};

TEST_P(ConvertedImport, KeepsTheCoordinatesAsStored)
{
    // A box and a turned, moved cone: three distinct coordinates along every axis, so
    // that any turn or flip of the axes shows.
    TempFolder folder;
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    doc->OnShapeBox({});
    doc->MoveSelected(-5.5f, 20.25f, -70.125f);
    doc->OnShapeCone({});
    doc->OnStepFine();
    doc->OnDoRotateCw({});
    const std::string obj = folder / "model.obj";
    ASSERT_TRUE(doc->ExportMesh(obj, MeshFormat::Obj).ok);
    auto reference = std::make_unique<CPolydromDoc>();
    reference->OnNewDocument();
    ASSERT_TRUE(reference->ImportMesh(obj).ok);

    const Conversion& c = GetParam();
    const std::string converted = folder / (std::string("model.") + c.extension);
    const BatchOutcome run =
        RunShell("assimp export " + Quoted(obj) + " " + Quoted(converted) + " -f " + c.format + " > /dev/null");
    ASSERT_EQ(run.status, 0) << run.out;
    if (*c.from) {
        std::string text = ReadText(converted);
        const auto at = text.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from;
        text.replace(at, std::string(c.from).size(), c.to);
        WriteBytes(converted, text);
    }
    auto imported = std::make_unique<CPolydromDoc>();
    imported->OnNewDocument();
    const ImportResult result = imported->ImportMesh(converted);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(Points(*imported, c.signedZero), Points(*reference, c.signedZero));
    EXPECT_EQ(imported->GetEdgeCount(), reference->GetEdgeCount());
}

INSTANTIATE_TEST_SUITE_P(Formats, ConvertedImport,
                         ::testing::Values(Conversion{"3ds", "3ds", "", "", false},
                                           Conversion{"dae", "collada", "<up_axis>Y_UP</up_axis>",
                                                      "<up_axis>Z_UP</up_axis>"},
                                           Conversion{"glb", "glb2", "", ""}, Conversion{"ply", "plyb", "", ""}),
                         [](const auto& info) { return std::string(info.param.extension); });

}  // namespace
