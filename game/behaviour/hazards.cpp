// The hazard family's rows: hazards, generators, traps, pads,
// projectiles, part fields, segment objects and the special painters.
// The needs rows name what each routine indexes without checking (32, 37,
// 38 and 40 keep their base animation in a parts array of their own, made
// on their first step before anything reads it; 78 reads its parameters
// through the checked look-up and its path is the generator's, refused
// when absent).
#include "game/behaviour/hazards.h"
#include "game/behaviour/hazards_fields.h"
#include "game/behaviour/types.h"

namespace game::behaviour {

void registerHazardTypes() {
    hf::resetHazardStatics();
    struct Row {
        jint type;
        UpdateFn update;
        TypeNeeds needs;
    };
    static const Row kRows[] = {
        {27, updateType27, {2, 0, 0}},  {28, updateType28, {0, 0, 0}},  {31, updateType31, {4, 0, 0}},
        {32, updateType32, {3, 0, 0}},  {37, updateType37, {6, 0, 0}},  {38, updateType38, {0, 0, 0}},
        {40, updateType40, {3, 0, 0}},  {43, updateType43, {1, 0, 0}},  {46, updateType46, {4, 0, 0}},
        {47, updateType47, {5, 0, 0}},  {48, updateType48, {3, 0, 0}},  {49, updateType49, {0, 8, 0}},
        {57, updateType57, {2, 0, 0}},  {63, updateType63, {2, 0, 0}},  {66, updateType66, {0, 0, 0}},
        {71, updateType71, {0, 0, 0}},  {77, updateType77, {3, 0, 0}},  {78, updateType78, {0, 0, 0}},
        {81, updateType81, {4, 0, 0}},  {83, updateType83, {6, 0, 0}},  {91, updateType91, {0, 0, 0}},
        {109, updateType109, {5, 0, 0}},
    };
    for (const Row& r : kRows) {
        setUpdate(r.type, r.update);
        setNeeds(r.type, r.needs);
    }
    setPaint(28, paintType28);
    setPaint(61, paintType61);
    setPaint(75, paintType61);
    setPaint(76, paintType76);
    setPaint(78, paintType78);
}

}  // namespace game::behaviour
