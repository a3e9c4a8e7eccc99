// The cross-promotion screen's pack: a little-endian table of entry offsets
// and ten entries (catalogue, texts, font, common images, page images, the
// "more" and language images, two sub-lists' row images, the last slot and
// the option slot), written from a description; a strict reader for
// `inspect`; and damaged variants for robustness tests and fuzzing.
//
// Pack layout: u16 count n, n signed 32-bit offsets (relative to the end of
// the table), then the entries; entry i is [offset i, offset i+1).
// Numbers inside entries are little-endian u16; a block is u16 L + L bytes;
// a short text is a block of Latin-1 characters; a string list is a u16
// count and that many short texts.
//
// Description (one statement per line, '#' comments on keyword lines):
//   showcase
//   language CODE                  one per language, in order
//   catalogue KEY                  one per catalogue entry
//   sublist N KEY                  a row key of sub-list N (0-2)
//   option 0|1                     the option flag
//   layout ID                      the layout id (the variant's id gives 6-byte glyph records)
//   variant 0|1                    writes the glyph table in the variant layout
//   text CODE TEXT                 the next text of that language (UTF-8; "\n" is a line break, "\b" char 8)
//   image SLOT box W H ARGB        a PNG box with a one-pixel darker frame; SLOT is one of
//                                  common N, page N, more, language CODE, row LIST N,
//                                  slot3, extra, slot4
//   font demo | font FILE          the glyphs of a kit font description (the kit's demo font by default)
//   font-cell H                    the cell height of every glyph (default ascent + descent)
//   font-colour ARGB               palette entry 1 of the strip (entry 0 is transparent)
#pragma once

#include "tools/kit/bytes.h"
#include "tools/kit/damage.h"
#include "tools/kit/font.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace kit {

struct ShowcaseGlyph {
    uint16_t code = 0;
    uint16_t x = 0, y = 0;
    uint8_t width = 0, height = 0;
};

struct ShowcaseFont {
    Bytes strip;                       // palette PNG
    std::vector<ShowcaseGlyph> glyphs;
    uint16_t highest = 0;              // G: the highest code the table may hold
    bool variant = false;              // 6-byte records
};

struct ShowcaseDescription {
    std::vector<std::string> languages;
    std::vector<std::string> catalogue;
    std::array<std::vector<std::string>, 3> subKeys;
    bool option = false;
    std::string layoutId = "PLAIN";
    std::map<std::string, std::vector<std::string>> texts;  // language -> texts (UTF-8)
    std::map<std::string, Bytes> images;                      // slot label -> PNG
    ShowcaseFont font;
};

// The ten entries of a pack (entry 9 only with the option flag).
std::vector<Bytes> showcaseEntries(const ShowcaseDescription& d);
// Packs entries behind their offset table.
Bytes packShowcase(const std::vector<Bytes>& entries);
Bytes encodeShowcase(const ShowcaseDescription& d);

// A text block of one language: u16 byte length B, the UTF-8 bytes, u16 0,
// u16 count c, then the c - 1 starts of texts 1 to c - 1.
Bytes showcaseTextBlock(const std::vector<std::string>& texts);
// The font strip and glyph table made from a kit font description.
ShowcaseFont showcaseFontFrom(const FontDescription& font, int cellHeight, uint32_t colour, bool variant);
Bytes encodeShowcaseFont(const ShowcaseFont& font);
// A solid box PNG with a darker one-pixel frame.
Bytes showcaseBox(int w, int h, uint32_t argb);

ShowcaseDescription parseShowcaseDescription(std::string_view text);
// A summary of a pack read strictly from the format (throws KitError).
std::string inspectShowcase(ByteSpan pack);
// Deterministic damaged variants of a valid pack, each with a stable name.
std::vector<DamagedFile> damageShowcase(const ShowcaseDescription& valid);

// The demo: three catalogue entries, two languages, both sub-lists.
ShowcaseDescription demoShowcase();

}  // namespace kit
