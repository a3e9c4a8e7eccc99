// Scoped Java monitor for the converted library: the object's monitor is
// held from construction to the end of the scope, so a synchronised
// operation leaves it on every way out, a pending exception included.
#pragma once

#include "runtime/object.h"

class JavaMonitorScope {
public:
    explicit JavaMonitorScope(Object* object) : m_object(object) { Object::monitorEnter(object); }
    ~JavaMonitorScope() { Object::monitorExit(m_object); }
    JavaMonitorScope(const JavaMonitorScope&) = delete;
    JavaMonitorScope& operator=(const JavaMonitorScope&) = delete;

private:
    Object* m_object;
};
