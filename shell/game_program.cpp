// The game program's parts put in place before the shell starts.
#include "shell/game_program.h"

#include "game/behaviour/behaviour.h"
#include "game/flow/canvas.h"
#include "game/flow/program.h"
#include "game/showcase/install.h"
#include "game/world/world.h"
#include "shell/application_impl.h"
#include "shell/services.h"

void installGameProgram() {
    setMidletCreator([] { return static_cast<javax_microedition_midlet_MIDlet*>(newObject<RavitBHSG>()); });
    game::registerGameProgram();
    game::world::registerPlay();
    game::behaviour::registerBehaviours();
    game::behaviour::installBehaviours();
    game::installShowcase();
    installDeviceServices();
}
