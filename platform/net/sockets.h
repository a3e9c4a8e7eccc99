// TCP sockets over BSD sockets, shaped as the socket client uses them: IPv4
// stream sockets, connect by address, bind to any local address, listen,
// accept, send, receive, shut down, close. Sending never raises SIGPIPE; all
// descriptors are close-on-exec. A failing call leaves a WinSock error number
// (the numbers the client's messages print) in lastSocketError() of the
// calling thread. Every call that can block is one call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace bramble::platform::net {

using SocketHandle = int;
inline constexpr SocketHandle kInvalidSocket = -1;

// WinSock error numbers.
namespace wsa {
inline constexpr int kEINTR = 10004;
inline constexpr int kEBADF = 10009;
inline constexpr int kEACCES = 10013;
inline constexpr int kEFAULT = 10014;
inline constexpr int kEINVAL = 10022;
inline constexpr int kEMFILE = 10024;
inline constexpr int kEWOULDBLOCK = 10035;
inline constexpr int kEINPROGRESS = 10036;
inline constexpr int kEALREADY = 10037;
inline constexpr int kENOTSOCK = 10038;
inline constexpr int kEDESTADDRREQ = 10039;
inline constexpr int kEMSGSIZE = 10040;
inline constexpr int kEPROTOTYPE = 10041;
inline constexpr int kENOPROTOOPT = 10042;
inline constexpr int kEPROTONOSUPPORT = 10043;
inline constexpr int kESOCKTNOSUPPORT = 10044;
inline constexpr int kEOPNOTSUPP = 10045;
inline constexpr int kEPFNOSUPPORT = 10046;
inline constexpr int kEAFNOSUPPORT = 10047;
inline constexpr int kEADDRINUSE = 10048;
inline constexpr int kEADDRNOTAVAIL = 10049;
inline constexpr int kENETDOWN = 10050;
inline constexpr int kENETUNREACH = 10051;
inline constexpr int kENETRESET = 10052;
inline constexpr int kECONNABORTED = 10053;
inline constexpr int kECONNRESET = 10054;
inline constexpr int kENOBUFS = 10055;
inline constexpr int kEISCONN = 10056;
inline constexpr int kENOTCONN = 10057;
inline constexpr int kESHUTDOWN = 10058;
inline constexpr int kETIMEDOUT = 10060;
inline constexpr int kECONNREFUSED = 10061;
inline constexpr int kENAMETOOLONG = 10063;
inline constexpr int kEHOSTDOWN = 10064;
inline constexpr int kEHOSTUNREACH = 10065;
inline constexpr int kSYSCALLFAILURE = 10107;
inline constexpr int kHOST_NOT_FOUND = 11001;
inline constexpr int kTRY_AGAIN = 11002;
inline constexpr int kNO_RECOVERY = 11003;
inline constexpr int kNO_DATA = 11004;
}  // namespace wsa

// The WinSock number for an errno value (kSYSCALLFAILURE when none fits).
int winsockErrorFromErrno(int errnoValue);

// WinSock error number of the last failing socket call on this thread.
int lastSocketError();

// Flags of send and receive (WinSock values).
inline constexpr int kMsgOob = 1;
inline constexpr int kMsgPeek = 2;

// Shutdown directions (WinSock values).
inline constexpr int kShutdownReceive = 0;
inline constexpr int kShutdownSend = 1;
inline constexpr int kShutdownBoth = 2;

// A new IPv4 TCP socket, or kInvalidSocket.
SocketHandle socketCreate();

// Looks a host name up in the name service; the first IPv4 address, in
// network byte order. A text that is a numeric address is not a name and
// answers nothing (parseDottedAddress reads those).
std::optional<uint32_t> lookupHostName(const char* name);

// A dotted IPv4 address text, in network byte order; nothing for text that is
// not one, and for 255.255.255.255, which stands for "no address".
std::optional<uint32_t> parseDottedAddress(const char* text);

// Blocking.
bool socketConnect(SocketHandle socket, uint32_t address, uint16_t port);

// Binds to any local address.
bool socketBind(SocketHandle socket, uint16_t port);
bool socketListen(SocketHandle socket, int backlog);

// Blocking. The accepted socket, or kInvalidSocket.
SocketHandle socketAccept(SocketHandle listener);

// Blocking. Sends all `length` bytes; answers `length`, or -1 on failure.
long socketSend(SocketHandle socket, const void* buffer, size_t length, int flags);

// Blocking. Bytes received, 0 when the peer has closed, -1 on failure.
long socketReceive(SocketHandle socket, void* buffer, size_t length, int flags);

bool socketShutdown(SocketHandle socket, int how);
bool socketClose(SocketHandle socket);

// The local port a socket is bound to (0 when unknown).
uint16_t socketLocalPort(SocketHandle socket);

}  // namespace bramble::platform::net
