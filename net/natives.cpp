// Routing of the connection core's hooks to the runtime and the platform.
#include "net/natives.h"

#include <string>

#include "io/connection.h"
#include "net/connector.h"
#include "net/hooks.h"
#include "platform/window/window.h"
#include "runtime/log.h"

namespace bramble::net {

void installConnectionNatives() {
    setLogHook([](std::string_view line) {
        logPrintf("%.*s", static_cast<int>(line.size()), line.data());
    });
    setErrorBoxHook([](std::u16string_view text, std::u16string_view caption) {
        ::platform::showMessageBox(nullptr, toUtf8(caption), toUtf8(text), ::platform::MessageBoxButtons::Ok,
                                   ::platform::MessageBoxIcon::Error);
    });
    io::setConnectionOpener(&openConnection);
}

}  // namespace bramble::net
