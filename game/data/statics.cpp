// The class initialisers of cGame and the two boss constant classes, and
// the contributions of their statics (and Util's) to the statics block.
//
// Invariants: every table is stored in its static field before the next
// allocation (objects built here are reachable from a root as soon as they
// are stored; locals on the stack are seen by the collector as well); menu
// rows that list no record are int[0], never null; the derived values (turn
// constants, the chained HUD layout, the boss mask count) are computed, not
// written as literals.
#include "game/data/statics.h"

#include "game/actor/actor.h"
#include "game/behaviour/behaviour.h"
#include "game/behaviour/bosses.h"
#include "game/showcase/showcase.h"
#include "game/actor/actor.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"

#include <algorithm>
#include <initializer_list>

#include "runtime/log.h"

namespace game {
namespace {

using IntRow = std::initializer_list<jint>;

IntArray* ints(IntRow v) {
    IntArray* a = newIntArray(static_cast<jint>(v.size()));
    return IntArray::fill(a, v);
}
ShortArray* shorts(std::initializer_list<jshort> v) {
    return ShortArray::fill(newShortArray(static_cast<jint>(v.size())), v);
}
ByteArray* bytes(std::initializer_list<jbyte> v) {
    return ByteArray::fill(newByteArray(static_cast<jint>(v.size())), v);
}
IntArray* intRun(jint n, jint value) {
    IntArray* a = newIntArray(n);
    for (jint i = 0; i < n; ++i) a->data()[i] = value;
    return a;
}

// An Object[] of int[] rows; an empty row becomes int[0].
ObjectArray* intRows(std::initializer_list<IntRow> rows) {
    ObjectArray* outer = newObjectArray(cid::IntArray, static_cast<jint>(rows.size()));
    jint i = 0;
    for (const IntRow& r : rows) ObjectArray::set(outer, i++, ints(r));
    return outer;
}
ObjectArray* shortRows(std::initializer_list<std::initializer_list<jshort>> rows) {
    ObjectArray* outer = newObjectArray(cid::ShortArray, static_cast<jint>(rows.size()));
    jint i = 0;
    for (const auto& r : rows) ObjectArray::set(outer, i++, shorts(r));
    return outer;
}
ObjectArray* byteRows(std::initializer_list<std::initializer_list<jbyte>> rows) {
    ObjectArray* outer = newObjectArray(cid::ByteArray, static_cast<jint>(rows.size()));
    jint i = 0;
    for (const auto& r : rows) ObjectArray::set(outer, i++, bytes(r));
    return outer;
}
// n zeroed arrays of m ints (or shorts) in an Object[].
ObjectArray* intGrid(jint n, jint m) {
    ObjectArray* outer = newObjectArray(cid::IntArray, n);
    for (jint i = 0; i < n; ++i) ObjectArray::set(outer, i, newIntArray(m));
    return outer;
}
ObjectArray* shortGrid(jint n, jint m) {
    ObjectArray* outer = newObjectArray(cid::ShortArray, n);
    for (jint i = 0; i < n; ++i) ObjectArray::set(outer, i, newShortArray(m));
    return outer;
}

// A menu: an Object[] of rows, each row an Object[] of int[] records.
using MenuRow = std::initializer_list<IntRow>;
ObjectArray* menu(std::initializer_list<MenuRow> rows) {
    ObjectArray* outer = newObjectArray(cid::ObjectArray, static_cast<jint>(rows.size()));
    jint i = 0;
    for (const MenuRow& r : rows) ObjectArray::set(outer, i++, intRows(r));
    return outer;
}

void tables(cGameStatics& g) {
    {
        IntArray* a = newIntArray(112);
        g.identityRuns = a;
        jint k = 0;
        for (jint n : {36, 1, 68, 3, 4})
            for (jint v = 0; v < n; ++v) a->data()[k++] = n == 1 ? 0 : v;
    }
    g.startFlags = newBoolArray(5);
    g.startFlags->data()[2] = 1;
    g.effectParams = {100, 10, 200, 480, 70, 10};
    g.colorQuadA = ints({128, 255, 255, 0});
    g.colorQuadB = ints({80, 255, 255, 0});
    g.cameraLimits = ints({240, 400, 240, 400});
    g.stageOrder = ints({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    g.panelButtons = intRows({{0, 0, 5, 400, 440, 780, 76, 2, 16777219},
                              {0, 0, 5, 410, 46, 770, 76, 3, 16777219},
                              {0, 8, 0, 72, 440, 575, 71, 3, 16777222},
                              {0, 8, 0, 400, 400, 780, 76, 2, 16777233}});
    g.touchRect1 = ints({0, 0, 480, 800});
    g.touchRect2 = ints({0, 0, 90, 140});
    g.touchRect3 = ints({0, 660, 90, 140});
    g.touchRect4 = ints({346, 666, 100, 100});
    g.touchRect5 = ints({281, 358, 83, 83});
    g.touchRect6 = ints({430, 0, 50, 50});
    g.touchRect7 = ints({0, 50, 480, 40});
    g.touchRect8 = ints({0, 90, 480, 40});
    g.touchRect9 = ints({0, 130, 480, 40});
    g.touchRect10 = ints({0, 170, 480, 40});
    g.touchRect11 = ints({0, 210, 480, 40});
    g.touchRect12 = ints({0, 440, 480, 40});
    g.pageIndexes = ints({0, 1});
    {
        // Runs of (value, count), in order.
        static const jshort kRuns[][2] = {
            {0, 2},   {17, 4}, {0, 2},   {17, 4},  {64, 1},  {17, 2}, {320, 1}, {0, 2},  {17, 2},  {0, 11},
            {17, 3},  {0, 1},  {17, 1},  {273, 1}, {17, 1},  {257, 1}, {0, 2},  {17, 1}, {320, 1}, {17, 1},
            {0, 2},   {320, 2}, {17, 4}, {0, 1},   {17, 2},  {0, 1},  {17, 1},  {0, 2},  {17, 8},  {512, 1},
            {17, 3},  {0, 3},  {17, 6},  {0, 2},   {17, 1},  {0, 1},  {17, 2},  {0, 4},  {320, 1}, {0, 1},
            {17, 1},  {320, 1}, {0, 1},  {17, 1},  {0, 1},   {17, 2}, {0, 1},   {320, 1}, {17, 8}, {0, 6},
            {19, 1},  {0, 4},  {17, 2},  {0, 3},   {19, 1},  {0, 1},  {17, 34}, {0, 1},  {17, 1},  {512, 1},
            {17, 1},  {512, 1}};
        ShortArray* a = newShortArray(166);
        g.tileRowFlags = a;
        jint k = 0;
        for (const auto& run : kRuns)
            for (jint i = 0; i < run[1] && k < 166; ++i) a->data()[k++] = run[0];
        if (k != 166) logPrintf("cGame: tile row flag table has %d entries", k);
    }
    g.scriptOperandLengths =
        ints({4, 4, 8, 4, 4, 2, 2, 2, 2, 0, 2, 2, 4, 4, 6, 10, 4, 4, 2, 4, 6, 2, 0, 4, 2, 0, 2, 2, 0, 0, 2, 0});
    // Eight sequences of eight single game-key bits: six digits, then '*',
    // then '#'.
    g.keySequences = intRows({{0x2, 0x2, 0x80, 0x80, 0x8, 0x20, 0x800, 0x400},
                              {0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x800, 0x400},
                              {0x200, 0x100, 0x80, 0x40, 0x20, 0x10, 0x800, 0x400},
                              {0x10, 0x10, 0x1, 0x1, 0x100, 0x100, 0x800, 0x400},
                              {0x40, 0x4, 0x40, 0x4, 0x2, 0x2, 0x800, 0x400},
                              {0x8, 0x80, 0x8, 0x80, 0x20, 0x2, 0x800, 0x400},
                              {0x4, 0x8, 0x2, 0x200, 0x40, 0x1, 0x800, 0x400},
                              {0x100, 0x20, 0x4, 0x200, 0x1, 0x80, 0x800, 0x400}});
    g.stageStartPoints = intRows({{-1, -1}, {-1, -1}, {4600, 620}, {-1, -1}, {-1, -1}, {5200, 790}, {-1, -1},
                                  {3200, 1460}, {-1, -1}, {9000, 400}, {-1, -1}, {-1, -1}});
    g.countdownSteps = shorts({219, 190, 175, 150, 130, 110, 90, 80, 70, 60, 50, 40, 30, 20, 10, 9, 8, 7, 6, 5, 4, 3,
                               2, 1, 0});
    g.screenTriples = ints({18, 1, 0,  18, 1, 1,  18, 1, 3,  20, -1, 12, 18, 1, 2,  18, 1, 0,  18, 1, 0,
                            18, 1, 0,  18, 1, 4,  18, 1, 5,  18, 1, 6,  18, 1, 21, 18, 1, 22, 18, 1, 23});
    g.bonusStages = ints({2, 5, 7, 9, 11});
    g.splashOffsets = ints({0, 0, -15728640, 0, 0, 131072, 0, 0, 320, 960, 1600, 2560, 3840, 5760, 8640});
    g.shakeOffsets = ints({-3, 3, -3, 3, -2, 2, 0});
    g.variableBounds = ints({0, 99, 0, 1023, 0, 10000, 0, 10, 0, 0, 0, 99, 0, 10000, 0, 0, 0, 10000, 0, 10});
    g.digitRows = byteRows({{1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}, {1, 6, 7, 8, 9}});
    g.dropFlags = bytes({0, 0, 1});
    g.type33Values = bytes({50, 40, 30});
    g.levelTriples1 = bytes({3, 4, 4});
    g.levelTriples2 = bytes({60, 80, 100});
    g.triangleFlags = byteRows({{1, 0, 1}, {1, 0}, {1}});
    g.pathTables = shortRows({
        {16, 600, 24, 700, 32, 200, 8, 400, 48, 800, 8, 700, 40, 200, 5, 400, 48, 700, 5, 600, -1},
        {16, 400, 1, 600, 32, 700, 1, 600, 32, 200, 1, 300, 1, 400, 24, 400, 1, 600, 1, 500, 32, 800, 1, 700, 1, 600,
         24, 200, 1, 300, 1, 400, 1, 500, 16, 400, 0, 500, 0, 600, -1},
        {2, 600, 8, 400, 0, 200, 32, 700, 8, 400, 8, 100, -1},
        {16, 700, 8, 500, 0, 400, 48, 100, 8, 400, 8, 500, -1},
        {16, 700, 13, 600, 8, 400, 32, 100, 16, 300, 8, 500, -1},
        {13, 600, 1, 200, 5, 300, 32, 700, 8, 600, 5, 400, -1},
        {2, 700, 13, 600, 8, 400, 8, 200, 32, 100, 16, 300, 8, 500, 5, 600, -1},
        {13, 800, 1, 100, 8, 600, 1, 0, 16, 200, 8, 400, 5, 700, 5, 500, -1},
        {13, 800, 13, 600, 8, 500, 8, 400, 32, 100, 8, 200, 8, 300, 5, 500, -1},
        {13, 600, 1, 100, 8, 400, 1, 800, 16, 800, 1, 500, 5, 200, 2, 700, -1},
    });
    g.stepTables = shortRows({
        {16, 0, 1280, 48, 2, 1536, 80, 0, 1792, -1},
        {16, 2, 1280, 48, 1, 1280, 2304, 96, 0, 1536, 128, 3, 1024, 2048, -1},
        {16, 2, 1536, 48, 1, 1280, 2048, 96, 0, 1792, 128, 1, 1280, 2560, 176, 2, 1792, 208, 3, 1280, 2048, -1},
        {16, 0, 1536, 48, 3, 1280, 2560, 80, 0, 1792, 112, 3, 1280, 2048, -1},
        {16, 0, 1536, 45, 3, 1024, 1792, 93, 2, 1536, 122, 3, 1280, 2048, 160, 0, 1792, 192, 3, 1280, 2560, -1},
        {16, 0, 1536, 40, 2, 1792, 64, 0, 2048, -1},
        {16, 0, 1536, 40, 1, 1280, 2048, 64, 0, 1792, 88, 3, 1536, 1792, -1},
        {16, 0, 1792, 32, 1, 1536, 2048, 64, 0, 2048, 88, 3, 1536, 2304, 120, 0, 2048, 152, 3, 1792, 1792, -1},
        {16, 0, 1792, 32, 1, 1536, 2304, 72, 0, 2048, 96, 3, 1536, 2048, -1},
        {16, 0, 1792, 32, 1, 1280, 2304, 64, 2, 1792, 88, 1, 1536, 2048, 112, 0, 1792, 144, 3, 1536, 2560, -1},
    });
    g.carryOffsetsA = shorts({0, 0, 11, -8, -5, -41, -6, -3, 0, 4, 0, -2});
    g.carryOffsetsB = shorts({0, 0, 11, -8, 0, 0, 2, -11, -11, -4, 0, -2});
    g.carryOffsetsC = shorts({0, 0, 6, -8, 3, -31, -6, -3, -3, 4, 0, -2});
    g.levelAddTable = ints({1, 1, 1});
    g.levelMulTable = ints({2, 2, 2});
    g.tenFours = intRun(10, 4);
    g.resourceRanges = ints({0, 36, 37, 105, 108});
    g.layerSettings = intRun(12, 2);
    g.regionFlags = newIntArray(14);
    g.layerParams = ints({
        0, 16, 0,  30, 2, 16, 0, 30, 1, 1, 1, 1,  //
        1, 150, 0, 20, 0, 2,  0, 5,  1, 1, 1, 1,  //
        0, 16, 0,  85, 1, 8,  0, 8,  1, 1, 1, 1,  //
        1, 1,  1,  1,  1, 4,  1, 1,  1, 1, 1, 1,  //
        4, 14, 2,  60, 6, 16, 3, 60, 1, 1, 1, 1,  //
        0, 14, 0,  80, 1, 1,  1, 1,  1, 1, 1, 1,  //
        3, 80, 0,  1,  1, 2,  1, 1,  1, 1, 1, 1,  //
        0, 16, 0,  16, 4, 8,  4, 8,  1, 1, 1, 1,  //
        1, 1,  1,  1,  1, 1,  1, 1,  1, 1, 1, 1,  //
        4, 14, 2,  40, 6, 16, 3, 40, 1, 1, 1, 1,  //
        1, 1,  1,  1,  1, 1,  1, 1,  1, 1, 1, 1,  //
        1, 1,  4,  180, 1, 1, 1, 1,  1, 1, 1, 1,
    });
    g.menuTextsA = ints({65541, 65542, 65543, 65538, 65545, 65546, 65547, 65539});
    g.menuTextsB = ints({2, 3, 65538, 65546, 65536, 65539});
    {
        IntArray* a = newIntArray(12);
        for (jint i = 0; i < 12; ++i) a->data()[i] = 65570 + i;
        g.menuTextsC = a;
    }
    g.sevenIndexes = ints({0, 1, 2, 3, 4, 5, 6});
    g.state6Values = ints({9, -1, 29, 65669, -4, 29, 22});
    g.pairThirteenSixteen = ints({13, 16});
    g.textIdTriple = ints({65556, 65557, 65558});
    // Each row: five-int records {sprite index, group, animation, x, y}.
    g.loadingHintLayouts = intRows({
        {0, 19, 42, 400, 270, 10, 18, 28, 270, 170, 10, 18, 29, 530, 170, 10, 18, 32, 270, 140, 10, 18, 33, 530, 140,
         10, 18, 30, 400, 140},
        {0, 19, 43, 338, 270, 10, 18, 33, 338, 140, 0, 19, 44, 462, 270, 10, 18, 31, 462, 135},
        {0, 19, 45, 335, 270, 10, 18, 45, 335, 135, 0, 19, 46, 400, 270, 10, 18, 31, 400, 135, 0, 19, 47, 465, 270,
         10, 18, 46, 465, 135},
        {0, 19, 48, 400, 270, 10, 18, 34, 400, 140},
        {0, 19, 49, 400, 270, 10, 18, 34, 400, 140},
        {0, 19, 49, 338, 270, 10, 18, 34, 338, 140, 0, 19, 50, 462, 270, 10, 18, 33, 462, 140},
        {0, 19, 43, 335, 270, 10, 18, 35, 400, 140},
        {4, 18, 2, 335, 206, 9, 18, 2, 465, 222},
        {12, 18, 2, 305, 240},
        {12, 18, 2, 305, 240},
        {12, 18, 2, 305, 240},
        {12, 18, 2, 305, 240},
        {12, 18, 2, 305, 240},
        {12, 18, 2, 305, 240},
    });
    g.loadingHintTexts = intRows({{65619, 400, 325},
                                  {65620, 400, 325},
                                  {65621, 400, 325},
                                  {65622, 400, 325},
                                  {65623, 400, 325},
                                  {65624, 400, 325},
                                  {65625, 400, 325},
                                  {65626, 400, 325, 65627, 400, 165, 65628, 400, 205}});
    g.loadingHintOrder = ints({0, 6, 2, 4, 5, 1, 3, 7});
}

void menus(cGameStatics& g) {
    g.screenLayoutA =
        intRows({{}, {1, 2, 400, 240, 0, 0, 117, 0, 0}, {1, 2, 0, 0, 0, 0, 107, 11, 0}, {1, 256, 4, 4, 0, 20, 2, 0, 0}});
    g.screenLayoutB = intRows({{}, {1, 1, 0, 0, 17, 0, 105, 2, 0}, {1, 1, 0, 0, 17, 0, 107, 7, 0}});
    g.screenLayoutC = intRows({{}, {1, 256, 0, 0, 17, 3, 1, 262912, 0}});
    g.screenLayoutD = intRows({{}, {1, 1, 0, 0, 17, 0, 105, 3, 0}, {1, 1, 0, 0, 17, 0, 107, 4, 0}});
    g.mainMenu = menu({
        {{0, 65536, 1, 400, 240, 85, 5, 2, 1, 17, -1}},
        {{0, 0}},
        {{}},
        {{}},
        {{65540, 0, 0, 1, 1}},
        {{65544, 0, 0, 1, 1}},
        {{65537, 0, 0, 1, 1}},
        {{65551, 0, 0, 1, 0}, {1, 0, 0, 0, 17, 3, 1, 262914, 0, 65551}, {1, 1, 508, 0, 16, 0, 105, 5, 0}},
        {{65550, 0, 0, 1, 0}, {1, 0, 0, 0, 17, 3, 1, 262914, 0, 65550}},
        {{65538, 0, 0, 1, 1, 1}},
    });
    g.gameMenu = menu({{{0, 65537, 1, 400, 240, 85, 5, 2, 1, 17, 18}}, {{0, 0}}, {{}}, {{}}, {{65541, 0, 0, 1, 1, 2}}});
    g.difficultyMenu =
        menu({{{0, 65555, 1, 400, 240, 85, 3, 2, 1, 17, 18}}, {{0, 0}}, {{}}, {{}}, {{65556, 0, 0, 1, 1, 2}}});
    g.stageMenu =
        menu({{{0, 65543, 1, 400, 240, 85, 5, 2, 1, 17, 18}}, {{0, 0}}, {{}}, {{}}, {{65570, 0, 0, 1, 1, 10}}});
    g.pauseMenu = menu({
        {{0, -1, 1, 400, 240, 85, 5, 2, 1, 17, 18}},
        {{0, 0}},
        {{}},
        {{}},
        {{2, 0, 0, 1, 1, 1}},
        {{9, 0, 0, 1, 1, 0}},
        {{65546, 0, 0, 1, 1, 0}},
        {{65536, 0, 0, 1, 1, 0}},
        {{65539, 0, 0, 1, 1, 0}},
    });
    g.optionsMenu = menu({
        {{0, 65538, 1, 400, 240, 85, 5, 2, 1, 17, 18}},
        {{0, 0}},
        {{}},
        {{}},
        {{9, 0, 0, 1, 1, 0}},
        {{65669, 0, 0, 0, 0, 0}},
        {{65545, 0, 0, 1, 1, 2}},
        {{65634, 0, 0, 1, 1, 0}},
    });
    g.questionMenu = menu({
        {{0, -1, 1, 400, 240, 85, 3, 2, 1, 17, -1}, {1, 0, 0, -120, 17, 3, 0, 788743, 320, 0}},
        {{0, 0}},
        {{}},
        {{}},
        {{13, 0, 0, 1, 1}},
        {{16, 0, 0, 1, 1}},
    });
    g.textBoxMenu = menu({
        {{49, 65546, 1, 400, 240, 800, 1, 1, 5, -1, 18}},
        {{0, 0}, {1, 255}},
        {{}, {1, 2, 0, 0, 17, 0, 107, 4, 0}},
        {{}, {1, 256, 0, -10, 17, 3, 0, 592137, 500}},
        {{65610, 0, 0, 1, 1, 6}},
    });
    g.recordsMenu = menu({
        {{66, 65545, 1, 400, 240, 30, 13, 2, 20, -1, 18}, {1, 2, 0, 0, 17, 0, 107, 15, 0}},
        {{0, 0}, {1, 255}},
        {{}, {1, 255}},
        {{}, {1, 255}},
        {{65559, 0, 0, 1, 1, 10}, {1, 256, 220, -10, 16, 6, 0, 460551, 0}, {1, 4, 500, -10, 16, 10, 0, 460551, 0}},
        {{42, 0, 0, 1, 1}, {1, 256, 220, -10, 16, 6, 0, 526344, 0}, {1, 4, 500, -10, 16, 10, 0, 526344, 0}},
    });
}

void scalars(cGameStatics& g) {
    g.scriptsEnabled = 1;
    g.canvasWidth = 800;
    g.canvasHeight = 480;
    g.angleSteps = 2048;
    g.quarterSteps = 90 * g.angleSteps / 360;
    g.halfSteps = 180 * g.angleSteps / 360;
    g.threeQuarterSteps = 270 * g.angleSteps / 360;
    g.fullSteps = 360 * g.angleSteps / 360;
    g.levelTimer = -1;
    g.currentScriptId = -1;
    g.portraitActorId = -1;
    g.cameraSnap = 1;
    g.touchFrameDelay = 1;
    g.loadingHint = -1;
    g.stateStackDepth = -1;
    g.gameState = -1;
    g.stateSpareA = -1;
    g.stateSpareB = -1;
    g.orbitRadiusX = 24320;
    g.orbitRadiusY = 8102;
    g.orbitPhase = 2304;
    g.orbitRise = -47360;
    g.scrollDelay = -1;
    g.cameraFlags = 9;
    g.lookAheadForcedX = 30001;
    g.lookAheadForcedY = 30001;
    g.lookMode = 99;
    g.previousState = -1;
    g.markerId = -1;
    g.markerParamA = 15;
    g.markerParamB = 20;
    g.touchButtons = 1;
    g.buttonKeyColour = 0x00FF00FF;
    g.buttonAlphaMask = static_cast<jint>(0x88FFFFFFu);
    g.pressX = g.pressY = g.touchX = g.touchY = -1;
    g.releaseX = g.releaseY = g.tapX = g.tapY = -1;
    g.touchParamA = 257;
    g.touchParamB = 257;
    g.panelItem = -1;
    g.panelPeriod = 10;
    g.listScrollDown = 1;
    g.displayIdA = -1;
    g.displayIdB = -1;
    g.contextChoiceA = 128;
    g.contextChoiceB = 112;
    g.contextChoiceC = 200;
    g.contextChoiceD = 112;
    g.hudColors = {static_cast<jint>(0xBB000000u), static_cast<jint>(0xA0FCFF00u), static_cast<jint>(0xC0FCFF00u),
                   0x00FCFF00};
    Int13& h = g.hudLayout;
    h = {184, 6, 0, 22, 6, 7, 6, 0, 0, 12800, 512, 38, 171};
    h[2] = h[0] + 6;
    h[7] = h[5] + h[4] + 6;
    h[8] = h[3] + 2 * (h[6] + h[5] + h[4]);
    g.bossMaskCount = mordle().maskTable ? mordle().maskTable->length() : 0;
    g.scriptWaitMode = 9;
    g.queuedScript = -1;
    g.sequenceIndex = -1;
    g.lastKeyCode = -1;
    g.scriptRestartMark = -1;
    g.currentMusic = -1;
    g.levelMusic = -1;
    g.scaleHalf = 0.5f;
    g.scaleOne = 1.0f;
    g.scaleOneB = 1.0f;
    g.menuMetricA = 32;
    g.menuMetricB = 8;
    g.menuMetricC = 30;
    g.menuAnimTicks = 10;
    g.streamLimit = -1;
}

void workArrays(cGameStatics& g) {
    g.levelSprites = newObjectArray(cid::Object, 5);
    g.tileAttributes = newByteArray(64);
    g.checkpointHeroStats = newIntArray(11);
    g.pickupCounts = newIntArray(12);
    g.heroStatus = newIntArray(11);
    g.regionCoverage = newIntArray(32);
    g.spareObjects = newObjectArray(cid::Object, 4);
    g.levelStats = newIntArray(12);
    g.boxScratch = newShortArray(4);
    g.activationArea = newShortArray(4);
    g.stateStack = newIntArray(8);
    g.stateStackHudModes = newIntArray(8);
    g.stateStackParams = newIntArray(8);
    g.stateTable = intGrid(36, 2);
    g.spareInts = newIntArray(10);
    g.checkpointCameraLimits = newIntArray(4);
    g.savedCameraLimits = newIntArray(4);
    g.listA = newIntArray(15);
    g.listB = newIntArray(15);
    g.listObjects = newObjectArray(cid::Object, 15);
    g.scratchBytes = newByteArray(64);
    g.effectListA = newObjectArray(cid::Object, 17);
    g.effectListB = newObjectArray(cid::Object, 17);
    g.tweenActors = newObjectArray(cid::Object, 5);
    g.tweenFrom = newIntArray(5);
    g.tweenTo = newIntArray(5);
    g.tweenElapsed = newIntArray(5);
    g.tweenSlots = newIntArray(5);
    g.tweenBoxW = newIntArray(5);
    g.tweenBoxH = newIntArray(5);
    g.layerPositions = intGrid(kLayers, 2);
    g.displayValues = newIntArray(2);
    g.frameCache = newIntArray(384000);
    g.mapCellSizes = newShortArray(24);
    g.resourceNeeded = newBoolArray(112);
    g.layerMaps = newObjectArray(cid::ShortArray, kLayers);
    g.layerSizes = shortGrid(kLayers, 2);
    g.frameRect = newIntArray(4);
    g.groupStack = newIntArray(256);
    g.timers = intGrid(16, 2);
    g.pointPair = intGrid(2, 2);
}

void poolStrings(cGameStatics& g) {
    g.textEncoding = StaticClass::getStringConstant(48);
    static const jint kEntries[kPoolNameCount] = {119, 120, 121, 122, 123, 124, 125, 49,
                                                  126, 127, 128, 129, 130, 131, 132};
    ObjectArray* names = newObjectArray(cid::String, kPoolNameCount);
    g.poolNames = names;
    for (jint i = 0; i < kPoolNameCount; ++i) ObjectArray::set(names, i, StaticClass::getStringConstant(kEntries[i]));
}

}  // namespace

void cGame_clinit() {
    cGameStatics& g = cg();
    scalars(g);
    tables(g);
    menus(g);
    workArrays(g);
    poolStrings(g);
    cg().logoActor = newObject<cActor>();
}

void BossMordle_clinit() {
    BossMordleStatics& m = mordle();
    m.stepTable = ints({0,  1, 2, 3,  10, 3,  17, 3,  10, 4, 5,  6, 11, 7,  8, 2,  3,  10, 3, 17, 3,  10, 4,
                        5,  9, 11, 8, 2,  3,  10, 3,  17, 3, 10, 4, 5,  50, 12, 13, 1, 2,  14, 4, 5,  15, 18,
                        2,  16, 17, 19, 4, 5,  50, 17, 17, 20, 2, 3,  23, 21, 3, 23, 22, 63, 24, 4,  5,  25});
    mordle().maskTable = ints({static_cast<jint>(0xE0000000u), static_cast<jint>(0xD0000000u),
                               static_cast<jint>(0xC3000000u), static_cast<jint>(0xC2000000u),
                               static_cast<jint>(0xC1000000u), static_cast<jint>(0xB3000000u),
                               static_cast<jint>(0xB2000000u), static_cast<jint>(0xB1000000u),
                               static_cast<jint>(0xA3000000u), static_cast<jint>(0xA2000000u),
                               static_cast<jint>(0xA1000000u), static_cast<jint>(0x90000000u),
                               static_cast<jint>(0x80000000u), 0x70000000, 0x60000000, 0x50000000, 0x40000000});
    mordle().valueTriple = ints({100, 150, 200});
}

void BossMagician_clinit() {
    magician().stepTable = ints({0, 1, 5, 6, 2, 9, 1, 8, 5, 6, 10, 17, 18, 1, 8, 10, 5, 3, 4, 5, 6,
                                 2, 1, 12, 8, 10, 5, 13, 3, 4, 14, 5, 15, 2, 1, 12, 8, 16, 17, 8, 100});
}

StaticsContribution g_cGameStatics = contribution<cGameStatics>("cGame", kClinitCGame, &cGame_clinit);
StaticsContribution g_UtilStatics = contribution<UtilStatics>("Util", kClinitGame, nullptr);
StaticsContribution g_BossMordleStatics =
    contribution<BossMordleStatics>("Constants_CstBossMordle", kClinitBossMordle, &BossMordle_clinit);
StaticsContribution g_BossMagicianStatics =
    contribution<BossMagicianStatics>("Constants_CstBossMagician", kClinitBossMagician, &BossMagician_clinit);

// The sound front end's class (game/flow/flow_statics.cpp) is part of the
// same library's statics.
extern StaticsContribution g_KTLibPlayerStatics;

namespace {

// Every statics block of the game library: a routine of any room may run
// in any program that starts the game, so all of them are always there.
std::vector<StaticsContribution*> allBlocks() {
    return {&g_UtilStatics,
            &g_BossMordleStatics,
            &g_cGameStatics,
            &g_BossMagicianStatics,
            &g_KTLibPlayerStatics,
            &g_cActorStatics,
            const_cast<StaticsContribution*>(behaviour::behaviourStaticsContribution()),
            const_cast<StaticsContribution*>(showcaseContribution())};
}

}  // namespace

void registerGameStatics() {
    for (StaticsContribution* c : allBlocks()) StaticClass::contribute(c);
}

void appendGameStatics(std::vector<const StaticsContribution*>& list) {
    for (const StaticsContribution* c : allBlocks())
        if (std::find(list.begin(), list.end(), c) == list.end()) list.push_back(c);
}

}  // namespace game
