// Shared fixture of the screens' tests: an application with lcdui's, the
// sprite engine's, the game's and the screens' static fields and the kit's
// string pool; the class initialisers have run. Log capture for the
// error-path tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/data/statics.h"
#include "game/flow/screens/screens.h"
#include "runtime/runtime.h"

namespace screenstest {

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Captures the runtime log for its lifetime.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    bool contains(const std::string& text) const;
    size_t count() const;
};

// The seed of the game's own generator (tests set it to replay a show).
void setRandomSeed(jint seed);
jint randomSeed();
// Puts texts into text slot `slot` as a cached pack (index i = texts[i]).
void setTexts(jint slot, const std::vector<std::string>& texts);
// Game keys newly pressed and held this step.
void setKeys(jint pressed, jint held = 0);
// The actor framework's special-item count seen by the score.
void setSpecialItems(jint n);

}  // namespace screenstest
