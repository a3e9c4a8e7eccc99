// BrambleGame: the game program.
#include "runtime/application.h"
#include "shell/game_program.h"
#include "shell/shell.h"

int main() {
    BRAMBLE_RECORD_STACK_TOP();
    installGameProgram();
    return WinMain();
}
