// The game's static state is one block per class: reads every field list
// (#define NAME(X) ... X(type, name) ...) and every BRAMBLE_STATICS block in
// the headers under game/ and fails when a field name is declared in two
// blocks or two lists, when a list belongs to no block, when a block is not
// one of the classes' own, or when a field is declared under both of its
// names. The sprite engine and the showcase keep statics of their own
// classes and are not read. The parse is checked against the compiled
// field tables of cGame and cActor.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"

namespace {

namespace fs = std::filesystem;

// The block of each class that has statics.
const std::set<std::string> kClassBlocks = {"cGameStatics",       "cActorStatics",        "UtilStatics",
                                            "BossMordleStatics",  "BossMagicianStatics", "KTLibPlayerStatics"};
// Names that two classes own each (one field per class, not a copy).
const std::map<std::string, std::set<std::string>> kTwoOwners = {
    {"frameRect", {"cGameStatics", "cActorStatics"}},
    {"stepTable", {"cActorStatics", "BossMordleStatics", "BossMagicianStatics"}},
};
// One field, two names: never both declared.
const std::vector<std::pair<std::string, std::string>> kAliases = {
    {"checkpointTimer", "checkpointNoticeTicks"}, {"levelTimerHold", "heroTimerMode"},
    {"secretsTotal", "type19Total"},              {"itemsTotal", "collectibleTotal"},
    {"specialsTotal", "type6Total"},              {"currentScriptId", "restartScriptIndex"},
    {"inputBlock", "scriptFlags"},                {"scriptBlocked", "scriptsWaiting"},
    {"cutsceneSkippable", "sceneSkippable"},      {"skipCutscene", "scriptSkipping"},
    {"ringScriptLow", "choiceScriptA"},           {"ringScriptHigh", "choiceScriptB"},
    {"runSpeedFactor", "scaleParam"},             {"landingMode", "cruiseAfterLanding"},
    {"levelObjectMarks", "recordRegionMasks"},    {"variableChangedMask", "panelEvents"},
    {"clearPending", "screenFlash"},
};

struct FieldList {
    std::string file;
    std::vector<std::string> fields;    // X(type, name) rows, in order
    std::vector<std::string> included;  // OTHER(X) rows
};

struct Headers {
    std::map<std::string, FieldList> lists;             // by macro name
    std::map<std::string, std::string> blocks;          // struct -> list macro
    std::map<std::string, std::string> blockFiles;      // struct -> file
};

std::string stripComments(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "//") == 0) {
            while (i < text.size() && text[i] != '\n') ++i;
            if (i < text.size()) out += '\n';
        } else if (text.compare(i, 2, "/*") == 0) {
            const size_t end = text.find("*/", i + 2);
            i = end == std::string::npos ? text.size() : end + 1;
            out += ' ';
        } else {
            out += text[i];
        }
    }
    return out;
}

// Reads one header's lists and blocks into h.
void readHeader(const std::string& name, const std::string& raw, Headers& h) {
    std::string text = stripComments(raw);
    // Join continuation lines.
    std::string joined;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\n') {
            joined += ' ';
            ++i;
        } else {
            joined += text[i];
        }
    }
    static const std::regex define(R"(#define\s+(\w+)\(X\)([^\n]*))");
    static const std::regex row(R"(\bX\(\s*([^,()]+?(?:<[^>]*>)?)\s*,\s*(\w+)\s*\))");
    static const std::regex include(R"(\b([A-Z][A-Z0-9_]*)\(X\))");
    static const std::regex block(R"(\bBRAMBLE_STATICS\(\s*(\w+)\s*,\s*(\w+)\s*\))");
    std::istringstream lines(joined);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, define)) {
            FieldList& l = h.lists[m[1]];
            l.file = name;
            const std::string body = m[2];
            for (std::sregex_iterator it(body.begin(), body.end(), row), e; it != e; ++it)
                l.fields.push_back((*it)[2]);
            for (std::sregex_iterator it(body.begin(), body.end(), include), e; it != e; ++it)
                l.included.push_back((*it)[1]);
        } else if (line.find("#define BRAMBLE_STATICS") == std::string::npos && std::regex_search(line, m, block)) {
            h.blocks[m[1]] = m[2];
            h.blockFiles[m[1]] = name;
        }
    }
}

