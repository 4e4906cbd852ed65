// The union of triangle objects that File > Export POVFILE writes. Lines end in a
// bare carriage return, as POV-Ray has always read them.
#include <vector>

#include "model/formats/mesh_writer.h"
#include "model/formats/pov_number.h"

namespace {

class PovUnionWriter : public MeshWriter {
public:
    bool Write(const IndexedMesh& mesh, std::string* bytes, std::string*) const override
    {
        // A point is a corner of several triangles: its text is made once (exact five-digit
        // rounding is the slow part of the export).
        std::vector<std::string> corners(mesh.points.size());
        for (std::size_t k = 0; k < corners.size(); ++k)
            WritePovVector(mesh.points[k].x, mesh.points[k].y, mesh.points[k].z, corners[k]);
        std::string& text = *bytes;
        text = "union{ \r";
        text.reserve(text.size() + mesh.faces.size() * 100 + 3);
        for (const TriangleCorners& face : mesh.faces) {
            text += " triangle{ ";
            for (std::int32_t k : {face.first, face.second, face.third}) text += corners[static_cast<std::size_t>(k)];
            text += " pigment {Red}} \r";
        }
        text += "} \r";
        return true;
    }
};

}  // namespace

std::unique_ptr<MeshWriter> MakePovUnionWriter() { return std::make_unique<PovUnionWriter>(); }
