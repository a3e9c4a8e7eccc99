// Statics block: layout of the contributed fields, root slots, class
// records and the set-up sequence.
#include "runtime/statics.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "runtime/application.h"
#include "runtime/array.h"
#include "runtime/log.h"
#include "runtime/string.h"

namespace {
std::vector<const StaticsContribution*>& registry() {
    static std::vector<const StaticsContribution*> r;
    return r;
}
}  // namespace

void StaticClass::contribute(StaticsContribution* contribution) {
    auto& r = registry();
    if (std::find(r.begin(), r.end(), contribution) == r.end()) r.push_back(contribution);
}

const std::vector<const StaticsContribution*>& StaticClass::registered() { return registry(); }

StaticClass::StaticClass(const std::vector<const StaticsContribution*>& contributions)
    : m_contributions(contributions) {
    size_t offset = 0;
    for (const StaticsContribution* c : m_contributions) {
        size_t align = c->align ? c->align : 1;
        offset = (offset + align - 1) / align * align;
        const_cast<StaticsContribution*>(c)->offset = offset;
        offset += c->size;
    }
    m_fieldsSize = offset;
    m_fields = static_cast<char*>(std::calloc(m_fieldsSize ? m_fieldsSize : 1, 1));
    if (!m_fields) throw std::bad_alloc();
    s_latest.store(this, std::memory_order_release);
}

StaticClass::~StaticClass() {
    StaticClass* self = this;
    s_latest.compare_exchange_strong(self, nullptr);
    freeRefFieldOffsets();
    std::free(m_fields);
}

StaticClass* StaticClass::instance() {
    Application* app = Application::instance();
    return app ? &app->statics() : nullptr;
}

void StaticClass::initClassTable() {
    static const char* const kNames[] = {
#define CLASS_ENTRY(id, name, super) #name,
#include "runtime/classtable.inc"
#undef CLASS_ENTRY
    };
    static const jint kSupers[] = {
#define CLASS_ENTRY(id, name, super) super,
#include "runtime/classtable.inc"
#undef CLASS_ENTRY
    };
    for (int i = 0; i < cid::kCount; ++i) {
        Class& c = m_classes[i];
        c.m_name = kNames[i];
        c.m_id = i;
        c.m_superId = kSupers[i];
    }
}

void StaticClass::initialize(const std::function<void(StaticClass&)>& loadConstants, bool runClassInitialisers) {
    std::memset(m_fields, 0, m_fieldsSize ? m_fieldsSize : 1);
    initClassTable();
    if (loadConstants) loadConstants(*this);
    m_roots.clear();
    for (const StaticsContribution* c : m_contributions)
        for (uint32_t off : c->refOffsets) m_roots.push_back(reinterpret_cast<Object**>(m_fields + c->offset + off));
    if (!runClassInitialisers) return;
    std::vector<const StaticsContribution*> order(m_contributions);
    std::stable_sort(order.begin(), order.end(),
                     [](const StaticsContribution* a, const StaticsContribution* b) { return a->order < b->order; });
    for (const StaticsContribution* c : order) {
        if (!c->clinit) continue;
        c->clinit();
        Application::drainPendingException(c->owner);
    }
}

void StaticClass::setRefFieldOffsets(Object* object, void* const fieldPointers[], int n) {
    if (!object) {
        rt::logNullPointer();
        return;
    }
    StaticClass* self = instance();
    if (!self) return;
    Class* record = self->classOf(object);
    if (!record || record->m_refOffsets || n <= 0) return;
    auto* offsets = new uint32_t[static_cast<size_t>(n)];
    for (int i = 0; i < n; ++i)
        offsets[i] = static_cast<uint32_t>(static_cast<char*>(fieldPointers[i]) - reinterpret_cast<char*>(object));
    record->m_refOffsets = offsets;
    record->m_refCount = n;
}

void StaticClass::recordRefFieldOffsets(Object* object, std::initializer_list<const void*> fields) {
    void* pointers[64];
    int n = 0;
    for (const void* f : fields)
        if (n < 64) pointers[n++] = const_cast<void*>(f);
    setRefFieldOffsets(object, pointers, n);
}

void StaticClass::extendRefFieldOffsets(Object* object, std::initializer_list<const void*> fields) {
    StaticClass* self = instance();
    Class* record = self && object ? self->classOf(object) : nullptr;
    if (record && record->m_refOffsets && record->m_refCount < static_cast<jint>(fields.size())) {
        delete[] record->m_refOffsets;
        record->m_refOffsets = nullptr;
        record->m_refCount = 0;
    }
    setRefFieldOffsets(object, fields);
}

void StaticClass::freeRefFieldOffsets() {
    for (Class& c : m_classes) {
        delete[] c.m_refOffsets;
        c.m_refOffsets = nullptr;
        c.m_refCount = 0;
    }
}

String* StaticClass::getStringConstant(jint index) {
    StaticClass* self = instance();
    ObjectArray* pool = self ? self->m_stringPool : nullptr;
    if (!pool || index < 0 || index >= pool->length()) {
        rt::logNullPointer();
        return nullptr;
    }
    return static_cast<String*>(pool->data()[index]);
}
