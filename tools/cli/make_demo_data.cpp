// make-demo-data <dir>: writes the demo device root that `make run` starts
// the program with (<dir>/device/Program Files/Tindrell/Bramble Hollow
// Saga/data.bar and <dir>/device/temp).
#include "tools/kit/archive.h"
#include "tools/kit/demo.h"

#include <iostream>
#include <string>

namespace {
const char* const kUsage = "usage: make-demo-data <dir>\n"
                           "  writes the demo device root into <dir> (same bytes every run)\n";
}

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (argc == 2 && argv[1][0] == '-') {
        std::cerr << "make-demo-data: unknown option " << argv[1] << "\n" << kUsage;
        return 2;
    }
    if (argc != 2) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        std::string bar = kit::buildDemoRoot(argv[1]);
        kit::Bytes data = kit::readFile(bar);
        kit::ArchiveReader r = kit::ArchiveReader::parse(data);
        std::cout << bar << ": " << r.entries().size() << " entries, " << data.size() << " bytes\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "make-demo-data: " << e.what() << "\n";
        return 1;
    }
}
