// Damage mode for fuzzing and robustness tests: from a valid file, a
// deterministic list of damaged variants: truncation at every section
// boundary (and one byte short of it), counts made negative, one too many
// or huge, lengths that run past the end, indices and offsets out of range,
// unknown markers and format codes, flag bits toggled, file-specific cases
// (nested frames that contain themselves, malformed names, duplicate
// record ids, descriptor lines without ':') and a few seeded byte flips.
// The same input and options always give the same variants in the same
// order, each with a stable name.
#pragma once

#include "tools/kit/sprite.h"

#include <optional>
#include <string>
#include <vector>

namespace kit {

enum class FileKind { Sprite, Archive, StringPool, RecordIndex, Jad, CharMap, Pack, TextPack, DataNode, LayerHeader, ContentTypes, Progress };

std::string fileKindName(FileKind kind);
// "sprite", "archive" (or "bar"), "pool", "record-index", "jad",
// "char-map" (a character map in its data-node form), "pack" (a header
// file), "text-pack", "node", "layer-header", "content-types", "progress".
std::optional<FileKind> parseFileKind(std::string_view name);

struct DamagedFile {
    std::string name;
    Bytes bytes;
};

struct DamageOptions {
    size_t maxPerGroup = 6;    // records of one kind damaged at most (spread over the file)
    size_t randomFlips = 8;    // seeded variants with one to three flipped bytes
    uint64_t seed = 0x6272616d626c65ull;
};

// Layout of a valid file of that kind; throws KitError when it is not valid.
FileLayout layoutOf(FileKind kind, ByteSpan valid);
std::vector<DamagedFile> damageFile(FileKind kind, ByteSpan valid, const DamageOptions& options = {});

}  // namespace kit
