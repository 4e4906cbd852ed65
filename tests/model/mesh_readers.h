// Readers of the exported files, back to coordinate triples, for the export tests.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

using MeshCorner = std::array<float, 3>;
using MeshTriangle = std::array<MeshCorner, 3>;

namespace mesh_readers {

using Corner = MeshCorner;
using Triangle = MeshTriangle;


inline float ParseFloat(std::string_view text)
{
    float value = NAN;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(result.ec == std::errc() && result.ptr == text.data() + text.size()) << "not a float: " << text;
    return value;
}

// The vertex vectors and face indices of a mesh2, read with the brackets and commas as spaces.
inline std::vector<Triangle> ReadMesh2(std::string text)
{
    for (char& c : text)
        if (c == '<' || c == '>' || c == ',') c = ' ';
    std::istringstream in(text.substr(text.find("vertex_vectors {") + 16));
    std::size_t count = 0;
    in >> count;
    std::vector<Corner> points(count);
    for (Corner& p : points)
        for (float& f : p) {
            std::string word;
            in >> word;
            f = ParseFloat(word);
        }
    std::string brace, name;
    in >> brace >> name >> brace >> count;
    EXPECT_EQ(name, "face_indices");
    std::vector<Triangle> triangles(count);
    for (Triangle& t : triangles)
        for (Corner& corner : t) {
            std::size_t k = 0;
            in >> k;
            corner = points.at(k);
        }
    return triangles;
}

inline std::vector<Triangle> ReadObj(const std::string& text)
{
    std::vector<Corner> points;
    std::vector<Triangle> triangles;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string kind, a, b, c;
        words >> kind >> a >> b >> c;
        if (kind == "v") points.push_back({ParseFloat(a), ParseFloat(b), ParseFloat(c)});
        if (kind == "f")
            triangles.push_back(
                {points.at(std::stoul(a) - 1), points.at(std::stoul(b) - 1), points.at(std::stoul(c) - 1)});
    }
    return triangles;
}

inline std::uint32_t U32At(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(k)));
    return value;
}

inline Corner CornerAt(const std::string& bytes, std::size_t at)
{
    return {std::bit_cast<float>(U32At(bytes, at)), std::bit_cast<float>(U32At(bytes, at + 4)),
            std::bit_cast<float>(U32At(bytes, at + 8))};
}

struct StlFacet {
    Corner normal;
    Triangle corners;
};

inline std::vector<StlFacet> ReadStl(const std::string& bytes)
{
    EXPECT_EQ(bytes.size(), 84 + 50 * std::size_t{U32At(bytes, 80)});
    std::vector<StlFacet> facets;
    for (std::size_t at = 84; at + 50 <= bytes.size(); at += 50) {
        const Triangle corners{CornerAt(bytes, at + 12), CornerAt(bytes, at + 24), CornerAt(bytes, at + 36)};
        facets.push_back({CornerAt(bytes, at), corners});
        EXPECT_EQ(bytes.substr(at + 48, 2), std::string(2, '\0'));
    }
    return facets;
}

// The union's triangle records; its numbers ("1.", "0.0", "1.2346e+005") are C numbers.
inline std::vector<Triangle> ReadUnion(const std::string& text)
{
    std::vector<Triangle> triangles;
    for (std::size_t at = text.find(" triangle{ "); at != std::string::npos; at = text.find(" triangle{ ", at + 1)) {
        Triangle t{};
        std::size_t p = at;
        for (Corner& corner : t) {
            p = text.find('<', p) + 1;
            for (float& f : corner) {
                char* end = nullptr;
                f = std::strtof(text.c_str() + p, &end);
                p = static_cast<std::size_t>(end - text.c_str()) + 1;  // past ',' or '>'
            }
        }
        triangles.push_back(t);
    }
    return triangles;
}

}  // namespace mesh_readers

using mesh_readers::ReadMesh2;
using mesh_readers::ReadObj;
using mesh_readers::ReadStl;
using mesh_readers::ReadUnion;
using mesh_readers::StlFacet;
