// The actor framework's screen seam completed with the world's two calls
// (screenhooks.cpp); installWorld installs it.
#pragma once

#include "game/actor/screenhooks.h"

namespace game::world {

class WorldScreenHooks : public ActorScreenHooks {
public:
    void setupLevel() override;
    void paintPlayField() override;
};

WorldScreenHooks& worldScreenHooks();

}  // namespace game::world
