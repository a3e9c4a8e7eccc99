// The device path layer: case-free mapping, refused escapes, file operations
// and the atomic replace.
#include "platform/fs/fs.h"

#include "platform/log/log.h"

#include <gtest/gtest.h>
#include <fstream>

#include <csignal>
#include <filesystem>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = platform::fs;

namespace {

std::vector<std::string> g_logs;
void captureLog(platform::LogLevel, const char* message) { g_logs.emplace_back(message); }

class FsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = platform::setLogSink(&captureLog);
    g_logs.clear();
    root_ = fs::deviceRoot();
    // A private folder per test: "\t\<test name>".
    base_ = std::string("\\t\\") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(root_ + "/t/" + testName());  // left by an earlier run
    ASSERT_TRUE(fs::makeFolders(base_));
  }
  void TearDown() override { platform::setLogSink(previous_); }

  std::string host(const std::string& relative) { return root_ + "/t/" + testName() + relative; }
  std::string dev(const std::string& relative) { return base_ + relative; }
  static std::string testName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

  static void writeHost(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  static std::string readDevice(const std::string& devicePath) {
    fs::File f = fs::File::open(devicePath, fs::OpenMode::Read);
    if (!f) return "<missing>";
    std::string out;
    char buffer[256];
    while (size_t n = f.read(buffer, sizeof buffer)) out.append(buffer, n);
    return out;
  }

  platform::LogSink previous_ = nullptr;
  std::string root_;
  std::string base_;
};

TEST_F(FsTest, RootAndStandardFoldersExist) {
  EXPECT_EQ(root_, std::getenv("BRAMBLE_DEVICE_ROOT"));
  EXPECT_TRUE(fs::isFolder(fs::kAppFolder));
  EXPECT_TRUE(fs::isFolder(fs::kTempFolder));
  EXPECT_TRUE(fs::isFolder("\\program files\\tindrell\\bramble hollow saga"));
  struct stat st;
  EXPECT_EQ(::stat((root_ + "/Program Files/Tindrell/Bramble Hollow Saga").c_str(), &st), 0);
  EXPECT_EQ(::stat((root_ + "/temp").c_str(), &st), 0);
  EXPECT_EQ(fs::hostPath("\\"), root_);
  EXPECT_EQ(fs::hostPath(""), root_);
}

TEST_F(FsTest, ComponentsMatchWithoutRegardToCase) {
  ASSERT_EQ(::mkdir(host("/Mixed Case").c_str(), 0777), 0);
  writeHost(host("/Mixed Case/Data.BAR"), "archive");
  writeHost(host("/Mixed Case/Caf\xC3\xA9.txt"), "latin");  // UTF-8 name on disk

  struct Case {
    std::string device;
    std::string host;
  } cases[] = {
      {dev("\\mixed case\\data.bar"), host("/Mixed Case/Data.BAR")},
      {dev("\\MIXED CASE\\DATA.bar"), host("/Mixed Case/Data.BAR")},
      {dev("/mixed case/data.bar"), host("/Mixed Case/Data.BAR")},
      {dev("\\\\mixed case\\.\\\\data.bar"), host("/Mixed Case/Data.BAR")},
      {dev("\\mixed case\\CAF\xC3\x89.TXT"), host("/Mixed Case/Caf\xC3\xA9.txt")},  // UTF-8 É
      {dev("\\mixed case\\caf\xE9.txt"), host("/Mixed Case/Caf\xC3\xA9.txt")},      // Latin-1 é
      {dev("\\mixed case\\New Folder\\File.TXT"), host("/Mixed Case/New Folder/File.TXT")},  // created as given
      {dev("\\mixed case\\data.ba"), host("/Mixed Case/data.ba")},                   // no prefix match
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fs::hostPath(c.device).value_or("<refused>"), c.host) << c.device;
  }
  EXPECT_EQ(readDevice(dev("\\MIXED CASE\\data.bar")), "archive");
  EXPECT_TRUE(g_logs.empty());
}

TEST_F(FsTest, ExactMatchWinsOverCaseFreeMatch) {
  writeHost(host("/Save.dat"), "upper");
  writeHost(host("/save.dat"), "lower");
  EXPECT_EQ(readDevice(dev("\\save.dat")), "lower");
  EXPECT_EQ(readDevice(dev("\\Save.dat")), "upper");
  EXPECT_EQ(readDevice(dev("\\SAVE.DAT")), "upper");  // the smallest of the case-free matches
}

TEST_F(FsTest, PathsLeavingTheRootAreRefusedAndLogged) {
  const std::string escapes[] = {
      "..",
      "\\..\\etc\\passwd",
      dev("\\a\\..\\..\\b"),
      "\\temp\\..",
      "c:\\windows",
      "file:///etc/passwd",
      root_ + "/temp/x",
      root_,
      std::string("\\temp\\a\0b", 9),
  };
  for (const std::string& path : escapes) {
    g_logs.clear();
    EXPECT_FALSE(fs::hostPath(path).has_value()) << path;
    EXPECT_EQ(g_logs.size(), 1u) << path;
    EXPECT_FALSE(fs::File::open(path, fs::OpenMode::Write)) << path;
    EXPECT_FALSE(fs::exists(path)) << path;
    EXPECT_FALSE(fs::replaceFile(path, "x", 1)) << path;
  }
  // An absolute host path outside the root is just a device path inside it.
  EXPECT_EQ(fs::hostPath("/etc/passwd"), root_ + "/etc/passwd");
  // Dots inside names are ordinary.
  EXPECT_EQ(fs::hostPath(dev("\\..a\\b..")), host("/..a/b.."));
}

