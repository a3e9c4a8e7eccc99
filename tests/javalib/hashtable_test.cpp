// Hashtable: growth sequences, a random operation sequence checked against
// a bucket-for-bucket model (enumeration order included), null and
// enumerator errors, the text form, and concurrent puts.
#include <algorithm>
#include <random>

#include "javalib/hashtable.h"
#include "tests/javalib/util_fixture.h"

using namespace utiltest;

namespace {

// The same chaining, head insertion, growth and visiting order, over ids.
struct Model {
    struct Entry {
        jint hash, key, value;
    };
    std::vector<std::vector<Entry>> buckets;  // each chain head first
    jint count = 0, threshold = 0;

    explicit Model(jint capacity) {
        if (capacity == 0) capacity = 1;
        buckets.resize(capacity);
        threshold = capacity * 75 / 100;
    }
    jint bucketOf(jint hash) const { return (hash & 0x7FFFFFFF) % static_cast<jint>(buckets.size()); }
    Entry* find(jint hash, jint key) {
        for (Entry& e : buckets[bucketOf(hash)])
            if (e.hash == hash && e.key == key) return &e;
        return nullptr;
    }
    jint put(jint hash, jint key, jint value) {
        if (Entry* e = find(hash, key)) {
            jint old = e->value;
            e->value = value;
            return old;
        }
        if (count >= threshold) {
            const jint c = static_cast<jint>(buckets.size());
            std::vector<std::vector<Entry>> fresh(2 * c + 1);
            threshold = (2 * c + 1) * 75 / 100;
            auto old = std::move(buckets);
            buckets = std::move(fresh);
            for (jint i = c - 1; i >= 0; --i)
                for (const Entry& e : old[i]) {
                    auto& chain = buckets[bucketOf(e.hash)];
                    chain.insert(chain.begin(), e);
                }
        }
        auto& chain = buckets[bucketOf(hash)];
        chain.insert(chain.begin(), Entry{hash, key, value});
        ++count;
        return -1;
    }
    jint remove(jint hash, jint key) {
        auto& chain = buckets[bucketOf(hash)];
        for (auto it = chain.begin(); it != chain.end(); ++it)
            if (it->hash == hash && it->key == key) {
                jint v = it->value;
                chain.erase(it);
                --count;
                return v;
            }
        return -1;
    }
    std::vector<Entry> order() const {
        std::vector<Entry> out;
        for (size_t i = buckets.size(); i-- > 0;)
            for (const Entry& e : buckets[i]) out.push_back(e);
        return out;
    }
};

jint idOf(Object* o) { return o ? static_cast<Key*>(o)->m_id : -1; }

std::vector<jint> drain(Object* enumerator) {
    std::vector<jint> ids;
    auto* e = interfaceOf<java_util_Enumeration>(enumerator, cid::java_util_Enumeration);
    while (e && e->hasMoreElements()) ids.push_back(idOf(e->nextElement()));
    return ids;
}

class HashtableTest : public UtilTest {};

TEST_F(HashtableTest, CapacityAndThresholdGrowth) {
    struct Case {
        jint initial;
        std::vector<std::pair<jint, jint>> steps;  // (capacity, threshold) after each growth
    } cases[] = {
        {11, {{11, 8}, {23, 17}, {47, 35}, {95, 71}}},
        {4, {{4, 3}, {9, 6}, {19, 14}}},
        {0, {{1, 0}, {3, 2}, {7, 5}}},
        {1, {{1, 0}, {3, 2}}},
    };
    jint next = 0;
    for (const Case& c : cases) {
        auto* h = newObject<java_util_Hashtable>(c.initial);
        m_keep = h;
        EXPECT_EQ(h->capacity(), c.steps[0].first);
        EXPECT_EQ(h->m_threshold, c.steps[0].second);
        for (size_t s = 1; s < c.steps.size(); ++s) {
            // Fill to the threshold: no growth yet; the next new key grows.
            while (h->size() < h->m_threshold) h->put(newObject<Key>(next, next), h), ++next;
            EXPECT_EQ(h->capacity(), c.steps[s - 1].first);
            Object* k = newObject<Key>(next, next);
            ++next;
            h->put(k, h);
            EXPECT_EQ(h->capacity(), c.steps[s].first) << c.initial << " step " << s;
            EXPECT_EQ(h->m_threshold, c.steps[s].second);
            // Replacing an existing key at the threshold never grows.
            while (h->size() < h->m_threshold) h->put(newObject<Key>(next, next), h), ++next;
            const jint before = h->capacity();
            EXPECT_EQ(h->put(k, k), h);
            EXPECT_EQ(h->capacity(), before);
        }
    }
    EXPECT_EQ(takeException(), 0);
}

TEST_F(HashtableTest, RandomOperationsMatchModel) {
    // Hash codes with collisions, negative values and the extremes.
    const jint hashes[] = {0, 1, 12, 23, -1, -12, java::kIntMin, java::kIntMax, 7, 7, 7, 34, 45, 100, -100, 11};
    constexpr jint kKeys = 16;
    ObjectArray* objects = keepArray(2 * kKeys);
    for (jint i = 0; i < 2 * kKeys; ++i) {
        Key* k = newObject<Key>(hashes[i % kKeys], i % kKeys);
        objects->data()[i] = k;
    }
    auto obj = [&](jint id, bool twin) { return objects->data()[id + (twin ? kKeys : 0)]; };

    std::mt19937 rng(99);
    for (jint initial : {11, 4, 0, 1, 2}) {
        auto* h = newObject<java_util_Hashtable>(initial);
        Model model(initial);
        for (int step = 0; step < 500; ++step) {
            const jint k = static_cast<jint>(rng() % kKeys);
            const jint v = static_cast<jint>(rng() % kKeys);
            const bool twin = rng() % 2;
            switch (rng() % 9) {
            case 0:
            case 1:
            case 2:
                EXPECT_EQ(idOf(h->put(obj(k, twin), obj(v, !twin))), model.put(hashes[k], k, v));
                break;
            case 3:
                EXPECT_EQ(idOf(h->remove(obj(k, twin))), model.remove(hashes[k], k));
                break;
            case 4: {
                Model::Entry* e = model.find(hashes[k], k);
                EXPECT_EQ(idOf(h->get(obj(k, twin))), e ? e->value : -1);
                EXPECT_EQ(h->containsKey(obj(k, twin)), e != nullptr);
                break;
            }
            case 5: {
                auto all = model.order();
                bool has = std::any_of(all.begin(), all.end(), [&](const Model::Entry& e) { return e.value == v; });
                EXPECT_EQ(h->contains(obj(v, twin)), has);
                break;
            }
            case 6: {
                auto all = model.order();
                std::vector<jint> keys, values;
                for (auto& e : all) keys.push_back(e.key), values.push_back(e.value);
                ASSERT_EQ(drain(h->keys()), keys) << "step " << step;
                ASSERT_EQ(drain(h->elements()), values);
                break;
            }
            case 7:
                if (rng() % 10 == 0) {
                    h->clear();
                    for (auto& b : model.buckets) b.clear();
                    model.count = 0;
                }
                break;
            case 8:
                collect();
                break;
            }
            ASSERT_EQ(takeException(), 0);
            ASSERT_EQ(h->size(), model.count);
            ASSERT_EQ(h->capacity(), static_cast<jint>(model.buckets.size()));
            ASSERT_EQ(h->m_threshold, model.threshold);
        }
    }
}

TEST_F(HashtableTest, ChainsAndBucketPlacement) {
    auto* h = newObject<java_util_Hashtable>();
    m_keep = h;
    // Equal hash codes, unequal keys: both stay, the later heads the chain.
    Object* a = newObject<Key>(5, 1);
    Object* b = newObject<Key>(5, 2);
    h->put(a, a);
    h->put(b, b);
    EXPECT_EQ(h->size(), 2);
    auto* head = static_cast<java_util_HashtableEntry*>(h->m_table->data()[5]);
    EXPECT_EQ(head->m_key, b);
    EXPECT_EQ(head->m_next->m_key, a);
    // -1 lands in bucket 0x7FFFFFFF % 11.
    Object* c = newObject<Key>(-1, 3);
    h->put(c, c);
    auto* entry = static_cast<java_util_HashtableEntry*>(h->m_table->data()[0x7FFFFFFF % 11]);
    EXPECT_EQ(entry->m_key, c);
    EXPECT_EQ(entry->m_hash, -1);
    // Buckets are visited from the highest index: 7 before 2.
    auto* t = newObject<java_util_Hashtable>();
    t->put(newObject<Key>(2, 20), h);
    t->put(newObject<Key>(7, 70), h);
    EXPECT_EQ(drain(t->keys()), (std::vector<jint>{70, 20}));
    // Removing an absent key changes nothing; clear keeps the capacity.
    EXPECT_EQ(t->remove(newObject<Key>(3, 30)), nullptr);
    EXPECT_EQ(t->size(), 2);
    t->clear();
    EXPECT_EQ(t->size(), 0);
    EXPECT_EQ(t->capacity(), 11);
    EXPECT_TRUE(t->isEmpty());
}

TEST_F(HashtableTest, NullsAndBadCapacityRaise) {
    auto* h = newObject<java_util_Hashtable>();
    m_keep = h;
    Object* k = newObject<Key>(1, 1);
    h->put(k, k);
    struct Case {
        const char* what;
        std::function<void()> call;
    } cases[] = {
        {"put(k, null)", [&] { EXPECT_EQ(h->put(k, nullptr), nullptr); }},
        {"put(null, v)", [&] { h->put(nullptr, k); }},
        {"get(null)", [&] { h->get(nullptr); }},
        {"containsKey(null)", [&] { EXPECT_FALSE(h->containsKey(nullptr)); }},
        {"remove(null)", [&] { h->remove(nullptr); }},
        {"contains(null)", [&] { EXPECT_FALSE(h->contains(nullptr)); }},
    };
    for (Case& c : cases) {
        c.call();
        EXPECT_EQ(pendingMessage(), "#1") << c.what;
        EXPECT_EQ(takeException(), cid::java_lang_NullPointerException) << c.what;
        EXPECT_FALSE(m_app->monitors().ownedByCaller(h)) << c.what;
        EXPECT_EQ(h->size(), 1);
        EXPECT_EQ(h->get(k), k);
    }
    auto* bad = newObject<java_util_Hashtable>(-1);
    EXPECT_EQ(pendingMessage(), "#1");
    EXPECT_EQ(takeException(), cid::java_lang_IllegalArgumentException);
    EXPECT_EQ(bad->m_table, nullptr);
    EXPECT_EQ(bad->get(k), nullptr);  // a failed table stays inert
    EXPECT_EQ(bad->put(k, k), nullptr);
    EXPECT_EQ(bad->size(), 0);
}

// A capacity too large for any bucket array raises OutOfMemoryError and
// leaves an empty table on which every operation survives.
TEST_F(HashtableTest, HugeCapacityRaisesOutOfMemoryAndStaysEmpty) {
    Object* k = newObject<Key>(1, 1);
    m_keep = k;
    for (jint capacity : {40000000, 0x7FFFFFFF}) {
        SCOPED_TRACE(capacity);
        auto* h = newObject<java_util_Hashtable>(capacity);
        EXPECT_EQ(takeException(), cid::java_lang_OutOfMemoryError);
        EXPECT_EQ(h->put(k, k), nullptr);
        EXPECT_EQ(h->get(k), nullptr);
        EXPECT_FALSE(h->containsKey(k));
        EXPECT_FALSE(h->contains(k));
        EXPECT_EQ(h->remove(k), nullptr);
        EXPECT_EQ(h->size(), 0);
        EXPECT_TRUE(h->isEmpty());
        EXPECT_FALSE(interfaceOf<java_util_Enumeration>(h->keys(), cid::java_util_Enumeration)->hasMoreElements());
        EXPECT_FALSE(interfaceOf<java_util_Enumeration>(h->elements(), cid::java_util_Enumeration)->hasMoreElements());
        h->clear();
        EXPECT_EQ(takeException(), 0);
    }
}

TEST_F(HashtableTest, EnumeratorEndsWithNoSuchElement) {
    auto* h = newObject<java_util_Hashtable>(4);
    m_keep = h;
    Object* k = newObject<Key>(1, 1);
    h->put(k, h);
    Object* keys = h->keys();
    auto* e = interfaceOf<java_util_Enumeration>(keys, cid::java_util_Enumeration);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(keys->getInterface(cid::java_lang_Runnable), nullptr);
    EXPECT_EQ(e->nextElement(), k);  // without asking hasMoreElements first
    EXPECT_FALSE(e->hasMoreElements());
    EXPECT_EQ(e->nextElement(), nullptr);
    EXPECT_EQ(pendingMessage(), "#165");
    EXPECT_EQ(takeException(), cid::java_util_NoSuchElementException);
    EXPECT_FALSE(e->hasMoreElements());

    // An enumerator made before a rehash walks the old bucket array: it
    // ends, and yields only keys the table holds.
    for (jint i = 2; i < 4; ++i) h->put(newObject<Key>(i, i), h);
    Object* stale = h->keys();
    for (jint i = 4; i < 12; ++i) h->put(newObject<Key>(i, i), h);
    EXPECT_GT(h->capacity(), 4);
    for (jint id : drain(stale)) {
        EXPECT_GE(id, 1);
        EXPECT_LT(id, 12);
    }
    EXPECT_EQ(takeException(), 0);
}

TEST_F(HashtableTest, TextForm) {
    auto* h = newObject<java_util_Hashtable>();
    m_keep = h;
    EXPECT_EQ(toUtf8(h->toString()), "{}");
    h->put(newObject<Key>(2, 1), newObject<Key>(0, 2));
    EXPECT_EQ(toUtf8(h->toString()), "{k1=k2}");
    h->put(newObject<Key>(7, 3), String::fromUtf8("text"));
    EXPECT_EQ(toUtf8(h->toString()), "{k3=text, k1=k2}");
    EXPECT_FALSE(m_app->monitors().ownedByCaller(h));
}

struct PutJob {
    java_util_Hashtable* table;
    jint first;
};

class Job : public Object, public java_lang_Runnable {
public:
    Job(PutJob* job) : Object(cid::Object), m_job(job) {}
    void* getInterface(jint id) override {
        return id == cid::java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
    }
    void run() override {
        for (jint i = 0; i < 300; ++i) {
            Object* k = newObject<Key>(m_job->first + i, m_job->first + i);
            m_job->table->put(k, k);
        }
    }
    PutJob* m_job;
};

TEST_F(HashtableTest, ConcurrentPutsAreSerialised) {
    auto* h = newObject<java_util_Hashtable>();
    m_keep = h;
    PutJob a{h, 0}, b{h, 1000}, c{h, 2000};
    auto* t1 = newObject<java_lang_Thread>(newObject<Job>(&a));
    auto* t2 = newObject<java_lang_Thread>(newObject<Job>(&b));
    ASSERT_GE(java_lang_Thread::start(t1), 0);
    ASSERT_GE(java_lang_Thread::start(t2), 0);
    newObject<Job>(&c)->run();
    t1->join();
    t2->join();
    EXPECT_EQ(h->size(), 900);
    std::vector<jint> keys = drain(h->keys());
    std::sort(keys.begin(), keys.end());
    ASSERT_EQ(keys.size(), 900u);
    EXPECT_EQ(keys.front(), 0);
    EXPECT_EQ(keys.back(), 2299);
    EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());
}

}  // namespace