// Field names of a list with the lists it includes; the lists reached go
// into `used`.
void expand(const Headers& h, const std::string& list, std::vector<std::string>& out, std::set<std::string>& used,
            std::vector<std::string>& problems) {
    auto it = h.lists.find(list);
    if (it == h.lists.end()) {
        problems.push_back("block list " + list + " is not defined under game/");
        return;
    }
    if (!used.insert(list).second) {
        problems.push_back("list " + list + " is included twice");
        return;
    }
    out.insert(out.end(), it->second.fields.begin(), it->second.fields.end());
    for (const std::string& inner : it->second.included) expand(h, inner, out, used, problems);
}

// Every rule of the one-state layout, as messages (empty: all hold).
std::vector<std::string> check(const Headers& h, std::map<std::string, std::set<std::string>>* fieldsOf = nullptr) {
    std::vector<std::string> problems;
    std::set<std::string> used;
    std::map<std::string, std::set<std::string>> blocksOf;  // field -> blocks
    for (const auto& [block, list] : h.blocks) {
        if (!kClassBlocks.count(block))
            problems.push_back("statics block " + block + " (" + h.blockFiles.at(block) +
                               ") is not a class's own block: its fields belong in cg() or ca()");
        std::vector<std::string> names;
        expand(h, list, names, used, problems);
        for (const std::string& n : names) {
            blocksOf[n].insert(block);
            if (fieldsOf) (*fieldsOf)[block].insert(n);
        }
    }
    // A name in two lists.
    std::map<std::string, std::vector<std::string>> listsOf;
    for (const auto& [list, l] : h.lists)
        for (const std::string& n : l.fields) listsOf[n].push_back(list + " (" + l.file + ")");
    for (const auto& [n, lists] : listsOf) {
        if (lists.size() < 2 || kTwoOwners.count(n)) continue;
        std::string where;
        for (const std::string& l : lists) where += (where.empty() ? "" : ", ") + l;
        problems.push_back("field " + n + " is declared in " + std::to_string(lists.size()) + " lists: " + where);
    }
    // A name in two blocks.
    for (const auto& [n, blocks] : blocksOf) {
        if (blocks.size() < 2) continue;
        auto owners = kTwoOwners.find(n);
        bool allowed = owners != kTwoOwners.end();
        for (const std::string& b : blocks) allowed = allowed && owners->second.count(b);
        if (allowed) continue;
        std::string where;
        for (const std::string& b : blocks) where += (where.empty() ? "" : ", ") + b;
        problems.push_back("field " + n + " is declared in blocks " + where);
    }
    // A list in no block.
    for (const auto& [list, l] : h.lists)
        if (!used.count(list) && !l.fields.empty())
            problems.push_back("field list " + list + " (" + l.file + ") belongs to no statics block");
    // Both names of one field.
    for (const auto& [a, b] : kAliases)
        if (blocksOf.count(a) && blocksOf.count(b))
            problems.push_back("one field under two names: " + a + " and " + b);
    return problems;
}

Headers readGameHeaders(const fs::path& root) {
    Headers h;
    for (const auto& e : fs::recursive_directory_iterator(root / "game")) {
        if (!e.is_regular_file()) continue;
        const std::string ext = e.path().extension().string();
        if (ext != ".h" && ext != ".hpp" && ext != ".inc") continue;
        const std::string rel = fs::relative(e.path(), root).generic_string();
        if (rel.rfind("game/sprite/", 0) == 0 || rel.rfind("game/showcase/", 0) == 0) continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        readHeader(rel, ss.str(), h);
    }
    return h;
}

template <typename T>
std::set<std::string> compiledNames() {
    std::set<std::string> names;
    for (const game::FieldInfo& f : T::fields()) names.insert(f.name);
    return names;
}

std::string joinProblems(const std::vector<std::string>& problems) {
    std::string s;
    for (const std::string& p : problems) s += "  " + p + "\n";
    return s;
}

