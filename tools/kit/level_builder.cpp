// Level description builders and the level pack of a description.
#include "tools/kit/level_builder.h"

#include "tools/kit/gamedata.h"
#include "tools/kit/level.h"

#include <map>

namespace kit::levelbuild {

std::string roomMap(int columns, int rows, const std::vector<Wall>& walls) {
    std::string s = "layer 2 " + std::to_string(columns) + " " + std::to_string(rows) + "\n";
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) s += c ? " ." : ".";
        s += "\n";
    }
    s += "layer 4 " + std::to_string(columns) + " " + std::to_string(rows) + "\n";
    for (int r = 0; r < rows; ++r) {
        std::string line(static_cast<size_t>(columns), r >= rows - 2 ? '6' : '.');
        for (const Wall& w : walls)
            if (r >= w.first && r <= w.last && w.column >= 0 && w.column < columns) line[static_cast<size_t>(w.column)] = '6';
        s += line + "\n";
    }
    return s;
}

std::string object(int subtype, int id, int x, int y, int anim, const std::vector<int>& params) {
    std::string s = "object " + std::to_string(subtype) + " " + std::to_string(id) + " " + std::to_string(x) + " " +
                    std::to_string(y) + " 7 " + std::to_string(anim) + " 160";
    for (int p : params) s += " " + std::to_string(p);
    return s + "\n";
}

std::string link(int id, int x, int y, int next, int code, int arg) {
    return "link " + std::to_string(id) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
           std::to_string(next) + " " + std::to_string(code) + " " + std::to_string(arg) + "\n";
}

Bytes levelPack(const std::string& description) { return levelPack(parseLevelDescription(description)); }

Bytes levelPack(const LevelModel& model) {
    const std::map<int, Bytes> entries = levelEntries(model);
    std::vector<PackEntry> pack;
    for (int e = 0; e <= kLevelRegionsEntry; ++e) {
        auto it = entries.find(e);
        PackEntry p;
        if (it == entries.end() || it->second.empty()) p.empty = true;
        else p.payload = it->second;
        pack.push_back(std::move(p));
    }
    return buildPack(pack).header;
}

}  // namespace kit::levelbuild
