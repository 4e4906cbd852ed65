// PNG writing and reading through libpng, with errors that name the file.
#include "framework/png_image.h"

#include <png.h>

#include <cstring>
#include <string>

#include "framework/atomic_file.h"

namespace {

// Above the raw size of the largest render (8192 x 8192 RGB pixels, 192 MiB): no PNG
// the program writes comes near it.
constexpr std::size_t kMaxPngBytes = std::size_t(256) << 20;

}  // namespace

bool WritePng(const std::string& path, int width, int height, const std::uint32_t* pixels, std::string* error)
{
    auto fail = [&](const std::string& reason) {
        if (error) *error = "Cannot write \"" + path + "\": " + reason + ".";
        return false;
    };
    if (width <= 0 || height <= 0) return fail("an image needs a positive width and height");

    std::vector<unsigned char> rgb(std::size_t(width) * std::size_t(height) * 3);
    for (std::size_t i = 0, n = std::size_t(width) * std::size_t(height); i < n; ++i) {
        rgb[3 * i] = static_cast<unsigned char>(pixels[i] >> 16);
        rgb[3 * i + 1] = static_cast<unsigned char>(pixels[i] >> 8);
        rgb[3 * i + 2] = static_cast<unsigned char>(pixels[i]);
    }

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr))
        return fail(image.message);
    std::vector<unsigned char> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb.data(), 0, nullptr))
        return fail(image.message);
    bytes.resize(size);

    if (FileResult written = WriteFileAtomically(path, bytes); !written) return fail(written.reason);
    return true;
}

bool ReadPng(const std::string& path, RasterImage* out, std::string* error)
{
    auto fail = [&](const std::string& reason) {
        if (error) *error = "Cannot read \"" + path + "\": " + reason + ".";
        return false;
    };
    // One byte more than the largest image we read tells a file that is too large.
    std::vector<unsigned char> bytes;
    if (FileResult read = ReadFileStart(path, kMaxPngBytes + 1, &bytes); !read) return fail(read.reason);
    if (bytes.size() > kMaxPngBytes) return fail("larger than " + std::to_string(kMaxPngBytes) + " bytes");

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return fail(image.message);
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    // Transparent pixels are composed over white, as a window background would show them.
    png_color white{255, 255, 255};
    if (!png_image_finish_read(&image, &white, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return fail(image.message);
    }

    out->width = static_cast<int>(image.width);
    out->height = static_cast<int>(image.height);
    out->pixels.resize(std::size_t(image.width) * image.height);
    for (std::size_t i = 0; i < out->pixels.size(); ++i)
        out->pixels[i] = 0xff000000u | std::uint32_t(rgb[3 * i]) << 16 | std::uint32_t(rgb[3 * i + 1]) << 8 |
                         std::uint32_t(rgb[3 * i + 2]);
    return true;
}
