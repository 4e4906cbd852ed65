// Golden images: a scene's expected picture is a PNG in the repository; on a mismatch
// the actual picture is written beside it as NAME.out.png, ready to compare and promote.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "framework/png_image.h"
#include "golden.h"

// Compares the PNG at actualPath with tests/<relative> pixel by pixel.
inline void ExpectGoldenImage(const std::string& relative, const std::string& actualPath)
{
    RasterImage actual, expected;
    std::string error;
    ASSERT_TRUE(ReadPng(actualPath, &actual, &error)) << error;
    const std::string path = TestPath(relative);
    std::string why;
    if (!ReadPng(path, &expected, &error)) {
        why = error;
    } else if (expected.width != actual.width || expected.height != actual.height) {
        why = "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) + " instead of " +
              std::to_string(expected.width) + "x" + std::to_string(expected.height);
    } else {
        std::size_t differing = 0;
        for (std::size_t i = 0; i < actual.pixels.size(); ++i) differing += actual.pixels[i] != expected.pixels[i];
        if (differing == 0) return;
        why = std::to_string(differing) + " pixels differ";
    }
    const std::string out = path.substr(0, path.size() - 4) + ".out.png";
    ASSERT_TRUE(WritePng(out, actual.width, actual.height, actual.pixels.data(), &error)) << error;
    ADD_FAILURE() << "picture differs from " << path << " (" << why << "); actual picture written to " << out;
}
