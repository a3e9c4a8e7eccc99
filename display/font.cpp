// FreeType behind the one font, and the text operations of Graphics.
// The engine loads lazily on first use and serialises every FreeType call
// behind one mutex (FreeType objects are not thread-safe); text drawing is
// rare, measurements are cached per character.
#include "display/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "display/graphics.h"
#include "display/log.h"

namespace display {
namespace {

class FontEngine {
public:
    static FontEngine& instance() {
        static FontEngine engine;
        return engine;
    }

    std::mutex& mutex() { return mutex_; }

    // All below: with the mutex held.
    bool ready() {
        if (!tried_) load();
        return face_ != nullptr;
    }
    const FontMetrics& metrics() const { return metrics_; }
    const std::string& file() const { return file_; }

    jint advance(char32_t cp) {
        auto it = advances_.find(cp);
        if (it != advances_.end()) return it->second;
        jint a = 0;
        if (cp >= 0x20 && FT_Load_Char(face_, cp, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) == 0)
            a = static_cast<jint>((face_->glyph->advance.x + 32) >> 6);
        advances_.emplace(cp, a);
        return a;
    }

    // The monochrome glyph of cp in the face's glyph slot; null when none.
    const FT_Bitmap* glyph(char32_t cp, int* left, int* top) {
        if (cp < 0x20) return nullptr;
        if (FT_Load_Char(face_, cp, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0) return nullptr;
        if (FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_MONO) != 0) return nullptr;
        const FT_Bitmap& b = face_->glyph->bitmap;
        if (b.pixel_mode != FT_PIXEL_MODE_MONO || b.pitch <= 0 || !b.buffer) return nullptr;
        *left = face_->glyph->bitmap_left;
        *top = face_->glyph->bitmap_top;
        return &b;
    }

private:
    FontEngine() = default;
    ~FontEngine() {
        if (face_) FT_Done_Face(face_);
        if (library_) FT_Done_FreeType(library_);
    }

    void load() {
        tried_ = true;
        const char* env = std::getenv("BRAMBLE_FONT");
        file_ = (env && *env) ? env : kDefaultFontFile;
        if (FT_Init_FreeType(&library_) != 0) {
            library_ = nullptr;
            logLine("Font: FreeType unavailable");
            return;
        }
        if (FT_New_Face(library_, file_.c_str(), 0, &face_) != 0) {
            face_ = nullptr;
            logLine("Font: cannot load \"%s\"", file_.c_str());
            return;
        }
        if (!FT_IS_SCALABLE(face_) || FT_Set_Pixel_Sizes(face_, 0, kFontPixelSize) != 0) {
            logLine("Font: \"%s\" cannot be sized to %d pixels", file_.c_str(), kFontPixelSize);
            FT_Done_Face(face_);
            face_ = nullptr;
            return;
        }
        const FT_Size_Metrics& m = face_->size->metrics;
        metrics_.ascent = static_cast<jint>((m.ascender + 63) >> 6);
        metrics_.height = metrics_.ascent + static_cast<jint>((-m.descender + 63) >> 6);
    }

