// Golden images: a scene's expected picture is a PNG in the repository. On a mismatch
// the actual picture is written beside it as NAME.out.png, and, when the sizes agree,
// NAME.diff.png shows where: differing pixels red, equal ones a faded grey of the
// expected picture. Passing removes both; POLYDROM_PROMOTE_GOLDEN=1 promotes instead.
#pragma once

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/png_image.h"
#include "golden.h"

// The difference picture of two images of one size.
inline std::vector<std::uint32_t> DifferenceImage(const RasterImage& expected, const RasterImage& actual)
{
    std::vector<std::uint32_t> diff(expected.pixels.size());
    for (std::size_t i = 0; i < diff.size(); ++i) {
        if (expected.pixels[i] != actual.pixels[i]) {
            diff[i] = 0xffff0000u;
            continue;
        }
        const std::uint32_t p = expected.pixels[i];
        const std::uint32_t grey = ((p >> 16 & 0xff) + (p >> 8 & 0xff) + (p & 0xff)) / 3;
        const std::uint32_t faded = 192 + grey / 4;  // light, so the red stands out
        diff[i] = 0xff000000u | faded << 16 | faded << 8 | faded;
    }
    return diff;
}

// Compares the PNG at actualPath with tests/<relative> pixel by pixel.
inline void ExpectGoldenImage(const std::string& relative, const std::string& actualPath)
{
    RasterImage actual, expected;
    std::string error;
    ASSERT_TRUE(ReadPng(actualPath, &actual, &error)) << error;
    const std::string path = TestPath(relative);
    RemoveStaleGoldenOutputs(path);
    std::string why;
    bool sameSize = false;
    if (!ReadPng(path, &expected, &error)) {
        why = error;
    } else if (expected.width != actual.width || expected.height != actual.height) {
        why = "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) + " instead of " +
              std::to_string(expected.width) + "x" + std::to_string(expected.height);
    } else {
        sameSize = true;
        std::size_t differing = 0;
        for (std::size_t i = 0; i < actual.pixels.size(); ++i) differing += actual.pixels[i] != expected.pixels[i];
        if (differing == 0) return;
        why = std::to_string(differing) + " pixels differ";
    }
    if (PromotingGoldenFiles()) {
        ASSERT_TRUE(WritePng(path, actual.width, actual.height, actual.pixels.data(), &error)) << error;
        std::cout << "promoted " << path << " (" << why << ")\n";
        return;
    }
    const std::string out = GoldenSibling(path);
    ASSERT_TRUE(WritePng(out, actual.width, actual.height, actual.pixels.data(), &error)) << error;
    std::string also;
    if (sameSize) {
        const std::string diffPath = GoldenSibling(path, ".diff");
        ASSERT_TRUE(WritePng(diffPath, actual.width, actual.height, DifferenceImage(expected, actual).data(), &error))
            << error;
        also = "; differences marked red in " + diffPath;
    }
    ADD_FAILURE() << "picture differs from " << path << " (" << why << "); actual picture written to " << out << also
                  << " (POLYDROM_PROMOTE_GOLDEN=1 makes it the golden image)";
}
