// The runtime context: heaps, object manager, statics block, thread and
// monitor tables, and the application's object slots (MIDlet, current
// displayable, screen Image and Graphics). One Application exists at a
// time; Application::instance() answers it. The shell builds its window
// and main loop around it (hooks below) without changing this core.
//
// Per-thread state (pending exception, its site, the method-name stack)
// lives in each thread's ThreadContext; the accessors here act on the
// calling thread.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "runtime/heap.h"
#include "runtime/monitor.h"
#include "runtime/object.h"
#include "runtime/threads.h"

class ObjectManager;
class StaticClass;
class String;
struct StaticsContribution;

class Application {
public:
    // Default heap sizes: the object heap is twice the 3,145,728 bytes of a
    // 32-bit layout (objects have two-word headers and 8-byte references);
    // the data heap keeps 15,728,640 bytes.
    static constexpr size_t kDefaultObjectHeap = 6291456;
    static constexpr size_t kDefaultDataHeap = 15728640;

    struct Config {
        size_t objectHeapSize = kDefaultObjectHeap;
        size_t dataHeapSize = kDefaultDataHeap;
        // Highest stack address of the calling (main) thread to scan: the
        // address of a local of the outermost frame that holds Java
        // references (main()). Null: the runtime's recorded main stack top
        // (recordMainStackTop), else the caller's frame.
        void* stackTop = nullptr;
        // Static-field contributions; null = every registered one.
        const std::vector<const StaticsContribution*>* statics = nullptr;
        // Loads the string-literal pool into the statics block.
        std::function<void(StaticClass&)> loadConstants;
        // Run the class initialisers during set-up.
        bool runClassInitialisers = true;
    };

    // Creates the application on the calling thread, which becomes Java
    // thread 0: heaps, object manager, statics block and its set-up.
    [[gnu::noinline]] static Application* init(const Config& config);
    static Application* init() { return init(Config()); }
    static Application* instance();
    // Tear-down: final collection (every finalizer runs), statics block,
    // heaps. The calling thread must be the one that called init; other
    // threads still in the table are held at their safe points for good (a
    // warning is logged for Java threads) and the structures they wait in
    // are kept.
    void close();

    MemoryManager& objectHeap() { return *m_objectHeap; }
    MemoryManager& dataHeap() { return *m_dataHeap; }
    ObjectManager& objects() { return *m_objects; }
    StaticClass& statics() { return *m_statics; }
    rt::ThreadTable& threads() { return *m_threads; }
    rt::MonitorTable& monitors() { return *m_monitors; }

    // --- the application's object slots (collector roots) ------------------
    enum RootSlot { kMidlet, kCurrentDisplayable, kScreenImage, kScreenGraphics, kDecodeBuffer, kRootSlots };
    Object* root(RootSlot slot) const { return m_roots[slot]; }
    void setRoot(RootSlot slot, Object* object) { m_roots[slot] = object; }
    Object* const* rootSlots() const { return m_roots; }

    // Plain flags shared without a lock, as the shell uses them.
    unsigned char collectionRequested = 0;
    unsigned char paused = 0;

    // --- exceptions (calling thread) ----------------------------------------
    // Formats the stack trace into the Throwable and makes it pending.
    static void throwException(Object* throwable);
    // 1 (and records site) when an exception is pending, else 0.
    static jint checkException(jint site);
    static Object* pendingException();
    static jint pendingSite();
    // Index of the first {catch class, first site, last site} entry that
    // covers the pending site and matches the exception (clears it), or -1.
    // The table ends with an entry whose class id is 0.
    static jint findHandler(const jint* table);
    static void clearPendingException();
    // After a runtime call into Java code returns (callbacks, thread end):
    // logs "uncaught exception ..." with where and clears. True if one was.
    static bool drainPendingException(const char* where);

    // --- method-name stack (calling thread; bounded) ------------------------
    template <typename T>
    static T pushMethod(T result, const char* name) {
        pushMethod(name);
        return result;
    }
    static void pushMethod(const char* name);
    static void popMethod();
    static uint32_t methodDepth();
    // "stacktrace:\n" and one "%s\n" per method from the top, cut to 511 chars.
    static String* formatStackTrace();
    static void formatStackTrace(char* buffer, size_t size);
    static void logStackTrace();

    // Hooks for the layers above (the shell): called at the start of close()
    // before the final collection, e.g. to destroy the MIDlet.
    std::function<void(Application&)> onClose;

private:
    Application() = default;
    ~Application();

    std::unique_ptr<MemoryManager> m_objectHeap;
    std::unique_ptr<MemoryManager> m_dataHeap;
    std::unique_ptr<ObjectManager> m_objects;
    StaticClass* m_statics = nullptr;
    rt::ThreadTable* m_threads = nullptr;
    std::unique_ptr<rt::MonitorTable> m_monitors;
    Object* m_roots[kRootSlots] = {};
};

// RAII method-name entry: pushes name, pops at scope end.
class MethodScope {
public:
    explicit MethodScope(const char* name) { Application::pushMethod(name); }
    ~MethodScope() { Application::popMethod(); }
    MethodScope(const MethodScope&) = delete;
    MethodScope& operator=(const MethodScope&) = delete;
};

namespace rt {
// The main program records the top of its stack first thing (address of a
// local of main()); Application::init uses it for the main thread.
void recordMainStackTop(void* top);
void* mainStackTop();
}  // namespace rt

#define BRAMBLE_RECORD_STACK_TOP() ::rt::recordMainStackTop(__builtin_frame_address(0))
