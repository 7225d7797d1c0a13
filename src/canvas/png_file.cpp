#include "canvas/png_file.h"

#include <png.h>

#include <cstdint>
#include <vector>

namespace corvane {

bool WritePng(const SoftwareCanvas& canvas, const std::string& path) {
    // COLORREF pixels to R, G, B bytes, whatever the machine's byte order.
    std::vector<std::uint8_t> rgb;
    rgb.reserve(canvas.Pixels().size() * 3);
    for (Colour c : canvas.Pixels()) {
        rgb.push_back(RedOf(c));
        rgb.push_back(GreenOf(c));
        rgb.push_back(BlueOf(c));
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(canvas.Width());
    image.height = static_cast<png_uint_32>(canvas.Height());
    image.format = PNG_FORMAT_RGB;
    const bool written = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(),
                                                 canvas.Width() * 3, nullptr) != 0;
    png_image_free(&image);
    return written;
}

} // namespace corvane
