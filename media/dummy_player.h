// DummyPlayer: the silent player for empty sound data and for data or
// content types no other player takes. It touches no device and no file,
// only walks through the player states, and its controls answer fixed values.
#pragma once

#include "media/player.h"

class DummyPlayer : public Object,
                    public javax_microedition_media_Player,
                    public javax_microedition_media_control_VolumeControl,
                    public javax_microedition_media_control_TempoControl {
public:
    DummyPlayer() : Object(cid::Object) { m_state = media::kStateUnrealized; }

    void finalize() override;
    void* getInterface(jint interfaceId) override;

    // Player: every operation sets its state, whatever the state was.
    Object* getControl(String* name) override;
    ObjectArray* getControls() override { return nullptr; }
    void realize() override { m_state = media::kStateRealized; }
    void prefetch() override { m_state = media::kStatePrefetched; }
    void start() override { m_state = media::kStateStarted; }
    void stop() override { m_state = media::kStatePrefetched; }
    void deallocate() override { m_state = media::kStateRealized; }
    void close() override { m_state = media::kStateClosed; }
    jlong setMediaTime(jlong) override { return -1; }
    jlong getMediaTime() override { return -1; }
    jint getState() override { return m_state; }
    jlong getDuration() override { return -1; }
    String* getContentType() override;  // "audio/dummy" in every state
    void setLoopCount(jint) override {}

    // VolumeControl
    jint getLevel() override { return -1; }
    jboolean isMuted() override { return 0; }
    jint setLevel(jint) override { return 0; }
    void setMute(jboolean) override {}

    // RateControl and TempoControl
    jint getMinRate() override { return 0; }
    jint getMaxRate() override { return 0; }
    jint getRate() override { return 0; }
    jint setRate(jint) override { return 0; }
    jint setTempo(jint) override { return -1; }
    jint getTempo() override { return -1; }

    jint m_state;
};
