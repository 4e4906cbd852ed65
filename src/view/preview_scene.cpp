// Writing the render preview's scene: camera, light, background and the export's
// triangles, the selected ones tinted.
#include "view/preview_scene.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <span>
#include <vector>

#include "model/export_triangles.h"
#include "model/formats/mesh_writer.h"
#include "model/polydrom_doc.h"
#include "view/polydrom_view.h"

namespace {

// Colours in POV-Ray's linear terms (the picture is written sRGB-encoded): a light
// background, a neutral grey surface well darker than it even where the light falls
// straight on, and the red of the view's selected vertex marks for the selection.
constexpr const char* kBackground = "rgb <0.86, 0.88, 0.92>";
constexpr const char* kSurface = "rgb <0.55, 0.55, 0.53>";
constexpr const char* kSelectedSurface = "rgb <0.85, 0.16, 0.10>";

void AppendNumber(std::string& out, double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AppendVector(std::string& out, const double v[3])
{
    out += '<';
    for (int k = 0; k < 3; ++k) {
        if (k) out += ", ";
        AppendNumber(out, v[k]);
    }
    out += '>';
}

// The triangles File > Export As writes, each once, as model vertex indices in the
// search's corner order (the order the preview's scenes have always had).
Result ExportTrianglesOf(const PreviewSource& source, std::vector<TriangleCorners>* triangles)
{
    ExportTriangles found;
    std::string reason;
    if (!FindExportTriangles(TriangleSourceOf(source.model), TriangleWinding::AsFound, &found, &reason))
        return Result::Failure(reason);
    triangles->reserve(found.mesh.faces.size());
    for (const TriangleCorners& f : found.mesh.faces)
        triangles->push_back({found.vertexOf[static_cast<std::size_t>(f.first)],
                              found.vertexOf[static_cast<std::size_t>(f.second)],
                              found.vertexOf[static_cast<std::size_t>(f.third)]});
    return Result::Success();
}

// One group of triangles as the mesh2 writer writes it, ready to be placed as an object.
struct MeshText {
    IndexedMesh mesh;
    std::string text;
};

Result WriteMesh(const PreviewSource& source, const std::vector<TriangleCorners>& triangles, MeshText* out)
{
    std::string reason;
    if (!IndexTriangles(std::span(source.model.x), std::span(source.model.y), std::span(source.model.z), triangles,
                        &out->mesh, &reason) ||
        !MakePovMesh2Writer()->Write(out->mesh, &out->text, &reason))
        return Result::Failure(reason);
    return Result::Success();
}

void Cross(const double a[3], const double b[3], double out[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// Whether the triangle's corners lie on one line across the view: its area seen along
// the viewing axis is nothing (exactly, as for a side of a cylinder standing on it).
bool SeenEdgeOn(const PreviewSource& source, const TriangleCorners& t, const ScreenAxes& axes)
{
    const std::vector<float>* coords[3] = {&source.model.x, &source.model.y, &source.model.z};
    const float* h = coords[axes.h]->data();
    const float* v = coords[axes.v]->data();
    const double ah = double(h[t.second]) - h[t.first], av = double(v[t.second]) - v[t.first];
    const double bh = double(h[t.third]) - h[t.first], bv = double(v[t.third]) - v[t.first];
    return ah * bv - av * bh == 0;
}

}  // namespace

PreviewSource TakePreviewSource(const CPolydromView& view)
{
    PreviewSource source;
    source.state = view.m_state;
    const CPolydromDoc* doc = view.GetDocument();
    if (!doc) return source;
    source.hasModel = true;
    source.model = CopyModel(*doc);
    return source;
}

PreviewScene BuildPreviewScene(const CPolydromView& view, int width, int height)
{
    return BuildPreviewScene(TakePreviewSource(view), width, height);
}

PreviewScene BuildPreviewScene(const PreviewSource& source, int width, int height)
{
    PreviewScene scene;
    auto fail = [&](std::string reason) {
        static_cast<Result&>(scene) = Result::Failure(std::move(reason));
        return scene;
    };
    const ViewState& view = source.state;
    if (!source.hasModel) return fail("there is no model to render");
    if (width <= 0 || height <= 0) return fail("the picture has no area");
    if (!(view.zoom > 0) || !std::isfinite(view.zoom)) return fail("the view's zoom is not a positive number");

    // Selected triangles go into a second mesh, so that each can carry its own colour.
    std::vector<TriangleCorners> all, plain, selected;
    if (Result found = ExportTrianglesOf(source, &all); !found) return fail(found.error);
    const std::int32_t* sel = source.model.selected.data();
    for (const TriangleCorners& t : all) {
        const bool chosen = sel[t.first] == 1 && sel[t.second] == 1 && sel[t.third] == 1;
        (chosen ? selected : plain).push_back(t);
    }
    scene.triangles = static_cast<int>(plain.size() + selected.size());
    scene.selected = static_cast<int>(selected.size());
    if (scene.triangles == 0) return fail(std::string(kNoTrianglesNote));
    const ScreenAxes axes = view.Shown();
    if (std::all_of(all.begin(), all.end(), [&](const TriangleCorners& t) { return SeenEdgeOn(source, t, axes); })) {
        const char name = "XYZ"[axes.d];
        scene.edgeOnNote = std::string("Every triangle is seen edge-on along ") + name +
                           ": look along another axis, or turn the model in the 3-D View";
    }
    MeshText meshes[2];
    for (int k = 0; k < 2; ++k) {
        const auto& group = k == 0 ? plain : selected;
        if (group.empty()) continue;
        if (Result written = WriteMesh(source, group, &meshes[k]); !written) return fail(written.error);
    }

    // The view shows (model + pan) x zoom with half the client size added, so the
    // picture's centre is the model point -pan and one model unit spans zoom pixels.
    // Screen Y grows downwards, so the camera's up is minus the vertical axis.
    const double pan[3] = {view.pan[0], view.pan[1], view.pan[2]};
    PreviewCamera& camera = scene.camera;
    camera.right[axes.h] = width / double(view.zoom);
    camera.up[axes.v] = -height / double(view.zoom);
    // POV-Ray's own camera looks along right x up (x right, y up, z into the screen); so
    // does this one, which makes the picture a turn of what POV-Ray shows, never a mirror.
    double in[3];
    Cross(camera.right, camera.up, in);
    const double inSign = in[axes.d] > 0 ? 1.0 : -1.0;
    camera.direction[axes.d] = inSign;

    // Orthographic rays start on the camera's plane: it stands in front of every point.
    double nearest = HUGE_VAL, farthest = -HUGE_VAL;
    for (const MeshText& m : meshes)
        for (const MeshPoint& p : m.mesh.points) {
            const double depth = inSign * (axes.d == 0 ? p.x : axes.d == 1 ? p.y : p.z);
            nearest = std::min(nearest, depth);
            farthest = std::max(farthest, depth);
        }
    const double margin = 1.0 + 0.01 * (farthest - nearest) + 1e-6 * std::fabs(nearest);
    camera.location[axes.h] = -pan[axes.h];
    camera.location[axes.v] = -pan[axes.v];
    camera.location[axes.d] = inSign * (nearest - margin);

    // A parallel light from over the viewer's left shoulder: faces turned towards the
    // viewer are bright, and faces turned away from it differ from each other.
    double travel[3], target[3], lamp[3];
    const double span = std::max(width, height) / double(view.zoom) + (farthest - nearest) + 1.0;
    for (int k = 0; k < 3; ++k) {
        const double rightUnit = camera.right[k] / std::fabs(camera.right[axes.h]);
        const double upUnit = camera.up[k] / std::fabs(camera.up[axes.v]);
        travel[k] = camera.direction[k] + 0.3 * rightUnit - 0.45 * upUnit;
        target[k] = camera.location[k] + camera.direction[k] * margin;
        lamp[k] = target[k] - travel[k] * span;
    }

    std::string& text = scene.text;
    text = "// Polydrom render preview: " +
           Counted(static_cast<std::size_t>(scene.triangles), "triangle", "triangles") + ", " +
           std::to_string(scene.selected) + " selected; " + std::to_string(width) + "x" + std::to_string(height) +
           " pixels\n";
    text += "#version 3.7;\nglobal_settings { assumed_gamma 1.0 }\n";
    text += std::string("background { ") + kBackground + " }\n";
    text += "#default { finish { ambient 0.22 diffuse 0.78 } }\n";
    text += "camera {\n  orthographic\n  location ";
    AppendVector(text, camera.location);
    text += "\n  right ";
    AppendVector(text, camera.right);
    text += "\n  up ";
    AppendVector(text, camera.up);
    text += "\n  direction ";
    AppendVector(text, camera.direction);
    text += "\n}\nlight_source { ";
    AppendVector(text, lamp);
    text += " color rgb <1, 1, 1> parallel point_at ";
    AppendVector(text, target);
    text += " shadowless }\n";
    // The mesh2 names its pigment Red: each group says what Red is for it.
    const char* colours[2] = {kSurface, kSelectedSurface};
    for (int k = 0; k < 2; ++k) {
        if (meshes[k].text.empty()) continue;
        text += std::string("#declare Red = ") + colours[k] + ";\n";
        text += meshes[k].text;
        text += "object { Polydrom_Object }\n";
    }
    return scene;
}
