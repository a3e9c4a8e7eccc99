// The software mixer: format conversion, linear resampling, loops, volumes
// and the delivery of done callbacks outside the device lock.
#include "platform/audio/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform::audio {

struct Mixer::Voice {
    VoiceId id = 0;
    WaveFormat format;
    std::shared_ptr<DoneCallback> callback;
    std::deque<WaveBuffer*> queue;
    std::uint64_t pos = 0;        // 32.32 frame position in the front buffer
    std::uint64_t consumed = 0;   // 32.32 frames played since open or reset
    std::uint32_t playsLeft = 0;  // plays of the front buffer still to come, this one included
    std::uint32_t volume = kFullVolume;
    std::uint32_t rate = kUnityRate;
    bool paused = false;
    int inFlight = 0;  // callbacks of this voice being delivered by the callback thread

    std::uint32_t framesOf(const WaveBuffer& b) const { return b.length / format.blockAlign; }
};

namespace {

bool playable(const WaveFormat& f) {
    if (f.formatTag != 1) return false;
    if (f.channels < 1 || f.channels > 8) return false;
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return false;
    if (f.samplesPerSec < 1000 || f.samplesPerSec > 768000) return false;
    return f.blockAlign == f.channels * f.bitsPerSample / 8;
}

inline float sampleAt(const WaveFormat& f, const std::uint8_t* frame, unsigned channel) {
    if (f.bitsPerSample == 8) return (static_cast<int>(frame[channel]) - 128) * (1.0f / 128.0f);
    const std::uint8_t* p = frame + 2 * channel;
    auto s = static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
    return s * (1.0f / 32768.0f);
}

// Left and right of one frame: mono goes to both sides; with more than two
// channels the even ones are averaged to the left and the odd ones to the right.
inline void frameLR(const WaveFormat& f, const std::uint8_t* frame, float& l, float& r) {
    if (f.channels == 1) {
        l = r = sampleAt(f, frame, 0);
        return;
    }
    if (f.channels == 2) {
        l = sampleAt(f, frame, 0);
        r = sampleAt(f, frame, 1);
        return;
    }
    float sl = 0, sr = 0;
    unsigned nl = 0, nr = 0;
    for (unsigned c = 0; c < f.channels; ++c) {
        if (c % 2 == 0) {
            sl += sampleAt(f, frame, c);
            ++nl;
        } else {
            sr += sampleAt(f, frame, c);
            ++nr;
        }
    }
    l = sl / static_cast<float>(nl);
    r = sr / static_cast<float>(nr);
}

bool onThread(const std::thread& t) { return t.get_id() == std::this_thread::get_id(); }

}  // namespace

Mixer::Mixer(std::uint32_t outputRate) : outputRate_(outputRate ? outputRate : 44100) {
    dispatcher_ = std::thread([this] { dispatchLoop(); });
}

Mixer::~Mixer() {
    std::vector<VoiceId> ids;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& [id, v] : voices_) ids.push_back(id);
    }
    for (VoiceId id : ids) close(id);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    cv_.notify_all();
    if (onThread(dispatcher_))
        dispatcher_.detach();
    else
        dispatcher_.join();
}

Mixer::Voice* Mixer::find(VoiceId id) const {
    auto it = voices_.find(id);
    return it == voices_.end() ? nullptr : it->second.get();
}

std::uint32_t Mixer::masterVolume() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return master_;
}

void Mixer::setMasterVolume(std::uint32_t volume) {
    std::lock_guard<std::mutex> lock(mutex_);
    master_ = volume;
}

std::size_t Mixer::voiceCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return voices_.size();
}

bool Mixer::busy() const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& [id, v] : voices_)
        if (!v->paused && !v->queue.empty()) return true;
    return false;
}

// --- rendering --------------------------------------------------------------

// Marks the front buffer done and queues its callback; the next buffer starts
// where this one ended (the fraction carries over).
void Mixer::finishFront(Voice& v) {
    WaveBuffer* b = v.queue.front();
    v.queue.pop_front();
    std::uint64_t end = static_cast<std::uint64_t>(v.framesOf(*b)) << 32;
    v.pos = v.pos >= end ? v.pos - end : 0;
    b->flags.fetch_or(buffer_flag::Done);
    b->flags.fetch_and(~buffer_flag::InQueue);
    done_.push_back({v.id, b});
    if (!v.queue.empty()) v.playsLeft = std::max<std::uint32_t>(1, v.queue.front()->loops);
}

// Moves past every play that has ended. False when the queue ran empty.
bool Mixer::settleFront(Voice& v) {
    while (!v.queue.empty()) {
        std::uint32_t frames = v.framesOf(*v.queue.front());
        std::uint64_t end = static_cast<std::uint64_t>(frames) << 32;
        if (frames > 0 && v.pos < end) return true;
        if (frames > 0 && v.playsLeft > 1) {
            --v.playsLeft;
            v.pos -= end;
            continue;
        }
        finishFront(v);
    }
    v.pos = 0;
    return false;
}

