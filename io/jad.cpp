// The application descriptor's line format.
#include "io/jad.h"

#include <map>

namespace bramble::io {

namespace {
std::u16string_view trim(std::u16string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && s[a] <= 0x20) ++a;
    while (b > a && s[b - 1] <= 0x20) --b;
    return s.substr(a, b - a);
}
}  // namespace

std::vector<std::pair<std::u16string, std::u16string>> parseJad(std::u16string_view text, size_t* dropped) {
    std::vector<std::pair<std::u16string, std::u16string>> pairs;
    if (dropped) *dropped = 0;
    std::map<std::u16string, size_t> where;  // key -> its place in pairs
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(u'\n', pos);
        if (end == std::u16string_view::npos) end = text.size();
        std::u16string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
        pos = end + 1;
        const size_t colon = line.find(u':');
        if (colon == std::u16string_view::npos) continue;  // blank or stray line: not a property
        std::u16string key(trim(line.substr(0, colon)));
        std::u16string value(trim(line.substr(colon + 1)));
        if (pairs.size() >= kMaxJadProperties && !where.count(key)) {
            if (dropped) ++*dropped;
            continue;
        }
        const auto [it, added] = where.emplace(key, pairs.size());
        if (added)
            pairs.emplace_back(std::move(key), std::move(value));
        else
            pairs[it->second].second = std::move(value);
    }
    return pairs;
}

}  // namespace bramble::io
