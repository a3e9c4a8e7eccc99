// The headless step driver (stepdriver.h): its own application with the
// game's, the actor framework's, the world's and the hero's statics, the
// in-game state run through the state machine, and the per-step trace.
#include "tests/support/stepdriver.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "tests/support/manual_clock.h"
#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "display/lcdui/lcdui.h"
#include "game/actor/actor.h"
#include "game/actor/defaults.h"
#include "game/actor/hero.h"
#include "game/actor/pool.h"
#include "game/actor/tables.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/behaviour/behaviour.h"
#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/input.h"
#include "game/flow/loading.h"
#include "game/flow/screens/levelstart.h"
#include "game/flow/screens/screens.h"
#include "game/flow/screens/states_start.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/sprite/statics.h"
#include "game/world/camera.h"
#include "game/world/checkpoint.h"
#include "game/actor/actor.h"
#include "game/world/map.h"
#include "game/world/regions.h"
#include "game/world/scripts.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/world/streaming.h"
#include "game/world/world.h"
#include "javalib/inputstreams.h"
#include "javalib/random.h"
#include "runtime/application.h"
#include "runtime/log.h"
#include "runtime/objectmanager.h"
#include "runtime/resource.h"
#include "tools/kit/actortables.h"
#include "tools/kit/bytes.h"
#include "tools/kit/demo.h"
#include "tools/kit/demo_blocks.h"
#include "tools/kit/demo_bosses.h"
#include "tools/kit/demo_game.h"
#include "tools/kit/demo_hazards.h"
#include "tools/kit/demo_movers.h"
#include "tools/kit/demo_world.h"
#include "tools/kit/hero_fixtures.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/hero_sprite.h"
#include "tools/kit/sprite.h"
#include "tools/kit/level.h"

