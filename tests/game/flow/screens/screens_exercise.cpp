// The screens' fuzz input and seeds (screens_exercise.h).
#include "tests/game/flow/screens/screens_exercise.h"

#include "display/lcdui/image.h"
#include "game/data/progress.h"
#include "game/data/statics.h"
#include "game/data/textpack.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/menus.h"
#include "game/flow/screens/screenpaint.h"
#include "game/flow/screens/screens.h"
#include "game/flow/screens/states_levelend.h"
#include "game/flow/screens/states_menu.h"
#include "game/flow/states.h"
#include "javalib/inputstreams.h"
#include "runtime/application.h"
#include "tools/kit/damage.h"
#include "tools/kit/demo_screens.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/screens_progress.h"

namespace screenstest {

namespace {

ByteArray* bytesOf(const uint8_t* data, size_t size) {
    ByteArray* b = newByteArray(static_cast<jint>(size));
    for (size_t i = 0; i < size; ++i) b->data()[i] = static_cast<jbyte>(data[i]);
    return b;
}

void screen(void (*handler)(jint), std::initializer_list<jint> messages) {
    for (jint m : messages) {
        handler(m);
        game::cg().statePending = false;
        Application::clearPendingException();
    }
}

}  // namespace

void exerciseScreens(const uint8_t* data, size_t size) {
    if (size < 3) return;
    const uint8_t selector = data[0];
    size_t n = data[1] | size_t{data[2]} << 8;
    data += 3;
    size -= 3;
    if (n > size) n = size;
    game::adoptProgressRecord(bytesOf(data, n));
    auto* stream = newObject<java_io_ByteArrayInputStream>(bytesOf(data + n, size - n));
    const jint slot = game::loadTextPack(stream);
    Application::clearPendingException();
    if (slot >= 0 && slot < game::kTextSlots) game::cacheTextPack(slot);
    Application::clearPendingException();

    game::cGameStatics& f = game::cg();
    if (!f.graphics) {
        auto* image = javax_microedition_lcdui_Image::createImage(480, 800);
        f.graphics = image->getGraphics();
        f.screenGraphics = f.graphics;
    }
    game::cGameStatics& g = game::cg();
    g.stage = selector % 11;
    screen(game::state6, {2, 9, 0, 1});
    game::continueGame();
    f.statePending = false;
    screen(game::state7, {2, 0, 1});
    screen(game::state28, {2, 0, 1});
    screen(game::state29, {2, 0, 1});
    screen(game::state8, {2, 0, 1});
    for (jint row = 0x10017; row <= 0x10021; ++row) game::getMenuValueText(0x10009, row);
    g.stage = selector % 11;
    screen(game::state33, {2, 0, 1});
    if (IntArray* stats = g.levelStats; stats && stats->length() >= 12)
        for (jint i = 0; i < 12; ++i) stats->data()[i] = static_cast<jint>(selector) * (i + 1);
    game::cg().tallyLine = selector & 7;
    game::paintResults();
    screen(game::state35, {2, 0, 1, 3});
    Application::clearPendingException();
}

std::vector<ScreensSeed> screensSeeds() {
    auto join = [](uint8_t selector, const kit::Bytes& progress, const kit::Bytes& texts) {
        std::vector<uint8_t> b = {selector, static_cast<uint8_t>(progress.size() & 255),
                                  static_cast<uint8_t>(progress.size() >> 8)};
        b.insert(b.end(), progress.begin(), progress.end());
        b.insert(b.end(), texts.begin(), texts.end());
        return b;
    };
    const kit::Bytes texts = kit::buildTextPack(1, kit::screenTexts(1));
    std::vector<ScreensSeed> out;
    const std::vector<kit::ProgressFixture> fixtures = kit::screenProgressFixtures();
    uint8_t selector = 0;
    for (const kit::ProgressFixture& p : fixtures) out.push_back({"progress-" + p.name, join(selector++, p.bytes, texts)});
    const kit::Bytes record = fixtures.empty() ? kit::Bytes(265) : fixtures.front().bytes;
    for (const kit::DamagedFile& d : kit::damageFile(kit::FileKind::TextPack, texts))
        out.push_back({"texts-" + d.name, join(selector++, record, d.bytes)});
    for (const kit::DamagedFile& d : kit::damageFile(kit::FileKind::Progress, record))
        out.push_back({"record-" + d.name, join(selector++, d.bytes, texts)});
    return out;
}

}  // namespace screenstest
