// The game-data fuzz targets and their seeds (see targets.h).
#include "tests/game/data/fuzz/targets.h"

#include <algorithm>

#include "game/data/datanode.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/progress.h"
#include "game/data/statics.h"
#include "game/data/textpack.h"
#include "tests/game/data/support.h"
#include "tools/kit/damage.h"
#include "tools/kit/demo_data.h"
#include "tools/kit/gamedata.h"

namespace datafuzz {
namespace {

using kit::Bytes;

void addWithDamage(std::vector<Seed>& out, const std::string& name, kit::FileKind kind, const Bytes& valid,
                   bool withDamaged) {
    out.push_back({name, valid});
    if (!withDamaged) return;
    kit::DamageOptions opt;
    opt.maxPerGroup = 4;
    opt.randomFlips = 6;
    for (kit::DamagedFile& d : kit::damageFile(kind, valid, opt)) out.push_back({name + "." + d.name, std::move(d.bytes)});
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A fresh pack "fz" of one file, entry 0 the given payload.
void servePack(const Bytes& header) {
    datatest::files().clear();
    datatest::files()["fz"] = header;
    game::closePack();
    game::cg().packName = nullptr;
}

void clearPending() { Application::clearPendingException(); }

}  // namespace

const char* targetName(Target t) {
    switch (t) {
    case Target::Pack: return "pack";
    case Target::Text: return "text";
    case Target::Node: return "node";
    case Target::Layers: return "layers";
    case Target::Progress: return "progress";
    }
    return "?";
}

std::vector<Seed> seeds(Target t, bool withDamaged) {
    std::vector<Seed> out;
    switch (t) {
    case Target::Pack: {
        std::vector<kit::PackEntry> e = {{.payload = text("plain entry")},
                                         {.payload = text("compressed entry, compressed entry"), .compress = true},
                                         {.empty = true},
                                         {.payload = text("typed"), .type = 126},
                                         {.payload = {}, .compress = true}};
        addWithDamage(out, "pack", kit::FileKind::Pack, kit::buildPack(e).header, withDamaged);
        addWithDamage(out, "types", kit::FileKind::ContentTypes,
                      kit::buildContentTypes({"audio/midi", "audio/x-wav"}), withDamaged);
        break;
    }
    case Target::Text:
        addWithDamage(out, "text", kit::FileKind::TextPack, kit::buildTextPack(3, {"ONE", "TWO", "", "grüße"}),
                      withDamaged);
        break;
    case Target::Node:
        addWithDamage(out, "node", kit::FileKind::DataNode,
                      kit::encodeNode(kit::parseNodeText(
                          "objects{ bytes[1 2] shorts8[-1] shorts[300] ints8[-2] ints16[-300] ints[70000]"
                          " objects{ ints16![1 2 3] } }")),
                      withDamaged);
        addWithDamage(out, "sine", kit::FileKind::DataNode, kit::encodeNode(kit::demoSineNode()), false);
        break;
    case Target::Layers: {
        auto layers = kit::demoLevelLayers();
        addWithDamage(out, "level", kit::FileKind::Pack, kit::buildPack(kit::levelPackEntries(layers)).header,
                      withDamaged);
        Bytes header = kit::encodeLayerHeader(*layers[0]);
        if (withDamaged) {
            kit::DamageOptions opt;
            opt.maxPerGroup = 4;
            for (kit::DamagedFile& d : kit::damageFile(kit::FileKind::LayerHeader, header, opt)) {
                auto entries = kit::levelPackEntries(layers);
                entries[1].payload = d.bytes;
                out.push_back({"layer-header." + d.name, kit::buildPack(entries).header});
            }
        }
        break;
    }
    case Target::Progress:
        addWithDamage(out, "progress", kit::FileKind::Progress,
                      kit::buildProgress({{"last-difficulty", 3}, {"slot3.stage10.best", 99}}), withDamaged);
        out.push_back({"progress.long", Bytes(300, 0x41)});
        break;
    }
    return out;
}

void exercise(Target t, const uint8_t* data, size_t size) {
    const Bytes bytes(data, data + size);
    using namespace game;
    switch (t) {
    case Target::Pack: {
        servePack(bytes);
        if (readPackHeader(datatest::jstr("fz"))) {
            const jint n = std::min<jint>(cg().packEntryCount, 64);
            for (jint r = n - 1; r >= -1; --r) loadResource(r);
            for (jint r = 0; r < n; r += 2) loadResource(r);
        }
        clearPending();
        datatest::files()["fz.types"] = bytes;
        cg().contentTypes = nullptr;
        loadContentTypes(datatest::jstr("fz.types"));
        for (jint i = -1; i < 4; ++i) getSoundContentType(i);
        break;
    }
    case Target::Text: {
        servePack(kit::buildPack({{.payload = bytes}, {.payload = text("after")}}).header);
        loadTextPackResource(datatest::jstr("fz"), 0);
        for (jint i = 0; i < 8; ++i)
            for (jint slot = 0; slot < 32; slot += 3) getString((slot << 16) | i);
        unloadTextPack(0);
        cg().streamBytesRead = 0;
        const jint slot = loadTextPack(datatest::streamOf(bytes));
        cacheTextPack(slot);
        break;
    }
    case Target::Node: {
        cg().streamBytesRead = 0;
        readDataNode(datatest::streamOf(bytes));
        servePack(kit::buildPack({{.payload = bytes}, {.payload = text("after")}}).header);
        if (readPackHeader(datatest::jstr("fz"))) {
            loadDataNode(0);
            loadResource(1);
        }
        break;
    }
    case Target::Layers: {
        servePack(bytes);
        if (readPackHeader(datatest::jstr("fz"))) loadLevelLayers(0, 0);
        break;
    }
    case Target::Progress: {
        adoptProgressRecord(datatest::javaBytes(bytes));
        applyProgressSettings();
        cg().difficulty = lastDifficulty();
        for (jint n = 0; n <= 4; ++n)
            for (jint s = -1; s <= 11; ++s) getSaveSlotField(s, n);
        resetCurrentLevelState();
        loadLevelVariables();
        break;
    }
    }
    clearPending();
    game::closePack();
}

}  // namespace datafuzz
