// BSD-socket calls behind the socket client, with errno turned into WinSock
// error numbers. Sends use MSG_NOSIGNAL; interrupted calls are retried.
#include "platform/net/sockets.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace bramble::platform::net {

namespace {

thread_local int t_lastError = 0;

bool failWithErrno() {
    t_lastError = winsockErrorFromErrno(errno);
    return false;
}

int sendFlags(int flags) {
    int out = MSG_NOSIGNAL;
    if (flags & kMsgOob) out |= MSG_OOB;
    return out;
}

int receiveFlags(int flags) {
    int out = 0;
    if (flags & kMsgOob) out |= MSG_OOB;
    if (flags & kMsgPeek) out |= MSG_PEEK;
    return out;
}

int winsockErrorFromResolver(int code) {
    switch (code) {
        case EAI_NONAME: return wsa::kHOST_NOT_FOUND;
        case EAI_AGAIN: return wsa::kTRY_AGAIN;
        case EAI_FAIL: return wsa::kNO_RECOVERY;
#ifdef EAI_NODATA
        case EAI_NODATA: return wsa::kNO_DATA;
#endif
#ifdef EAI_ADDRFAMILY
        case EAI_ADDRFAMILY: return wsa::kNO_DATA;
#endif
        case EAI_MEMORY: return wsa::kENOBUFS;
        case EAI_SYSTEM: return winsockErrorFromErrno(errno);
        default: return wsa::kNO_RECOVERY;
    }
}

}  // namespace

int winsockErrorFromErrno(int e) {
    switch (e) {
        case EINTR: return wsa::kEINTR;
        case EBADF: return wsa::kENOTSOCK;  // a closed or never-made socket
        case EACCES:
        case EPERM: return wsa::kEACCES;
        case EFAULT: return wsa::kEFAULT;
        case EINVAL: return wsa::kEINVAL;
        case EMFILE:
        case ENFILE: return wsa::kEMFILE;
        case EAGAIN: return wsa::kEWOULDBLOCK;
        case EINPROGRESS: return wsa::kEINPROGRESS;
        case EALREADY: return wsa::kEALREADY;
        case ENOTSOCK: return wsa::kENOTSOCK;
        case EDESTADDRREQ: return wsa::kEDESTADDRREQ;
        case EMSGSIZE: return wsa::kEMSGSIZE;
        case EPROTOTYPE: return wsa::kEPROTOTYPE;
        case ENOPROTOOPT: return wsa::kENOPROTOOPT;
        case EPROTONOSUPPORT: return wsa::kEPROTONOSUPPORT;
        case ESOCKTNOSUPPORT: return wsa::kESOCKTNOSUPPORT;
        case EOPNOTSUPP: return wsa::kEOPNOTSUPP;
        case EPFNOSUPPORT: return wsa::kEPFNOSUPPORT;
        case EAFNOSUPPORT: return wsa::kEAFNOSUPPORT;
        case EADDRINUSE: return wsa::kEADDRINUSE;
        case EADDRNOTAVAIL: return wsa::kEADDRNOTAVAIL;
        case ENETDOWN: return wsa::kENETDOWN;
        case ENETUNREACH: return wsa::kENETUNREACH;
        case ENETRESET: return wsa::kENETRESET;
        case ECONNABORTED: return wsa::kECONNABORTED;
        case ECONNRESET: return wsa::kECONNRESET;
        case EPIPE: return wsa::kESHUTDOWN;  // writing after the connection was shut down
        case ENOBUFS:
        case ENOMEM: return wsa::kENOBUFS;
        case EISCONN: return wsa::kEISCONN;
        case ENOTCONN: return wsa::kENOTCONN;
        case ESHUTDOWN: return wsa::kESHUTDOWN;
        case ETIMEDOUT: return wsa::kETIMEDOUT;
        case ECONNREFUSED: return wsa::kECONNREFUSED;
        case ENAMETOOLONG: return wsa::kENAMETOOLONG;
        case EHOSTDOWN: return wsa::kEHOSTDOWN;
        case EHOSTUNREACH: return wsa::kEHOSTUNREACH;
        default: return wsa::kSYSCALLFAILURE;
    }
}

int lastSocketError() { return t_lastError; }

SocketHandle socketCreate() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd < 0) failWithErrno();
    return fd < 0 ? kInvalidSocket : fd;
}

std::optional<uint32_t> lookupHostName(const char* name) {
    if (!name) {
        t_lastError = wsa::kEFAULT;
        return std::nullopt;
    }
    in_addr numeric{};
    if (::inet_aton(name, &numeric)) {
        t_lastError = wsa::kHOST_NOT_FOUND;  // an address, not a name
        return std::nullopt;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int rc = ::getaddrinfo(name, nullptr, &hints, &found);
    if (rc != 0 || !found) {
        t_lastError = rc != 0 ? winsockErrorFromResolver(rc) : wsa::kNO_DATA;
        return std::nullopt;
    }
    uint32_t address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(found);
    return address;
}

std::optional<uint32_t> parseDottedAddress(const char* text) {
    if (!text) return std::nullopt;
    in_addr_t address = ::inet_addr(text);
    if (address == INADDR_NONE) return std::nullopt;
    return static_cast<uint32_t>(address);
}

bool socketConnect(SocketHandle socket, uint32_t address, uint16_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = address;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return true;
    return failWithErrno();
}

bool socketBind(SocketHandle socket, uint16_t port) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0) return true;
    return failWithErrno();
}

bool socketListen(SocketHandle socket, int backlog) {
    if (::listen(socket, backlog) == 0) return true;
    return failWithErrno();
}

SocketHandle socketAccept(SocketHandle listener) {
    for (;;) {
        int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) return fd;
        if (errno != EINTR) {
            failWithErrno();
            return kInvalidSocket;
        }
    }
}

long socketSend(SocketHandle socket, const void* buffer, size_t length, int flags) {
    const auto* bytes = static_cast<const char*>(buffer);
    size_t sent = 0;
    while (sent < length) {
        ssize_t n = ::send(socket, bytes + sent, length - sent, sendFlags(flags));
        if (n < 0) {
            if (errno == EINTR) continue;
            failWithErrno();
            return -1;
        }
        sent += static_cast<size_t>(n);
    }
    if (length == 0 && ::send(socket, bytes, 0, sendFlags(flags)) < 0) {
        failWithErrno();
        return -1;
    }
    return static_cast<long>(sent);
}

long socketReceive(SocketHandle socket, void* buffer, size_t length, int flags) {
    for (;;) {
        ssize_t n = ::recv(socket, buffer, length, receiveFlags(flags));
        if (n >= 0) return static_cast<long>(n);
        if (errno != EINTR) {
            failWithErrno();
            return -1;
        }
    }
}

bool socketShutdown(SocketHandle socket, int how) {
    if (how < kShutdownReceive || how > kShutdownBoth) {
        t_lastError = wsa::kEINVAL;
        return false;
    }
    static_assert(SHUT_RD == kShutdownReceive && SHUT_WR == kShutdownSend && SHUT_RDWR == kShutdownBoth);
    if (::shutdown(socket, how) == 0) return true;
    return failWithErrno();
}

bool socketClose(SocketHandle socket) {
    // After close() the descriptor is gone even when it reports EINTR.
    if (::close(socket) == 0 || errno == EINTR) return true;
    return failWithErrno();
}

uint16_t socketLocalPort(SocketHandle socket) {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&local), &size) != 0 || local.sin_family != AF_INET)
        return 0;
    return ntohs(local.sin_port);
}

}  // namespace bramble::platform::net
