// A child process saving records in a loop is killed at random moments;
// after every kill the store opens whole: a sound index, and every record it
// names holds the complete contents of one of its saves.
#include <csignal>
#include <poll.h>
#include <filesystem>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "io/recordstore.h"
#include "tests/io/crash_payload.h"
#include "tests/io/io_fixture.h"
#include "tools/kit/recordstore.h"

extern char** environ;

using namespace iotest;
using Store = javax_microedition_rms_RecordStore;

class CrashTest : public IoTest {};

TEST_F(CrashTest, KilledSaverLeavesAWholeStore) {
    // A store with a few records before the first child runs.
    Store* initial = Store::openRecordStoreByName(str(crashtest::kStoreName), 1);
    for (int i = 1; i <= 3; ++i) {
        const std::vector<uint8_t> data = crashtest::payload(i, 0);
        initial->addRecord(byteArrayOf(data), 0, static_cast<jint>(data.size()));
    }
    ASSERT_EQ(takeException(), 0);

    std::mt19937 rng(20240611);
    uint32_t newestSeen = 0;
    constexpr int kRounds = 40;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const std::string seed = std::to_string(round + 1);
        char* argv[] = {const_cast<char*>(IO_CRASH_CHILD), const_cast<char*>(seed.c_str()), nullptr};
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ready[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, ready[0]);
        pid_t child;
        const int spawned = posix_spawn(&child, IO_CRASH_CHILD, &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(ready[1]);
        ASSERT_EQ(spawned, 0);
        // Wait until it saves (at most 10 s), then let it run a random while.
        // Every fourth round waits for its first complete save first, so
        // that saves land however busy the machine is.
        pollfd p = {ready[0], POLLIN, 0};
        char byte = 0;
        const bool started = ::poll(&p, 1, 10000) == 1 && ::read(ready[0], &byte, 1) == 1;
        if (started && round % 4 == 0) {
            p.revents = 0;
            const bool saved = ::poll(&p, 1, 10000) == 1 && ::read(ready[0], &byte, 1) == 1;
            EXPECT_TRUE(saved) << "the child never completed a save";
        }
        if (started) ::usleep(rng() % 25000);
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        // Closed only now: the child never writes into a closed pipe.
        ::close(ready[0]);
        ASSERT_TRUE(started) << "the child did not start saving";
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself: " << WEXITSTATUS(status);

        // The index is sound byte for byte.
        const std::string index = appFolder() + "/" + kit::storeIndexFileName(crashtest::kStoreName);
        kit::RecordIndex raw;
        ASSERT_NO_THROW(raw = kit::decodeRecordIndex(kit::readFile(index)));

        // Opened anew, every record is one whole save of its own id.
        Store* s = Store::openRecordStoreByName(str(crashtest::kStoreName), 0);
        ASSERT_NE(s, nullptr);
        ASSERT_EQ(s->getNumRecords(), static_cast<jint>(raw.ids.size()));
        for (jint i = 0; i < s->getNumRecords(); ++i) {
            const jint id = s->idAt(i);
            ASSERT_LT(id, s->getNextRecordID());
            ByteArray* record = s->getRecord(id);
            ASSERT_EQ(takeException(), 0);
            ASSERT_NE(record, nullptr) << "record " << id;
            int32_t named = 0;
            uint32_t generation = 0;
            ASSERT_TRUE(crashtest::check(bytesOf(record), named, generation)) << "record " << id << " is not a whole save";
            EXPECT_EQ(named, id);
            newestSeen = std::max(newestSeen, generation);
        }
    }
    EXPECT_GT(newestSeen, 0u) << "the children saved something";
}
