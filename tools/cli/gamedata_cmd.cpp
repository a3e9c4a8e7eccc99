// bramble-kit's commands for the game's data formats: packs (with LZMA
// entries and sub-pack files), text packs, data nodes, content types and
// progress records (as files or into a record store), and their inspection.
#include "tools/cli/gamedata_cmd.h"
#include "tools/kit/loading.h"

#include <filesystem>
#include <iostream>

#include "tools/kit/gamedata.h"
#include "tools/kit/recordstore.h"

namespace kit {
namespace {

std::map<std::string, int64_t> fieldArgs(const std::vector<std::string>& a, size_t from) {
    std::map<std::string, int64_t> f;
    for (size_t i = from; i < a.size(); ++i) {
        const size_t eq = a[i].find('=');
        if (eq == std::string::npos) throw KitError("expected FIELD=VALUE, got \"" + a[i] + "\"");
        f[a[i].substr(0, eq)] = parseNumber(a[i].substr(eq + 1), "a number after " + a[i].substr(0, eq + 1));
    }
    return f;
}

void saveFile(const std::string& path, const Bytes& data) {
    writeFile(path, data);
    std::cout << path << ": " << data.size() << " bytes\n";
}

// ENTRY: "empty", or [z][tN:]FILE (z: LZMA payload, tN: entry type N).
PackEntry entryArg(const std::string& s) {
    PackEntry e;
    if (s == "empty") {
        e.empty = true;
        return e;
    }
    size_t p = 0;
    if (s.size() > 1 && s[0] == 'z' && (s[1] == ':' || s[1] == 't')) {
        e.compress = true;
        p = s[1] == ':' ? 2 : 1;
    }
    if (s.compare(p, 1, "t") == 0 && s.find(':', p) != std::string::npos) {
        const size_t colon = s.find(':', p);
        e.type = static_cast<int>(parseNumber(s.substr(p + 1, colon - p - 1), "an entry type number after 't'", 0, 255));
        p = colon + 1;
    }
    e.payload = readFile(s.substr(p));
    return e;
}

std::vector<std::string> lines(const std::string& path) {
    Bytes b = readFile(path);
    std::vector<std::string> out;
    std::string cur;
    for (uint8_t c : b) {
        if (c == '\n') {
            out.push_back(cur);
            cur.clear();
        } else if (c != '\r') {
            cur += static_cast<char>(c);
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

}  // namespace

const char* const kGameDataUsage = R"(  pack OUTDIR NAME [--sep S] [--firsts A,B,...] ENTRY ...
                                  ENTRY: empty | [z][tN:]FILE (z: LZMA, tN: type N)
  text-pack OUT SLOT TEXTS.txt    one UTF-8 text per line, terminator appended
  node IN.txt OUT                 data node text form -> node
  content-types OUT TYPE ...
  progress OUT [FIELD=VALUE ...]  a 265-byte record (fields by name)
  progress-store FOLDER STORE [FIELD=VALUE ...]
  inspect pack|text-pack|node|layer-header|content-types|progress FILE
)";

int gameDataCommand(const std::string& cmd, const std::vector<std::string>& a) {
    if (cmd == "pack") {
        if (a.size() < 3) return 2;
        std::string sep = "_";
        std::vector<int> firsts = {0};
        std::vector<PackEntry> entries;
        for (size_t i = 2; i < a.size(); ++i) {
            if (a[i] == "--sep" && i + 1 < a.size()) {
                sep = a[++i];
            } else if (a[i] == "--firsts" && i + 1 < a.size()) {
                firsts.clear();
                std::string v = a[++i];
                for (size_t p = 0; p <= v.size();) {
                    size_t c = v.find(',', p);
                    if (c == std::string::npos) c = v.size();
                    firsts.push_back(static_cast<int>(parseNumber(v.substr(p, c - p), "a number in --firsts", INT32_MIN, INT32_MAX)));
                    p = c + 1;
                }
            } else {
                entries.push_back(entryArg(a[i]));
            }
        }
        PackFiles files = buildPack(entries, firsts);
        namespace fs = std::filesystem;
        saveFile((fs::path(a[0]) / a[1]).string(), files.header);
        for (size_t k = 0; k < files.subPacks.size(); ++k)
            saveFile((fs::path(a[0]) / subPackFileName(a[1], sep, static_cast<int>(k + 1))).string(), files.subPacks[k]);
        return 0;
    }
    if (cmd == "text-pack") {
        if (a.size() != 3) return 2;
        saveFile(a[0], buildTextPack(static_cast<int>(parseNumber(a[1], "a SLOT number", INT32_MIN, INT32_MAX)), lines(a[2])));
        return 0;
    }
    if (cmd == "node") {
        if (a.size() != 2) return 2;
        Bytes t = readFile(a[0]);
        saveFile(a[1], encodeNode(parseNodeText(std::string(t.begin(), t.end()))));
        return 0;
    }
    if (cmd == "content-types") {
        if (a.empty()) return 2;
        saveFile(a[0], buildContentTypes(std::vector<std::string>(a.begin() + 1, a.end())));
        return 0;
    }
    if (cmd == "progress") {
        if (a.empty()) return 2;
        saveFile(a[0], buildProgress(fieldArgs(a, 1)));
        return 0;
    }
    if (cmd == "progress-store") {
        if (a.size() < 2) return 2;
        RecordStoreContents s;
        s.records.push_back(StoredRecord{1, buildProgress(fieldArgs(a, 2)), false});
        writeRecordStore(a[0], a[1], s);
        std::cout << "store " << a[1] << ": record 1, " << kProgressRecordBytes << " bytes\n";
        return 0;
    }
    return -1;
}

bool inspectGameData(FileKind kind, const Bytes& data) {
    switch (kind) {
    case FileKind::Pack: std::cout << describePack(data); return true;
    case FileKind::TextPack: {
        ParsedTextPack p = parseTextPack(data);
        std::cout << "slot " << p.slot << ", " << p.texts.size() << " texts\n";
        for (size_t i = 0; i < p.texts.size(); ++i) std::cout << "  " << i << ": " << p.texts[i] << "\n";
        return true;
    }
    case FileKind::DataNode: std::cout << formatNode(decodeNode(data)); return true;
    case FileKind::LayerHeader: {
        LayerGrid g = parseLayerHeader(data);
        std::cout << g.width << " x " << g.height << " cells, " << g.tiles.size() << " tiles:";
        for (uint16_t t : g.tiles) std::cout << " " << t;
        std::cout << "\n";
        return true;
    }
    case FileKind::ContentTypes: {
        std::vector<std::string> t = parseContentTypes(data);
        std::cout << t.size() << " content types\n";
        for (size_t i = 0; i < t.size(); ++i) std::cout << "  " << i << ": " << t[i] << "\n";
        return true;
    }
    case FileKind::Progress:
        for (const auto& [name, value] : parseProgress(data)) std::cout << name << " = " << value << "\n";
        return true;
    case FileKind::LoadingTable: std::cout << describeLoadingTable(data); return true;
    case FileKind::Conditions: std::cout << describeConditionFile(data); return true;
    default: return false;
    }
}

}  // namespace kit