    std::mutex mutex_;
    bool tried_ = false;
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    std::string file_;
    FontMetrics metrics_;
    std::unordered_map<char32_t, jint> advances_;
};

// UTF-16 to code points; an unpaired surrogate stands for itself.
template <class F>
void forEachCodePoint(const jchar* text, size_t count, F&& f) {
    for (size_t i = 0; i < count; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        f(c);
    }
}

jint widthLocked(FontEngine& e, const jchar* text, size_t count) {
    int64_t w = 0;
    forEachCodePoint(text, count, [&](char32_t c) { w += e.advance(c); });
    return static_cast<jint>(std::min<int64_t>(w, java::kIntMax));
}

}  // namespace

FontMetrics fontMetrics() {
    FontEngine& e = FontEngine::instance();
    std::lock_guard lock(e.mutex());
    return e.ready() ? e.metrics() : FontMetrics{};
}

std::string fontFile() {
    FontEngine& e = FontEngine::instance();
    std::lock_guard lock(e.mutex());
    e.ready();
    return e.file();
}

jint textWidth(const jchar* text, size_t count) {
    if (!text || count == 0) return 0;
    FontEngine& e = FontEngine::instance();
    std::lock_guard lock(e.mutex());
    return e.ready() ? widthLocked(e, text, count) : 0;
}

jint substringWidth(const jchar* text, size_t length, jint start, jint end) {
    if (start > end) return 0;
    if (!text || start < 0 || static_cast<size_t>(end) >= length) {
        logFault("substringWidth index");
        return 0;
    }
    return textWidth(text + start, static_cast<size_t>(end - start) + 1);
}

bool renderText(const jchar* text, size_t count, uint32_t rgb, jint windowX, jint windowY, jint windowW, jint windowH,
                uint32_t* out) {
    std::fill_n(out, static_cast<size_t>(windowW) * static_cast<size_t>(windowH), kTextKey);
    FontEngine& e = FontEngine::instance();
    std::lock_guard lock(e.mutex());
    if (!e.ready()) return false;
    const int64_t ascent = e.metrics().ascent;
    const uint32_t ink = rgb & 0xFFFFFF;
    int64_t pen = 0;
    forEachCodePoint(text, count, [&](char32_t c) {
        const int64_t advance = e.advance(c);
        int left = 0, top = 0;
        // Only glyphs that may reach the window are rendered.
        if (pen + advance + kFontPixelSize >= windowX && pen - kFontPixelSize < int64_t{windowX} + windowW) {
            if (const FT_Bitmap* b = e.glyph(c, &left, &top)) {
                const int64_t gx = pen + left - windowX, gy = ascent - top - windowY;
                for (unsigned row = 0; row < b->rows; ++row) {
                    const int64_t y = gy + row;
                    if (y < 0 || y >= windowH) continue;
                    const unsigned char* bits = b->buffer + static_cast<size_t>(row) * static_cast<size_t>(b->pitch);
                    for (unsigned col = 0; col < b->width; ++col) {
                        const int64_t x = gx + col;
                        if (x < 0 || x >= windowW) continue;
                        if (bits[col >> 3] & (0x80 >> (col & 7))) out[y * windowW + x] = ink;
                    }
                }
            }
        }
        pen += advance;
    });
    return true;
}

// --- Graphics text ------------------------------------------------------------------

void Graphics::drawSubstring(const jchar* text, size_t textLength, jint offset, jint length, jint x, jint y,
                             jint anchor) {
    if (!text || textLength == 0) return;
    if (offset < 0 || length <= 0 || static_cast<uint64_t>(offset) + static_cast<uint64_t>(length) > textLength)
        return;
    const Box c = drawableClip();
    if (c.empty()) return;
    const FontMetrics m = fontMetrics();
    if (m.height <= 0) return;
    const jchar* s = text + offset;
    const int64_t width = textWidth(s, static_cast<size_t>(length));
    if (width <= 0) return;

    // Anchor 0 is TOP | LEFT; with several bits of an axis the later in the
    // order LEFT, TOP, RIGHT, BOTTOM, HCENTER, BASELINE wins; an axis with
    // none of its bits is placed at 0.
    if (anchor == 0) anchor = kTop | kLeft;
    int64_t left = 0, top = 0;
    if (anchor & kLeft) left = x;
    if (anchor & kTop) top = y;
    if (anchor & kRight) left = int64_t{x} - width;
    if (anchor & kBottom) top = int64_t{y} - m.height;
    if (anchor & kHCenter) left = int64_t{x} - (width >> 1);
    if (anchor & kBaseline) top = int64_t{y} - m.ascent;
    left += s_.translateX;
    top += s_.translateY;

    // Only the part inside the clip is rendered and copied.
    const int64_t wx1 = std::max<int64_t>(0, c.x1 - left), wx2 = std::min<int64_t>(width, c.x2 - left);
    const int64_t wy1 = std::max<int64_t>(0, c.y1 - top), wy2 = std::min<int64_t>(m.height, c.y2 - top);
    if (wx1 >= wx2 || wy1 >= wy2) return;
    const jint ww = static_cast<jint>(wx2 - wx1), wh = static_cast<jint>(wy2 - wy1);
    std::vector<uint32_t> bitmap(static_cast<size_t>(ww) * static_cast<size_t>(wh));
    if (!renderText(s, static_cast<size_t>(length), s_.colour, static_cast<jint>(wx1), static_cast<jint>(wy1), ww, wh,
                    bitmap.data()))
        return;
    for (jint r = 0; r < wh; ++r) {
        uint16_t* d = t_.row16(static_cast<jint>(top + wy1 + r)) + (left + wx1);
        const uint32_t* p = bitmap.data() + static_cast<size_t>(r) * static_cast<size_t>(ww);
        for (jint i = 0; i < ww; ++i)
            if (p[i] != kTextKey) d[i] = rgb565(p[i]);
    }
}

}  // namespace display
