// Case-insensitive mapping of device paths into the device root folder.
#include "soundpump/device_path.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace soundpump {

namespace fs = std::filesystem;

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The entry of `dir` whose name matches `part` (exactly first, then without
// regard to case), or `part` itself when none does.
std::string matchEntry(const fs::path& dir, const std::string& part) {
    std::error_code ec;
    if (fs::exists(dir / part, ec)) return part;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        std::string name = entry.path().filename().string();
        if (sameIgnoringCase(name, part)) return name;
    }
    return part;
}

}  // namespace

std::string deviceRoot() {
    if (const char* root = std::getenv("BRAMBLE_DEVICE_ROOT"); root && *root) return root;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::string(data) + "/bramble-hollow/device";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/bramble-hollow/device";
}

std::optional<std::string> mapDevicePath(const std::string& devicePath) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : devicePath + "\\") {
        if (c == '\\' || c == '/') {
            if (part == "." || part == "..") return std::nullopt;
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else if (c == '\0') {
            return std::nullopt;
        } else {
            part += c;
        }
    }
    if (parts.empty()) return std::nullopt;
    fs::path at = deviceRoot();
    for (const std::string& p : parts) at /= matchEntry(at, p);
    return at.string();
}

}  // namespace soundpump