namespace stepdriver {

namespace {

constexpr jint kMaxLiveActors = 200;
constexpr jint kEndState = 16;  // no handler: the run loop ends the program on it
constexpr jlong kStepMs = 62;


ManualClock g_clock;
std::vector<const StaticsContribution*> g_statics;
bool g_booted = false;

void loadPool(StaticClass& statics) {
    const kit::StringPool pool = kit::demoStringPool();
    ObjectArray* array = newObjectArray(cid::String, static_cast<jint>(pool.size()));
    statics.m_stringPool = array;
    for (size_t i = 0; i < pool.size(); ++i) {
        String* s = String::fromUtf16(pool[i]);
        statics.m_stringPool->data()[i] = s;
    }
}

// The demo archive's actor tables, as the game reads them.
const kit::Bytes& actorTables() {
    static const kit::Bytes bytes = kit::demoGameActorTables();
    return bytes;
}

ShortArray* javaShorts(const std::vector<uint16_t>& v) {
    ShortArray* a = newShortArray(static_cast<jint>(v.size()));
    for (size_t i = 0; i < v.size(); ++i) a->data()[i] = static_cast<jshort>(v[i]);
    return a;
}

ByteArray* javaBytes(const kit::Bytes& bytes) {
    ByteArray* a = newByteArray(static_cast<jint>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) a->data()[i] = static_cast<jbyte>(bytes[i]);
    return a;
}

// The demo's named behaviour levels and boss arenas.
std::vector<std::pair<std::string, std::string>> namedLevels() {
    std::vector<std::pair<std::string, std::string>> out = {
        {"enemies", kit::kDemoEnemies},         {"movers", kit::kDemoMovers},
        {"blocks", kit::kDemoBlocksLevel},      {"items", kit::kDemoItemsLevel},
        {"hazards", kit::demoHazardsLevel()},   {"chase", kit::demoChaseLevel()},
        {"run", kit::demoRunLevel()},
    };
    for (int type : kit::bossArenaTypes()) out.emplace_back("arena:" + std::to_string(type), kit::bossArenaLevel(type));
    return out;
}

// The level description a level name stands for; empty when unknown.
std::string levelText(const std::string& name, std::string& error) {
    if (name == "demo") return kit::kDemoStage;
    for (const auto& [n, text] : namedLevels())
        if (name == n) return text;
    // ("stage:N" is started through the loading path, StepDriver::load.)
    for (kit::HeroFixture f : kit::allHeroFixtures())
        if (name == kit::heroFixtureName(f)) return kit::heroFixtureLevel(f);
    if (name.rfind("file:", 0) == 0) {
        try {
            const kit::Bytes b = kit::readFile(name.substr(5));
            return std::string(b.begin(), b.end());
        } catch (const std::exception& e) {
            error = e.what();
            return {};
        }
    }
    error = "unknown level \"" + name + "\" (demo, stage:N, a named demo level, a hero fixture name or file:PATH)";
    return {};
}

struct KeyName {
    const char* name;
    int32_t code;
};
constexpr KeyName kKeys[] = {{"star", '*'}, {"pound", '#'}, {"left", -3},  {"right", -4}, {"up", -1},
                             {"down", -2},  {"fire", -5},   {"lsoft", -6}, {"rsoft", -7}};

bool keyCode(const std::string& name, int32_t& code) {
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') {
        code = name[0];
        return true;
    }
    for (const KeyName& k : kKeys)
        if (name == k.name) {
            code = k.code;
            return true;
        }
    return false;
}

std::string hex(jint v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", static_cast<unsigned>(v));
    return buf;
}

// "k=v" fields of a line after its step number: the record kind first
// (field name "record").
std::vector<std::pair<std::string, std::string>> fieldsOf(const std::string& line) {
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream in(line);
    std::string word;
    in >> word;  // the step
    bool first = true;
    while (in >> word) {
        const size_t eq = word.find('=');
        if (first) {
            out.emplace_back("record", word);
            first = false;
            if (eq == std::string::npos) continue;
        }
        if (eq == std::string::npos)
            out.emplace_back(word, "");
        else
            out.emplace_back(word.substr(0, eq), word.substr(eq + 1));
    }
    return out;
}

// The live actors by object: the level pool's used slots and the hero.
std::map<cActor*, jint> liveActors() {
    std::map<cActor*, jint> live;
    if (cActor* h = game::cg().hero) live[h] = h->uniqueId;
    for (jint i = 0; i < game::cg().actorCount; ++i)
        if (cActor* a = game::poolActor(i)) live[a] = a->uniqueId;
    return live;
}

// The sprites the demo stage's level load brings in (the hero (0, 19), the
// effects 1, 2, 4, 8, 10, 11, 28 of group 18 and (3, 20)), taken from the
// demo data's packs into the game's sprite table as the loader leaves them:
// index entry = table slot (never 0).
// The demo data archive's entries, served as the game's resources.
std::map<std::string, kit::Bytes>& demoFiles() {
    static std::map<std::string, kit::Bytes> files = [] {
        std::map<std::string, kit::Bytes> f;
        for (const kit::DemoEntry& e : kit::demoEntries()) f[e.name] = e.make();
        return f;
    }();
    return files;
}

void installSprites() {
    struct Entry {
        jint id, group;
    };
    const Entry entries[] = {{0, 19}, {1, 18}, {2, 18}, {4, 18}, {8, 18}, {10, 18}, {11, 18}, {28, 18}, {3, 20}};
    constexpr jint kGroups = 32, kIds = 64;
    if (!game::cg().spriteIndex) {
        ObjectArray* index = newObjectArray(cid::IntArray, kGroups);
        game::cg().spriteIndex = index;
    }
    ObjectArray* sprites = newObjectArray(cid::Object, 1 + static_cast<jint>(std::size(entries)));
    game::cg().sprites = sprites;
    jint slot = 1;
    for (const Entry& e : entries) {
        auto file = demoFiles().find("pack" + std::to_string(e.group));
        if (file == demoFiles().end()) continue;
        const kit::ParsedPack pack = kit::parsePackFile(file->second);
        if (e.id >= static_cast<jint>(pack.entries.size()) || pack.entries[size_t(e.id)].type < 0) continue;
        const kit::Bytes payload = kit::packEntryPayload(file->second, pack.entries[size_t(e.id)]);
        if (!game::cg().spriteIndex->data()[e.group]) {
            IntArray* group = newIntArray(kIds);
            ObjectArray::set(game::cg().spriteIndex, e.group, group);
        }
        auto* group = static_cast<IntArray*>(game::cg().spriteIndex->data()[e.group]);
        group->data()[e.id] = slot;
        BSprite* sprite = newObject<BSprite>();
        ObjectArray::set(game::cg().sprites, slot, sprite);
        ByteArray* data = javaBytes(payload);
        static_cast<BSprite*>(game::cg().sprites->data()[slot])->load(data, 0);
        ++slot;
    }
}

int stepOf(const std::string& line) {
    return std::atoi(line.c_str());
}

}  // namespace

