// Shared helpers of the display tests: a log capture, a small drawing
// canvas, and golden pictures kept as text under tests/display/golden/.
//
// Golden files: "size W H", a legend of one character per RGB565 value
// ("<char> <hex>"), then H rows of W characters. Pictures with more
// colours than characters are kept as rows of hex values. Run a test
// with BRAMBLE_UPDATE_GOLDEN=1 to rewrite the goldens it compares.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "display/graphics.h"
#include "display/surface.h"

namespace display::test {

// Captures every log line for its lifetime.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    const std::vector<std::string>& lines() const;
    bool has(const std::string& line) const;
    size_t count() const { return lines().size(); }
    void clear();
};

// A mutable RGB565 image with a Graphics on it.
struct Canvas {
    Canvas(jint width, jint height, uint16_t fill = 0);
    Graphics g() { return Graphics(state, image.surface()); }
    uint16_t at(jint x, jint y) const { return image.pixel16(x, y); }
    Surface surface() const { return image.surface(); }
    void fill(uint16_t value);
    // Number of pixels (inside width x height) different from value.
    int countNot(uint16_t value) const;

    Image image;
    GraphicsState state;
};

// Compares the picture with golden/<name>.txt (or writes it when
// BRAMBLE_UPDATE_GOLDEN=1). On a difference the failure shows both.
void expectGolden(const std::string& name, const Surface& picture);

// Path of a file of the test sources (BRAMBLE_SOURCE_DIR/tests/display/...).
std::string sourcePath(const std::string& relative);

}  // namespace display::test