void Mixer::mixVoice(Voice& v, std::size_t frames) {
    const WaveFormat& f = v.format;
    const std::uint64_t step =
        ((static_cast<std::uint64_t>(f.samplesPerSec) * v.rate) << 16) / outputRate_;
    const float gain = static_cast<float>(v.volume & 0xFFFF) / 65535.0f;
    float* out = accum_.data();
    for (std::size_t i = 0; i < frames; ++i) {
        if (!settleFront(v)) return;
        const WaveBuffer& b = *v.queue.front();
        const std::uint32_t n = v.framesOf(b);
        const std::uint32_t idx = static_cast<std::uint32_t>(v.pos >> 32);
        const float frac = static_cast<float>(v.pos & 0xFFFFFFFFu) * (1.0f / 4294967296.0f);
        float l0, r0;
        frameLR(f, b.data + static_cast<std::size_t>(idx) * f.blockAlign, l0, r0);
        float l = l0, r = r0;
        if (frac > 0.0f) {
            // The next frame: within the buffer, the start again when it loops,
            // else the last frame held.
            std::uint32_t next = idx + 1 < n ? idx + 1 : (v.playsLeft > 1 ? 0 : idx);
            float l1, r1;
            frameLR(f, b.data + static_cast<std::size_t>(next) * f.blockAlign, l1, r1);
            l += (l1 - l0) * frac;
            r += (r1 - r0) * frac;
        }
        out[2 * i] += l * gain;
        out[2 * i + 1] += r * gain;
        v.pos += step;
        v.consumed += step;
    }
    settleFront(v);  // a buffer that ended with this block is done now, not a block later
}

void Mixer::render(std::int16_t* out, std::size_t frames) {
    bool anyDone = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (accum_.size() < frames * 2) accum_.resize(frames * 2);
        std::fill(accum_.begin(), accum_.begin() + static_cast<std::ptrdiff_t>(frames * 2), 0.0f);
        const std::size_t before = done_.size();
        for (auto& [id, v] : voices_)
            if (!v->paused) mixVoice(*v, frames);
        anyDone = done_.size() != before;
        const float gl = static_cast<float>(master_ & 0xFFFF) / 65535.0f;
        const float gr = static_cast<float>(master_ >> 16) / 65535.0f;
        for (std::size_t i = 0; i < frames; ++i) {
            for (int c = 0; c < 2; ++c) {
                float s = accum_[2 * i + c] * (c == 0 ? gl : gr) * 32768.0f;
                s = std::clamp(s, -32768.0f, 32767.0f);
                out[2 * i + c] = static_cast<std::int16_t>(std::lrint(s));
            }
        }
    }
    if (anyDone) cv_.notify_all();
}

// --- done callbacks -----------------------------------------------------------

void Mixer::dispatchLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        cv_.wait(lock, [this] { return quit_ || !done_.empty(); });
        if (done_.empty()) {
            if (quit_) return;
            continue;
        }
        Done d = done_.front();
        done_.pop_front();
        Voice* v = find(d.voice);
        if (!v) continue;
        std::shared_ptr<DoneCallback> cb = v->callback;
        ++v->inFlight;
        lock.unlock();
        if (cb && *cb) (*cb)(*d.buffer);
        lock.lock();
        if (Voice* still = find(d.voice)) --still->inFlight;
        cv_.notify_all();
    }
}

// Under the lock: waits until the callback thread is not calling this voice
// back (unless that is the calling thread), then takes every buffer that is
// queued or done but not yet called back, in the order they were written.
std::vector<WaveBuffer*> Mixer::takePending(std::unique_lock<std::mutex>& lock, Voice& v, VoiceId id) {
    if (!onThread(dispatcher_)) cv_.wait(lock, [&] { return v.inFlight == 0; });
    std::vector<WaveBuffer*> out;
    for (auto it = done_.begin(); it != done_.end();) {
        if (it->voice == id) {
            out.push_back(it->buffer);
            it = done_.erase(it);
        } else {
            ++it;
        }
    }
    for (WaveBuffer* b : v.queue) {
        b->flags.fetch_or(buffer_flag::Done);
        b->flags.fetch_and(~buffer_flag::InQueue);
        out.push_back(b);
    }
    v.queue.clear();
    v.pos = 0;
    v.consumed = 0;
    v.playsLeft = 0;
    return out;
}

WaveResult Mixer::reset(VoiceId id) {
    std::unique_lock<std::mutex> lock(mutex_);
    Voice* v = find(id);
    if (!v) return WaveResult::InvalidHandle;
    std::vector<WaveBuffer*> pending = takePending(lock, *v, id);
    std::shared_ptr<DoneCallback> cb = v->callback;
    lock.unlock();
    for (WaveBuffer* b : pending)
        if (cb && *cb) (*cb)(*b);
    return WaveResult::Ok;
}

