// The Java face every media player shows: the Player, Controllable and
// control interfaces in their dispatch-slot order, the interface ids, the
// player states, and the control-name test that getControl makes.
// Invariants: an interface's virtual functions are declared in the Java
// interface's slot order; Player extends Controllable (slots 0 and 1 are the
// same operations) and TempoControl extends RateControl (its slots 0-3).
#pragma once

#include "runtime/object.h"

class String;
class ObjectArray;

namespace media {

// Player states (the value getState answers).
enum : jint {
    kStateClosed = 0,
    kStateUnrealized = 100,
    kStateRealized = 200,
    kStatePrefetched = 300,
    kStateStarted = 400,
    kStatePaused = 500,   // reported by the sound server only
    kStateStopped = 600,  // reported by the sound server only
};

// Interface ids answered through getInterface.
inline constexpr jint kPlayerId = cid::javax_microedition_media_Player;                    // 102
inline constexpr jint kControllableId = cid::javax_microedition_media_Controllable;        // 99
inline constexpr jint kVolumeControlId = cid::javax_microedition_media_control_VolumeControl;  // 107
inline constexpr jint kRateControlId = cid::javax_microedition_media_control_RateControl;  // 105
inline constexpr jint kTempoControlId = cid::javax_microedition_media_control_TempoControl;  // 106

// True when name is text, compared whole and without regard to case
// (Latin-1 folding). A null name matches nothing.
bool nameIs(String* name, const char* text);

}  // namespace media

class javax_microedition_media_Controllable {
public:
    virtual Object* getControl(String* name) = 0;  // 0: the control object, or null
    virtual ObjectArray* getControls() = 0;        // 1

protected:
    ~javax_microedition_media_Controllable() = default;
};

class javax_microedition_media_Player : public javax_microedition_media_Controllable {
public:
    virtual void realize() = 0;                 // 2
    virtual void prefetch() = 0;                // 3
    virtual void start() = 0;                   // 4
    virtual void stop() = 0;                    // 5
    virtual void deallocate() = 0;              // 6
    virtual void close() = 0;                   // 7
    virtual jlong setMediaTime(jlong now) = 0;  // 8: microseconds
    virtual jlong getMediaTime() = 0;           // 9: microseconds
    virtual jint getState() = 0;                // 10
    virtual jlong getDuration() = 0;            // 11: microseconds
    virtual String* getContentType() = 0;       // 12
    virtual void setLoopCount(jint count) = 0;  // 13

protected:
    ~javax_microedition_media_Player() = default;
};

class javax_microedition_media_control_VolumeControl {
public:
    virtual jint getLevel() = 0;            // 0
    virtual jboolean isMuted() = 0;         // 1
    virtual jint setLevel(jint level) = 0;  // 2: answers the previous level
    virtual void setMute(jboolean mute) = 0;  // 3

protected:
    ~javax_microedition_media_control_VolumeControl() = default;
};

// Rates in thousandths of a percent: 100000 is normal speed.
class javax_microedition_media_control_RateControl {
public:
    virtual jint getMinRate() = 0;         // 0
    virtual jint getMaxRate() = 0;         // 1
    virtual jint getRate() = 0;            // 2
    virtual jint setRate(jint rate) = 0;   // 3

protected:
    ~javax_microedition_media_control_RateControl() = default;
};

class javax_microedition_media_control_TempoControl : public javax_microedition_media_control_RateControl {
public:
    virtual jint setTempo(jint tempo) = 0;  // 4
    virtual jint getTempo() = 0;            // 5

protected:
    ~javax_microedition_media_control_TempoControl() = default;
};

namespace media {

// The interface views of a player that answers all five faces (Player,
// Controllable, VolumeControl, RateControl, TempoControl); null otherwise.
template <typename P>
void* fullPlayerInterface(P* player, jint id) {
    switch (id) {
    case kPlayerId: return static_cast<javax_microedition_media_Player*>(player);
    case kControllableId:
        return static_cast<javax_microedition_media_Controllable*>(static_cast<javax_microedition_media_Player*>(player));
    case kVolumeControlId: return static_cast<javax_microedition_media_control_VolumeControl*>(player);
    case kTempoControlId: return static_cast<javax_microedition_media_control_TempoControl*>(player);
    case kRateControlId:
        return static_cast<javax_microedition_media_control_RateControl*>(
            static_cast<javax_microedition_media_control_TempoControl*>(player));
    default: return nullptr;
    }
}

}  // namespace media
