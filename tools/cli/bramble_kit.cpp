// bramble-kit: command-line front end of the content kit. Builds archives,
// string pools, descriptors, sprites, fonts and record stores, inspects
// them, and writes damaged variants for fuzzing. Errors go to stderr with
// exit status 1; a usage error gives status 2.
#include "tools/cli/showcase_cmd.h"
#include "tools/cli/gamedata_cmd.h"
#include "tools/kit/archive.h"
#include "tools/cli/level_cmd.h"
#include "tools/kit/damage.h"
#include "tools/kit/describe.h"
#include "tools/kit/font.h"
#include "tools/kit/jad.h"
#include "tools/kit/recordstore.h"
#include "tools/kit/sprite.h"
#include "tools/kit/stringpool.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

using namespace kit;

namespace {

const char* const kUsage = R"(usage: bramble-kit <command> ...
  archive create OUT.bar [--folder DIR [--prefix P]] [--manifest FILE] [NAME=FILE ...]
  archive list FILE.bar
  archive extract FILE.bar NAME OUT
  pool build IN.txt OUT.bin       text form: one entry per line, \n \r \t \0 \\ \xHH \uHHHH escapes
  pool dump IN.bin                prints the text form
  jad OUT KEY=VALUE ...
  sprite IN.txt OUT               sprite description -> sprite data
  font IN.txt OUT MAP [--map-format node|text]
                                  font description -> font sprite and character map
  inspect KIND FILE               KIND: sprite, archive, pool, record-index, jad, char-map,
                                  level-objects, level-scripts, regions (or below)
  level IN.txt OUTDIR             level description to pack entries OUTDIR/NN.bin
  damage KIND IN OUTDIR [--max-per-group N] [--flips N] [--seed N]
  actor-tables demo OUT | inspect FILE | damage IN OUTDIR
  store write FOLDER NAME [--last N] ID=FILE ...
  store read FOLDER NAME
  showcase IN.txt|demo OUT        cross-promotion pack; also: inspect showcase FILE, damage showcase IN.txt|demo OUTDIR
)";

struct Usage {};

std::string textOf(const std::string& path) {
    Bytes b = readFile(path);
    return std::string(b.begin(), b.end());
}

void save(const std::string& path, const Bytes& data) {
    writeFile(path, data);
    std::cout << path << ": " << data.size() << " bytes\n";
}

std::pair<std::string, std::string> keyValue(const std::string& arg) {
    size_t eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) throw KitError("expected NAME=VALUE, got \"" + arg + "\"");
    return {arg.substr(0, eq), arg.substr(eq + 1)};
}

long long numberArg(const std::string& s) { return parseNumber(s); }

FileKind kindArg(const std::string& s) {
    auto k = parseFileKind(s);
    if (!k) throw KitError("unknown file kind \"" + s + "\"");
    return *k;
}

int archive(const std::vector<std::string>& a) {
    if (a.size() < 2) throw Usage{};
    if (a[0] == "create") {
        ArchiveWriter w;
        std::string prefix;
        for (size_t i = 2; i < a.size(); ++i)
            if (a[i] == "--prefix" && i + 1 < a.size()) prefix = a[++i];
        for (size_t i = 2; i < a.size(); ++i) {
            if (a[i] == "--folder" && i + 1 < a.size()) w.addFolder(a[++i], prefix);
            else if (a[i] == "--manifest" && i + 1 < a.size()) w.addManifest(a[++i]);
            else if (a[i] == "--prefix") ++i;
            else {
                auto [name, file] = keyValue(a[i]);
                w.add(name, readFile(file));
            }
        }
        save(a[1], w.build());
        return 0;
    }
    Bytes file = readFile(a[1]);
    ArchiveReader r = ArchiveReader::parse(file);
    if (a[0] == "list" && a.size() == 2) {
        std::cout << r.entries().size() << " entries, index " << r.indexSize() << " bytes\n";
        for (const ArchiveEntry& e : r.entries())
            std::cout << "  " << e.offset << "\t" << e.length << "\t" << e.utf8Name() << "\n";
        return 0;
    }
    if (a[0] == "extract" && a.size() == 4) {
        const ArchiveEntry* e = r.find(a[2]);
        if (!e) throw KitError("no entry \"" + a[2] + "\"");
        ByteSpan d = r.data(*e);
        save(a[3], Bytes(d.begin(), d.end()));
        return 0;
    }
    throw Usage{};
}

