// Vector and Stack: growth tables, a random operation sequence checked
// against a plain model, the error cases and monitor release on every way
// out, and concurrent appends from two Java threads.
#include <random>

#include "javalib/vector.h"
#include "tests/javalib/util_fixture.h"

using namespace utiltest;

namespace {

class VectorTest : public UtilTest {
protected:
    bool holdsMonitor(Object* o) { return m_app->monitors().ownedByCaller(o); }
};

TEST_F(VectorTest, GrowthFollowsIncrementOrDoubling) {
    struct Case {
        jint initial, increment;
        std::vector<jint> capacities;  // capacity after each addElement
    } cases[] = {
        {10, 0, {10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 20, 20}},
        {0, 0, {1, 2, 4, 4, 8}},
        {4, 3, {4, 4, 4, 4, 7, 7, 7, 10}},
        {1, -5, {1, 2, 4}},
    };
    for (const Case& c : cases) {
        auto* v = newObject<java_util_Vector>(c.initial, c.increment);
        EXPECT_EQ(v->capacity(), c.initial);
        for (size_t i = 0; i < c.capacities.size(); ++i) {
            v->addElement(v);
            EXPECT_EQ(v->capacity(), c.capacities[i]) << c.initial << "/" << c.increment << " add " << i;
        }
    }
    EXPECT_EQ(newObject<java_util_Vector>()->capacity(), 10);
    EXPECT_EQ(newObject<java_util_Vector>(7)->m_capacityIncrement, 0);
}

TEST_F(VectorTest, NegativeCapacityRaisesWithPoolMessage) {
    auto* v = newObject<java_util_Vector>(-1, 0);
    EXPECT_EQ(pendingMessage(), "#140");
    EXPECT_EQ(takeException(), cid::java_lang_IllegalArgumentException);
    EXPECT_EQ(v->m_elementData, nullptr);
    // What is left of it still behaves: empty, and it grows on demand.
    EXPECT_EQ(v->size(), 0);
    v->addElement(v);
    EXPECT_EQ(v->size(), 1);
    EXPECT_EQ(takeException(), 0);
}

// Random operations against a std::vector of ids (-1 = null) that applies
// the same growth rule; elements are Keys compared by id, so equal-but-not-
// identical objects exercise equals.
TEST_F(VectorTest, RandomOperationsMatchModel) {
    constexpr jint kIds = 6;
    ObjectArray* keys = keepArray(2 * kIds);
    for (jint i = 0; i < 2 * kIds; ++i) {
        Key* k = newObject<Key>(i % kIds, i % kIds);
        keys->data()[i] = k;
    }
    auto key = [&](jint id, bool twin) { return keys->data()[id + (twin ? kIds : 0)]; };
    auto idOf = [](Object* o) { return o ? static_cast<Key*>(o)->m_id : -1; };

    std::mt19937 rng(1234);
    for (jint round = 0; round < 6; ++round) {
        const jint increment = round % 3 == 0 ? 0 : round;
        auto* v = newObject<java_util_Vector>(round, increment);
        std::vector<jint> model;
        jint capacity = round;
        auto growTo = [&](jint min) {
            if (min <= capacity) return;
            jint next = increment > 0 ? capacity + increment : capacity * 2;
            capacity = next < min ? min : next;
        };
        for (int step = 0; step < 600; ++step) {
            const jint n = static_cast<jint>(model.size());
            const jint id = static_cast<jint>(rng() % (kIds + 1)) - 1;  // -1: null
            Object* obj = id < 0 ? nullptr : key(id, rng() % 2);
            const int op = static_cast<int>(rng() % 11);
            switch (op) {
            case 0:
            case 1:
                v->addElement(obj);
                growTo(n + 1);
                model.push_back(id);
                break;
            case 2: {
                jint at = static_cast<jint>(rng() % (n + 1));
                v->insertElementAt(obj, at);
                growTo(n + 1);
                model.insert(model.begin() + at, id);
                break;
            }
            case 3:
                if (n) {
                    jint at = static_cast<jint>(rng() % n);
                    v->removeElementAt(at);
                    model.erase(model.begin() + at);
                }
                break;
            case 4:
                if (n) {
                    jint at = static_cast<jint>(rng() % n);
                    v->setElementAt(obj, at);
                    model[at] = id;
                }
                break;
            case 5: {
                auto it = std::find(model.begin(), model.end(), id);
                EXPECT_EQ(v->removeElement(obj), it != model.end());
                if (it != model.end()) model.erase(it);
                break;
            }
            case 6: {
                jint from = static_cast<jint>(rng() % (n + 2));
                jint expect = -1;
                for (jint i = from; i < n; ++i)
                    if (model[i] == id) {
                        expect = i;
                        break;
                    }
                EXPECT_EQ(v->indexOf(obj, from), expect);
                jint last = -1;
                for (jint i = n - 1; i >= 0; --i)
                    if (model[i] == id) {
                        last = i;
                        break;
                    }
                EXPECT_EQ(v->lastIndexOf(obj), last);
                EXPECT_EQ(v->contains(obj), last >= 0);
                break;
            }
            case 7: {
                jint size = static_cast<jint>(rng() % (n + 4));
                v->setSize(size);
                if (size > n && size > capacity) growTo(size);
                model.resize(size, -1);
                break;
            }
            case 8:
                if (rng() % 4 == 0) {
                    v->trimToSize();
                    capacity = n;
                } else {
                    jint min = static_cast<jint>(rng() % (capacity + 6));
                    v->ensureCapacity(min);
                    growTo(min);
                }
                break;
            case 9:
                if (rng() % 8 == 0) {
                    v->removeAllElements();
                    model.clear();
                }
                break;
            case 10:
                collect();
                break;
            }
            ASSERT_EQ(takeException(), 0) << "op " << op;
            ASSERT_EQ(v->size(), static_cast<jint>(model.size()));
            ASSERT_EQ(v->capacity(), capacity) << "op " << op << " step " << step;
            for (jint i = 0; i < v->capacity(); ++i)
                ASSERT_EQ(idOf(v->m_elementData->data()[i]), i < v->size() ? model[i] : -1) << "slot " << i;
        }
    }
}

TEST_F(VectorTest, IndexErrorsLeaveVectorUnchanged) {
    auto* v = newObject<java_util_Vector>();
    v->addElement(v);
    v->addElement(nullptr);
    struct Case {
        const char* what;
        std::function<void()> call;
        jint exception;
        std::string message;
    } cases[] = {
        {"elementAt(2)", [&] { EXPECT_EQ(v->elementAt(2), nullptr); }, cid::java_lang_ArrayIndexOutOfBoundsException, "#1872"},
        {"elementAt(-1)", [&] { v->elementAt(-1); }, cid::java_lang_ArrayIndexOutOfBoundsException, "#187-1"},
        {"get(5)", [&] { v->get(5); }, cid::java_lang_ArrayIndexOutOfBoundsException, "#1875"},
        {"setElementAt(2)", [&] { v->setElementAt(v, 2); }, cid::java_lang_ArrayIndexOutOfBoundsException, "#1872"},
        {"removeElementAt(2)", [&] { v->removeElementAt(2); }, cid::java_lang_ArrayIndexOutOfBoundsException, "#1872"},
        {"insertElementAt(3)", [&] { v->insertElementAt(v, 3); }, cid::java_lang_ArrayIndexOutOfBoundsException, "#1873"},
        {"insertElementAt(-1)", [&] { v->insertElementAt(v, -1); }, cid::java_lang_ArrayIndexOutOfBoundsException, "#187-1"},
        {"lastIndexOf(x, 2)", [&] { EXPECT_EQ(v->lastIndexOf(v, 2), -1); }, cid::java_lang_IndexOutOfBoundsException, "2"},
    };
    for (Case& c : cases) {
        c.call();
        EXPECT_EQ(pendingMessage(), c.message) << c.what;
        EXPECT_EQ(takeException(), c.exception) << c.what;
        EXPECT_FALSE(holdsMonitor(v)) << c.what;
        EXPECT_EQ(v->size(), 2);
        EXPECT_EQ(v->m_elementData->data()[0], v);
        EXPECT_EQ(v->m_elementData->data()[1], nullptr);
    }
    // Edges that are not errors.
    EXPECT_EQ(v->lastIndexOf(v, -1), -1);
    EXPECT_EQ(v->indexOf(v, 5), -1);
    EXPECT_EQ(v->indexOf(nullptr), 1);
    v->insertElementAt(nullptr, 2);  // at the count: appends
    EXPECT_EQ(v->size(), 3);
    EXPECT_EQ(takeException(), 0);
    EXPECT_FALSE(holdsMonitor(v));
}

TEST_F(VectorTest, SizeChangesAndCopies) {
    auto* v = newObject<java_util_Vector>(4, 0);
    for (int i = 0; i < 4; ++i) v->addElement(v);
    v->setSize(1);
    EXPECT_EQ(v->size(), 1);
    EXPECT_EQ(v->m_elementData->data()[1], nullptr);
    EXPECT_EQ(v->m_elementData->data()[3], nullptr);
    v->setSize(9);
    EXPECT_EQ(v->capacity(), 9);
    EXPECT_EQ(v->elementAt(8), nullptr);
    EXPECT_EQ(v->lastElement(), nullptr);
    EXPECT_EQ(v->firstElement(), v);

    v->removeElementAt(8);  // the last: nothing moves, the slot is cleared
    EXPECT_EQ(v->size(), 8);

    auto* copy = newObject<java_util_Vector>(v);
    EXPECT_EQ(copy->size(), 8);
    EXPECT_EQ(copy->capacity(), 8);
    EXPECT_EQ(copy->elementAt(0), v);

    ObjectArray* out = newObjectArray(cid::Object, 8);
    v->copyInto(out);
    EXPECT_EQ(out->data()[0], v);
    ObjectArray* shortOut = newObjectArray(cid::Object, 1);
    v->copyInto(shortOut);  // shorter than the count: only what fits
    EXPECT_EQ(shortOut->data()[0], v);

    v->removeAllElements();
    EXPECT_EQ(v->size(), 0);
    EXPECT_EQ(v->capacity(), 9);
    for (jint i = 0; i < 9; ++i) EXPECT_EQ(v->m_elementData->data()[i], nullptr);
    EXPECT_EQ(v->firstElement(), nullptr);
    EXPECT_EQ(v->lastElement(), nullptr);
    EXPECT_TRUE(v->isEmpty());
    EXPECT_EQ(takeException(), 0);
}

TEST_F(VectorTest, StackOperations) {
    auto* s = newObject<java_util_Stack>();
    EXPECT_EQ(s->classId(), cid::java_util_Stack);
    EXPECT_TRUE(instanceOf(s, cid::java_util_Vector));
    EXPECT_EQ(s->capacity(), 10);
    EXPECT_TRUE(s->empty());

    EXPECT_EQ(s->peek(), nullptr);
    EXPECT_EQ(pendingMessage(), "#1");
    EXPECT_EQ(takeException(), cid::java_util_EmptyStackException);
    EXPECT_EQ(s->pop(), nullptr);
    EXPECT_EQ(takeException(), cid::java_util_EmptyStackException);
    EXPECT_FALSE(holdsMonitor(s));

    Object* a = newObject<Key>(1, 1);
    Object* b = newObject<Key>(2, 2);
    EXPECT_EQ(s->push(a), a);
    EXPECT_EQ(s->push(b), b);
    EXPECT_EQ(s->search(b), 1);
    EXPECT_EQ(s->search(a), 2);
    EXPECT_EQ(s->search(newObject<Key>(1, 1)), 2);  // by equals
    EXPECT_EQ(s->search(s), -1);
    EXPECT_EQ(s->peek(), b);
    EXPECT_EQ(s->pop(), b);
    EXPECT_EQ(s->pop(), a);
    EXPECT_TRUE(s->empty());
    EXPECT_EQ(s->pop(), nullptr);
    EXPECT_EQ(takeException(), cid::java_util_EmptyStackException);
    EXPECT_EQ(s->size(), 0);
}

struct AppendJob {
    java_util_Vector* vector;
    int count;
};

void appendMany(void* arg) {
    auto* job = static_cast<AppendJob*>(arg);
    for (int i = 0; i < job->count; ++i) job->vector->addElement(job->vector);
}

class Job : public Object, public java_lang_Runnable {
public:
    Job(void (*fn)(void*), void* arg) : Object(cid::Object), m_fn(fn), m_arg(arg) {}
    void* getInterface(jint id) override {
        return id == cid::java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
    }
    void run() override { m_fn(m_arg); }
    void (*m_fn)(void*);
    void* m_arg;
};

TEST_F(VectorTest, ConcurrentAppendsAreSerialised) {
    auto* v = newObject<java_util_Vector>(0, 0);
    m_keep = v;
    AppendJob job{v, 2000};
    auto* t1 = newObject<java_lang_Thread>(newObject<Job>(&appendMany, &job));
    auto* t2 = newObject<java_lang_Thread>(newObject<Job>(&appendMany, &job));
    ASSERT_GE(java_lang_Thread::start(t1), 0);
    ASSERT_GE(java_lang_Thread::start(t2), 0);
    appendMany(&job);
    t1->join();
    t2->join();
    EXPECT_EQ(v->size(), 6000);
    for (jint i = 0; i < v->size(); ++i) ASSERT_EQ(v->m_elementData->data()[i], v);
}

}  // namespace
