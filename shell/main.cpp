// BrambleGame: the game program.
#include "runtime/application.h"
#include "shell/services.h"
#include "shell/shell.h"
#include "shell/standin.h"

int main() {
    BRAMBLE_RECORD_STACK_TOP();
    registerStandInMidlet();
    installDeviceServices();
    return WinMain();
}
