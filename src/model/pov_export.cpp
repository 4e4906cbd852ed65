// The POV-Ray export: every triangle the edges close, as a union of triangle objects
// in "object.pov". Lines end in a bare carriage return, as POV-Ray has always read them.
#include <cmath>
#include <filesystem>
#include <string>
#include <system_error>

#include "framework/atomic_file.h"
#include "model/polydrom_doc.h"
#include "model/pov_number.h"
#include "model/triangle_search.h"

namespace {

// The path as the user should see it in a message: absolute, so the folder shows.
std::string Shown(const std::string& path)
{
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.string();
}

}  // namespace

PovExportResult CPolydromDoc::ExportPov(const std::string& path)
{
    PovExportResult result;
    const auto edges = static_cast<std::size_t>(m_nEdges);
    const std::vector<TriangleCorners> triangles =
        FindTriangles(std::span(m_edgeFrom, edges), std::span(m_edgeTo, edges), std::span(m_edgeUsed, edges));

    std::string text = "union{ \r";
    text.reserve(text.size() + triangles.size() * 100 + 3);
    for (const TriangleCorners& t : triangles) {
        text += " triangle{ ";
        for (int v : {t.first, t.second, t.third}) {
            // An overflowed coordinate would make a file no reader takes; say which vertex.
            if (!std::isfinite(m_x[v]) || !std::isfinite(m_y[v]) || !std::isfinite(m_z[v])) {
                result.error = "Cannot export \"" + Shown(path) + "\": vertex " + std::to_string(v) +
                               " has a coordinate that is not a finite number.";
                return result;
            }
            WritePovVector(m_x[v], m_y[v], m_z[v], text);
        }
        text += " pigment {Red}} \r";
    }
    text += "} \r";

    std::string reason;
    if (!WriteFileAtomically(path, text, &reason)) {
        result.error = "Cannot export \"" + Shown(path) + "\": " + reason + ".";
        return result;
    }
    result.ok = true;
    result.triangles = static_cast<int>(triangles.size());
    return result;
}

void CPolydromDoc::OnFileExportPov()
{
    // Always "object.pov" in the current folder; scenes include it by that name.
    const PovExportResult result = ExportPov("object.pov");
    if (!result.ok) {
        ReportRefusal(result.error);
        return;
    }
    ReportInfo("Exported " + std::to_string(result.triangles) +
               (result.triangles == 1 ? " triangle" : " triangles") + " to object.pov");
}
