// Resource bytes by name for the runtime's own start-up reads (the string
// pool's "/constants.bin"). The layer that owns the data archive installs
// the reader; tests install one that hands over prepared bytes. Without a
// reader every resource is missing.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace rt {

// Fills bytes with the whole resource; false when there is no such resource.
using ResourceReader = std::function<bool(const char* name, std::vector<uint8_t>& bytes)>;

void setResourceReader(ResourceReader reader);
// False (bytes empty) when no reader is installed or the resource is missing.
bool readResource(const char* name, std::vector<uint8_t>& bytes);

}  // namespace rt
