// The converted halves of java_lang_Thread, java_lang_Runtime and
// java_lang_System, and the audio-clip class com_samsung_util_AudioClip.
//
// java_lang_Thread itself (fields, run, toString, setPriority, the natives)
// is the runtime's (runtime/javathread.h); this adds the constructor body
// that takes the creating thread's priority. The System class initialiser
// builds System.out/System.err and the property table that
// java_lang_System::getProperty looks keys up in; the Runtime initialiser
// makes the one Runtime object. All three live in the statics block.
#pragma once

#include "runtime/javathread.h"
#include "runtime/object.h"
#include "runtime/statics.h"

// --- java.lang.Thread -----------------------------------------------------------

namespace javalib {
// The body of Thread(Runnable target) and Thread() (target null), also run
// by java_util_TimerThread's constructor: priority 0 and target null, then
// priority = the creating thread's getPriority() (5 on a thread without a
// Thread object), target stored, and setPriority(priority) last, which
// throws java_lang_IllegalArgumentException when the creator's priority
// lies outside 1-10 (priority and target are then already stored).
void constructThread(java_lang_Thread* thread, Object* target);
}  // namespace javalib

// --- java.lang.Runtime ------------------------------------------------------------

class java_lang_Runtime : public Object {
public:
    java_lang_Runtime() : Object(cid::java_lang_Runtime) {}
    // Slots 6 and 7: empty in the converted class.
    virtual void exit(jint) {}
    virtual void gc() {}
    // The one Runtime object (made by the class initialiser, run last).
    static java_lang_Runtime* getRuntime();
};

// --- java.lang.System (converted half) ----------------------------------------------

struct java_lang_System_Statics {
    Object* out;    // java_io_PrintStream over a java_io_ConsoleOutputStream
    Object* err;    // the same stream
    Object* props;  // java_util_Hashtable: pool entry 190 -> pool entry 191
};
// Null before the application exists.
java_lang_System_Statics* systemStatics();

// --- com.samsung.util.AudioClip ---------------------------------------------------------

class com_samsung_util_AudioClip : public Object {
public:
    // Field reset: player null (registered with the collector).
    com_samsung_util_AudioClip();

    // Constructor (int type, String location): player = createPlayer(location);
    // a java_lang_Exception from it is caught and dropped. type is unused.
    static void initLocation(com_samsung_util_AudioClip* clip, jint type, String* location);
    // Native: a clip by location never has a player.
    static Object* createPlayer(String* location) { return nullptr; }

    jboolean isAvailable() { return 1; }
    // The player's stop, start and stop; nothing without a player.
    void pause();
    void resume();
    void stop();

    // The media layer reaches its Player interface for the clip (Player
    // slots 4 start and 5 stop); it installs these at start.
    struct PlayerCalls {
        void (*start)(Object* player);
        void (*stop)(Object* player);
    };
    static void setPlayerCalls(const PlayerCalls* calls);

    Object* m_player;
};

// Contributes the statics of System, Boolean and Runtime, the factory rows
// of the wrappers and Runtime, and the property look-up of getProperty.
// Call once before Application::init.
void registerLangStatics();
