#pragma once
#include <string>

#include "canvas/software_canvas.h"

namespace corvane {

// Writes the canvas's pixels as an 8-bit RGB PNG file at path (replacing it). False when the
// file cannot be written; the reason is not kept. Built only where libpng exists.
bool WritePng(const SoftwareCanvas& canvas, const std::string& path);

} // namespace corvane
