// java.util.Enumeration (interface id 60): the face of every enumerator the
// library hands out. Implementations answer it from getInterface(60).
#pragma once

#include "runtime/object.h"

class java_util_Enumeration {
public:
    virtual jboolean hasMoreElements() = 0;  // interface slot 0
    virtual Object* nextElement() = 0;       // interface slot 1

protected:
    ~java_util_Enumeration() = default;
};
