// Watching the process that started this one: a helper process (the sound
// server) ends with its parent even when the parent died without a word.
// Polled, never signalled: a process whose parent dies is re-parented, and
// its parent id changes. A parent id that cannot change (1, or a subreaper
// that adopted this process before the watch began) tells nothing, so the
// starting process may also name itself: its id is then watched directly.
#pragma once

namespace platform::ipc {

class ParentWatch {
public:
    // Remembers the current parent; `watchedId`, when above 0, is a process
    // whose end also counts as the parent's end (the process that started
    // this one, named by itself).
    explicit ParentWatch(int watchedId = 0);
    // True once the parent that started this process, or the watched
    // process, has ended (a process that is only a zombie has ended).
    bool parentGone() const;
    int parentId() const { return parent_; }

private:
    int parent_;
    int watched_;
};

// True while process `id` exists and has not ended.
bool processRunning(int id);

// This process's id.
int currentProcessId();

}  // namespace platform::ipc
