// The object factory by class id with every library's rows registered, as
// the program has them: each instantiable row below the game answers an
// instance of its own class id, every other id answers null.
#include <gtest/gtest.h>

#include "display/lcdui/lcdui.h"
#include "io/statics.h"
#include "javalib/lang.h"
#include "javalib/utilstatics.h"
#include "runtime/factory.h"
#include "tests/runtime/fixture.h"

namespace {

// The game's rows (127-136) are the game's to register.
constexpr uint32_t kFirstGameId = 127;

class Factory : public RuntimeTest {
protected:
    void SetUp() override {
        registerLangStatics();
        registerUtilStatics();
        bramble::io::registerStatics();
        lcdui::registerStatics();
        startApp(4 << 20, 4 << 20, StaticClass::registered());
    }
};

TEST_F(Factory, EveryRowBelowTheGameAnswersItsClassAndNoOtherIdAnswers) {
    for (uint32_t id = 0; id <= 140; ++id) {
        SCOPED_TRACE(id);
        Object* made = NewInstanceFactory::newInstance(id);
        if (!NewInstanceFactory::isInstantiable(id)) {
            EXPECT_EQ(made, nullptr);
            continue;
        }
        if (id >= kFirstGameId) continue;
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->classId(), id);
        EXPECT_EQ(Application::pendingException(), nullptr);
        Application::clearPendingException();
    }
    EXPECT_EQ(NewInstanceFactory::newInstance(1000), nullptr);
    collect();  // every instance is a well-formed object to the collector
}

}  // namespace
