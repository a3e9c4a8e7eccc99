#include <gtest/gtest.h>
#include <cstdio>
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/menus.h"
#include "tests/support/gamedriver.h"

namespace {
TEST(Explore, Boot) {
    gamedriver::Options o;
    o.folder = std::string(BRAMBLE_TEST_WORKDIR_FOR_E2E) + "/explore";
    gamedriver::GameDriver d;
    std::string error;
    ASSERT_TRUE(d.boot(o, error)) << error;
    auto press = [&](int code) { d.keyDown(code); d.step(); d.keyUp(code); d.step(); };
    d.stepUntil(24, 600);
    printf("at %d state %d\n", d.stepIndex(), d.gameState());
    for (int i = 0; i < 60 && d.gameState() != 3; ++i) { press(-5); d.step(); d.step(); d.step(); }
    printf("at %d state %d\n", d.stepIndex(), d.gameState());
    for (int i = 0; i < 60 && d.gameState() != 6; ++i) { press(-5); d.step(); d.step(); d.step(); }
    printf("at %d state %d\n", d.stepIndex(), d.gameState());
    for (int i = 0; i < 16; ++i) d.step();
    for (int i = 0; i < 12; ++i) {
        IntArray* row = game::listedEntryInts(game::fl().menuCursor);
        printf("row %x at %d\n", row ? row->data()[0] : -1, d.stepIndex());
        if (row && row->data()[0] == 0x10008) break;
        press(-2);
    }
    press(-5);
    d.stepUntil(7, 600);
    printf("at %d state %d\n", d.stepIndex(), d.gameState());
    for (int i = 0; i < 16; ++i) d.step();
    for (int i = 0; i < 12; ++i) {
        IntArray* row = game::listedEntryInts(game::fl().menuCursor);
        printf("row %x at %d\n", row ? row->data()[0] : -1, d.stepIndex());
        if (row && row->data()[0] == 0x10007) break;
        press(-2);
    }
    press(-5);
    d.stepUntil(29, 600);
    printf("at %d state %d\n", d.stepIndex(), d.gameState());
    for (int i = 0; i < 16; ++i) d.step();
    press(-5);
    d.stepUntil(33, 2000);
    printf("at %d state %d\n", d.stepIndex(), d.gameState());
    for (int i = 0; i < 8; ++i) d.step();
    press(-5);
    d.stepUntil(14, 600);
    printf("at %d state %d\n", d.stepIndex(), d.gameState());
    for (int i = 0; i < 40; ++i) d.step();
    for (auto& l : d.lastLines()) printf("%s\n", l.c_str());
    for (int s : d.states()) printf(" %d", s);
    printf("\n");
    for (auto& v : d.violations()) printf("V %s\n", v.c_str());
}
}  // namespace
namespace {
TEST(Explore, Fall) {
    gamedriver::Options o;
    o.folder = std::string(BRAMBLE_TEST_WORKDIR_FOR_E2E) + "/explore2";
    o.seed = 11;
    o.input = stepdriver::randomInput(11, 4000, true);
    gamedriver::GameDriver d;
    std::string error;
    ASSERT_TRUE(d.boot(o, error)) << error;
    while (d.stepIndex() < 2332 && d.step()) {}
    for (auto& l : d.trace()) {
        int n = atoi(l.c_str());
        if (n >= 2300 && (n > 2310) && l.find(" hero ") != std::string::npos) printf("%s\n", l.c_str());
    }
    printf("map %d x %d\n", game::cg().mapPixelWidth, game::cg().mapPixelHeight);
}
}
