// SoundPlayerOGG (see ogg_player.h).
#include "media/ogg_player.h"

#include "media/player_lock.h"
#include "platform/fs/fs.h"
#include "runtime/log.h"
#include "runtime/threads.h"

#include <tremor/ivorbisfile.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <new>
#include <string>

namespace pfs = platform::fs;

namespace {

std::atomic<int> g_liveOggPlayers{0};
std::mutex g_tempFiles;  // writing, opening and removing a temporary Ogg file

// The decoder reads the temporary file through the path layer.
size_t readFile(void* buffer, size_t size, size_t count, void* source) {
    if (size == 0 || count == 0) return 0;
    return static_cast<pfs::File*>(source)->read(buffer, size * count) / size;
}

int seekFile(void* source, ogg_int64_t offset, int whence) {
    const pfs::SeekFrom from = whence == SEEK_SET   ? pfs::SeekFrom::Start
                               : whence == SEEK_CUR ? pfs::SeekFrom::Current
                                                    : pfs::SeekFrom::End;
    return static_cast<pfs::File*>(source)->seek(offset, from) ? 0 : -1;
}

int closeFile(void*) { return 0; }  // the player closes its file itself

long tellFile(void* source) { return static_cast<long>(static_cast<pfs::File*>(source)->position()); }

}  // namespace

struct SoundPlayerOGG::Decoder {
    OggVorbis_File vf{};
    bool open = false;
    vorbis_info info{};
    pfs::File file;

    void clear() {
        if (open) {
            ov_clear(&vf);
            open = false;
        }
        file.close();
    }

    // Writes the bytes to the temporary file, opens the decoder on it and
    // removes the name (the open file stays readable). Native work only.
    bool openThrough(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        std::lock_guard<std::mutex> lock(g_tempFiles);
        {
            pfs::File out = pfs::File::open(path, pfs::OpenMode::Write);
            if (!out) {
                logPrintf("SoundPlayerOGG: cannot write the temporary file \"%s\"; the sound is skipped", path.c_str());
                return false;
            }
            const bool written = out.write(bytes.data(), bytes.size()) && out.close();
            if (!written) {
                logPrintf("SoundPlayerOGG: cannot write the temporary file \"%s\"; the sound is skipped", path.c_str());
                out.close();
                pfs::remove(path);
                return false;
            }
        }
        file = pfs::File::open(path, pfs::OpenMode::Read);
        pfs::remove(path);
        if (!file) {
            logPrintf("SoundPlayerOGG: cannot read the temporary file \"%s\" back", path.c_str());
            return false;
        }
        const ov_callbacks callbacks = {readFile, seekFile, closeFile, tellFile};
        const int r = ov_open_callbacks(&file, &vf, nullptr, 0, callbacks);
        if (r < 0) {
            logPrintf("SoundPlayerOGG: the sound is not an Ogg Vorbis stream (error %d)", r);
            file.close();
            return false;
        }
        open = true;
        if (const vorbis_info* vi = ov_info(&vf, -1)) info = *vi;
        return true;
    }

    // Decodes to the end, to an error, to a change of format in a chained
    // stream or to the size limit; answers false when memory ran out.
    bool decodeAll(std::vector<std::uint8_t>* pcm) {
        char work[4096];
        int firstLink = -1;
        for (;;) {
            int link = 0;
            const long n = ov_read(&vf, work, static_cast<int>(sizeof work), &link);
            if (n <= 0) {
                if (n < 0) logPrintf("SoundPlayerOGG: decoding ended by a damaged stream (error %ld)", n);
                return true;
            }
            if (firstLink < 0) {
                firstLink = link;
            } else if (link != firstLink) {
                const vorbis_info* vi = ov_info(&vf, link);
                if (!vi || vi->channels != info.channels || vi->rate != info.rate) {
                    logPrintf("SoundPlayerOGG: a chained stream changes its format; decoding ends there");
                    return true;
                }
            }
            if (pcm->size() + static_cast<std::size_t>(n) > kMaxPcmBytes) {
                logPrintf("SoundPlayerOGG: the decoded sound exceeds %zu bytes; the rest is dropped", kMaxPcmBytes);
                return true;
            }
            try {
                pcm->insert(pcm->end(), work, work + n);
            } catch (const std::bad_alloc&) {
                logPrintf("SoundPlayerOGG::readSoundFilePcmData(): decodedDataBuffer == NULL\n  tried to realloc %d bytes",
                          static_cast<int>(pcm->size() + static_cast<std::size_t>(n)));
                return false;
            }
        }
    }
};

SoundPlayerOGG::SoundPlayerOGG(const std::uint8_t* bytes, std::size_t length)
    : SoundPlayerWAVE(bytes, length), m_decoder(new Decoder) {
    m_contentType = "audio/ogg";
    g_liveOggPlayers.fetch_add(1);
}

int SoundPlayerOGG::liveCount() { return g_liveOggPlayers.load(); }

void SoundPlayerOGG::finalize() {
    close();
    delete m_decoder;
    m_decoder = nullptr;
    SoundPlayerWAVE::finalize();
}

jint SoundPlayerOGG::readSoundFileHeader(std::uint8_t*) {
    const Core& c = *m_core;
    Decoder& d = *m_decoder;
    if (!c.hasSoundFile || c.soundFile.empty()) return 0;
    d.clear();
    char path[48];
    std::snprintf(path, sizeof path, "\\temp\\sound%d.%s", g_liveOggPlayers.load(), "ogg");
    bool ok;
    {
        BlockingRegion blocking;  // file work: the collector may run meanwhile
        ok = d.openThrough(path, c.soundFile);
    }
    return ok ? 1 : 0;
}

jint SoundPlayerOGG::parseSoundFileHeader() {
    if (!readSoundFileHeader(nullptr)) return 0;
    Core& c = *m_core;
    Decoder& d = *m_decoder;
    const auto channels = static_cast<std::uint16_t>(d.info.channels);
    const auto rate = static_cast<std::uint32_t>(d.info.rate);
    c.format.formatTag = 1;
    c.format.channels = channels;
    c.format.samplesPerSec = rate;
    c.format.bitsPerSample = 16;
    c.format.blockAlign = static_cast<std::uint16_t>(channels * 2);
    c.format.avgBytesPerSec = rate * channels * 2;
    const ogg_int64_t ms = ov_time_total(&d.vf, -1);
    c.duration = ms < 0 ? -1 : static_cast<jlong>(ms) * 1000;
    return 1;
}

jint SoundPlayerOGG::readSoundFilePcmData(std::vector<std::uint8_t>* out) {
    Core& c = *m_core;
    Decoder& d = *m_decoder;
    if (!d.open) return -1;
    std::vector<std::uint8_t> pcm;
    bool ok;
    {
        BlockingRegion blocking;  // decoding takes a while and touches only native memory
        ok = d.decodeAll(&pcm);
        d.clear();
    }
    if (!ok) return -1;
    c.pcmDataLength = static_cast<std::uint32_t>(pcm.size());
    if (pcm.empty()) return -1;
    out->swap(pcm);
    return static_cast<jint>(c.pcmDataLength);
}

void SoundPlayerOGG::close() {
    if (!m_core) return;
    media::PlayerLock lock(m_core->op);
    if (state() != media::kStateClosed) {
        g_liveOggPlayers.fetch_sub(1);
        if (m_decoder) m_decoder->clear();
    }
    SoundPlayerWAVE::close();
}