std::vector<std::string> demoLevelNames() {
    std::vector<std::string> names = {"demo"};
    for (const auto& [n, text] : namedLevels()) names.push_back(n);
    return names;
}

// Seeded random input: a key held for a while then released (a new press
// releases the old one on the canvas anyway), now and then a touch with a
// drag and a lift. Soft keys are rarer (they open the pause screens).
std::vector<InputEvent> randomInput(uint32_t seed, int steps, bool softKeys) {
    static const int32_t keys[] = {-3, -4, -1, -2, -5, '2', '4', '6', '8', '5', '0', '*', '#'};
    std::mt19937 random(seed);
    std::vector<InputEvent> out;
    int32_t held = 0;
    for (int step = 0; step < steps; ++step) {
        const unsigned roll = random() % 100;
        if (roll < 18) {
            if (held) out.push_back({step, InputEvent::Kind::Up, held, 0, 0});
            held = keys[random() % std::size(keys)];
            if (softKeys && random() % 40 == 0) held = random() % 2 ? -6 : -7;
            out.push_back({step, InputEvent::Kind::Down, held, 0, 0});
        } else if (roll < 26 && held) {
            out.push_back({step, InputEvent::Kind::Up, held, 0, 0});
            held = 0;
        } else if (roll < 29) {
            const int32_t x = static_cast<int32_t>(random() % 480), y = static_cast<int32_t>(random() % 800);
            out.push_back({step, InputEvent::Kind::Touch, 0, x, y});
            const int drags = static_cast<int>(random() % 4);
            for (int d = 0; d < drags; ++d)
                out.push_back({step + 1 + d, InputEvent::Kind::Drag, 0, x + static_cast<int32_t>(random() % 61) - 30,
                               y + static_cast<int32_t>(random() % 61) - 30});
            out.push_back({step + 1 + drags, InputEvent::Kind::Lift, 0, x, y});
        }
    }
    std::stable_sort(out.begin(), out.end(), [](const InputEvent& a, const InputEvent& b) { return a.step < b.step; });
    return out;
}

bool parseInputScript(const std::string& text, std::vector<InputEvent>& out, std::string& error) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    std::vector<InputEvent> events;
    while (std::getline(in, line)) {
        ++number;
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string stepText, kind;
        if (!(words >> stepText)) continue;
        InputEvent e;
        char* end = nullptr;
        const long step = std::strtol(stepText.c_str(), &end, 10);
        if (*end || step < 0 || step > 10000000 || !(words >> kind)) {
            error = "input line " + std::to_string(number) + ": expected \"STEP down|up|touch|drag|lift ...\"";
            return false;
        }
        e.step = static_cast<int>(step);
        if (kind == "down" || kind == "up") {
            std::string key;
            if (!(words >> key) || !keyCode(key, e.code)) {
                error = "input line " + std::to_string(number) + ": unknown key";
                return false;
            }
            e.kind = kind == "down" ? InputEvent::Kind::Down : InputEvent::Kind::Up;
        } else if (kind == "touch" || kind == "drag" || kind == "lift") {
            if (!(words >> e.x >> e.y)) {
                error = "input line " + std::to_string(number) + ": a touch needs X Y";
                return false;
            }
            e.kind = kind == "touch" ? InputEvent::Kind::Touch
                     : kind == "drag" ? InputEvent::Kind::Drag
                                      : InputEvent::Kind::Lift;
        } else {
            error = "input line " + std::to_string(number) + ": unknown event \"" + kind + "\"";
            return false;
        }
        std::string extra;
        if (words >> extra) {
            error = "input line " + std::to_string(number) + ": unexpected \"" + extra + "\"";
            return false;
        }
        events.push_back(e);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.step < b.step; });
    out = std::move(events);
    return true;
}

