// Shared fixture of the game-data tests: a fresh application per test with
// the io, lcdui, sprite-engine and game statics and the demo string pool;
// resources served from an in-memory set of files (or, for end-to-end
// tests, from a data archive in the test's own device root); packs built by
// the content kit at test time; log capture.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "game/data/statics.h"
#include "runtime/runtime.h"
#include "tests/runtime/fixture.h"
#include "tools/kit/gamedata.h"

namespace datatest {

using Bytes = kit::Bytes;

// Starts (and closes) the application of one test.
void startApplication(size_t objectHeap = 8 << 20, size_t dataHeap = 48 << 20);
void closeApplication();

// The in-memory resources (name -> bytes) that openResource serves; each
// open is a fresh stream over a copy.
std::map<std::string, Bytes>& files();
// Serves resources from files() (the default of the fixture).
void serveFromMemory();
// Adds the files of a kit pack under name (sub-packs as name + "." + k).
void addPack(const std::string& name, const kit::PackFiles& pack);
// The pack name of number n ("pack" + n, pool entry 76).
std::string packFile(int n);

ByteArray* javaBytes(const Bytes& bytes);
Bytes bytesOf(const ByteArray* a);
String* jstr(const std::string& utf8);
std::string utf8(String* s);
// A stream over bytes.
java_io_InputStream* streamOf(const Bytes& bytes);

// A device root of the running test's own (emptied first), and the host
// folder of the application inside it.
std::string freshDeviceRoot();
std::string appFolder();

class GameDataTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    ::LogCapture log;
    std::string m_root;
};

}  // namespace datatest
