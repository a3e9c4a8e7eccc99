// Linked into every test program: a program run by hand, without the
// environment that ctest gives it, gets the same defaults before anything
// else runs (headless window and sound, answered message boxes, and a device
// root and window folder in its own work folder, which also becomes the
// current folder), so it never touches the user's real device folder.
// Variables already set are left alone.
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

[[gnu::constructor(101)]] void setTestDefaults() {
    // Without a device root the program was not started by ctest: it works
    // in its own work folder as ctest would have it do.
    if (!std::getenv("BRAMBLE_DEVICE_ROOT") && chdir(BRAMBLE_TEST_WORKDIR) != 0) {
        // The folder is made at configure time; without it the current one stays.
    }
    const std::string defaults = BRAMBLE_TEST_DEFAULT_ENV;
    size_t from = 0;
    while (from < defaults.size()) {
        size_t end = defaults.find(';', from);
        if (end == std::string::npos) end = defaults.size();
        const std::string item = defaults.substr(from, end - from);
        const size_t eq = item.find('=');
        if (eq != std::string::npos && eq > 0) setenv(item.substr(0, eq).c_str(), item.c_str() + eq + 1, 0);
        from = end + 1;
    }
}

}  // namespace

// Under the sanitizer build the same options as under ctest (leaks of the
// libraries underneath are not ours to judge); read before main.
extern "C" [[gnu::used]] const char* __asan_default_options() { return "detect_leaks=0:abort_on_error=0"; }