struct StepDriver::State {
    std::map<cActor*, jint> live;  // pool actors alive after the last step, by id
    std::vector<jint> scriptStates;
    size_t nextInput = 0;
    // The sound ring's read-back record, made once so that a step makes no
    // Java object of the driver's own (play's allocations stay countable).
    std::unique_ptr<rt::GlobalRef> soundRecord;
};

StepDriver::StepDriver() : m_state(std::make_unique<State>()) {
    if (g_booted) logPrintf("StepDriver: a second driver in one process replaces the first");
    g_booted = true;
    rt::setResourceReader([](const char* name, std::vector<uint8_t>& bytes) {
        if (std::string(name) != game::kActorTablesResource) return false;
        bytes = actorTables();
        return true;
    });
    g_clock.reset();
    game::setGameClock(&g_clock);
    g_statics.clear();
    g_statics.push_back(lcdui::staticsContribution());
    sprite::appendSpriteStatics(g_statics);
    game::appendGameStatics(g_statics);
    Application::Config config;
    config.objectHeapSize = 16 << 20;
    config.dataHeapSize = 48 << 20;
    config.statics = &g_statics;
    config.loadConstants = &loadPool;
    Application::init(config);
    game::installCoreStateHandlers();
    game::installScreenStates();
    game::world::installWorld();
    game::behaviour::installBehaviours();
    game::createActorPool();
    // An offscreen screen for the paint pass.
    auto* image = javax_microedition_lcdui_Image::createImage(480, 800);
    game::cg().graphics = image->getGraphics();
    game::cg().screenGraphics = game::cg().graphics;
    // Sound requests are read back from the channel rings each step.
    game::KTLibPlayer::allocateChannelTables(game::kSoundIds);
    game::cg().soundOn = 1;
    if (!game::cg().soundTable) {
        IntArray* table = newIntArray(game::kSoundIds);  // every sound on channel 0 until loaded
        game::cg().soundTable = table;
    }
    m_state->soundRecord = std::make_unique<rt::GlobalRef>(newIntArray(6));
}

StepDriver::~StepDriver() {
    game::world::uninstallWorld();
    m_state->soundRecord.reset();
    if (Application::instance()) Application::instance()->close();
    rt::setResourceReader(nullptr);
    game::setGameClock(nullptr);
    game::setResourceOpener(nullptr);
    g_booted = false;
}


// A stage started the way the game starts it: the loading table and the
// condition file from the demo data, the start of the level, the loading
// state's steps, until play (or an error).
bool StepDriver::loadStage(jint stage, std::string& error) {
    game::setResourceOpener([](String* name) -> java_io_InputStream* {
        auto& files = demoFiles();
        auto it = files.find(name ? name->toUtf8() : std::string());
        if (it == files.end()) return nullptr;
        ByteArray* bytes = javaBytes(it->second);
        return newObject<java_io_ByteArrayInputStream>(bytes);
    });
    game::loadGameData();
    if (!game::cg().loadingTable || !game::cg().groupPrograms) {
        error = "the demo loading table or condition file was refused";
        return false;
    }
    game::cg().difficulty = 1;
    game::cg().skipIntro = true;
    game::startLevel(stage);
    game::applyPendingState();
    for (int pass = 0; pass < 4000 && game::cg().gameState != game::kStatePlay; ++pass) {
        const jint state = game::cg().gameState;
        // A stage's intro screen waits for the player's confirm: given.
        if (state == game::kStateIntro && !game::cg().statePending) {
            game::requestSetState(game::kStatePlay);
            game::applyPendingState();
            continue;
        }
        if (game::cg().inTransition) {
            game::gameStateDispatch(state, game::kMsgInTransition);
            game::cg().transitionTicks += 1;
        } else {
            game::gameStateDispatch(state, game::kMsgUpdate);
            game::cg().stateTicks += 1;
        }
        game::gameStateDispatch(game::cg().gameState, game::kMsgPaint);
        game::applyPendingState();
        if (Application::pendingException()) Application::clearPendingException();
    }
    if (game::cg().gameState != game::kStatePlay) {
        error = "stage " + std::to_string(stage) + " did not reach play (state " +
                std::to_string(game::cg().gameState) + ")";
        return false;
    }
    if (!game::cg().hero) {
        error = "stage " + std::to_string(stage) + " has no hero";
        return false;
    }
    return true;
}

