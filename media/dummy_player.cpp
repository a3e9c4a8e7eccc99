// DummyPlayer (see dummy_player.h).
#include "media/dummy_player.h"

#include "runtime/string.h"

void DummyPlayer::finalize() {
    close();
    Object::finalize();
}

void* DummyPlayer::getInterface(jint id) { return media::fullPlayerInterface(this, id); }

Object* DummyPlayer::getControl(String* name) {
    if (media::nameIs(name, "VolumeControl") || media::nameIs(name, "RateControl") ||
        media::nameIs(name, "TempoControl"))
        return this;
    return nullptr;
}

String* DummyPlayer::getContentType() { return String::fromLatin1("audio/dummy"); }
