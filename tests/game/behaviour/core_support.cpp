// Fixture of the behaviour tests (see core_support.h). The application is
// configured as the world fixture's, with the behaviour statics in the list.
#include "tests/game/behaviour/core_support.h"

#include "game/behaviour/behaviour.h"
#include "tests/game/world/support.h"

namespace behaviourtest {

void startApplication() {
    worldtest::startApplication(&game::behaviour::appendBehaviourStatics);
    game::behaviour::installBehaviours();
}

void closeApplication() {
    worldtest::closeApplication();
}

}  // namespace behaviourtest