bool StepDriver::load(const Options& options, std::string& error) {
    m_options = options;
    m_step = 0;
    m_trace.clear();
    m_violations.clear();
    m_state->nextInput = 0;
    if (options.level.rfind("stage:", 0) == 0) {
        java_util_Random* random = newObject<java_util_Random>(static_cast<jlong>(options.seed));
        game::cg().randomGenerator = random;
        game::cg().randomSeed = static_cast<jint>(options.seed);
        game::cg().gameClock = 0;
        const jint stage = std::atoi(options.level.c_str() + 6);
        if (!loadStage(stage, error)) return false;
        game::setVariable(3, std::max<jint>(game::getVariable(3), 3), false);
        m_state->live = liveActors();
        m_state->scriptStates.clear();
        for (jint i = 0; i < game::world::scriptCount(); ++i)
            m_state->scriptStates.push_back(game::cg().scriptStates->data()[i]);
        drainSounds();
        return true;
    }
    const std::string text = levelText(options.level, error);
    if (text.empty()) return false;
    kit::LevelModel m;
    try {
        m = kit::parseLevelDescription(text);
    } catch (const std::exception& e) {
        error = std::string("level description: ") + e.what();
        return false;
    }
    if (options.heroX >= 0 && options.heroY >= 0)
        m.objects.insert(m.objects.begin(),
                         kit::LevelRecord{kit::levelActorRecord(0, 1, options.heroX, options.heroY, 0, 0xA0,
                                                                {-1, -1, -1, -1, -1})});
    game::cGameStatics& g = game::cg();
    // Seeds and clock.
    java_util_Random* random = newObject<java_util_Random>(static_cast<jlong>(options.seed));
    game::cg().randomGenerator = random;
    game::cg().randomSeed = static_cast<jint>(options.seed);
    game::cg().gameClock = 0;
    g.stage = 0;
    g.nextStage = 0;
    g.difficulty = 1;
    game::removeAllActors(true);
    installSprites();
    // The level's layers as the loader leaves them (layer 4 the collision map).
    g.mapPixelWidth = g.mapPixelHeight = 0;
    for (jint l = 0; l < 5; ++l) {
        const auto& layer = m.layers[static_cast<size_t>(l)];
        ShortArray* size = static_cast<ShortArray*>(g.layerSizes->data()[l]);
        if (!layer) {
            g.layerMaps->data()[l] = nullptr;
            size->data()[0] = size->data()[1] = 0;
            continue;
        }
        ShortArray* cells = javaShorts(layer->cells);
        ObjectArray::set(game::cg().layerMaps, l, cells);
        size = static_cast<ShortArray*>(game::cg().layerSizes->data()[l]);
        size->data()[0] = static_cast<jshort>(layer->width);
        size->data()[1] = static_cast<jshort>(layer->height);
        game::cg().mapPixelWidth = std::max(game::cg().mapPixelWidth, layer->width * 36);
        game::cg().mapPixelHeight = std::max(game::cg().mapPixelHeight, layer->height * 36);
        if (l == 4) {
            game::cg().collisionMap = cells;
            game::cg().collisionWidth = layer->width;
            game::cg().collisionHeight = layer->height;
        }
    }
    ByteArray* objects = javaBytes(kit::encodeLevelObjects(m.objects));
    game::cg().levelObjectData = objects;
    game::world::setupLevelMap();
    ByteArray* scripts = m.scripts ? javaBytes(kit::encodeLevelScripts(*m.scripts)) : nullptr;
    game::world::loadLevelRecords(scripts);
    if (m.regions) {
        ByteArray* regions = javaBytes(kit::encodeMapRegions(*m.regions));
        game::world::loadMapRegions(regions);
    }
    // The level's fixed actors (the hero into character slot 0) and the
    // play state reset, as the loading table's steps 13 and 14 run them.
    game::spawnLevelActors();
    if (cActor* hero = game::cg().hero) {
        if (!hero->motion) hero->allocMotionState();
        hero->physicsFlags |= 0x1000000 | 1;
        if (!hero->savedBox) {
            ShortArray* prev = newShortArray(4);
            game::cg().hero->savedBox = prev;
        }
    }
    game::resetPlayState();
    // These levels start in play with the side panel already in: a panel
    // still sliding in would hold the hero's keys for its first steps.
    game::cg().panelPosition = game::cg().panelOffset;
    game::setVariable(3, 3, false);
    game::requestSetState(game::kStatePlay);
    game::applyPendingState();
    // The live set and script states the first step's events compare with.
    m_state->live = liveActors();
    m_state->scriptStates.clear();
    for (jint i = 0; i < game::world::scriptCount(); ++i)
        m_state->scriptStates.push_back(game::cg().scriptStates->data()[i]);
    drainSounds();
    return true;
}

