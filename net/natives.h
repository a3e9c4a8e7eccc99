// Start-up wiring of the connection classes into the program: the connection
// core's log lines go to the runtime's debug log, its error boxes to the
// platform's message boxes (no owner, stop icon, OK button; headless runs
// log them and answer at once), and Connector.open to this library's opener.
#pragma once

namespace bramble::net {

// Idempotent; call once at start before any connection is opened.
void installConnectionNatives();

}  // namespace bramble::net
