// Everything converted code and natives use of the runtime core.
#pragma once

#include "runtime/application.h"
#include "runtime/array.h"
#include "runtime/exception.h"
#include "runtime/factory.h"
#include "runtime/javathread.h"
#include "runtime/jint.h"
#include "runtime/log.h"
#include "runtime/object.h"
#include "runtime/objectmanager.h"
#include "runtime/operandstack.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/system.h"
#include "runtime/threads.h"
