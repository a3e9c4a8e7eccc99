// Parent-process watch over getppid(): re-parenting marks the parent's end.
#include "platform/ipc/parent_watch.h"

#include <unistd.h>

namespace platform::ipc {

ParentWatch::ParentWatch() : parent_(static_cast<int>(getppid())) {}

bool ParentWatch::parentGone() const {
    if (parent_ <= 1) return false;
    return static_cast<int>(getppid()) != parent_;
}

}  // namespace platform::ipc