int pool(const std::vector<std::string>& a) {
    if (a.size() == 3 && a[0] == "build") {
        save(a[2], encodeStringPool(parsePoolText(textOf(a[1]))));
        return 0;
    }
    if (a.size() == 2 && a[0] == "dump") {
        std::cout << formatPoolText(decodeStringPool(readFile(a[1])));
        return 0;
    }
    throw Usage{};
}

int jad(const std::vector<std::string>& a) {
    if (a.empty()) throw Usage{};
    JadProperties props;
    for (size_t i = 1; i < a.size(); ++i) props.push_back(keyValue(a[i]));
    save(a[0], encodeJad(props));
    return 0;
}

int sprite(const std::vector<std::string>& a) {
    if (a.size() != 2) throw Usage{};
    std::string text = textOf(a[0]);
    if (isFontDescription(text)) throw KitError(a[0] + " describes a font: use \"bramble-kit font\"");
    save(a[1], encodeSprite(parseSpriteDescription(text)));
    return 0;
}

int font(const std::vector<std::string>& a) {
    if (a.size() != 3 && a.size() != 5) throw Usage{};
    std::string format = "node";
    if (a.size() == 5) {
        if (a[3] != "--map-format") throw Usage{};
        format = a[4];
    }
    FontBuild f = buildFont(parseFontDescription(textOf(a[0])));
    save(a[1], encodeSprite(f.sprite));
    if (format == "node") {
        save(a[2], encodeShortNode(f.charMap));
    } else if (format == "text") {
        std::string t;
        for (int16_t v : f.charMap) t += std::to_string(v) + "\n";
        save(a[2], Bytes(t.begin(), t.end()));
    } else {
        throw KitError("map format is node or text");
    }
    return 0;
}

int inspect(const std::vector<std::string>& a) {
    if (a.size() != 2) throw Usage{};
    FileKind kind = kindArg(a[0]);
    Bytes data = readFile(a[1]);
    if (kitcli::inspectLevelEntry(kind, data)) return 0;
    switch (kind) {
    case FileKind::Sprite: {
        FileLayout layout;
        // What the engine loads, inspect shows (with notes on what the
        // kit's writer would never produce).
        SpriteModel m = parseSprite(data, &layout, SpriteReading::AsEngine);
        std::cout << describeSprite(m, &layout);
        break;
    }
    case FileKind::Archive:
        return archive({"list", a[1]});
    case FileKind::StringPool:
        std::cout << formatPoolText(decodeStringPool(data));
        break;
    case FileKind::RecordIndex: {
        RecordIndex idx = decodeRecordIndex(data);
        std::cout << "lastRecordId " << idx.lastRecordId << ", " << idx.ids.size() << " records:";
        for (int32_t id : idx.ids) std::cout << " " << id;
        std::cout << "\n";
        break;
    }
    case FileKind::Jad:
        for (const auto& [k, v] : parseJad(data)) std::cout << k << " = " << v << "\n";
        break;
    case FileKind::CharMap: {
        std::vector<int16_t> map = decodeShortNode(data);
        checkCharMap(map);
        std::cout << map[0] << " buckets, " << map.size() << " shorts:";
        for (int16_t v : map) std::cout << " " << v;
        std::cout << "\n";
        break;
    }
    default:
        inspectGameData(kind, data);
        break;
    }
    return 0;
}

