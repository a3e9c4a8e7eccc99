// The behaviour source reader and writer (see behaviour_source.h). Lines are
// read one at a time; every value is range-checked before it is stored, so a
// refused source leaves no half-written program behind in the result of
// actorTablesFromSource (the caller's model is only changed on success).
#include "tools/kit/behaviour_source.h"

#include <array>
#include <sstream>

namespace kit {

namespace {

constexpr std::array<const char*, 14> kRowNames = {"marginX", "marginY", "spritePack", "spriteIndex", "param4",
                                                    "type",    "width",   "height",     "flags",       "layer",
                                                    "param10", "param11", "param12",    "param13"};

[[noreturn]] void fail(int line, const std::string& what) {
    throw KitError("line " + std::to_string(line) + ": " + what);
}

int64_t number(int line, const std::string& word) {
    try {
        size_t used = 0;
        const int64_t v = std::stoll(word, &used, 0);
        if (used != word.size()) fail(line, "not a number: " + word);
        return v;
    } catch (const std::logic_error&) {
        fail(line, "not a number: " + word);
    }
}

int32_t ranged(int line, const std::string& word, int64_t lo, int64_t hi, const char* what) {
    const int64_t v = number(line, word);
    if (v < lo || v > hi) fail(line, std::string(what) + " " + word + " outside " + std::to_string(lo) + ".." + std::to_string(hi));
    return static_cast<int32_t>(v);
}

// "41:" -> 41 (the colon is required).
int32_t headNumber(int line, const std::string& word, int64_t lo, int64_t hi, const char* what) {
    if (word.empty() || word.back() != ':') fail(line, std::string("expected '") + what + " N:'");
    return ranged(line, word.substr(0, word.size() - 1), lo, hi, what);
}

int rowIndexOf(const ActorTables& t, int32_t subtype) {
    for (size_t r = 0; r < t.rows.size(); ++r)
        if (t.rows[r].subtype == subtype) return static_cast<int>(r);
    return -1;
}

}  // namespace

int32_t packRule(int32_t mask, int32_t message, int32_t next) {
    return static_cast<int32_t>((static_cast<uint32_t>(mask) << 12) | (static_cast<uint32_t>(message) << 6) |
                                static_cast<uint32_t>(next));
}

void checkRulePrograms(const ActorTables& tables) {
    for (size_t p = 0; p < tables.programs.size(); ++p) {
        const auto& program = tables.programs[p];
        for (size_t s = 0; s < program.size(); ++s) {
            const auto& rules = program[s];
            if (rules.size() % 2)
                throw KitError("program " + std::to_string(p + 1) + " state " + std::to_string(s) + " splits a rule pair");
            for (size_t k = 0; k < rules.size(); k += 2) {
                const int32_t next = rules[k] & 63;
                if (next != 63 && next >= static_cast<int32_t>(program.size()))
                    throw KitError("program " + std::to_string(p + 1) + " state " + std::to_string(s) + " rule " +
                                   std::to_string(k / 2) + ": next state " + std::to_string(next) + " outside its " +
                                   std::to_string(program.size()) + " states");
            }
        }
    }
}

void applyBehaviourSource(ActorTables& tables, const std::string& source) {
    ActorTables t = tables;
    std::istringstream in(source);
    std::string text;
    int line = 0;
    int program = -1;
    while (std::getline(in, text)) {
        ++line;
        if (auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        std::vector<std::string> w;
        for (std::string s; words >> s;) w.push_back(s);
        if (w.empty()) continue;
        if (w[0] == "row") {
            if (w.size() < 2) fail(line, "expected 'row SUBTYPE:'");
            const int32_t subtype = headNumber(line, w[1], INT32_MIN, INT32_MAX, "row");
            const int r = rowIndexOf(t, subtype);
            if (r < 0) fail(line, "no row for subtype " + std::to_string(subtype));
            if (w.size() % 2) fail(line, "an entry without its value");
            auto& values = t.rows[static_cast<size_t>(r)].values;
            for (size_t i = 2; i + 1 < w.size(); i += 2) {
                size_t k = 0;
                while (k < kRowNames.size() && w[i] != kRowNames[k]) ++k;
                if (k == kRowNames.size()) fail(line, "unknown row entry " + w[i]);
                const int32_t v = ranged(line, w[i + 1], INT32_MIN, UINT32_MAX, w[i].c_str());
                if (values.size() <= k) values.resize(k + 1, 0);
                values[k] = v;
            }
            if (values.size() < 12) values.resize(12, 0);
        } else if (w[0] == "program") {
            if (w.size() != 4 || w[2] != "states") fail(line, "expected 'program N states K'");
            program = ranged(line, w[1], 1, kActorPrograms, "program") - 1;
            const int32_t states = ranged(line, w[3], 10, 12, "states");
            if (t.programs.size() < static_cast<size_t>(kActorPrograms)) t.programs.resize(kActorPrograms);
            t.programs[static_cast<size_t>(program)].assign(static_cast<size_t>(states), {});
        } else if (w[0] == "state") {
            if (program < 0) fail(line, "a rule before any program");
            // state S: mask M msg T arg A -> N
            if (w.size() != 10 || w[2] != "mask" || w[4] != "msg" || w[6] != "arg" || w[8] != "->")
                fail(line, "expected 'state S: mask M msg T arg A -> N'");
            auto& states = t.programs[static_cast<size_t>(program)];
            const int32_t s = headNumber(line, w[1], 0, 63, "state");
            if (s >= static_cast<int32_t>(states.size()))
                fail(line, "state " + std::to_string(s) + " outside the program's " + std::to_string(states.size()));
            const int32_t mask = ranged(line, w[3], 0, 0xFFFFF, "mask");
            const int32_t msg = ranged(line, w[5], 0, 63, "msg");
            const int32_t arg = ranged(line, w[7], INT32_MIN, INT32_MAX, "arg");
            const int32_t next = ranged(line, w[9], 0, 63, "next state");
            if (next != 63 && next >= static_cast<int32_t>(states.size()))
                fail(line, "next state " + std::to_string(next) + " outside the program's " +
                               std::to_string(states.size()) + " states");
            states[static_cast<size_t>(s)].push_back(packRule(mask, msg, next));
            states[static_cast<size_t>(s)].push_back(arg);
        } else if (w[0] == "anims") {
            if (w.size() < 2) fail(line, "expected 'anims KIND: values'");
            const int32_t kind = headNumber(line, w[1], 0, kActorAnimRows - 1, "anims");
            const size_t n = w.size() - 2;
            if (n != 12 && n != 14) fail(line, "an animation row has 12 or 14 entries, not " + std::to_string(n));
            if (t.stateAnims.size() < static_cast<size_t>(kActorAnimRows)) t.stateAnims.resize(kActorAnimRows);
            auto& row = t.stateAnims[static_cast<size_t>(kind)];
            row.clear();
            for (size_t i = 2; i < w.size(); ++i) row.push_back(ranged(line, w[i], INT32_MIN, INT32_MAX, "animation"));
        } else {
            fail(line, "unknown line '" + w[0] + "'");
        }
    }
    checkRulePrograms(t);
    tables = std::move(t);
}

ActorTables actorTablesFromSource(const std::string& source) {
    ActorTables t = demoActorTables();
    applyBehaviourSource(t, source);
    return t;
}

std::string writeBehaviourSource(const ActorTables& tables) {
    std::ostringstream out;
    for (size_t p = 0; p < tables.programs.size(); ++p) {
        const auto& program = tables.programs[p];
        out << "program " << p + 1 << " states " << program.size() << "\n";
        for (size_t s = 0; s < program.size(); ++s)
            for (size_t k = 0; k + 1 < program[s].size(); k += 2) {
                const uint32_t word = static_cast<uint32_t>(program[s][k]);
                out << "state " << s << ": mask 0x" << std::hex << (word >> 12) << std::dec << " msg "
                    << ((word >> 6) & 63) << " arg " << program[s][k + 1] << " -> " << (word & 63) << "\n";
            }
    }
    for (size_t k = 0; k < tables.stateAnims.size(); ++k) {
        out << "anims " << k << ":";
        for (int32_t v : tables.stateAnims[k]) out << " " << v;
        out << "\n";
    }
    return out.str();
}

std::vector<std::string> damagedBehaviourSources() {
    return {
        "row 2: colour 3\n",
        "row 2: width 4x\n",
        "program 1 states 10\nstate 3: mask 0x2 msg 28 arg 0 -> 10\n",
        "program 1 states 10\nstate 10: mask 0x2 msg 28 arg 0 -> 63\n",
        "program 1 states 10\nstate 3: mask 0x2 msg 64 arg 0 -> 4\n",
        "program 23 states 10\n",
        "program 1 states 9\n",
        "anims 0: 1 2 3 4 5 6 7 8 9 10 11 12 13\n",
        "state 3: mask 0x2 msg 28 arg 0 -> 4\n",
        "program 1 states 10\nstate 3: mask 0x100000 msg 1 arg 0 -> 4\n",
    };
}

}  // namespace kit