WaveResult Mixer::close(VoiceId id) {
    std::unique_lock<std::mutex> lock(mutex_);
    Voice* v = find(id);
    if (!v) return WaveResult::InvalidHandle;
    std::vector<WaveBuffer*> pending = takePending(lock, *v, id);
    std::shared_ptr<DoneCallback> cb = v->callback;
    voices_.erase(id);  // from here no render or callback thread sees the voice
    lock.unlock();
    for (WaveBuffer* b : pending)
        if (cb && *cb) (*cb)(*b);
    return WaveResult::Ok;
}

// --- voice operations -----------------------------------------------------------

WaveResult Mixer::open(const WaveFormat& format, DoneCallback callback, VoiceId* id) {
    if (!id) return WaveResult::InvalidParam;
    if (!playable(format)) return WaveResult::BadFormat;
    auto v = std::make_unique<Voice>();
    v->format = format;
    v->callback = std::make_shared<DoneCallback>(std::move(callback));
    std::lock_guard<std::mutex> lock(mutex_);
    while (nextId_ == 0 || voices_.count(nextId_)) ++nextId_;
    *id = nextId_++;
    v->id = *id;
    voices_.emplace(*id, std::move(v));
    return WaveResult::Ok;
}

WaveResult Mixer::prepare(VoiceId id, WaveBuffer& buffer) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!find(id)) return WaveResult::InvalidHandle;
    if (!buffer.data && buffer.length > 0) return WaveResult::InvalidParam;
    if (buffer.flags.load() & buffer_flag::InQueue) return WaveResult::StillPlaying;
    buffer.flags.store(buffer_flag::Prepared);
    return WaveResult::Ok;
}

WaveResult Mixer::unprepare(VoiceId id, WaveBuffer& buffer) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!find(id)) return WaveResult::InvalidHandle;
    if (buffer.flags.load() & buffer_flag::InQueue) return WaveResult::StillPlaying;
    buffer.flags.fetch_and(~buffer_flag::Prepared);
    return WaveResult::Ok;
}

WaveResult Mixer::write(VoiceId id, WaveBuffer& buffer) {
    std::lock_guard<std::mutex> lock(mutex_);
    Voice* v = find(id);
    if (!v) return WaveResult::InvalidHandle;
    std::uint32_t flags = buffer.flags.load();
    if (!(flags & buffer_flag::Prepared)) return WaveResult::Unprepared;
    if (flags & buffer_flag::InQueue) return WaveResult::StillPlaying;
    // A buffer already written once may still wait for its callback.
    for (const Done& d : done_)
        if (d.buffer == &buffer) return WaveResult::StillPlaying;
    buffer.flags.store(buffer_flag::Prepared | buffer_flag::InQueue);
    if (v->queue.empty()) {
        v->pos = 0;
        v->playsLeft = std::max<std::uint32_t>(1, buffer.loops);
    }
    v->queue.push_back(&buffer);
    return WaveResult::Ok;
}

WaveResult Mixer::pause(VoiceId id) {
    std::lock_guard<std::mutex> lock(mutex_);
    Voice* v = find(id);
    if (!v) return WaveResult::InvalidHandle;
    v->paused = true;
    return WaveResult::Ok;
}

WaveResult Mixer::restart(VoiceId id) {
    std::lock_guard<std::mutex> lock(mutex_);
    Voice* v = find(id);
    if (!v) return WaveResult::InvalidHandle;
    v->paused = false;
    return WaveResult::Ok;
}

WaveResult Mixer::getVolume(VoiceId id, std::uint32_t* volume) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Voice* v = find(id);
    if (!v) return WaveResult::InvalidHandle;
    if (!volume) return WaveResult::InvalidParam;
    *volume = v->volume;
    return WaveResult::Ok;
}

WaveResult Mixer::setVolume(VoiceId id, std::uint32_t volume) {
    std::lock_guard<std::mutex> lock(mutex_);
    Voice* v = find(id);
    if (!v) return WaveResult::InvalidHandle;
    v->volume = volume;
    return WaveResult::Ok;
}

WaveResult Mixer::getPlaybackRate(VoiceId id, std::uint32_t* rate) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Voice* v = find(id);
    if (!v) return WaveResult::InvalidHandle;
    if (!rate) return WaveResult::InvalidParam;
    *rate = v->rate;
    return WaveResult::Ok;
}

WaveResult Mixer::setPlaybackRate(VoiceId id, std::uint32_t rate) {
    std::lock_guard<std::mutex> lock(mutex_);
    Voice* v = find(id);
    if (!v) return WaveResult::InvalidHandle;
    if (rate < kMinRate || rate > kMaxRate) return WaveResult::InvalidParam;
    v->rate = rate;
    return WaveResult::Ok;
}

WaveResult Mixer::getPositionMs(VoiceId id, std::uint32_t* ms) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Voice* v = find(id);
    if (!v) return WaveResult::InvalidHandle;
    if (!ms) return WaveResult::InvalidParam;
    std::uint64_t frames = v->consumed >> 32;
    *ms = static_cast<std::uint32_t>(frames * 1000 / v->format.samplesPerSec);
    return WaveResult::Ok;
}

}  // namespace platform::audio
