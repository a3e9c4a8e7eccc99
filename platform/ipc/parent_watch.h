// Watching the process that started this one: a helper process (the sound
// server) ends with its parent even when the parent died without a word.
// Polled, never signalled: a process whose parent dies is re-parented, and
// its parent id changes.
#pragma once

namespace platform::ipc {

class ParentWatch {
public:
    ParentWatch();  // remembers the current parent
    // True once the parent that started this process has ended. A process
    // started by init itself (parent 1) has no parent to lose.
    bool parentGone() const;
    int parentId() const { return parent_; }

private:
    int parent_;
};

}  // namespace platform::ipc
