// BrambleGame: the game program.
#include "game/flow/canvas.h"
#include "game/behaviour/behaviour.h"
#include "game/flow/program.h"
#include "game/showcase/install.h"
#include "game/world/world.h"
#include "runtime/application.h"
#include "shell/application_impl.h"
#include "shell/services.h"
#include "shell/shell.h"

int main() {
    BRAMBLE_RECORD_STACK_TOP();
    setMidletCreator([] { return static_cast<javax_microedition_midlet_MIDlet*>(newObject<RavitBHSG>()); });
    game::registerGameProgram();
    game::world::registerPlay();
    game::behaviour::registerBehaviours();
    game::behaviour::installBehaviours();
    game::installShowcase();
    installDeviceServices();
    return WinMain();
}