// Drops the sound requests left by the set-up.
void StepDriver::drainSounds() {
    auto* out = static_cast<IntArray*>(m_state->soundRecord->get());
    for (jint ch = 0; ch < 2; ++ch)
        for (int k = 0; k < 16; ++k) {
            game::KTLibPlayer::dequeue(ch, out);
            if (out->data()[5] <= 0) break;
        }
}

void StepDriver::step() {
    // This step's input, then the key fold.
    auto& input = m_options.input;
    while (m_state->nextInput < input.size() && input[m_state->nextInput].step <= m_step) {
        const InputEvent& e = input[m_state->nextInput++];
        switch (e.kind) {
        case InputEvent::Kind::Down: game::keyPressed(e.code); break;
        case InputEvent::Kind::Up: game::keyReleased(e.code); break;
        case InputEvent::Kind::Touch: game::pointerPressed(e.x, e.y); break;
        case InputEvent::Kind::Drag: game::pointerDragged(e.x, e.y); break;
        case InputEvent::Kind::Lift: game::pointerReleased(e.x, e.y); break;
        }
    }
    game::updateKeys();
    g_clock.advance(kStepMs);
    game::cg().gameClock += kStepMs;
    const jint state = game::cg().gameState;
    game::gameStateDispatch(state, game::kMsgUpdate);
    game::cg().stateTicks += 1;
    game::gameStateDispatch(game::cg().gameState, game::kMsgPaint);
    game::endTouchFrame();
    game::applyPendingState();
    record();
    checkInvariants();
    ++m_step;
}

bool stateIsHandled(int32_t s) {
    return s == kEndState || (s >= 0 && s < game::kStateSlots && game::stateHandler(s));
}

std::string heroTraceLine(int step) {
    const std::string n = std::to_string(step);
    game::cGameStatics& g = game::cg();
    cActor* h = g.hero;
    std::string s = n + " hero game=" + std::to_string(g.gameState);
    if (!h) return s + " state=none";
    const jint* mo = h->motion ? h->motion->data() : nullptr;
    auto m = [&](int i) { return std::to_string(mo ? mo[i] : 0); };
    s += " state=" + std::to_string(game::ca().heroState) + " ticks=" + std::to_string(game::ca().heroStateTicks) +
         " x=" + std::to_string(h->posX) + " y=" + std::to_string(h->posY) + " vx=" + m(2) + " vy=" + m(3) +
         " ax=" + m(0) + " ay=" + m(1) + " result=" + hex(game::ca().collisionResult) +
         " facing=" + std::to_string(h->facing) + " anim=" + std::to_string(h->anim) +
         " camX=" + std::to_string(g.cameraX) + " camY=" + std::to_string(g.cameraY) +
         " health=" + std::to_string(game::getVariable(3)) +
         " actors=" + std::to_string(game::cg().activeActorCount);
    return s;
}

