// The render preview's scene: its camera puts every vertex on the pixel of the view's
// vertex mark, whatever the axis, zoom, pan and size; the selection is tinted; a model
// without triangles gets its note.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "scene.h"
#include "view/preview_scene.h"

namespace {

double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

struct Pixel {
    int x, y;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// Where POV-Ray's orthographic camera shows a model point: the pixel whose centre's ray
// passes through it (see PreviewCamera).
Pixel PovRayPixel(const PreviewCamera& camera, const double p[3], int width, int height)
{
    const double d[3] = {p[0] - camera.location[0], p[1] - camera.location[1], p[2] - camera.location[2]};
    const double u = Dot(d, camera.right) / Dot(camera.right, camera.right);
    const double v = Dot(d, camera.up) / Dot(camera.up, camera.up);
    return {int(std::floor((u + 0.5) * width)), int(std::floor((0.5 - v) * height))};
}

// The centre pixel of every vertex mark the view draws: the mark's first line starts two
// pixels up and left of it.
std::vector<Pixel> MarkCentres(Scene& scene)
{
    scene.view.m_modelOnly = true;
    const CRecordingDC dc = scene.Paint();
    const auto& lines = dc.Lines();
    std::vector<Pixel> centres;
    const std::size_t first = lines.size() - 2 * static_cast<std::size_t>(scene.doc->GetVertexCount());
    for (std::size_t k = first; k < lines.size(); k += 2) {
        Pixel p{};
        std::sscanf(lines[k].c_str(), "(%d,%d)", &p.x, &p.y);
        centres.push_back({p.x + 2, p.y + 2});
    }
    return centres;
}

TEST(PreviewScene, EveryVertexLandsOnThePixelOfItsMark)
{
    struct Case {
        int axis;  // 0 X, 1 Y, 2 Z
        float zoom, pan[3];
        int width, height;
    };
    const Case cases[] = {
        {0, 1, {0, 0, 0}, 160, 120},      {1, 1, {0, 0, 0}, 160, 120},      {2, 1, {0, 0, 0}, 160, 120},
        {0, 2.5f, {3, -7.25f, 11}, 161, 99}, {1, 2.5f, {3, -7.25f, 11}, 161, 99}, {2, 2.5f, {3, -7.25f, 11}, 161, 99},
        {0, 0.375f, {-40, 60, 25}, 400, 300}, {1, 0.375f, {-40, 60, 25}, 400, 300},
        {2, 0.375f, {-40, 60, 25}, 400, 300},
    };
    for (const Case& c : cases) {
        Scene scene(c.width, c.height);
        scene.view.m_state.axis = ViewAxis(c.axis);
        scene.view.m_state.zoom = c.zoom;
        scene.view.m_state.pan[0] = c.pan[0];
        scene.view.m_state.pan[1] = c.pan[1];
        scene.view.m_state.pan[2] = c.pan[2];
        // Off-centre and without any symmetry, none of them on a pixel boundary.
        const float points[][3] = {{-9.3f, -6.1f, -4.2f}, {21.7f, -5.3f, -3.9f}, {-8.6f, 13.9f, -5.1f},
                                   {-9.9f, -7.7f, 8.8f},  {3.1f, 2.2f, 1.3f},    {17.45f, 9.05f, 6.6f}};
        for (const auto& p : points) scene.Vertex(p[0], p[1], p[2]);
        for (auto [a, b] : {std::pair{0, 1}, {1, 2}, {2, 0}, {0, 3}, {1, 3}, {2, 3}}) scene.Edge(a, b);

        const PreviewScene preview = BuildPreviewScene(scene.view, c.width, c.height);
        ASSERT_TRUE(preview.ok) << preview.error;
        const std::vector<Pixel> marks = MarkCentres(scene);
        const PreviewCamera& camera = preview.camera;
        for (std::size_t i = 0; i < std::size(points); ++i) {
            const double p[3] = {points[i][0], points[i][1], points[i][2]};
            const Pixel at = PovRayPixel(camera, p, c.width, c.height);
            EXPECT_EQ(at, marks[i]) << "axis " << c.axis << " zoom " << c.zoom << " vertex " << i << ": POV-Ray ("
                                    << at.x << "," << at.y << "), view (" << marks[i].x << "," << marks[i].y << ")";
            // The camera looks along the viewing axis from in front of the whole model.
            const double d[3] = {p[0] - camera.location[0], p[1] - camera.location[1], p[2] - camera.location[2]};
            EXPECT_GT(Dot(d, camera.direction), 0.5) << "axis " << c.axis << " vertex " << i;
        }
        EXPECT_EQ(std::fabs(camera.direction[c.axis]), 1.0);
    }
}

// The scene's document replaced by a model written as model text.
void Load(Scene& scene, const char* text)
{
    scene.doc->RemoveView(&scene.view);
    scene.doc = ModelFrom(text);
    scene.doc->AddView(&scene.view);
}

TEST(PreviewScene, TintsTrianglesWithAllThreeCornersSelected)
{
    struct Case {
        const char* model;
        int triangles, selected;
    };
    // A square with a diagonal: triangles 0-1-2 and 2-3-0.
    const Case cases[] = {
        {"0 0 0 0|10 0 0 0|10 10 0 0|0 10 0 0;0-1 1-2 2-3 3-0 0-2", 2, 0},
        {"0 0 0 1|10 0 0 1|10 10 0 1|0 10 0 0;0-1 1-2 2-3 3-0 0-2", 2, 1},
        {"0 0 0 1|10 0 0 0|10 10 0 1|0 10 0 1;0-1 1-2 2-3 3-0 0-2", 2, 1},
        {"0 0 0 1|10 0 0 1|10 10 0 1|0 10 0 1;0-1 1-2 2-3 3-0 0-2", 2, 2},
        // Two corners of each: neither is tinted.
        {"0 0 0 1|10 0 0 0|10 10 0 1|0 10 0 0;0-1 1-2 2-3 3-0 0-2", 2, 0},
    };
    for (const Case& c : cases) {
        Scene scene;
        Load(scene, c.model);
        const PreviewScene preview = BuildPreviewScene(scene.view, 160, 120);
        ASSERT_TRUE(preview.ok) << preview.error;
        EXPECT_EQ(preview.triangles, c.triangles) << c.model;
        EXPECT_EQ(preview.selected, c.selected) << c.model;
        // One object for the plain triangles and one for the tinted ones, each only when it has any.
        std::size_t objects = 0;
        const std::string& text = preview.text;
        for (auto at = text.find("object {"); at != std::string::npos; at = text.find("object {", at + 1)) ++objects;
        EXPECT_EQ(objects, std::size_t(c.selected > 0) + std::size_t(c.triangles > c.selected)) << c.model;
    }
}

// A triangle in a plane that holds the viewing axis is a line across the view: the
// preview says so rather than show the background alone.
TEST(PreviewScene, NotesWhenEveryTriangleIsSeenEdgeOn)
{
    struct Case {
        const char* model;
        const char* notes[3];  // along X, Y and Z
    };
    const Case cases[] = {
        // In the plane x = 3.
        {"3 0 0 0|3 10 0 0|3 0 10 0;0-1 1-2 2-0", {"", "along Y", "along Z"}},
        // And one in the plane y = 0: only along Z are both edge-on.
        {"3 0 0 0|3 10 0 0|3 0 10 0|0 0 0 0|10 0 0 0|0 0 10 0;0-1 1-2 2-0 3-4 4-5 5-3", {"", "", "along Z"}},
    };
    for (const Case& c : cases) {
        Scene scene(160, 120);
        Load(scene, c.model);
        for (int axis = 0; axis < 3; ++axis) {
            scene.view.m_state.axis = ViewAxis(axis);
            const PreviewScene preview = BuildPreviewScene(scene.view, 160, 120);
            ASSERT_TRUE(preview.ok) << preview.error;
            const std::string expected = c.notes[axis];
            if (expected.empty())
                EXPECT_EQ(preview.edgeOnNote, "") << c.model << " axis " << axis;
            else
                EXPECT_NE(preview.edgeOnNote.find(expected), std::string::npos) << c.model << " axis " << axis;
        }
    }
}

TEST(PreviewScene, SaysWhyThereIsNothingToRender)
{
    struct Case {
        const char* model;
        int width, height;
        std::string reason;
    };
    const Case cases[] = {
        {"0 0 0 0|10 0 0 0|10 10 0 0|0 10 0 0;0-1 1-2 2-3 3-0", 160, 120, std::string(kNoTrianglesNote)},
        {"0 0 0 0|10 0 0 0;0-1", 160, 120, std::string(kNoTrianglesNote)},
        {"0 0 0 0|10 0 0 0|0 10 0 0;0-1 1-2 2-0", 0, 120, "the picture has no area"},
        {"0 0 0 0|10 0 0 0|0 10 0 0;0-1 1-2 2-0", 160, 0, "the picture has no area"},
        {"0 0 0 0|inf 0 0 0|0 10 0 0;0-1 1-2 2-0", 160, 120, "vertex 1 has a coordinate that is not a finite number"},
    };
    for (const Case& c : cases) {
        Scene scene;
        Load(scene, c.model);
        const PreviewScene preview = BuildPreviewScene(scene.view, c.width, c.height);
        EXPECT_FALSE(preview.ok) << c.model;
        EXPECT_EQ(preview.error, c.reason) << c.model;
        EXPECT_TRUE(preview.text.empty());
    }
}

}  // namespace
