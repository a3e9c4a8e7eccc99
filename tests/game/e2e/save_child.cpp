// The saving child of the kill test: boots the whole program headless over
// the device root under argv[1] (never rebuilt when its archive exists),
// plays to the main menu (fire answers every question), then saves the progress record again and again,
// each time with a new generation number in the eleven stage scores of
// slot 2 and a few play steps between saves. It reports on stdout, one line
// each, unbuffered: "ready G" (the generation the game read back at boot),
// "saving G" before a save and "saved G" once the save has returned. It
// ends by itself after argv[2] saves (the parent normally kills it first).
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/data/progress.h"
#include "game/data/statics.h"
#include "runtime/application.h"
#include "tests/game/e2e/save_pattern.h"
#include "tests/support/gamedriver.h"

namespace {

void say(const char* what, int32_t generation) {
    char line[64];
    const int n = std::snprintf(line, sizeof line, "%s %d\n", what, generation);
    static const int fd = ::fcntl(3, F_GETFD) >= 0 ? 3 : 1;
    if (n > 0 && ::write(fd, line, static_cast<size_t>(n)) < 0) std::_Exit(3);
}

}  // namespace

int main(int argc, char** argv) {
    BRAMBLE_RECORD_STACK_TOP();
    if (argc < 3) {
        std::fprintf(stderr, "usage: save_child FOLDER SAVES\n");
        return 2;
    }
    gamedriver::Options options;
    options.folder = argv[1];
    options.freshDevice = false;
    const int saves = std::atoi(argv[2]);
    gamedriver::GameDriver driver;
    std::string error;
    if (!driver.boot(options, error)) {
        std::fprintf(stderr, "save_child: %s\n", error.c_str());
        return 1;
    }
    if (!driver.pressUntil(-5, savepattern::kMenuState, 4000) || !game::cg().progress) {
        std::fprintf(stderr, "save_child: the main menu was not reached\n");
        return 1;
    }
    int32_t generation = savepattern::generationOf(game::cg().progress);
    say("ready", generation);
    for (int i = 0; i < saves; ++i) {
        ++generation;
        savepattern::stamp(game::cg().progress, generation);
        say("saving", generation);
        game::saveProgress();
        say("saved", generation);
        for (int k = 0; k < 1 + i % 3; ++k) driver.step();
    }
    return 0;
}
