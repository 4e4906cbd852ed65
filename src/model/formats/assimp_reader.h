// The only door to the Open Asset Import Library: reading a scene in the import helper,
// and the library's list of formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/mesh_import.h"

class ChildChannel;
struct aiScene;

// Runs in the helper process: reads the file, flattens the scene into vertices and
// edges and sends them (or the library's reason) through the channel. Files the
// scene refers to (materials, buffers) larger than maxFileBytes are not opened.
void ReadSceneInHelper(const std::string& path, std::uint64_t maxFileBytes, ChildChannel& channel);

// What the helper does with a scene once the library has read it (before the library's
// own joining and triangulation): checks it, flattens it and sends the mesh, or the
// reason it is refused. The import fuzz target hands it scenes of its own making.
void SendScene(const aiScene& scene, ChildChannel& channel);

std::vector<ImportFormat> LibraryFormats();