int damage(const std::vector<std::string>& a) {
    if (a.size() < 3) throw Usage{};
    FileKind kind = kindArg(a[0]);
    DamageOptions opt;
    for (size_t i = 3; i < a.size(); ++i) {
        if (i + 1 >= a.size()) throw Usage{};
        if (a[i] == "--max-per-group") opt.maxPerGroup = static_cast<size_t>(numberArg(a[++i]));
        else if (a[i] == "--flips") opt.randomFlips = static_cast<size_t>(numberArg(a[++i]));
        else if (a[i] == "--seed") opt.seed = static_cast<uint64_t>(numberArg(a[++i]));
        else throw Usage{};
    }
    Bytes valid = readFile(a[1]);
    std::vector<DamagedFile> out = damageFile(kind, valid, opt);
    namespace fs = std::filesystem;
    std::string stem = fs::path(a[1]).stem().string();
    int n = 0;
    for (const DamagedFile& d : out) {
        std::string safe;
        for (char c : d.name) safe += (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '=') ? c : '_';
        char num[16];
        std::snprintf(num, sizeof num, "%04d", n++);
        writeFile((fs::path(a[2]) / (stem + "." + num + "." + safe)).string(), d.bytes);
    }
    std::cout << out.size() << " damaged variants of " << a[1] << " in " << a[2] << "\n";
    return 0;
}

int store(const std::vector<std::string>& a) {
    if (a.size() < 3) throw Usage{};
    if (a[0] == "write") {
        RecordStoreContents s;
        for (size_t i = 3; i < a.size(); ++i) {
            if (a[i] == "--last" && i + 1 < a.size()) {
                s.lastRecordId = static_cast<int32_t>(numberArg(a[++i]));
                continue;
            }
            auto [id, file] = keyValue(a[i]);
            s.records.push_back(StoredRecord{static_cast<int32_t>(numberArg(id)), readFile(file), false});
        }
        writeRecordStore(a[1], a[2], s);
        std::cout << "store " << a[2] << ": " << storeIndexFileName(a[2]) << " and " << s.records.size() << " records\n";
        return 0;
    }
    if (a[0] == "read" && a.size() == 3) {
        RecordStoreContents s = readRecordStore(a[1], a[2]);
        std::cout << "lastRecordId " << s.lastRecordId << "\n";
        for (const StoredRecord& r : s.records)
            std::cout << "  " << r.id << ": " << (r.missing ? std::string("missing") : std::to_string(r.data.size()) + " bytes")
                      << "\n";
        return 0;
    }
    throw Usage{};
}

}  // namespace

// Every option some command takes; a command that takes a new option adds it
// here. Anything else that looks like an option is refused, not taken for a
// file name.
const char* const kOptions[] = {"--prefix", "--folder", "--manifest", "--map-format", "--max-per-group",
                                "--flips",  "--seed",   "--last", "--firsts", "--sep"};

int actorTablesCommand(const std::vector<std::string>& args);  // actor_cmd.cpp

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::cout << kUsage << kGameDataUsage;
        return args.empty() ? 2 : 0;
    }
    for (const std::string& a : args) {
        if (a.size() < 2 || a[0] != '-' || (a[1] >= '0' && a[1] <= '9')) continue;  // a negative number is a value
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (std::find(std::begin(kOptions), std::end(kOptions), a) == std::end(kOptions)) {
            std::cerr << "bramble-kit: unknown option " << a << "\n" << kUsage;
            return 2;
        }
    }
    std::string cmd = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    try {
        if (cmd == "showcase" || ((cmd == "inspect" || cmd == "damage") && !rest.empty() && rest[0] == "showcase")) {
            const int rc = showcaseCommand(cmd, rest);
            if (rc < 0) throw Usage{};
            return rc;
        }
        if (cmd == "archive") return archive(rest);
        if (cmd == "pool") return pool(rest);
        if (cmd == "jad") return jad(rest);
        if (cmd == "sprite") return sprite(rest);
        if (cmd == "font") return font(rest);
        if (cmd == "inspect") return inspect(rest);
        if (cmd == "level") return kitcli::levelCommand(rest);
        if (cmd == "damage") return damage(rest);
        if (cmd == "store") return store(rest);
        if (int r = gameDataCommand(cmd, rest); r >= 0) {
            if (r == 2) throw Usage{};
            return r;
        }
        if (cmd == "actor-tables") return actorTablesCommand(rest);
        throw Usage{};
    } catch (const Usage&) {
        std::cerr << kUsage << kGameDataUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "bramble-kit " << cmd << ": " << e.what() << "\n";
        return 1;
    }
}
