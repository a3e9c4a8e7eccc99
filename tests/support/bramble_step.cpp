// bramble-step: runs the headless step driver on a kit-built level from the
// command line, writes the per-step trace and compares it with a golden
// trace. Exit 0 when the run matched (or no golden was given) and no
// invariant failed; 1 on a divergence or an invariant failure; 2 on bad
// arguments or an unknown level.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/application.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/bytes.h"
#include "tools/kit/hero_fixtures.h"

namespace {

// The usage, every level name included (to standard output for --help).
void usage(std::FILE* to) {
    std::string demo, fixtures;
    for (const std::string& n : stepdriver::demoLevelNames()) demo += (demo.empty() ? "" : " ") + n;
    for (kit::HeroFixture f : kit::allHeroFixtures()) fixtures += (fixtures.empty() ? "" : " ") + std::string(kit::heroFixtureName(f));
    std::fprintf(to,
                 "usage: bramble-step [--level NAME] [--steps N] [--input FILE] [--seed N]\n"
                 "                    [--hero X,Y] [--trace OUT] [--golden FILE]\n"
                 "  --level NAME   (default demo) one of\n"
                 "                 the demo's levels: %s\n"
                 "                 stage:N (stage N of the demo data, started through the loading path)\n"
                 "                 the hero fixtures: %s\n"
                 "                 file:PATH (a level description)\n"
                 "  --steps N      steps to run (default 100)\n"
                 "  --input FILE   the input script: STEP down|up KEY, STEP touch|drag|lift X Y per line\n"
                 "  --seed N       the game's seed (default 1)\n"
                 "  --hero X,Y     a hero record at (X, Y) first in the object list\n"
                 "  --trace OUT    write the trace (without --trace or --golden it is printed)\n"
                 "  --golden FILE  compare with a recorded trace; print the first divergence\n"
                 "exit status: 0 matched and clean, 1 divergence or invariant failure, 2 bad arguments\n",
                 demo.c_str(), fixtures.c_str());
}
void usage() { usage(stderr); }

bool number(const char* text, long lo, long hi, long& out) {
    char* end = nullptr;
    out = std::strtol(text, &end, 10);
    return *text && !*end && out >= lo && out <= hi;
}

}  // namespace

int main(int argc, char** argv) {
    BRAMBLE_RECORD_STACK_TOP();
    stepdriver::Options options;
    std::string inputPath, tracePath, goldenPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        }
        if (i + 1 >= argc) {
            usage();
            return 2;
        }
        const char* value = argv[++i];
        long n = 0;
        if (arg == "--level") {
            options.level = value;
        } else if (arg == "--steps" && number(value, 0, 1000000, n)) {
            options.steps = static_cast<int>(n);
        } else if (arg == "--seed" && number(value, 0, 0xFFFFFFFFL, n)) {
            options.seed = static_cast<uint32_t>(n);
        } else if (arg == "--hero") {
            long x = 0, y = 0;
            const std::string v = value;
            const size_t comma = v.find(',');
            if (comma == std::string::npos || !number(v.substr(0, comma).c_str(), 0, 32767, x) ||
                !number(v.substr(comma + 1).c_str(), 0, 32767, y)) {
                usage();
                return 2;
            }
            options.heroX = static_cast<int32_t>(x);
            options.heroY = static_cast<int32_t>(y);
        } else if (arg == "--input") {
            inputPath = value;
        } else if (arg == "--trace") {
            tracePath = value;
        } else if (arg == "--golden") {
            goldenPath = value;
        } else {
            usage();
            return 2;
        }
    }
    if (!inputPath.empty()) {
        std::string error;
        kit::Bytes text;
        try {
            text = kit::readFile(inputPath);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "bramble-step: %s\n", e.what());
            return 2;
        }
        if (!stepdriver::parseInputScript(std::string(text.begin(), text.end()), options.input, error)) {
            std::fprintf(stderr, "bramble-step: %s: %s\n", inputPath.c_str(), error.c_str());
            return 2;
        }
    }
    const stepdriver::Run run = stepdriver::runLevel(options);
    if (!run.ok) {
        std::fprintf(stderr, "bramble-step: %s\n", run.error.c_str());
        return 2;
    }
    if (!tracePath.empty() && !stepdriver::writeLines(tracePath, run.trace)) {
        std::fprintf(stderr, "bramble-step: cannot write %s\n", tracePath.c_str());
        return 2;
    }
    int status = 0;
    for (const std::string& v : run.violations) {
        std::printf("invariant: %s\n", v.c_str());
        status = 1;
    }
    if (!goldenPath.empty()) {
        std::vector<std::string> golden;
        if (!stepdriver::readLines(goldenPath, golden)) {
            std::fprintf(stderr, "bramble-step: cannot read %s\n", goldenPath.c_str());
            return 2;
        }
        if (auto d = stepdriver::compareTraces(golden, run.trace)) {
            std::printf("%s\n", stepdriver::describe(*d).c_str());
            status = 1;
        } else {
            std::printf("trace matches %s (%zu lines)\n", goldenPath.c_str(), golden.size());
        }
    } else if (tracePath.empty()) {
        for (const std::string& l : run.trace) std::printf("%s\n", l.c_str());
    }
    return status;
}
