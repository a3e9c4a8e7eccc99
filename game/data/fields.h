// Field tables of the game's static structs. Each class's static fields are
// declared once, as a list macro, and that one list gives both the C++
// struct and a table of (name, offset, size, is-reference) rows, so no
// reference field can be left out of the collector's roots and tests can
// walk every field:
//
//   #define KTLIB_FIELDS(X)  X(jint, channelCount)  X(IntArray*, soundVolumes)
//   BRAMBLE_STATICS(KTLibPlayerStatics, KTLIB_FIELDS)
//
//   StaticsContribution g_ktlib =
//       game::contribution<KTLibPlayerStatics>("KTLibPlayer", kClinitGame + 12, &clinit);
//
// Invariant: every pointer-typed field is a Java reference (object, array,
// String or interface view) and becomes a root slot; nothing else does.
#pragma once

#include <cstddef>
#include <span>
#include <type_traits>

#include "runtime/statics.h"

namespace game {

struct FieldInfo {
    const char* name;
    size_t offset;
    size_t size;
    bool isRef;
};

template <typename T>
constexpr bool isRefField() {
    return std::is_pointer_v<T>;
}

// A contribution to the statics block whose root slots are exactly the
// reference rows of T's field table.
template <typename T>
StaticsContribution contribution(const char* owner, int order, void (*clinit)()) {
    StaticsContribution c = StaticsContribution::of<T>(owner, order, clinit);
    for (const FieldInfo& f : T::fields())
        if (f.isRef) c.refOffsets.push_back(static_cast<uint32_t>(f.offset));
    return c;
}

}  // namespace game

#define BRAMBLE_FIELD_MEMBER(type, name) type name;
#define BRAMBLE_FIELD_INFO(type, name) \
    ::game::FieldInfo{#name, offsetof(Self, name), sizeof(type), ::game::isRefField<type>()},

#define BRAMBLE_STATICS(Name, FIELDS)                                   \
    struct Name {                                                       \
        FIELDS(BRAMBLE_FIELD_MEMBER)                                    \
        static std::span<const ::game::FieldInfo> fields();             \
    };                                                                  \
    inline std::span<const ::game::FieldInfo> Name::fields() {          \
        using Self = Name;                                              \
        static const ::game::FieldInfo kFields[] = {FIELDS(BRAMBLE_FIELD_INFO)}; \
        return kFields;                                                 \
    }
