#pragma once
// Dimensional drawings of the product range, drawn as PDF files: a front and a top view of the
// outline, dimension lines with the overall length, width and height, the connections with
// their sizes, and a title block. Needs a QGuiApplication (fonts).

#include <filesystem>

#include "catalogue_source.hpp"

namespace kelvra::catalogue {

// Draws the drawing into `file`; throws std::runtime_error when the file cannot be written.
void DrawDimensionalDrawing(const DrawingDef& drawing, const std::string& provenance,
                            const std::filesystem::path& file);

}  // namespace kelvra::catalogue