void StepDriver::record() {
    m_last.clear();
    const std::string n = std::to_string(m_step);
    game::cGameStatics& g = game::cg();
    cActor* h = g.hero;
    m_last.push_back(heroTraceLine(m_step));
    for (jint i = 0; i < game::cg().activeActorCount; ++i) {
        cActor* a = game::activeActor(i);
        if (!a || a == h) continue;
        const jint hp = a->parts && a->parts->length() > 2 ? a->parts->data()[2] : -1;
        m_last.push_back(n + " actor id=" + std::to_string(a->uniqueId) + " type=" + std::to_string(a->type) +
                         " sub=" + std::to_string(a->subtype) + " ai=" + std::to_string(a->aiState) +
                         " x=" + std::to_string(a->posX) + " y=" + std::to_string(a->posY) +
                         " anim=" + std::to_string(a->anim) + " contact=" + hex(a->contactFlags) +
                         " hp=" + std::to_string(hp));
    }
    // Sound requests of this step.
    auto* out = static_cast<IntArray*>(m_state->soundRecord->get());
    for (jint ch = 0; ch < 2; ++ch)
        for (int k = 0; k < 16; ++k) {
            game::KTLibPlayer::dequeue(ch, out);
            if (out->data()[5] <= 0) break;
            if (out->data()[0] == 3) m_last.push_back(n + " sound id=" + std::to_string(out->data()[1]));
        }
    // Pool actors that came and went.
    std::map<cActor*, jint> now = liveActors();
    for (jint i = 0; i < game::cg().actorCount; ++i) {
        cActor* a = game::poolActor(i);
        if (!a) continue;
        auto it = m_state->live.find(a);
        if (it == m_state->live.end() || it->second != a->uniqueId)
            m_last.push_back(n + " spawn id=" + std::to_string(a->uniqueId) + " type=" + std::to_string(a->type) +
                             " sub=" + std::to_string(a->subtype));
    }
    std::vector<jint> gone;
    for (const auto& [a, id] : m_state->live) {
        auto it = now.find(a);
        if (it == now.end() || it->second != id) gone.push_back(id);
    }
    std::sort(gone.begin(), gone.end());
    for (jint id : gone) m_last.push_back(n + " remove id=" + std::to_string(id));
    m_state->live = std::move(now);
    // Scripts that became active.
    const jint scripts = game::world::scriptCount();
    m_state->scriptStates.resize(static_cast<size_t>(std::max<jint>(scripts, 0)), -1);
    for (jint i = 0; i < scripts; ++i) {
        const jint s = g.scriptStates->data()[i];
        if (s >= 0 && m_state->scriptStates[static_cast<size_t>(i)] < 0)
            m_last.push_back(n + " script start=" + std::to_string(i));
        m_state->scriptStates[static_cast<size_t>(i)] = s;
    }
    m_trace.insert(m_trace.end(), m_last.begin(), m_last.end());
}

void checkPlayInvariants(int step, std::vector<std::string>& out) {
    const std::string at = "step " + std::to_string(step) + ": ";
    // Every state the machine can be in has a handler.
    const jint state = game::cg().gameState;
    if (!stateIsHandled(state)) out.push_back(at + "game state " + std::to_string(state) + " has no handler");
    jint live = 0;
    for (jint i = 0; i < game::cg().actorCount; ++i)
        if (game::poolActor(i)) ++live;
    if (game::cg().activeActorCount > kMaxLiveActors || live > kMaxLiveActors)
        out.push_back(at + "more than 200 live actors (" + std::to_string(live) + " pooled, " +
                               std::to_string(game::cg().activeActorCount) + " active)");
    // The camera centre inside its limits less half the 800 x 480 view
    // (an axis whose limits are narrower than the view is not checked).
    if (IntArray* lim = game::cg().cameraLimits; lim && lim->length() >= 4) {
        const jint* l = lim->data();
        const jint cx = game::cg().cameraX, cy = game::cg().cameraY;
        const bool badX = l[2] - l[0] >= 800 && (cx < l[0] + 400 || cx > l[2] - 400);
        const bool badY = l[3] - l[1] >= 480 && (cy < l[1] + 240 || cy > l[3] - 240);
        if (badX || badY)
            out.push_back(at + "camera centre (" + std::to_string(cx) + ", " + std::to_string(cy) +
                                   ") outside its limits less the half view");
    }
    cActor* h = game::cg().hero;
    if (!h) return;
    const jint s = game::ca().heroState;
    if (s < 0 || s > 40 || s == 24) out.push_back(at + "hero state " + std::to_string(s));
    if (h->box && h->box->length() >= 4) {
        const jshort* b = h->box->data();
        // The box's interior: cells strictly inside its edges. A hero
        // standing on a slope (ground-contact bits 0x40, 0x80, 0x100) has its
        // feet at the slope's height under its centre, so next to a block at
        // the slope's top the box's bottom corner may reach up to one slope
        // step (9 px) into that block: those pixels are left out.
        const jint sink = game::ca().collisionResult & 0x1C0 ? 9 : 0;
        const jint c0 = (b[0] + 1) / 36, c1 = (b[2] - 1) / 36, r0 = (b[1] + 1) / 36, r1 = (b[3] - 1 - sink) / 36;
        for (jint r = r0; r <= r1 && b[2] - b[0] > 2 && b[3] - b[1] > 2 + sink; ++r)
            for (jint c = c0; c <= c1; ++c) {
                const jint cell = game::world::collisionCell(c, r);
                if (cell >= 0 && (cell & 0x1FFF) == game::world::kWall && !(cell & 0x2000)) {
                    out.push_back(at + "hero box overlaps solid cell (" + std::to_string(c) + ", " +
                                           std::to_string(r) + ")");
                    r = r1 + 1;
                    break;
                }
            }
    }
    // Cells are found by truncating division, so x from -35 to -1 still lies
    // in column 0: over an open column 0 the hero may stand there.
    const jint width = game::cg().mapPixelWidth, height = game::cg().mapPixelHeight;
    if (width > 0 && (h->posX <= -36 || h->posX > width || h->posY > height + game::world::kRowsBelowMap * 36))
        out.push_back(at + "hero outside the map at (" + std::to_string(h->posX) + ", " +
                               std::to_string(h->posY) + ")");
}

