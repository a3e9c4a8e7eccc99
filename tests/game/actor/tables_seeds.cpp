// Writes the actor tables fuzz target's seed corpus into a folder: the
// demo tables file and every damaged variant the kit makes of it.
//   actor_tables_seeds DIR
#include <cstdio>
#include <string>

#include "tools/kit/actortables.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    kit::Bytes valid = kit::encodeActorTables(kit::demoActorTables());
    kit::writeFile(std::string(argv[1]) + "/0-demo", valid);
    int n = 1;
    for (const kit::DamagedFile& d : kit::damageActorTables(valid))
        kit::writeFile(std::string(argv[1]) + "/" + std::to_string(n++) + "-" + d.name, d.bytes);
    std::printf("%d seed files\n", n);
    return 0;
}
