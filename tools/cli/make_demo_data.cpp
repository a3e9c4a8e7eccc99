// make-demo-data <dir>: writes the demo device root that `make run` starts
// the program with (<dir>/device/Program Files/Tindrell/Bramble Hollow
// Saga/data.bar and <dir>/device/temp).
#include "tools/kit/archive.h"
#include "tools/kit/demo.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-demo-data <dir>\n";
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
