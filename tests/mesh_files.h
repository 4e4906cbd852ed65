// Mesh files of other programs' formats, written by the tests themselves: OBJ, ASCII and
// binary STL, ASCII and binary PLY, OFF, glTF.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace mesh_files {

using Point = std::array<float, 3>;
using Face = std::vector<int>;  // corner indices from 0

inline std::string Num(float value) { return std::to_string(value); }

template <typename T>
void Append(std::string& bytes, T value)
{
    char raw[sizeof value];
    std::memcpy(raw, &value, sizeof value);
    bytes.append(raw, sizeof value);
}

// "v" lines, then "f" lines numbered from 1.
inline std::string Obj(const std::vector<Point>& points, const std::vector<Face>& faces)
{
    std::string text = "# made by a test\n";
    for (const Point& p : points) text += "v " + Num(p[0]) + " " + Num(p[1]) + " " + Num(p[2]) + "\n";
    for (const Face& f : faces) {
        text += "f";
        for (int corner : f) text += " " + std::to_string(corner + 1);
        text += "\n";
    }
    return text;
}

// Triangles as three corners each; every facet gets its own normal, as real files do.
inline std::string AsciiStl(const std::vector<std::array<Point, 3>>& triangles)
{
    std::string text = "solid test\n";
    for (const auto& t : triangles) {
        text += "  facet normal 0 0 1\n    outer loop\n";
        for (const Point& p : t) text += "      vertex " + Num(p[0]) + " " + Num(p[1]) + " " + Num(p[2]) + "\n";
        text += "    endloop\n  endfacet\n";
    }
    return text + "endsolid test\n";
}

inline std::string BinaryStl(const std::vector<std::array<Point, 3>>& triangles)
{
    std::string bytes(80, ' ');
    Append(bytes, static_cast<std::uint32_t>(triangles.size()));
    for (const auto& t : triangles) {
        for (float n : {0.0f, 0.0f, 1.0f}) Append(bytes, n);
        for (const Point& p : t)
            for (float c : p) Append(bytes, c);
        Append(bytes, std::uint16_t(0));
    }
    return bytes;
}

inline std::string PlyHeader(const char* format, std::size_t points, std::size_t faces)
{
    return std::string("ply\nformat ") + format + " 1.0\nelement vertex " + std::to_string(points) +
           "\nproperty float x\nproperty float y\nproperty float z\nelement face " + std::to_string(faces) +
           "\nproperty list uchar int vertex_indices\nend_header\n";
}

inline std::string AsciiPly(const std::vector<Point>& points, const std::vector<Face>& faces)
{
    std::string text = PlyHeader("ascii", points.size(), faces.size());
    for (const Point& p : points) text += Num(p[0]) + " " + Num(p[1]) + " " + Num(p[2]) + "\n";
    for (const Face& f : faces) {
        text += std::to_string(f.size());
        for (int corner : f) text += " " + std::to_string(corner);
        text += "\n";
    }
    return text;
}

inline std::string BinaryPly(const std::vector<Point>& points, const std::vector<Face>& faces)
{
    std::string bytes = PlyHeader("binary_little_endian", points.size(), faces.size());
    for (const Point& p : points)
        for (float c : p) Append(bytes, c);
    for (const Face& f : faces) {
        Append(bytes, static_cast<std::uint8_t>(f.size()));
        for (int corner : f) Append(bytes, static_cast<std::int32_t>(corner));
    }
    return bytes;
}

inline std::string Off(const std::vector<Point>& points, const std::vector<Face>& faces)
{
    std::string text = "OFF\n" + std::to_string(points.size()) + " " + std::to_string(faces.size()) + " 0\n";
    for (const Point& p : points) text += Num(p[0]) + " " + Num(p[1]) + " " + Num(p[2]) + "\n";
    for (const Face& f : faces) {
        text += std::to_string(f.size());
        for (int corner : f) text += " " + std::to_string(corner);
        text += "\n";
    }
    return text;
}

// A w x h grid of points in the plane z = 0, one quad per cell: w*h vertices and, once
// the quads are split, (w-1)h + w(h-1) + (w-1)(h-1) edges.
inline std::string GridObj(int w, int h)
{
    std::vector<Point> points;
    std::vector<Face> faces;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) points.push_back({float(i), float(j), 0.0f});
    for (int j = 0; j + 1 < h; ++j)
        for (int i = 0; i + 1 < w; ++i) faces.push_back({j * w + i, j * w + i + 1, (j + 1) * w + i + 1, (j + 1) * w + i});
    return Obj(points, faces);
}

inline int GridEdges(int w, int h) { return (w - 1) * h + w * (h - 1) + (w - 1) * (h - 1); }

// Base64, for a glTF buffer inside the scene file itself.
inline std::string Base64(const std::string& bytes)
{
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t n = std::uint32_t(static_cast<unsigned char>(bytes[i])) << 16;
        if (i + 1 < bytes.size()) n |= std::uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
        out += digits[n >> 18 & 63];
        out += digits[n >> 12 & 63];
        out += i + 1 < bytes.size() ? digits[n >> 6 & 63] : '=';
        out += i + 2 < bytes.size() ? digits[n & 63] : '=';
    }
    return out;
}

// A glTF scene: the triangle (0,0,0) (1,0,0) (0,1,0) placed twice under a root that moves
// both up 10 along Z and scales them by rootScale; the second instance is also scaled by
// instanceScale and moved 100 along X.
inline std::string InstancedGltf(float instanceScale, float rootScale)
{
    std::string buffer;
    for (float c : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f}) Append(buffer, c);
    for (std::uint16_t i : {0, 1, 2, 0}) Append(buffer, i);
    auto num = [](float v) {
        char text[32];
        std::snprintf(text, sizeof text, "%.9g", v);
        return std::string(text);
    };
    const std::string s = num(instanceScale), r = num(rootScale);
    return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],
"nodes":[{"children":[1,2],"translation":[0,0,10],"scale":[)" + r + "," + r + "," + r + R"(]},{"mesh":0},
 {"mesh":0,"matrix":[)" + s + ",0,0,0, 0," + s + ",0,0, 0,0," + s + R"(,0, 100,0,0,1]}],
"meshes":[{"primitives":[{"attributes":{"POSITION":0},"indices":1}]}],
"buffers":[{"byteLength":44,"uri":"data:application/octet-stream;base64,)" + Base64(buffer) + R"("}],
"bufferViews":[{"buffer":0,"byteOffset":0,"byteLength":36},{"buffer":0,"byteOffset":36,"byteLength":6}],
"accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3","min":[0,0,0],"max":[1,1,0]},
 {"bufferView":1,"componentType":5123,"count":3,"type":"SCALAR"}]})";
}

}  // namespace mesh_files
