// The sound front end (sound.h): KTLibPlayer's tables, rings and servicing,
// and cGame's sound routines. All on the game thread.
#include "game/flow/sound.h"

#include <string>

#include "display/lcdui/display.h"
#include "game/data/pack.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "javalib/inputstreams.h"
#include "javalib/lang.h"
#include "javalib/outputstreams.h"
#include "media/manager.h"
#include "media/player.h"
#include "runtime/application.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/stringbuffer.h"
#include "runtime/system.h"

namespace game {

namespace {

constexpr jint kRingInts = kRingRecords * kRecordInts;
constexpr jint kStarted = media::kStateStarted;

Object* defaultMaker(java_io_InputStream* stream, String* type) {
    return javax_microedition_media_Manager::createPlayer(stream, type);
}
PlayerMaker g_maker = &defaultMaker;

javax_microedition_media_Player* asPlayer(Object* o) {
    return o ? interfaceOf<javax_microedition_media_Player>(o, media::kPlayerId) : nullptr;
}

jint intAt(IntArray* a, jint i) { return a && a->inBounds(i) ? a->data()[i] : 0; }
void intPut(IntArray* a, jint i, jint v) {
    if (a && a->inBounds(i)) a->data()[i] = v;
}
Object* objAt(ObjectArray* a, jint i) { return a && a->inBounds(i) ? a->data()[i] : nullptr; }
void objPut(ObjectArray* a, jint i, Object* v) {
    if (a && a->inBounds(i)) a->data()[i] = v;
}

bool validChannel(jint c) { return c >= 0 && c < ktl().channelCount && ktl().channelState && c < ktl().channelState->length(); }
bool validSound(jint id) { return id >= 0 && id < ktl().soundCount; }

// A java_lang_Exception pending after a media call: dropped (true); any
// other throwable stays pending for the caller.
bool dropPendingException() { return catchException(); }

Object* makePlayerFor(jint id) {
    ByteArray* data = static_cast<ByteArray*>(objAt(ktl().soundData, id));
    if (!data) return nullptr;
    auto* stream = newObject<java_io_ByteArrayInputStream>(data);
    return g_maker(stream, getSoundContentType(intAt(ktl().soundType, id)));
}

}  // namespace

void setPlayerMaker(PlayerMaker maker) { g_maker = maker ? maker : &defaultMaker; }

namespace KTLibPlayer {

void allocateChannelTables(jint soundCount) {
    if (soundCount < 0) soundCount = 0;
    const jint n = ktl().channelCount;
    ktl().channelPlayer = newObjectArray(cid::Object, n);
    ktl().channelSound = newIntArray(n);
    ktl().channelPriority = newIntArray(n);
    ktl().channelState = newIntArray(n);
    ktl().channelVolume = newIntArray(n);
    ktl().channelLoopCount = newIntArray(n);
    ktl().requestRing = newIntArray(n * kRingInts);
    ktl().requestHead = newIntArray(n);
    ktl().requestCount = newIntArray(n);
    ktl().currentRequest = newIntArray(6);
    for (jint c = 0; c < n; ++c) ktl().channelSound->data()[c] = -1;
    ktl().soundCount = soundCount;
    ktl().soundData = newObjectArray(cid::ByteArray, soundCount);
    ktl().soundType = newIntArray(soundCount);
    ktl().soundPlayer = newObjectArray(cid::Object, soundCount);
    ktl().masterVolume = 100;
    ktl().soundEnabled = 1;
}

void loadSound(ByteArray* data, jint typeIndex, jint id, bool createNow) {
    if (!ktl().soundEnabled || !data || data->length() < 1) return;
    if (!validSound(id)) {
        logPrintf("KTLibPlayer.loadSound: sound id %d outside 0-%d", id, ktl().soundCount - 1);
        return;
    }
    objPut(ktl().soundData, id, data);
    intPut(ktl().soundType, id, typeIndex);
    if (!createNow) return;
    Object* player = makePlayerFor(id);
    if (Application::pendingException()) return;
    objPut(ktl().soundPlayer, id, player);
    if (auto* p = asPlayer(player)) {
        p->realize();
        if (Application::pendingException()) return;
        p->prefetch();
        if (Application::pendingException()) return;
    }
    objPut(ktl().soundData, id, nullptr);
}

bool isSoundLoaded(jint id) {
    ObjectArray* data = ktl().soundData;
    if (data && id >= 0 && id < data->length() && data->data()[id]) return true;
    ObjectArray* players = ktl().soundPlayer;
    return players && id >= 0 && id < players->length() && players->data()[id];
}

void request(jint channel, jint command, jint id, jint a, jint b, jint c) {
    if (!ktl().soundEnabled) return;
    if (!validChannel(channel)) {
        logPrintf("KTLibPlayer.request: channel %d outside 0-%d", channel, ktl().channelCount - 1);
        return;
    }
    jint* ring = ktl().requestRing->data() + channel * kRingInts;
    jint& head = ktl().requestHead->data()[channel];
    jint& count = ktl().requestCount->data()[channel];
    for (jint k = 1; k <= count; ++k) {
        jint* rec = ring + ((head + count - k) % kRingRecords) * kRecordInts;
        if (rec[0] != command) continue;
        if ((command == 1 || command == 3) && rec[2] < a) continue;
        rec[0] = 0;
    }
    if (count >= kRingRecords) {
        // Full: the oldest record gives way to the newest.
        head = (head + 1) % kRingRecords;
        count -= 1;
    }
    jint* rec = ring + ((head + count) % kRingRecords) * kRecordInts;
    rec[0] = command;
    rec[1] = id;
    rec[2] = a;
    rec[3] = b;
    rec[4] = c;
    count += 1;
}

void play(jint channel, jint id, jint c, jint b, jint a) {
    if (id >= 0 && b != 0) request(channel, 3, id, a, b, c);
}
void stop(jint channel) { request(channel, 4, -1, -1, -1, -1); }
void requestCommand(jint channel, jint command) { request(channel, command, -1, -1, -1, -1); }

void dequeue(jint channel, IntArray* out) {
    if (!out || out->length() < 6 || !validChannel(channel)) return;
    jint& head = ktl().requestHead->data()[channel];
    jint& count = ktl().requestCount->data()[channel];
    out->data()[5] = count;
    if (count <= 0) return;
    const jint* rec = ktl().requestRing->data() + channel * kRingInts + head * kRecordInts;
    for (int i = 0; i < kRecordInts; ++i) out->data()[i] = rec[i];
    head = (head + 1) % kRingRecords;
    count -= 1;
}

namespace {
void runCommand(jint channel, const jint* r) {
    switch (r[0]) {
    case 1: createPlayer(channel, r[1], r[2]); break;
    case 2: releaseChannel(channel); break;
    case 3: playOnChannel(channel, r[1], r[2], r[3], r[4]); break;
    case 4: stopChannel(channel); break;
    case 5: pauseChannel(channel); break;
    case 6: resumeChannel(channel); break;
    default: break;
    }
}
}  // namespace

void update() {
    if (!ktl().soundEnabled) return;
    for (jint channel = 0; channel < ktl().channelCount; ++channel) {
        IntArray* cur = ktl().currentRequest;
        dequeue(channel, cur);
        if (cur->data()[5] < 1) continue;
        if (ktl().channelState->data()[channel] == 2) {
            const bool active = isChannelActive(channel);
            if (dropPendingException() || !active) ktl().channelState->data()[channel] = 1;
        }
        while (ktl().currentRequest->data()[5] >= 1) {
            jint rec[kRecordInts];
            for (int i = 0; i < kRecordInts; ++i) rec[i] = ktl().currentRequest->data()[i];
            runCommand(channel, rec);
            if (Application::pendingException() && !dropPendingException()) return;
            dequeue(channel, ktl().currentRequest);
        }
    }
}

void service() { update(); }

void stopAllChannels() {
    for (jint c = 0; c < ktl().channelCount; ++c) request(c, 4, -1, -1, -1, -1);
    update();
}

bool isChannelActive(jint channel) {
    if (!ktl().soundEnabled || !validChannel(channel)) return false;
    auto* p = asPlayer(objAt(ktl().channelPlayer, channel));
    return p && p->getState() == kStarted;
}

jint getSoundState(jint id) {
    if (!ktl().soundEnabled || !validSound(id)) return -1;
    auto* p = asPlayer(objAt(ktl().soundPlayer, id));
    return p ? p->getState() : -1;
}

jint getChannelSound(jint channel) {
    if (!ktl().soundEnabled || !ktl().channelSound || !validChannel(channel)) return -1;
    return ktl().channelSound->data()[channel];
}

void createPlayer(jint channel, jint id, jint a) {
    if (!validChannel(channel)) return;
    IntArray* state = ktl().channelState;
    if (state->data()[channel] == 2 && ktl().channelPriority->data()[channel] < a) return;
    if (ktl().channelSound->data()[channel] == id && state->data()[channel] != 0) return;
    if (!validSound(id)) {
        logPrintf("KTLibPlayer.createPlayer: sound id %d outside 0-%d", id, ktl().soundCount - 1);
        return;
    }
    const jint previous = ktl().channelSound->data()[channel];
    releaseChannel(channel);
    Object* player = objAt(ktl().soundPlayer, id);
    if (!player) {
        if (!objAt(ktl().soundData, id)) return;
        player = makePlayerFor(id);
        if (Application::pendingException()) return;
    }
    objPut(ktl().channelPlayer, channel, player);
    if (!player) return;
    ktl().channelState->data()[channel] = 1;
    ktl().channelSound->data()[channel] = id;
    if (validSound(previous) && getSoundState(previous) == kStarted) {
        if (auto* p = asPlayer(objAt(ktl().soundPlayer, previous))) p->stop();
    }
}

void releaseChannel(jint channel) {
    if (!validChannel(channel)) return;
    if (ktl().soundEnabled) {
        Object* o = objAt(ktl().channelPlayer, channel);
        if (auto* p = asPlayer(o)) {
            p->stop();
            const jint sound = ktl().channelSound->data()[channel];
            const bool aheadOfTime = sound >= 0 && objAt(ktl().soundPlayer, sound);
            if (!aheadOfTime) p->close();
            objPut(ktl().channelPlayer, channel, nullptr);
            java_lang_System::gc();
        }
    }
    ktl().channelState->data()[channel] = 0;
    ktl().channelSound->data()[channel] = -1;
}

void playOnChannel(jint channel, jint id, jint a, jint b, jint c) {
    createPlayer(channel, id, a);
    if (Application::pendingException() || !validChannel(channel)) return;
    Object* o = objAt(ktl().channelPlayer, channel);
    auto* p = asPlayer(o);
    if (ktl().channelState->data()[channel] != 1 || !p) return;
    p->setLoopCount(c != 0 ? c : -1);
    if (Application::pendingException()) return;
    Object* control = p->getControl(StaticClass::getStringConstant(73));
    if (auto* v = control ? interfaceOf<javax_microedition_media_control_VolumeControl>(
                                control, media::kVolumeControlId)
                          : nullptr)
        v->setLevel(java::idiv(java::imul(java::imul(ktl().masterVolume, b), 100), 10000));
    p->setMediaTime(0);
    p->start();
    if (Application::pendingException()) return;
    ktl().channelState->data()[channel] = 2;
    ktl().channelVolume->data()[channel] = b;
    ktl().channelLoopCount->data()[channel] = c;
    ktl().channelPriority->data()[channel] = a;
    ktl().channelSound->data()[channel] = id;
}

void stopChannel(jint channel) {
    if (!validChannel(channel)) return;
    if (auto* p = asPlayer(objAt(ktl().channelPlayer, channel))) {
        p->stop();
        ktl().channelState->data()[channel] = 1;
    }
}

void pauseChannel(jint channel) {
    if (!validChannel(channel)) return;
    auto* p = asPlayer(objAt(ktl().channelPlayer, channel));
    if (ktl().channelState->data()[channel] == 2 && p) {
        p->stop();
        ktl().channelState->data()[channel] = 3;
    }
}

void resumeChannel(jint channel) {
    if (!validChannel(channel)) return;
    auto* p = asPlayer(objAt(ktl().channelPlayer, channel));
    if (ktl().channelState->data()[channel] == 3 && p) {
        p->start();
        ktl().channelState->data()[channel] = 2;
    }
}

}  // namespace KTLibPlayer

namespace {
std::string& traceText() {
    static std::string text;
    return text;
}
}  // namespace

const std::string& lastSoundTrace() { return traceText(); }

void playSound(jint id) {
    if (!cg().soundOn || id < 0 || id >= kSoundIds) return;
    if (id == 29) {
        const jint subtype = cg().hero ? cg().hero->subtype : -1;
        if (subtype == 242)
            id = 32;
        else if (subtype == 113 || subtype == 237)
            id = 30;
    }
    const jint loop = id == 0 ? -1 : 1;
    const jint channel = id <= 9 ? 0 : 1;
    // The trace line depends on the id alone: each is built once and kept
    // (one String per id in the flow statics), so a sound made in play
    // makes no Java object after its first time.
    if (!cg().soundTraceLines) {
        ObjectArray* lines = newObjectArray(cid::String, kSoundIds);
        cg().soundTraceLines = lines;
    }
    auto* text = static_cast<String*>(cg().soundTraceLines->data()[id]);
    if (!text) {
        StringBuffer* line = StringBuffer::make(32);
        StringBuffer::append(line, StaticClass::getStringConstant(109));
        StringBuffer::appendInt(line, channel);
        StringBuffer::append(line, StaticClass::getStringConstant(110));
        StringBuffer::appendInt(line, id);
        StringBuffer::append(line, StaticClass::getStringConstant(111));
        StringBuffer::appendInt(line, loop);
        StringBuffer::append(line, StaticClass::getStringConstant(111));
        StringBuffer::append(line, String::fromLatin1("100"));
        StringBuffer::append(line, StaticClass::getStringConstant(111));
        StringBuffer::append(line, String::fromLatin1("0"));
        text = line->toString();
        if (cg().soundTraceLines) cg().soundTraceLines->data()[id] = text;
    }
    traceText() = text ? text->toUtf8() : std::string();
    if (java_lang_System_Statics* sys = systemStatics())
        if (sys->out) static_cast<java_io_PrintStream*>(sys->out)->println(text);
    KTLibPlayer::request(channel, 3, id, 0, 100, loop);
    if (id <= 9) cg().currentMusic = id;
}

void queueStop(jint channel) { KTLibPlayer::request(channel, 4, -1, -1, -1, -1); }

void stopAllSounds() {
    java_lang_System::gc();
    queueStop(0);
    queueStop(1);
    cg().currentMusic = -1;
}

void stopAllSoundsAndDisable() {
    queueStop(0);
    queueStop(1);
    cg().currentMusic = -1;
    cg().soundOn = 0;
}

bool isMusicPlaying() {
    const bool active = KTLibPlayer::isChannelActive(0);
    if (dropPendingException() || !active) return false;
    return !(ktl().soundEnabled && ktl().channelSound->data()[0] > 8);
}

bool isMusicChannelActive() {
    const bool active = KTLibPlayer::isChannelActive(0);
    return !dropPendingException() && active;
}

void vibrate(jint ms) {
    if (cg().vibrationOn) javax_microedition_lcdui_Display::getDisplay(cg().midlet ? (Object*)cg().midlet : nullptr)->vibrate(ms);
}

void stopSound(jint id) {
    if (id == -1) {
        queueStop(0);
        queueStop(1);
        cg().currentMusic = -1;
        return;
    }
    // Before the sound table is loaded nothing can be playing.
    IntArray* table = cg().soundTable;
    if (!table || !table->inBounds(id)) return;
    const jint channel = (table->data()[id] >> 8) & 255;
    queueStop(channel);
    if (channel == 0) cg().currentMusic = -1;
}

void stopMusic(bool keep) {
    queueStop(0);
    if (!keep) cg().currentMusic = -1;
}

}  // namespace game
