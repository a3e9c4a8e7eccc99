// Saves survive kills: a child program (save_child) plays and saves the
// progress record over and over; the test kills it with SIGKILL at seeded
// moments, mostly while a save is under way, and after every kill reads the
// store back with the kit's reader: the record is whole (old or new, never
// torn) and never older than the last save the child saw return; the next
// child's game reads back the same generation.
#include <gtest/gtest.h>

#include <atomic>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "tests/game/e2e/save_pattern.h"
#include "tools/kit/demo.h"
#include "tools/kit/recordstore.h"

namespace {

constexpr int kKills = 40;
constexpr int kLineTimeoutMs = 60000;  // hang guard per line

std::string progressStoreName() {
    const std::u16string s = kit::demoStringPool().at(108);
    return std::string(s.begin(), s.end());
}

class Child {
public:
    explicit Child(const std::string& folder) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            // The report on descriptor 3; the game's log is not wanted.
            ::close(fds[0]);
            const int report = fds[1] == 3 ? 3 : ::dup2(fds[1], 3);
            if (report != fds[1]) ::close(fds[1]);
            const int null = ::open("/dev/null", O_WRONLY);
            if (null >= 0) ::dup2(null, 1);
            ::execl(BRAMBLE_SAVE_CHILD, BRAMBLE_SAVE_CHILD, folder.c_str(), "1000000", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        m_out = fds[0];
    }
    ~Child() {
        kill();
        if (m_out >= 0) ::close(m_out);
    }
    bool started() const { return m_pid > 0 && m_out >= 0; }
    // The next line of the child's output; false at its end or after the
    // hang guard.
    bool readLine(std::string& line) {
        line.clear();
        for (;;) {
            if (const size_t nl = m_buffer.find('\n'); nl != std::string::npos) {
                line = m_buffer.substr(0, nl);
                m_buffer.erase(0, nl + 1);
                return true;
            }
            pollfd p{m_out, POLLIN, 0};
            if (::poll(&p, 1, kLineTimeoutMs) <= 0) return false;
            char buf[256];
            const ssize_t n = ::read(m_out, buf, sizeof buf);
            if (n <= 0) return false;
            m_buffer.append(buf, static_cast<size_t>(n));
        }
    }
    void kill() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_buffer;
};

// The stored generation: -1 when there is no record yet, -2 when the
// record or its index is torn.
int32_t storedGeneration(const std::string& appFolder, std::string& why) {
    kit::RecordStoreContents store;
    try {
        store = kit::readRecordStore(appFolder, progressStoreName());
    } catch (const std::exception& e) {
        why = e.what();
        return std::filesystem::exists(appFolder + "/" + kit::storeIndexFileName(progressStoreName())) ? -2 : -1;
    }
    for (const kit::StoredRecord& r : store.records) {
        if (r.id != 1) continue;
        if (r.missing) {
            why = "record 1 is named by the index but its file is missing";
            return -2;
        }
        const int32_t g = savepattern::generationIn(r.data);
        if (g < 0) why = "record 1 is torn (" + std::to_string(r.data.size()) + " bytes)";
        return g < 0 ? -2 : g;
    }
    return -1;
}

TEST(SaveKill, TheProgressRecordIsOldOrNewAfterEveryKill) {
    const std::string folder = std::filesystem::current_path().string() + "/savekill";
    std::filesystem::remove_all(folder);
    kit::buildDemoRoot(folder);
    const std::string app = folder + "/device/" + kit::kAppFolder;

    std::mt19937 random(22);
    int32_t lastSaved = -1;    // the newest save the child saw return
    int32_t lastStarted = -1;  // the newest save the child began
    int32_t stored = -1;       // what the store held after the last kill
    int midSave = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        Child child(folder);
        ASSERT_TRUE(child.started());
        std::string line;
        ASSERT_TRUE(child.readLine(line)) << "the child did not start";
        ASSERT_EQ(line.rfind("ready ", 0), 0u) << line;
        // The game reads back what the store held.
        if (stored >= 0) {
            EXPECT_EQ(std::atoi(line.c_str() + 6), stored);
        }
        const int32_t ready = std::atoi(line.c_str() + 6);
        lastSaved = std::max(lastSaved, ready);
        lastStarted = std::max(lastStarted, ready);
        // Some saves to return, then a kill a seeded number of spins after
        // a save has begun.
        const int waitSaves = static_cast<int>(random() % 4);
        const unsigned spins = random() % 400000;
        for (int seen = 0; seen <= waitSaves;) {
            ASSERT_TRUE(child.readLine(line)) << "the child stopped";
            const int32_t g = std::atoi(line.c_str() + line.find(' ') + 1);
            if (line.rfind("saved ", 0) == 0) {
                lastSaved = g;
            } else if (line.rfind("saving ", 0) == 0) {
                lastStarted = g;
                ++seen;
            }
        }
        for (unsigned i = 0; i < spins; ++i) std::atomic_signal_fence(std::memory_order_seq_cst);
        child.kill();
        // Lines written before the kill still count.
        while (child.readLine(line)) {
            const int32_t g = std::atoi(line.c_str() + line.find(' ') + 1);
            if (line.rfind("saved ", 0) == 0) lastSaved = g;
            if (line.rfind("saving ", 0) == 0) lastStarted = g;
        }
        std::string why;
        stored = storedGeneration(app, why);
        ASSERT_NE(stored, -2) << why;
        ASSERT_GE(stored, lastSaved) << "a save that returned was lost";
        ASSERT_LE(stored, lastStarted);
        if (stored != lastSaved) ++midSave;
        // Temporary files of cut saves do not pile up.
        int files = 0;
        for (const auto& e : std::filesystem::directory_iterator(app)) files += e.is_regular_file();
        EXPECT_LT(files, 12);
    }
    // The seeded moments caught saves under way, not only finished ones.
    std::printf("kills that landed inside a save: %d\n", midSave);
}

}  // namespace
