// Converted halves of Thread, Runtime and System; AudioClip.
#include "javalib/lang.h"

#include <atomic>
#include <cstddef>

#include "javalib/hashtable.h"
#include "javalib/outputstreams.h"
#include "javalib/wrappers.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/factory.h"
#include "runtime/log.h"
#include "runtime/string.h"
#include "runtime/system.h"

namespace {

// --- statics ------------------------------------------------------------------------------

struct java_lang_Runtime_Statics {
    java_lang_Runtime* runtime;
};

void runtimeClinit();
void systemClinit();

StaticsContribution g_runtimeStatics = StaticsContribution::of<java_lang_Runtime_Statics>(
    "java_lang_Runtime", kClinitRuntime, &runtimeClinit, {offsetof(java_lang_Runtime_Statics, runtime)});

StaticsContribution g_systemStatics = StaticsContribution::of<java_lang_System_Statics>(
    "java_lang_System", kClinitSystem, &systemClinit,
    {offsetof(java_lang_System_Statics, out), offsetof(java_lang_System_Statics, err),
     offsetof(java_lang_System_Statics, props)});

void runtimeClinit() {
    statics<java_lang_Runtime_Statics>(g_runtimeStatics)->runtime = newObject<java_lang_Runtime>();
}

void systemClinit() {
    auto* s = statics<java_lang_System_Statics>(g_systemStatics);
    // System.out and System.err: one print stream over the discarding console.
    auto* console = newObject<java_io_ConsoleOutputStream>();
    auto* print = newObject<java_io_PrintStream>(console);
    s->out = print;
    s->err = print;
    // The property table: 11 buckets, threshold 8, one entry.
    auto* props = newObject<java_util_Hashtable>(java_util_Hashtable::kDefaultCapacity);
    s->props = props;
    props->put(StaticClass::getStringConstant(190), StaticClass::getStringConstant(191));
}

Object* lookupProperty(String* key) {
    java_lang_System_Statics* s = systemStatics();
    auto* props = s ? static_cast<java_util_Hashtable*>(s->props) : nullptr;
    return props ? props->get(key) : nullptr;
}

std::atomic<const com_samsung_util_AudioClip::PlayerCalls*> g_playerCalls{nullptr};

}  // namespace

// --- Thread -----------------------------------------------------------------------------------

namespace javalib {

void constructThread(java_lang_Thread* thread, Object* target) {
    if (!thread) {
        rt::logNullPointer();
        return;
    }
    thread->m_priority = 0;
    thread->m_target = nullptr;
    java_lang_Thread* creator = java_lang_Thread::currentThread();
    const jint priority = creator ? creator->getPriority() : 5;
    thread->m_priority = priority;
    thread->m_target = target;
    thread->setPriority(priority);
}

}  // namespace javalib

// --- Runtime ----------------------------------------------------------------------------------

java_lang_Runtime* java_lang_Runtime::getRuntime() {
    return StaticClass::instance() ? statics<java_lang_Runtime_Statics>(g_runtimeStatics)->runtime : nullptr;
}

// --- System -----------------------------------------------------------------------------------

java_lang_System_Statics* systemStatics() {
    return StaticClass::instance() ? statics<java_lang_System_Statics>(g_systemStatics) : nullptr;
}

// --- AudioClip --------------------------------------------------------------------------------

com_samsung_util_AudioClip::com_samsung_util_AudioClip() : Object(cid::com_samsung_util_AudioClip) {
    m_player = nullptr;
    StaticClass::setRefFieldOffsets(this, {&m_player});
}

void com_samsung_util_AudioClip::initLocation(com_samsung_util_AudioClip* clip, jint, String* location) {
    MethodScope method("com_samsung_util_AudioClip::<init>");
    if (!clip) {
        rt::logNullPointer();
        return;
    }
    clip->m_player = nullptr;
    static const jint kHandlers[] = {cid::java_lang_Exception, 1, 2, 0, 0, 0};
    Object* player = createPlayer(location);
    if (Application::checkException(1)) {
        // An Exception is caught and dropped (no player); anything else
        // stays pending for the caller.
        Application::findHandler(kHandlers);
        return;
    }
    clip->m_player = player;
}

void com_samsung_util_AudioClip::setPlayerCalls(const PlayerCalls* calls) { g_playerCalls.store(calls); }

namespace {
void callPlayer(Object* player, bool start) {
    if (!player) return;
    const com_samsung_util_AudioClip::PlayerCalls* calls = g_playerCalls.load();
    auto fn = calls ? (start ? calls->start : calls->stop) : nullptr;
    if (!fn) {
        logPrintf("com_samsung_util_AudioClip: no media layer to reach the player");
        return;
    }
    fn(player);
}
}  // namespace

void com_samsung_util_AudioClip::pause() { callPlayer(m_player, false); }
void com_samsung_util_AudioClip::resume() { callPlayer(m_player, true); }
void com_samsung_util_AudioClip::stop() { callPlayer(m_player, false); }

// --- registration -----------------------------------------------------------------------------

void registerLangStatics() {
    StaticClass::contribute(&g_systemStatics);
    registerWrapperStatics();
    StaticClass::contribute(&g_runtimeStatics);
    NewInstanceFactory::registerCreator(cid::java_lang_Runtime, []() -> Object* { return newObject<java_lang_Runtime>(); });
    java_lang_System::setPropertyLookup(&lookupProperty);
}
