// The only door to the Open Asset Import Library: reading a scene in the import helper,
// and the library's list of formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/mesh_import.h"

class ChildChannel;

// Runs in the helper process: reads the file, flattens the scene into vertices and
// edges and sends them (or the library's reason) through the channel. Files the
// scene refers to (materials, buffers) larger than maxFileBytes are not opened.
void ReadSceneInHelper(const std::string& path, std::uint64_t maxFileBytes, ChildChannel& channel);

std::vector<ImportFormat> LibraryFormats();
