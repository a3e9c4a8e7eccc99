// Fixture of the lcdui tests: a fresh application per test with the lcdui
// static fields, the runtime log captured, array helpers, and a data heap
// left fragmented on request so that the next allocation moves arrays.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "display/lcdui/lcdui.h"
#include "tests/runtime/fixture.h"

using Image = javax_microedition_lcdui_Image;
using Graphics = javax_microedition_lcdui_Graphics;
using Font = javax_microedition_lcdui_Font;

class LcduiTest : public RuntimeTest {
protected:
    static constexpr size_t kObjects = 4 << 20;
    static constexpr size_t kData = 2 << 20;

    void SetUp() override { startApp(kObjects, kData, {lcdui::staticsContribution()}); }

    static IntArray* ints(std::initializer_list<jint> values) {
        IntArray* a = newIntArray(static_cast<jint>(values.size()));
        jint i = 0;
        for (jint v : values) a->data()[i++] = v;
        return a;
    }
    static IntArray* ints(const std::vector<jint>& values) {
        IntArray* a = newIntArray(static_cast<jint>(values.size()));
        for (size_t i = 0; i < values.size(); ++i) a->data()[i] = values[i];
        return a;
    }
    static ByteArray* bytes(const std::vector<uint8_t>& values, jint before = 0, jint after = 0) {
        ByteArray* a = newByteArray(static_cast<jint>(values.size()) + before + after);
        for (size_t i = 0; i < values.size(); ++i) a->data()[before + i] = static_cast<jbyte>(values[i]);
        return a;
    }
    static uint16_t px(Image* image, jint x, jint y) { return image->surface().at16(x, y); }
    bool logged(const std::string& text) { return m_log.contains(text); }

    // Calls make() between two garbage blocks of holeBytes, then fills the
    // data heap with garbage blocks and live spacers of spacerBytes and drops
    // the garbage. The next allocation larger than a hole collects and
    // compacts; what make() allocated, when it is smaller than a spacer, is
    // the cheapest run to move and moves first.
    template <typename Make>
    auto afterFragmenting(Make make, jint holeBytes = 1024, jint spacerBytes = 512) {
        ObjectArray* garbage = newObjectArray(cid::Object, 4096);
        ObjectArray* spacers = newObjectArray(cid::Object, 4096);
        ByteArray* first = newByteArray(holeBytes);
        garbage->data()[0] = first;
        first = nullptr;
        auto kept = make();
        MemoryManager& heap = m_app->dataHeap();
        jint n = 1;
        for (; n < 4096 && heap.largestFreeBlock() > static_cast<size_t>(2 * (holeBytes + spacerBytes)); ++n) {
            ByteArray* hole = newByteArray(holeBytes);
            garbage->data()[n] = hole;
            ByteArray* spacer = newByteArray(spacerBytes);
            spacers->data()[n] = spacer;
        }
        // The rest of the heap in small live blocks: no large free tail.
        for (; n < 4096 && heap.largestFreeBlock() >= 64; ++n) {
            ByteArray* filler = newByteArray(8);
            spacers->data()[n] = filler;
        }
        for (jint n = 0; n < 4096; ++n) garbage->data()[n] = nullptr;
        // Both holders stay: a freed holder would leave a large hole.
        m_spacers = std::make_unique<rt::GlobalRef>(spacers);
        m_garbage = std::make_unique<rt::GlobalRef>(garbage);
        return kept;
    }

    void TearDown() override {
        m_spacers.reset();
        m_garbage.reset();
        RuntimeTest::TearDown();
    }

    std::unique_ptr<rt::GlobalRef> m_spacers;
    std::unique_ptr<rt::GlobalRef> m_garbage;
};
