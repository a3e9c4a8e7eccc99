// Device paths of the game ("\temp\sound1.mid") mapped into the device root
// folder: BRAMBLE_DEVICE_ROOT, else $XDG_DATA_HOME/bramble-hollow/device,
// else ~/.local/share/bramble-hollow/device. Each part of the path matches a
// file or folder of the root without regard to case; "." and ".." parts are
// refused, so a mapped path never leaves the root.
// This is the sound server's private copy of the mapping rule of the shared
// path layer, kept to this one function so that it can be replaced by it.
#pragma once

#include <optional>
#include <string>

namespace soundpump {

std::string deviceRoot();

// The host path for a device path, or nothing when the path is refused.
std::optional<std::string> mapDevicePath(const std::string& devicePath);

}  // namespace soundpump
