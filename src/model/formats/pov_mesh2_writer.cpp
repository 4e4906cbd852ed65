// POV-Ray's mesh2: the points once each, then the faces as point numbers, declared as
// Polydrom_Object with the same pigment as the union, for a scene to #include.
#include "model/formats/mesh_writer.h"

namespace {

void AppendVector(std::string& out, float x, float y, float z)
{
    out += '<';
    AppendShortestFloat(out, x);
    out += ',';
    AppendShortestFloat(out, y);
    out += ',';
    AppendShortestFloat(out, z);
    out += '>';
}

class PovMesh2Writer : public MeshWriter {
public:
    bool Write(const IndexedMesh& mesh, std::string* bytes, std::string* reason) const override
    {
        // POV-Ray stops a scene with "No vertices in triangle mesh" on an empty mesh2,
        // so there is no file that would serve a scene including it.
        if (mesh.faces.empty()) {
            *reason = "no triangles to export (a POV-Ray mesh2 needs at least one)";
            return false;
        }
        std::string& text = *bytes;
        text = "// Polydrom mesh: " + Counted(mesh.points.size(), "vertex", "vertices") + ", " +
               Counted(mesh.faces.size(), "triangle", "triangles") + "\n";
        text.reserve(text.size() + 128 + mesh.points.size() * 40 + mesh.faces.size() * 24);
        text += "#declare Polydrom_Object = mesh2 {\n  vertex_vectors {\n    ";
        text += std::to_string(mesh.points.size());
        for (const MeshPoint& p : mesh.points) {
            text += ",\n    ";
            AppendVector(text, p.x, p.y, p.z);
        }
        text += "\n  }\n  face_indices {\n    ";
        text += std::to_string(mesh.faces.size());
        for (const TriangleCorners& f : mesh.faces) {
            text += ",\n    <";
            text += std::to_string(f.first);
            text += ',';
            text += std::to_string(f.second);
            text += ',';
            text += std::to_string(f.third);
            text += '>';
        }
        text += "\n  }\n  pigment {Red}\n}\n";
        return true;
    }
};

}  // namespace

std::unique_ptr<MeshWriter> MakePovMesh2Writer() { return std::make_unique<PovMesh2Writer>(); }
