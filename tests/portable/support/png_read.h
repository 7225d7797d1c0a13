#pragma once
#ifdef CORVANE_HAS_PNG_FILE
#include <png.h>

#include <optional>
#include <string>

#include "canvas/software_canvas.h"

namespace corvane::testing {

// A PNG file read back into a canvas of its size, so that what was written can be compared
// pixel by pixel; nullopt when the file is not a readable PNG.
inline std::optional<SoftwareCanvas> ReadPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return std::nullopt;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    const int width = static_cast<int>(image.width);
    const int height = static_cast<int>(image.height);
    SoftwareCanvas canvas(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const png_byte* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            canvas.FillRect({x, y, x + 1, y + 1}, Rgb(p[0], p[1], p[2]));
        }
    return canvas;
}

} // namespace corvane::testing
#endif