void StepDriver::checkInvariants() { checkPlayInvariants(m_step, m_violations); }

Run runLevel(const Options& options) {
    Run run;
    StepDriver driver;
    if (!driver.load(options, run.error)) return run;
    for (int i = 0; i < options.steps; ++i) driver.step();
    run.ok = true;
    run.trace = driver.trace();
    run.violations = driver.violations();
    return run;
}

std::optional<Divergence> compareTraces(const std::vector<std::string>& expected, const std::vector<std::string>& got) {
    const size_t n = std::min(expected.size(), got.size());
    for (size_t i = 0; i < n; ++i) {
        if (expected[i] == got[i]) continue;
        Divergence d;
        d.step = stepOf(expected[i]);
        if (stepOf(got[i]) != d.step) {
            d.field = "step";
            d.expected = expected[i];
            d.got = got[i];
            return d;
        }
        const auto e = fieldsOf(expected[i]), a = fieldsOf(got[i]);
        for (size_t k = 0; k < std::max(e.size(), a.size()); ++k) {
            if (k >= e.size() || k >= a.size() || e[k].first != a[k].first) {
                d.field = "record";
                d.expected = expected[i];
                d.got = got[i];
                return d;
            }
            if (e[k].second != a[k].second) {
                d.field = e[k].first == "record" ? "record" : e[k].first;
                d.expected = e[k].second;
                d.got = a[k].second;
                if (k > 0 && e[0].first == "record") d.field = e[0].second + "." + d.field;
                return d;
            }
        }
        d.field = "line";
        d.expected = expected[i];
        d.got = got[i];
        return d;
    }
    if (expected.size() != got.size()) {
        Divergence d;
        d.step = n < expected.size() ? stepOf(expected[n]) : stepOf(got[n]);
        d.field = "length";
        d.expected = n < expected.size() ? expected[n] : "(end of trace)";
        d.got = n < got.size() ? got[n] : "(end of trace)";
        return d;
    }
    return std::nullopt;
}

std::string describe(const Divergence& d) {
    return "first divergence at step " + std::to_string(d.step) + ", " + d.field + ": expected " + d.expected +
           ", got " + d.got;
}

bool readLines(const std::string& path, std::vector<std::string>& lines) {
    try {
        const kit::Bytes b = kit::readFile(path);
        lines.clear();
        std::string cur;
        for (uint8_t c : b) {
            if (c == '\n') {
                lines.push_back(cur);
                cur.clear();
            } else if (c != '\r') {
                cur += static_cast<char>(c);
            }
        }
        if (!cur.empty()) lines.push_back(cur);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool writeLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    try {
        kit::writeFile(path, kit::Bytes(text.begin(), text.end()));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string checkGoldenTrace(const std::string& path, const std::vector<std::string>& trace) {
    if (std::getenv("BRAMBLE_UPDATE_GOLDEN") && !writeLines(path, trace)) return "cannot write golden " + path;
    std::vector<std::string> golden;
    if (!readLines(path, golden)) return "missing golden " + path;
    if (auto d = compareTraces(golden, trace)) return describe(*d);
    return {};
}

}  // namespace stepdriver
