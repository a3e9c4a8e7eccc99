// Settings for tests only: they let a test run the network layer against
// peers it starts itself on the loopback interface.
#pragma once

#include <cstdint>

namespace bramble::platform::net::testing {

// Every HTTP connection is made to 127.0.0.1:<port> instead of the host and
// port its URL names; the request itself (Host line included) is unchanged.
// 0 turns the redirection off. Takes effect for requests sent afterwards.
void redirectHttpToLoopback(uint16_t port);

}  // namespace bramble::platform::net::testing
