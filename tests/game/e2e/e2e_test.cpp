#include <gtest/gtest.h>
#include <cstdio>
#include <memory>
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/menus.h"
#include "game/flow/screens/screens.h"
#include "tests/support/gamedriver.h"

namespace {
std::string script;
gamedriver::GameDriver* D;
void down(int code, const char* name) { D->keyDown(code); script += std::to_string(D->stepIndex()) + " down " + name + "\n"; D->step(); }
void up(int code, const char* name) { D->keyUp(code); script += std::to_string(D->stepIndex()) + " up " + name + "\n"; D->step(); }
void press(int code, const char* name) { down(code, name); up(code, name); }
void confirmUntil(int state) { for (int i = 0; i < 60 && D->gameState() != state; ++i) { press(-5, "fire"); for (int k = 0; k < 3 && D->gameState() != state; ++k) D->step(); } }
void chooseRow(int id) {
    for (int i = 0; i < 12; ++i) {
        IntArray* row = game::listedEntryInts(game::fl().menuCursor);
        if (row && row->data()[0] == id) break;
        press(-2, "down");
    }
    press(-5, "fire");
}
int playAt = 0;
std::vector<stepdriver::InputEvent> walk;
// max x reached; end flag
int run(const std::vector<int>& shift, bool& end, bool verbose = false) {
    gamedriver::Options o;
    o.folder = std::string(BRAMBLE_TEST_WORKDIR_FOR_E2E) + "/explore";
    static std::unique_ptr<gamedriver::GameDriver> keep;
    keep.reset();
    keep = std::make_unique<gamedriver::GameDriver>();
    gamedriver::GameDriver& d = *keep;
    D = &d;
    script.clear();
    std::string error;
    d.boot(o, error);
    d.stepUntil(24, 600);
    confirmUntil(3);
    confirmUntil(6);
    for (int i = 0; i < 16; ++i) d.step();
    chooseRow(0x10008);
    d.stepUntil(7, 600);
    for (int i = 0; i < 16; ++i) d.step();
    chooseRow(0x10007);
    d.stepUntil(29, 600);
    for (int i = 0; i < 16; ++i) d.step();
    press(-5, "fire");
    d.stepUntil(33, 2000);
    for (int i = 0; i < 8; ++i) d.step();
    press(-5, "fire");
    d.stepUntil(14, 600);
    playAt = d.stepIndex();
    std::vector<stepdriver::InputEvent> w = walk;
    int acc = 0;
    for (size_t i = 0; i < w.size(); ++i) { acc += shift[i]; w[i].step += acc; }
    d.addInput(w, playAt);
    int maxX = 0;
    end = false;
    while (d.stepIndex() < playAt + 480 && d.step()) {
        if (game::cg().hero && d.gameState() == 14) maxX = std::max<int>(maxX, game::cg().hero->posX);
        if (game::fl().levelFinished) { end = true; break; }
    }
    if (verbose) {
        printf("%s", script.c_str());
        printf("play at %d\n", playAt);
        for (size_t i = 0; i < w.size(); ++i) printf("%d %s\n", w[i].step, w[i].kind == stepdriver::InputEvent::Kind::Down ? "down" : "up");
    }
    return maxX;
}
TEST(Explore, After) {
    std::vector<std::string> lines;
    stepdriver::readLines(std::string(BRAMBLE_SOURCE_DIR_FOR_E2E) + "/tests/game/world/golden/demo_walk_to_end.input", lines);
    std::string text; for (auto& l : lines) text += l + "\n";
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript(text, walk, error)) << error;
    std::vector<int> shift(walk.size(), 0);
    shift[2] = 2;
    bool end = false;
    run(shift, end);
    printf("end %d at %d\n", end, D->stepIndex());
    int last = -1;
    for (int i = 0; i < 3000 && !D->ended(); ++i) {
        if (D->gameState() != last) { last = D->gameState(); printf("state %d at %d tally %d\n", last, D->stepIndex(), (int)game::scr().tallyDone); }
        if (D->gameState() == 30 && i % 20 == 0) { press(-5, "fire"); continue; }
        D->step();
    }
    press(-5, "fire");
    D->stepUntil(14, 600);
    printf("stage %d play at %d\n", game::cg().stage, D->stepIndex());
    for (int i = 0; i < 10; ++i) D->step();
    D->keyDown(0); // no-op
    { IntArray* r = game::cg().touchRect3; printf("rect3 %d %d %d %d\n", r->data()[0], r->data()[1], r->data()[2], r->data()[3]);
      int x = r->data()[0] + 2, y = r->data()[1] + 2;
      auto* c = static_cast<cGame*>(game::fl().instance); c->pointerPressed(x, y); c->pointerReleased(x, y); D->step(); }
    for (int i = 0; i < 20; ++i) D->step();
    printf("state %d touch %d\n", D->gameState(), (int)game::fl().touchActive);
    for (int i = 0; i < 8; ++i) {
        IntArray* row = game::listedEntryInts(game::fl().menuCursor);
        printf("row %x state %d\n", row ? row->data()[0] : -1, D->gameState());
        if (row && row->data()[0] == 0x10000) break;
        press(-2, "down");
        for (int k = 0; k < 3; ++k) D->step();
    }
    press(-5, "fire");
    for (int i = 0; i < 20; ++i) D->step();
    printf("state %d\n", D->gameState());
    press(-5, "fire");
    printf("reached 6: %d at %d\n", (int)D->stepUntil(6, 2000), D->stepIndex());
    printf("%s", script.c_str());
    for (int s : D->states()) printf(" %d", s);
    printf("\n");
    for (auto& v : D->violations()) printf("V %s\n", v.c_str());
}
}  // namespace
