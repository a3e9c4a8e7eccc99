// DummyPlayer (see dummy_player.h).
#include "media/dummy_player.h"

#include "runtime/string.h"

void DummyPlayer::finalize() {
    close();
    Object::finalize();
}

void* DummyPlayer::getInterface(jint id) {
    switch (id) {
    case media::kPlayerId: return static_cast<javax_microedition_media_Player*>(this);
    case media::kControllableId:
        return static_cast<javax_microedition_media_Controllable*>(static_cast<javax_microedition_media_Player*>(this));
    case media::kVolumeControlId: return static_cast<javax_microedition_media_control_VolumeControl*>(this);
    case media::kTempoControlId: return static_cast<javax_microedition_media_control_TempoControl*>(this);
    case media::kRateControlId:
        return static_cast<javax_microedition_media_control_RateControl*>(
            static_cast<javax_microedition_media_control_TempoControl*>(this));
    default: return nullptr;
    }
}

Object* DummyPlayer::getControl(String* name) {
    if (media::nameIs(name, "VolumeControl") || media::nameIs(name, "RateControl") ||
        media::nameIs(name, "TempoControl"))
        return this;
    return nullptr;
}

String* DummyPlayer::getContentType() { return String::fromLatin1("audio/dummy"); }
