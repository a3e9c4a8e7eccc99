// bramble-kit actor-tables: the actor tables file.
//   actor-tables demo OUT           writes the demo tables
//   actor-tables inspect FILE       describes a file (strict read)
//   actor-tables damage IN OUTDIR   writes its damaged variants
#include "tools/kit/actortables.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

int actorTablesCommand(const std::vector<std::string>& a) {
    using namespace kit;
    if (a.size() == 2 && a[0] == "demo") {
        writeFile(a[1], encodeActorTables(demoActorTables()));
        return 0;
    }
    if (a.size() == 2 && a[0] == "inspect") {
        std::cout << describeActorTables(parseActorTables(readFile(a[1])));
        return 0;
    }
    if (a.size() == 3 && a[0] == "damage") {
        Bytes valid = readFile(a[1]);
        std::string stem = std::filesystem::path(a[1]).stem().string();
        auto variants = damageActorTables(valid);
        int n = 0;
        for (const DamagedFile& d : variants)
            writeFile((std::filesystem::path(a[2]) / (stem + "." + std::to_string(n++) + "." + d.name)).string(), d.bytes);
        std::cout << variants.size() << " damaged variants of " << a[1] << " in " << a[2] << "\n";
        return 0;
    }
    std::cerr << "usage: bramble-kit actor-tables demo OUT | inspect FILE | damage IN OUTDIR\n";
    return 2;
}