TEST(StaticsStructure, EveryFieldIsDeclaredOnceInItsClasssBlock) {
    const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
    ASSERT_NE(root, nullptr) << "BRAMBLE_SOURCE_DIR is not set";
    const Headers h = readGameHeaders(root);
    ASSERT_TRUE(h.blocks.count("cGameStatics") && h.blocks.count("cActorStatics")) << "the two class blocks not found";
    std::map<std::string, std::set<std::string>> fieldsOf;
    const std::vector<std::string> problems = check(h, &fieldsOf);
    EXPECT_TRUE(problems.empty()) << joinProblems(problems);
    // The headers as read are the blocks as compiled.
    EXPECT_EQ(fieldsOf["cGameStatics"], compiledNames<game::cGameStatics>());
    EXPECT_EQ(fieldsOf["cActorStatics"], compiledNames<game::cActorStatics>());
    EXPECT_EQ(fieldsOf["KTLibPlayerStatics"], compiledNames<game::KTLibPlayerStatics>());
}

// The checker itself, on small headers that break each rule.
TEST(StaticsStructure, TheCheckFindsEachKindOfCopy) {
    struct Case {
        const char* what;
        std::string header;
        const char* expected;  // a fragment of the one problem reported
    } cases[] = {
        {"the same name in two class blocks",
         "#define A(X) X(jint, stage) X(jint, mine)\nBRAMBLE_STATICS(cGameStatics, A)\n"
         "#define B(X) X(jint, stage)\nBRAMBLE_STATICS(cActorStatics, B)\n",
         "field stage is declared in 2 lists"},
        {"a block of a library's own",
         "#define A(X) X(jint, stage)\nBRAMBLE_STATICS(cGameStatics, A)\n"
         "#define W(X) X(jint, lookAheadX)\nBRAMBLE_STATICS(WorldStatics, W)\n",
         "statics block WorldStatics"},
        {"a list that no block includes",
         "#define A(X) X(jint, stage)\nBRAMBLE_STATICS(cGameStatics, A)\n#define W(X) X(jint, lookAheadX)\n",
         "field list W"},
        {"one field under both of its names",
         "#define A(X) X(jint, checkpointTimer) W(X)\nBRAMBLE_STATICS(cGameStatics, A)\n"
         "#define W(X) X(jint, checkpointNoticeTicks)\n",
         "one field under two names: checkpointTimer and checkpointNoticeTicks"},
        {"a two-owner name in a third block",
         "#define A(X) X(IntArray*, frameRect)\nBRAMBLE_STATICS(cGameStatics, A)\n"
         "#define U(X) X(IntArray*, frameRect)\nBRAMBLE_STATICS(UtilStatics, U)\n",
         "field frameRect is declared in blocks UtilStatics, cGameStatics"},
    };
    for (const Case& c : cases) {
        Headers h;
        readHeader("fixture.h", c.header, h);
        const std::vector<std::string> problems = check(h);
        bool found = false;
        for (const std::string& p : problems) found = found || p.find(c.expected) != std::string::npos;
        EXPECT_TRUE(found) << c.what << ":\n" << joinProblems(problems);
    }
    // The layout as it should be: the class lists joined into one block,
    // the two-owner names once per class, comments ignored.
    Headers good;
    readHeader("fixture.h",
               "#define A(X) X(jint, stage) /* X(jint, old) */ B(X) // X(jint, older)\n"
               "#define B(X) X(IntArray*, frameRect) \\\n  X(jint, lookAheadX)\n"
               "BRAMBLE_STATICS(cGameStatics, A)\n#define C(X) X(IntArray*, frameRect)\n"
               "BRAMBLE_STATICS(cActorStatics, C)\n",
               good);
    std::map<std::string, std::set<std::string>> fieldsOf;
    EXPECT_TRUE(check(good, &fieldsOf).empty()) << joinProblems(check(good));
    EXPECT_EQ(fieldsOf["cGameStatics"], (std::set<std::string>{"stage", "frameRect", "lookAheadX"}));
}

}  // namespace
