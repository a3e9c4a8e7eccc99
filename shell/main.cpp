// BrambleGame: the game program.
#include <string>

#include "platform/fs/fs.h"
#include "runtime/application.h"
#include "shell/game_program.h"
#include "shell/shell.h"

int main() {
    BRAMBLE_RECORD_STACK_TOP();
    installGameProgram();
    ShellOptions options;
    // Nothing of the game runs without its archive.
    options.requiredFile = std::string(platform::fs::kAppFolder) + "\\data.bar";
    return WinMain(options);
}
