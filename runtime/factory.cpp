// The creator table of NewInstanceFactory.
#include "runtime/factory.h"

#include <atomic>

#include "runtime/exception.h"
#include "runtime/javathread.h"
#include "runtime/string.h"
#include "runtime/stringbuffer.h"

namespace {

constexpr uint16_t kInstantiable[] = {0,  2,  3,  15, 16, 17, 18, 19, 20,  24,  25,  27,  29,  35,  37,  39,  40,  41,
                                      45, 46, 49, 50, 53, 56, 58, 59, 62,  63,  64,  65,  66,  68,  71,  73,  74,  79,
                                      83, 89, 91, 93, 95, 109, 112, 115, 116, 117, 118, 127, 128, 129, 130, 134, 136};
static_assert(sizeof(kInstantiable) / sizeof(kInstantiable[0]) == 53, "53 instantiable classes");

std::atomic<NewInstanceFactory::Creator> g_creators[cid::kCount];

template <uint16_t Id>
Object* makeThrowable() {
    return newObject<java_lang_Throwable>(Id);
}

bool registerRuntimeCreators() {
    NewInstanceFactory::registerCreator(cid::Object, [] { return newObject<Object>(cid::Object); });
    NewInstanceFactory::registerCreator(cid::String, []() -> Object* { return String::empty(); });
    NewInstanceFactory::registerCreator(cid::StringBuffer, &rt::plainInstance<StringBuffer>);
    NewInstanceFactory::registerCreator(cid::java_lang_Thread, []() -> Object* { return newObject<java_lang_Thread>(); });
    NewInstanceFactory::registerCreator(20, makeThrowable<20>);
    NewInstanceFactory::registerCreator(25, makeThrowable<25>);
    NewInstanceFactory::registerCreator(27, makeThrowable<27>);
    NewInstanceFactory::registerCreator(35, makeThrowable<35>);
    NewInstanceFactory::registerCreator(37, makeThrowable<37>);
    NewInstanceFactory::registerCreator(39, makeThrowable<39>);
    NewInstanceFactory::registerCreator(40, makeThrowable<40>);
    NewInstanceFactory::registerCreator(45, makeThrowable<45>);
    NewInstanceFactory::registerCreator(46, makeThrowable<46>);
    NewInstanceFactory::registerCreator(50, makeThrowable<50>);
    NewInstanceFactory::registerCreator(59, makeThrowable<59>);
    NewInstanceFactory::registerCreator(65, makeThrowable<65>);
    NewInstanceFactory::registerCreator(109, makeThrowable<109>);
    NewInstanceFactory::registerCreator(116, makeThrowable<116>);
    NewInstanceFactory::registerCreator(117, makeThrowable<117>);
    NewInstanceFactory::registerCreator(118, makeThrowable<118>);
    return true;
}

void ensureRuntimeCreators() {
    static const bool done = registerRuntimeCreators();
    (void)done;
}

}  // namespace

bool NewInstanceFactory::isInstantiable(uint32_t classId) {
    for (uint16_t id : kInstantiable)
        if (id == classId) return true;
    return false;
}

bool NewInstanceFactory::registerCreator(uint32_t classId, Creator creator) {
    if (!isInstantiable(classId)) return false;
    g_creators[classId].store(creator);
    return true;
}

Object* NewInstanceFactory::newInstance(uint32_t classId) {
    ensureRuntimeCreators();
    if (classId > 136 || !isInstantiable(classId)) return nullptr;
    Creator creator = g_creators[classId].load();
    return creator ? creator() : nullptr;
}
