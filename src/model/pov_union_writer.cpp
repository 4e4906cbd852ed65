// The union of triangle objects that File > Export POVFILE writes. Lines end in a
// bare carriage return, as POV-Ray has always read them.
#include "model/mesh_writer.h"
#include "model/pov_number.h"

namespace {

class PovUnionWriter : public MeshWriter {
public:
    bool Write(const IndexedMesh& mesh, std::string* bytes, std::string*) const override
    {
        std::string& text = *bytes;
        text = "union{ \r";
        text.reserve(text.size() + mesh.faces.size() * 100 + 3);
        for (const TriangleCorners& face : mesh.faces) {
            text += " triangle{ ";
            for (std::int32_t k : {face.first, face.second, face.third}) {
                const MeshPoint& p = mesh.points[static_cast<std::size_t>(k)];
                WritePovVector(p.x, p.y, p.z, text);
            }
            text += " pigment {Red}} \r";
        }
        text += "} \r";
        return true;
    }
};

}  // namespace

std::unique_ptr<MeshWriter> MakePovUnionWriter() { return std::make_unique<PovUnionWriter>(); }
