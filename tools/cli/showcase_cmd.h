// The cross-promotion pack's sub-commands of bramble-kit.
#pragma once

#include <string>
#include <vector>

namespace kit {

// verb "showcase", or "inspect"/"damage" with a[0] == "showcase"; -1 when
// the arguments do not fit.
int showcaseCommand(const std::string& verb, const std::vector<std::string>& a);

}  // namespace kit