// A symbolic link inside the device (to a folder outside it, to a file, in
// any letter case) is never followed: every path through it is refused and
// nothing lands outside the root.
TEST_F(FsTest, SymbolicLinksInsideTheRootAreRefused) {
  const std::string outside = ::testing::TempDir() + "bramble-fs-outside-" + std::to_string(::getpid());
  std::filesystem::remove_all(outside);
  std::filesystem::create_directories(outside);
  writeHost(outside + "/secret.txt", "outside");
  std::filesystem::create_directory_symlink(outside, host("/Out"));
  std::filesystem::create_symlink(outside + "/secret.txt", host("/file.lnk"));
  const std::string through[] = {dev("\\Out"), dev("\\out\\secret.txt"), dev("\\OUT\\new.txt"), dev("\\out\\sub\\new.txt"),
                                 dev("\\file.lnk"), dev("\\FILE.LNK")};
  for (const std::string& path : through) {
    SCOPED_TRACE(path);
    g_logs.clear();
    EXPECT_FALSE(fs::hostPath(path).has_value());
    ASSERT_EQ(g_logs.size(), 1u);
    EXPECT_NE(g_logs[0].find("symbolic link"), std::string::npos);
    EXPECT_FALSE(fs::File::open(path, fs::OpenMode::Write));
    EXPECT_FALSE(fs::replaceFile(path, "x", 1));
    EXPECT_EQ(readDevice(path), "<missing>");
  }
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(outside)) names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"secret.txt"});
  std::ifstream in(outside + "/secret.txt");
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "outside");
  std::filesystem::remove_all(outside);
}

TEST_F(FsTest, FileReadWriteSeekAndSize) {
  const std::string path = dev("\\Data.bin");
  {
    fs::File f = fs::File::open(path, fs::OpenMode::Write);
    ASSERT_TRUE(f);
    EXPECT_TRUE(f.write("hello world", 11));
    EXPECT_EQ(f.size(), 11);
    EXPECT_TRUE(f.seek(6, fs::SeekFrom::Start));
    char b[5];
    EXPECT_EQ(f.read(b, 5), 5u);
    EXPECT_EQ(std::string(b, 5), "world");
    EXPECT_EQ(f.read(b, 5), 0u);
    EXPECT_EQ(f.position(), 11);
    EXPECT_TRUE(f.close());
    EXPECT_TRUE(f.close());
  }
  EXPECT_EQ(fs::fileSize(dev("\\data.BIN")), 11);
  {
    fs::File f = fs::File::open(dev("\\DATA.bin"), fs::OpenMode::Update);
    ASSERT_TRUE(f);
    EXPECT_TRUE(f.seek(-5, fs::SeekFrom::End));
    EXPECT_TRUE(f.write("WORLD", 5));
  }
  {
    fs::File f = fs::File::open(path, fs::OpenMode::Append);
    EXPECT_TRUE(f.write("!", 1));
    EXPECT_TRUE(f.close());
  }
  EXPECT_EQ(readDevice(path), "hello WORLD!");
  EXPECT_TRUE(fs::truncate(path, 5));
  EXPECT_EQ(readDevice(path), "hello");

  // Missing files: no stream, no log line.
  EXPECT_FALSE(fs::File::open(dev("\\missing"), fs::OpenMode::Read));
  EXPECT_FALSE(fs::File::open(dev("\\missing"), fs::OpenMode::Update));
  EXPECT_EQ(fs::fileSize(dev("\\missing")), -1);
  EXPECT_TRUE(g_logs.empty());
  // A folder is not a file.
  EXPECT_FALSE(fs::File::open(base_, fs::OpenMode::Read));
  EXPECT_EQ(fs::fileSize(base_), -1);
  // Writing into a missing folder fails and says so.
  EXPECT_FALSE(fs::File::open(dev("\\no such folder\\x"), fs::OpenMode::Write));
  EXPECT_EQ(g_logs.size(), 1u);
}

