// Progress-record fixtures for the menu screens (screens_progress.h),
// built with the progress writer from named fields.
#include "tools/kit/screens_progress.h"

#include <map>

#include "tools/kit/gamedata.h"

namespace kit {

namespace {

// Stage s's mask byte with the bits of the given difficulties.
void open(std::map<std::string, int64_t>& f, int stage, std::initializer_list<int> difficulties) {
    int64_t bits = 0;
    for (int d : difficulties) bits |= int64_t{1} << d;
    f["byte" + std::to_string(198 + stage)] = bits | (stage == 0 ? 6 : 0);
}

}  // namespace

std::vector<ProgressFixture> screenProgressFixtures() {
    std::vector<ProgressFixture> out;
    out.push_back({"fresh", buildProgress(), false});

    std::map<std::string, int64_t> mid = {{"last-difficulty", 2}, {"slot2.byte10", 3}, {"slot-bits", 4},
                                          {"slot2.byte7", 1}};
    for (int s = 0; s <= 3; ++s) open(mid, s, {2});
    for (int s = 0; s < 3; ++s) mid["slot2.stage" + std::to_string(s) + ".best"] = 12000 + 1000 * s;
    out.push_back({"mid-game", buildProgress(mid), false});

    std::map<std::string, int64_t> all = {{"last-difficulty", 3}};
    for (int s = 0; s <= 10; ++s) open(all, s, {1, 2, 3});
    for (int n = 1; n <= 3; ++n) {
        all["slot" + std::to_string(n) + ".byte10"] = 10;
        all["slot" + std::to_string(n) + ".var1"] = 1023;
    }
    out.push_back({"all-open", buildProgress(all), false});

    std::map<std::string, int64_t> last = {{"last-difficulty", 2}, {"slot2.byte10", 10}, {"slot2.var1", 1023}};
    for (int s = 0; s <= 10; ++s) open(last, s, {2});
    out.push_back({"stage-10-open", buildProgress(last), false});

    std::map<std::string, int64_t> bad = {{"last-difficulty", 9}, {"slot2.byte10", 200}, {"byte198", 255}};
    out.push_back({"damaged-difficulty", buildProgress(bad), true});
    Bytes shortRecord = buildProgress(mid);
    shortRecord.resize(100);
    out.push_back({"damaged-short", shortRecord, true});
    return out;
}

}  // namespace kit
