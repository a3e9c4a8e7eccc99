// Starting other programs: a program from this program's own folder (the sound
// server), and the web browser for a link. Never through a shell. Every child
// is reaped by a background waiter, so none is left a zombie; its exit status
// can be asked for by its process id.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace platform {

// The folder of the running executable, with a trailing '/'.
const std::string& programFolder();

// Starts programFolder() + name with the given arguments (argv[0] is the
// program's path) and this process's environment. Answers the child's process
// id, or -1 (logged) when the file is missing, not executable or the start
// fails. `name` must be a plain file name: a '/' or ".." in it is refused.
pid_t startProgram(std::string_view name, const std::vector<std::string>& arguments = {});

// Starts a program named by an absolute path or looked up in PATH, with
// argv = arguments (arguments[0] is the program). -1 (logged) on failure.
pid_t startCommand(const std::vector<std::string>& argv);

// Opens an http:// or https:// link in the user's browser: the command in
// BRAMBLE_BROWSER (split into words like a shell would, quotes and backslashes
// honoured, no expansions), else "xdg-open", with the link as its last argument.
// Any other kind of link, or one with control characters, is refused (logged).
// True when the browser process was started.
bool openUrl(std::string_view url);

// Splits a command line into words: blanks separate, '...' and "..." quote,
// a backslash escapes the next character (outside single quotes).
std::vector<std::string> splitCommandLine(std::string_view line);

// Waits up to timeoutMs (negative: for ever) for a child started here to end.
// True with its wait status (as waitpid gives it) when it has ended.
bool waitForChild(pid_t pid, int timeoutMs, int* status = nullptr);

}  // namespace platform