TEST_F(FsTest, FolderOperations) {
  EXPECT_TRUE(fs::makeFolder(dev("\\One")));
  EXPECT_TRUE(fs::makeFolder(dev("\\one")));  // exists already (case-free)
  EXPECT_FALSE(fs::makeFolder(dev("\\x\\y")));
  EXPECT_TRUE(fs::makeFolders(dev("\\x\\y\\z")));
  EXPECT_TRUE(fs::isFolder(dev("\\X\\Y\\Z")));
  ASSERT_TRUE(fs::replaceFile(dev("\\one\\b.txt"), "b", 1));
  ASSERT_TRUE(fs::replaceFile(dev("\\one\\A.txt"), "a", 1));
  EXPECT_EQ(fs::listFolder(dev("\\ONE")), (std::vector<std::string>{"A.txt", "b.txt"}));
  EXPECT_FALSE(fs::listFolder(dev("\\one\\a.txt")).has_value());
  EXPECT_FALSE(fs::listFolder(dev("\\none")).has_value());

  EXPECT_TRUE(fs::rename(dev("\\one\\a.txt"), dev("\\one\\c.txt")));
  EXPECT_EQ(readDevice(dev("\\one\\C.TXT")), "a");
  EXPECT_TRUE(fs::rename(dev("\\one\\c.txt"), dev("\\one\\b.txt")));  // replaces
  EXPECT_EQ(readDevice(dev("\\one\\b.txt")), "a");
  EXPECT_FALSE(fs::rename(dev("\\one\\missing"), dev("\\one\\d")));

  EXPECT_FALSE(fs::remove(dev("\\one")));  // not empty
  EXPECT_TRUE(fs::remove(dev("\\ONE\\B.TXT")));
  EXPECT_FALSE(fs::remove(dev("\\one\\b.txt")));  // gone already
  EXPECT_TRUE(fs::remove(dev("\\one")));
  EXPECT_FALSE(fs::exists(dev("\\one")));
  EXPECT_FALSE(fs::remove("\\"));  // never the root
}

TEST_F(FsTest, AtomicReplaceWritesWholeFiles) {
  const std::string path = dev("\\store.idx");
  ASSERT_TRUE(fs::replaceFile(path, "old contents", 12));
  EXPECT_EQ(readDevice(path), "old contents");
  ASSERT_TRUE(fs::replaceFile(dev("\\STORE.IDX"), "new", 3));  // replaces the existing mixed-case match
  EXPECT_EQ(readDevice(path), "new");
  ASSERT_TRUE(fs::replaceFile(path, nullptr, 0));
  EXPECT_EQ(fs::fileSize(path), 0);

  {  // streaming form, abandoned: the old file stays, no temporary file remains
    ASSERT_TRUE(fs::replaceFile(path, "keep", 4));
    fs::AtomicFile f;
    ASSERT_TRUE(f.begin(path));
    EXPECT_TRUE(f.write("partial", 7));
  }
  EXPECT_EQ(readDevice(path), "keep");
  EXPECT_EQ(fs::listFolder(base_), (std::vector<std::string>{"store.idx"}));
}

TEST_F(FsTest, FailedAtomicReplaceKeepsTheOldFile) {
  const std::string path = dev("\\record.rec");
  ASSERT_TRUE(fs::replaceFile(path, "saved game", 10));

  // The disk fills up half-way: writes beyond 4 KiB fail (as for a full disk).
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::vector<char> big(64 * 1024, 'x');
    const bool ok = fs::replaceFile(path, big.data(), big.size());
    ::_exit(ok ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "replaceFile claimed success on a failed write";
  EXPECT_EQ(readDevice(path), "saved game");
  EXPECT_EQ(fs::listFolder(base_), (std::vector<std::string>{"record.rec"}));

  // The target is a folder: the rename fails, nothing is left behind.
  ASSERT_TRUE(fs::makeFolder(dev("\\folder")));
  EXPECT_FALSE(fs::replaceFile(dev("\\folder"), "x", 1));
  EXPECT_TRUE(fs::isFolder(dev("\\folder")));
  EXPECT_EQ(fs::listFolder(base_), (std::vector<std::string>{"folder", "record.rec"}));
  // The folder is missing.
  EXPECT_FALSE(fs::replaceFile(dev("\\missing\\x"), "x", 1));
}

TEST_F(FsTest, DefaultRootIsUnderTheXdgDataFolder) {
  const std::string saved = root_;
  const std::string data = root_ + "/xdg-data";
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  unsetenv("BRAMBLE_DEVICE_ROOT");
  fs::reloadDeviceRoot();
  EXPECT_EQ(fs::deviceRoot(), data + "/bramble-hollow/device");
  EXPECT_TRUE(fs::isFolder(fs::kTempFolder));
  setenv("XDG_DATA_HOME", "relative/ignored", 1);
  setenv("HOME", data.c_str(), 1);
  fs::reloadDeviceRoot();
  EXPECT_EQ(fs::deviceRoot(), data + "/.local/share/bramble-hollow/device");
  setenv("BRAMBLE_DEVICE_ROOT", saved.c_str(), 1);
  fs::reloadDeviceRoot();
  EXPECT_EQ(fs::deviceRoot(), saved);
}

TEST(FsFoldTest, FoldsAsciiAndLatin1Letters) {
  EXPECT_EQ(fs::foldCase("Program Files"), "program files");
  EXPECT_EQ(fs::foldCase("\xC3\x80\xC3\x9E\xC3\x97"), "\xC3\xA0\xC3\xBE\xC3\x97");  // À Þ × -> à þ ×
  EXPECT_EQ(fs::foldCase("\xE2\x82\xAC"), "\xE2\x82\xAC");                          // € unchanged
}

}  // namespace
