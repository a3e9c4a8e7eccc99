// Starting programs from the program folder and the browser command.
#include "platform/process/process.h"

#include "platform/log/log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace {

std::string g_lastLog;
void captureLog(platform::LogLevel, const char* message) { g_lastLog = message; }

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = platform::setLogSink(&captureLog); g_lastLog.clear(); }
  void TearDown() override { platform::setLogSink(previous_); unsetenv("BRAMBLE_BROWSER"); }
  platform::LogSink previous_ = nullptr;
};

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST_F(ProcessTest, ProgramFolderIsTheExecutablesFolder) {
  const std::string& folder = platform::programFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(folder.front(), '/');
}

TEST_F(ProcessTest, MissingProgramFailsAndIsLogged) {
  EXPECT_EQ(platform::startProgram("SoundPump.bin"), -1);
  EXPECT_NE(g_lastLog.find("SoundPump.bin"), std::string::npos) << g_lastLog;
}

TEST_F(ProcessTest, NamesThatLeaveTheFolderAreRefused) {
  for (const char* name : {"../platform_process_child", "sub/child", "", ".."}) {
    EXPECT_EQ(platform::startProgram(name), -1) << name;
  }
}

TEST_F(ProcessTest, ProgramRunsWithItsArgumentsAndIsReaped) {
  const pid_t pid = platform::startProgram("platform_process_child", {"exit", "7"});
  ASSERT_GT(pid, 0);
  int status = 0;
  ASSERT_TRUE(platform::waitForChild(pid, 10000, &status));
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 7);
}

TEST_F(ProcessTest, BrowserCommandGetsTheLinkAsOneArgument) {
  const std::string out = ::testing::TempDir() + "browser-args-" + std::to_string(::getpid()) + ".txt";
  std::remove(out.c_str());
  const std::string command = "'" + platform::programFolder() + "platform_process_child' record " + out + " \"two words\"";
  setenv("BRAMBLE_BROWSER", command.c_str(), 1);
  const std::string link = "https://example.invalid/a b?x=1;echo $HOME&y='2'";
  ASSERT_TRUE(platform::openUrl(link));
  // The browser runs on its own; wait (bounded) for what it wrote.
  const std::string expected = "two words\n" + link + "\n";
  for (int i = 0; i < 12000 && readFile(out) != expected; ++i) usleep(5000);  // 60 s hang guard
  EXPECT_EQ(readFile(out), expected);
  std::remove(out.c_str());
}

TEST_F(ProcessTest, OnlyWebLinksAreOpened) {
  setenv("BRAMBLE_BROWSER", "/bin/true", 1);
  for (const char* link : {"file:///etc/passwd", "-version", "", "javascript:alert(1)", "http://a\nb", "https://"}) {
    EXPECT_FALSE(platform::openUrl(link)) << link;
  }
  EXPECT_TRUE(platform::openUrl("HTTP://example.invalid/"));
}

TEST_F(ProcessTest, MissingBrowserFails) {
  setenv("BRAMBLE_BROWSER", "/nonexistent/browser --new-tab", 1);
  EXPECT_FALSE(platform::openUrl("https://example.invalid/"));
}

TEST_F(ProcessTest, SplitsCommandLinesLikeAShell) {
  using V = std::vector<std::string>;
  EXPECT_EQ(platform::splitCommandLine("firefox --new-tab"), (V{"firefox", "--new-tab"}));
  EXPECT_EQ(platform::splitCommandLine("  a\t b  "), (V{"a", "b"}));
  EXPECT_EQ(platform::splitCommandLine("'/opt/my browser/run' -x"), (V{"/opt/my browser/run", "-x"}));
  EXPECT_EQ(platform::splitCommandLine("\"a \\\"q\\\" b\" c\\ d"), (V{"a \"q\" b", "c d"}));
  EXPECT_EQ(platform::splitCommandLine("'' x"), (V{"", "x"}));
  EXPECT_EQ(platform::splitCommandLine("$HOME;ls"), (V{"$HOME;ls"}));
  EXPECT_EQ(platform::splitCommandLine(""), V{});
}

}  // namespace
