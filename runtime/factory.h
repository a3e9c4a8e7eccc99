// Reflective instance creation by class id: an instance with its header
// built and its fields as a constructor with no (or null and zero)
// arguments leaves them. Only the fixed set of
// instantiable ids may have a creator; every other id answers null.
// The runtime registers its own classes; libraries register theirs
// (NewInstanceFactory::registerCreator(cid::java_util_Vector, [] { ... })).
#pragma once

#include <cstdint>

#include "runtime/object.h"

class NewInstanceFactory {
public:
    using Creator = Object* (*)();

    // Null for an id above 136, an id without a creator, or no heap room.
    static Object* newInstance(uint32_t classId);
    // False (nothing registered) for an id that is not instantiable.
    static bool registerCreator(uint32_t classId, Creator creator);
    static bool isInstantiable(uint32_t classId);
};

namespace rt {
// A creator for a factory row: the class's no-argument construction, or its
// constructor given null and zero arguments (the C++ classes build their
// headers in their constructors).
//   NewInstanceFactory::registerCreator(cid::java_util_Date, &rt::plainInstance<java_util_Date>);
template <typename T, auto... Args>
Object* plainInstance() {
    return newObject<T>(Args...);
}
}  // namespace rt
