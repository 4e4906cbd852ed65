// PNG files of raster canvases: written by batch renders, read back by golden-image tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An image in the raster canvas's pixel format (0xAARRGGBB words, rows top to bottom).
struct RasterImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Writes an 8-bit RGB PNG (alpha dropped: canvases are opaque), atomically. Width and
// height must be positive. On failure returns false with a message naming the file.
bool WritePng(const std::string& path, int width, int height, const std::uint32_t* pixels, std::string* error);

// Reads any PNG, flattened to opaque RGB. On failure returns false with a message naming the file.
bool ReadPng(const std::string& path, RasterImage* image, std::string* error);
