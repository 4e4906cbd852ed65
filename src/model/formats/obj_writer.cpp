// Wavefront OBJ: a comment, a "v" line per point and an "f" line per face, numbered from 1.
#include "model/formats/mesh_writer.h"

namespace {

class ObjWriter : public MeshWriter {
public:
    bool Write(const IndexedMesh& mesh, std::string* bytes, std::string*) const override
    {
        std::string& text = *bytes;
        text = "# Polydrom mesh: " + Counted(mesh.points.size(), "vertex", "vertices") + ", " +
               Counted(mesh.faces.size(), "triangle", "triangles") + "\n";
        text.reserve(text.size() + mesh.points.size() * 36 + mesh.faces.size() * 24);
        for (const MeshPoint& p : mesh.points) {
            text += "v ";
            AppendObjFloat(text, p.x);
            text += ' ';
            AppendObjFloat(text, p.y);
            text += ' ';
            AppendObjFloat(text, p.z);
            text += '\n';
        }
        for (const TriangleCorners& f : mesh.faces) {
            text += "f ";
            text += std::to_string(f.first + 1);
            text += ' ';
            text += std::to_string(f.second + 1);
            text += ' ';
            text += std::to_string(f.third + 1);
            text += '\n';
        }
        return true;
    }
};

}  // namespace

std::unique_ptr<MeshWriter> MakeObjWriter() { return std::make_unique<ObjWriter>(); }
