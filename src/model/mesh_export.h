// The file formats the model's triangles can be exported to, and how a path picks one.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

enum class MeshFormat {
    PovUnion,  // ".pov": the union of triangle objects that File > Export POVFILE writes
    PovMesh2,  // ".inc": one mesh2 declared as Polydrom_Object
    Obj,       // ".obj": Wavefront OBJ
    Stl,       // ".stl": binary STL
};

struct MeshFormatInfo {
    MeshFormat format;
    std::string_view name;       // for a file dialog's filter: "Wavefront OBJ"
    std::string_view extension;  // with its dot: ".obj"
};

// Every format, in the order a file dialog lists them.
std::span<const MeshFormatInfo> MeshFormats();
const MeshFormatInfo& MeshFormatInfoOf(MeshFormat format);

// The format the path's extension names, in any letter case; nothing for another extension.
std::optional<MeshFormat> MeshFormatForPath(std::string_view path);

// What an export did: the triangle count written, or an error naming the file and the reason.
struct MeshExportResult {
    bool ok = false;
    int triangles = 0;
    std::string error;  // names the file and the reason when !ok
};
