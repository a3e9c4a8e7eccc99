// String-literal pool loading.
#include "runtime/stringpool.h"

#include <vector>

#include "runtime/array.h"
#include "runtime/log.h"
#include "runtime/resource.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/textcodec.h"

namespace rt {

namespace {
ResourceReader& resourceReader() {
    static ResourceReader reader;
    return reader;
}
}  // namespace

void setResourceReader(ResourceReader reader) { resourceReader() = std::move(reader); }

bool readResource(const char* name, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const ResourceReader& reader = resourceReader();
    if (!reader || !name) return false;
    if (reader(name, bytes)) return true;
    bytes.clear();
    return false;
}

int loadStringPool(StaticClass& statics, const uint8_t* data, size_t size) {
    statics.m_stringPool = nullptr;
    if (!data) size = 0;
    if (size < 4) {
        logPrintf("StaticClass::loadConstants(): no count in %zu bytes; the pool is empty", size);
        statics.m_stringPool = newObjectArray(cid::String, 0);
        return 0;
    }
    int64_t count = static_cast<int32_t>((uint32_t(data[0]) << 24) | (uint32_t(data[1]) << 16) |
                                         (uint32_t(data[2]) << 8) | uint32_t(data[3]));
    if (count < 0) {
        logPrintf("StaticClass::loadConstants(): negative count %lld; the pool is empty", static_cast<long long>(count));
        count = 0;
    }
    const int64_t possible = static_cast<int64_t>((size - 4) / 2);  // every entry takes two bytes at least
    if (count > possible) {
        logPrintf("StaticClass::loadConstants(): count %lld exceeds the %zu bytes; keeping %lld entries",
                  static_cast<long long>(count), size, static_cast<long long>(possible));
        count = possible;
    }
    if (count > kMaxPoolEntries) {
        // A damaged count must not fill the object heap before the program
        // has even started: the pool keeps a bounded number of entries.
        logPrintf("StaticClass::loadConstants(): count %lld is beyond the limit of %d; keeping the first %d entries",
                  static_cast<long long>(count), kMaxPoolEntries, kMaxPoolEntries);
        count = kMaxPoolEntries;
    }
    statics.m_stringPool = newObjectArray(cid::String, static_cast<jint>(count));

    size_t pos = 4;
    int read = 0;
    std::vector<jchar> units;
    for (jint i = 0; i < count; ++i) {
        if (size - pos < 2) {
            logPrintf("StaticClass::loadConstants(): the file ends before entry %d of %lld", i, static_cast<long long>(count));
            break;
        }
        const size_t n = (size_t(data[pos]) << 8) | data[pos + 1];
        pos += 2;
        if (size - pos < n) {
            logPrintf("StaticClass::loadConstants(): entry %d runs past the end of the file", i);
            break;
        }
        units.resize(n + 1);
        size_t m = 0;
        const bool ok = text::decodeModifiedUtf8(data + pos, n, units.data(), &m);
        pos += n;
        if (!ok) {
            logPrintf("StaticClass::loadConstants(): entry %d is not modified UTF-8; left null", i);
            continue;
        }
        String* s = String::fromUnits(units.data(), static_cast<jint>(m));
        s->setCollectable(false);
        // Re-read the pool's elements: creating the String may move them.
        statics.m_stringPool->data()[i] = s;
        ++read;
    }
    return read;
}

}  // namespace rt

void StaticClass::loadConstants(StaticClass& statics) {
    std::vector<uint8_t> bytes;
    if (!rt::readResource("/constants.bin", bytes)) {
        logPrintf("StaticClass::loadConstants(): \"/constants.bin\" not found; no string pool");
        statics.m_stringPool = nullptr;
        return;
    }
    rt::loadStringPool(statics, bytes.data(), bytes.size());
}
