// The statics block: the static fields of every class, the collector's root
// slots (one per static reference field), the string-pool field and the 138
// class records. One block per application, built at start and never moved.
//
// Libraries contribute their static fields without changing the runtime:
// each describes a plain struct of its fields, the byte offsets of the
// reference fields in it, and its class initialiser with an order key, and
// registers that description before the application starts:
//
//   struct cGame_Statics { jint state; ObjectArray* sprites; ... };
//   StaticsContribution g_cGameStatics = StaticsContribution::of<cGame_Statics>(
//       "cGame", kClinitGame, &cGame_clinit, {offsetof(cGame_Statics, sprites)});
//   StaticClass::contribute(&g_cGameStatics);            // once, at start-up
//   statics<cGame_Statics>(g_cGameStatics)->state = 1;   // any time after
//
// Set-up order (initialize): zero the block, fill the class records, load
// the string pool, write the root slots, run the class initialisers by
// order key (java_lang_System first, java_lang_Boolean next, the game's in
// their order, java_lang_Runtime last).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "runtime/object.h"

class ObjectArray;

// Order keys of class initialisers (lower runs first; ties keep the order of
// registration).
enum ClinitOrder : int {
    kClinitSystem = 0,
    kClinitBoolean = 10,
    kClinitLibrary = 100,   // other converted library classes
    kClinitGame = 500,      // the game's own, in their fixed order from here
    kClinitRuntime = 10000, // java_lang_Runtime, last of all
};

struct StaticsContribution {
    const char* owner = nullptr;          // class name, for diagnostics
    size_t size = 0;
    size_t align = alignof(void*);
    std::vector<uint32_t> refOffsets;     // reference fields inside the struct
    void (*clinit)() = nullptr;
    int order = kClinitLibrary;
    size_t offset = 0;                    // where the block placed it (set by the block)

    template <typename T>
    static StaticsContribution of(const char* owner, int order, void (*clinit)(),
                                  std::initializer_list<size_t> refOffsets = {}) {
        StaticsContribution c;
        c.owner = owner;
        c.size = sizeof(T);
        c.align = alignof(T);
        for (size_t o : refOffsets) c.refOffsets.push_back(static_cast<uint32_t>(o));
        c.clinit = clinit;
        c.order = order;
        return c;
    }
};

class StaticClass {
public:
    explicit StaticClass(const std::vector<const StaticsContribution*>& contributions);
    ~StaticClass();
    StaticClass(const StaticClass&) = delete;
    StaticClass& operator=(const StaticClass&) = delete;

    static StaticClass* instance();

    // Registers a contribution for every application created afterwards.
    static void contribute(StaticsContribution* contribution);
    static const std::vector<const StaticsContribution*>& registered();

    // The set-up, in the order above. loadConstants may be empty.
    void initialize(const std::function<void(StaticClass&)>& loadConstants, bool runClassInitialisers);
    void initClassTable();

    Class* classById(jint id) { return id >= 0 && id < cid::kCount ? &m_classes[id] : nullptr; }
    Class* classOf(Object* object) { return object ? classById(object->classId()) : nullptr; }
    static bool isSubclassOf(const Class* a, const Class* b) { return ::isSubclassOf(a, b); }

    // First call per class: records the byte offsets of the object's
    // reference fields (field addresses minus object address) for the
    // collector; later calls for the class do nothing.
    static void setRefFieldOffsets(Object* object, void* const fieldPointers[], int n);
    // Every construction calls this: once the class is known it answers at
    // once, without a call.
    static void setRefFieldOffsets(Object* object, std::initializer_list<const void*> fields) {
        StaticClass* self = s_latest.load(std::memory_order_acquire);
        if (self && object && object->classId() < cid::kCount && self->m_classes[object->classId()].m_refOffsets)
            return;
        recordRefFieldOffsets(object, fields);
    }
    // For a C++ class whose base constructor has already registered the
    // base's fields under the object's class id: replaces that record when
    // the full list (inherited fields included) is longer.
    static void extendRefFieldOffsets(Object* object, std::initializer_list<const void*> fields);
    void freeRefFieldOffsets();

    // Loads the string-literal pool from the resource "/constants.bin"
    // (runtime/stringpool.cpp); the shell passes it as Config::loadConstants.
    static void loadConstants(StaticClass& statics);

    // String-literal pool entry index; null (after "NullPointer" and the
    // stack trace) when there is no pool or the index lies outside it.
    static String* getStringConstant(jint index);

    char* fieldsBase() { return m_fields; }
    char* fieldsOf(const StaticsContribution& c) { return m_fields + c.offset; }
    const std::vector<Object**>& rootSlots() const { return m_roots; }

    ObjectArray* m_stringPool = nullptr;   // collector root
    Class m_classes[cid::kCount];

private:
    static void recordRefFieldOffsets(Object* object, std::initializer_list<const void*> fields);
    // The statics block built last (the current application's while one
    // runs); only the constructor's fast answer reads it.
    static inline std::atomic<StaticClass*> s_latest{nullptr};

    std::vector<const StaticsContribution*> m_contributions;
    std::vector<Object**> m_roots;
    char* m_fields = nullptr;
    size_t m_fieldsSize = 0;
};

// Typed access to a contribution's fields in the current statics block.
template <typename T>
inline T* statics(const StaticsContribution& c) {
    return reinterpret_cast<T*>(StaticClass::instance()->fieldsOf(c));
}
