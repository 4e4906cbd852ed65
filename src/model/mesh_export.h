// The file formats the model's triangles can be exported to, and how a path picks one.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "framework/result.h"

enum class MeshFormat {
    PovUnion,  // ".pov": the union of triangle objects that File > Export POVFILE writes
    PovMesh2,  // ".inc": one mesh2 declared as Polydrom_Object
    Obj,       // ".obj": Wavefront OBJ
    Stl,       // ".stl": binary STL
};

class MeshWriter;

// What a format asks of the export besides its writer.
struct MeshFormatCapabilities {
    // Faces wound so that their corners run counter-clockwise seen from outside, as
    // programs that take the winding for the outside of the surface expect.
    bool wound = false;
    // Read by other modellers and printers: the axes are converted between the model's
    // and theirs (Y or Z up) when the user asks for it.
    bool exchange = false;
};

struct MeshFormatInfo {
    MeshFormat format;
    std::string_view name;       // for a file dialog's filter: "Wavefront OBJ"
    std::string_view extension;  // with its dot: ".obj"
    std::unique_ptr<MeshWriter> (*makeWriter)();
    MeshFormatCapabilities capabilities;
};

// Every format, in the order a file dialog lists them (the table in model/formats).
std::span<const MeshFormatInfo> MeshFormats();
const MeshFormatInfo& MeshFormatInfoOf(MeshFormat format);

// The format the path's extension names, in any letter case; nothing for another extension.
std::optional<MeshFormat> MeshFormatForPath(std::string_view path);

// What an export did: the triangles written and the pieces they make, or an error
// naming the file and the reason.
struct [[nodiscard]] MeshExportResult : Result {
    int triangles = 0;
    int closedPieces = 0;
    int openPieces = 0;  // open or non-manifold: a printer's slicer may not take them
};
