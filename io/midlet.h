// javax_microedition_midlet_MIDlet: the application descriptor "app.jad"
// turned into the MIDlet's property table, getAppProperty, platformRequest,
// and the static field holding the running MIDlet.
//
// The descriptor's line format is io/jad.h.
//
// What needs the shell (the confirmation box, minimising the window, the
// browser, the running flag) is reached through handlers the shell
// registers; without them the request is logged and refused.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "io/jad.h"
#include "runtime/object.h"
#include "runtime/statics.h"

class java_util_Hashtable;
class String;

class javax_microedition_midlet_MIDlet : public Object {
public:
    // Fills the property table from "app.jad" (bramble::io::loadJadProperties).
    explicit javax_microedition_midlet_MIDlet(uint16_t classId = cid::javax_microedition_midlet_MIDlet);

    // Life cycle, called by the application (the game's MIDlet overrides
    // them: its slots 7, 8 and 9).
    virtual void startApp() {}
    virtual void pauseApp() {}
    virtual void destroyApp(jboolean unconditional) {}

    // "microedition.platform" answers "windows mobile"; other keys come from
    // the descriptor (null when absent).
    String* getAppProperty(String* key);
    // Asks the shell to open the URL (at most 255 characters are passed);
    // always answers 0: the MIDlet need not exit.
    jboolean platformRequest(String* url);
    // Ends the application (clears the shell's running flag).
    static void notifyDestroyed();

    // Static field: the running MIDlet (set by the application at start).
    static javax_microedition_midlet_MIDlet* getRunning();
    static void setRunning(javax_microedition_midlet_MIDlet* midlet);

    java_util_Hashtable* m_properties;
};

struct MIDlet_Statics {
    javax_microedition_midlet_MIDlet* running;
};
extern StaticsContribution g_MIDletStatics;

namespace bramble::io {

// The whole descriptor "app.jad" from the resources, one character per
// byte; null when there is none.
String* loadJadProperties();

// Shell handlers. platformRequest gets the URL (UTF-8); it shows the
// confirmation, minimises or restores the game and starts the browser. It
// runs inside a BlockingRegion (it waits for the user), so it must not
// touch Java objects.
using PlatformRequestHandler = std::function<void(const std::string& url)>;
void setPlatformRequestHandler(PlatformRequestHandler handler);
using NotifyDestroyedHandler = std::function<void()>;
void setNotifyDestroyedHandler(NotifyDestroyedHandler handler);

}  // namespace bramble::io
