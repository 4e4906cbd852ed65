// Importing meshes made by other programs (OBJ, STL, PLY, OFF, 3DS, glTF, COLLADA and
// the rest of what the Open Asset Import Library reads) as vertices and edges.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/result.h"
#include "model/formats/axes.h"
#include "model/formats/import_child.h"

// A file larger than this is refused before anything is read: room for a binary STL of
// 5 million triangles, or a few million in a text format, and it keeps a 2 GB scan from
// being read whole into the helper.
constexpr std::uint64_t kMaxImportFileBytes = std::uint64_t(256) << 20;

// One format the library reads: "Wavefront Object Importer", {"obj"}.
struct ImportFormat {
    std::string name;
    std::vector<std::string> extensions;  // lower case, without the dot
};

// The library's own list, in its order.
const std::vector<ImportFormat>& ImportFormats();
// True when the file name's extension (any letter case) is one the library reads.
bool IsImportablePath(std::string_view path);

struct ImportOptions {
    // A helper that takes longer is stopped and the import refused.
    std::chrono::milliseconds timeLimit{60000};
    ImportProgress progress;
    // The file's units to the model's, applied before the axes are converted.
    double scale = 1.0;
    // The file's coordinates as they stand unless asked otherwise; the menu command and
    // --import ask for the conversion unless the user turns it off.
    AxisConversion axes = AxisConversion::AsStored;
};

// A file read into plain arrays, every vertex and edge already checked, or the reason
// (naming the file) it was refused.
struct [[nodiscard]] MeshReadResult : Result {
    bool cancelled = false;
    ImportedMesh mesh;
};

// Reads the file in a helper process: polygons triangulated, identical positions joined,
// every node's transform applied, one edge per distinct side of every face, every
// triangle a face, points and lines kept. A mesh needing more than roomVertices vertices,
// roomEdges edges or roomFaces faces is refused with its counts.
MeshReadResult ReadMeshFile(const std::string& path, int roomVertices, int roomEdges, int roomFaces,
                            const ImportOptions& options);

// What File > Import or --import did to the model.
struct [[nodiscard]] ImportResult : Result {
    bool cancelled = false;
    int vertices = 0;  // added to the model
    int edges = 0;
    int faces = 0;
};
