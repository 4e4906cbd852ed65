// Writes small ".pdm" model files for batch scenarios: vertices with their selection
// state and edges, in the file's layout (counts, X, Y, Z, selection, from, to).
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

struct ModelVertex {
    float x, y, z;
    std::int32_t sel = 1;
};

inline void WriteModelFile(const std::string& path, const std::vector<ModelVertex>& vertices,
                           const std::vector<std::pair<int, int>>& edges)
{
    std::vector<unsigned char> bytes;
    auto put = [&](auto value) {
        unsigned char raw[4];
        static_assert(sizeof value == 4);
        std::memcpy(raw, &value, 4);  // the machine is little-endian, as the file is
        bytes.insert(bytes.end(), raw, raw + 4);
    };
    put(static_cast<std::int32_t>(vertices.size()));
    put(static_cast<std::int32_t>(edges.size()));
    for (const auto& v : vertices) put(v.x);
    for (const auto& v : vertices) put(v.y);
    for (const auto& v : vertices) put(v.z);
    for (const auto& v : vertices) put(v.sel);
    for (const auto& e : edges) put(static_cast<std::int32_t>(e.first));
    for (const auto& e : edges) put(static_cast<std::int32_t>(e.second));
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}
