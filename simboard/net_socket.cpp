// Portable TCP sockets on 127.0.0.1 (see net_socket.h).
#include "net_socket.h"

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#endif

#include <mutex>

namespace simboard::net {

namespace {

#if defined(_WIN32)
using Native = SOCKET;
Native native(Socket s) { return static_cast<Native>(s); }
Socket wrap(Native n) { return n == INVALID_SOCKET ? kInvalid : static_cast<Socket>(n); }
void close_native(Native n) { ::closesocket(n); }
#else
using Native = int;
Native native(Socket s) { return static_cast<Native>(s); }
Socket wrap(Native n) { return n < 0 ? kInvalid : static_cast<Socket>(n); }
void close_native(Native n) { ::close(n); }
#endif

sockaddr_in loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<unsigned short>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// Events are small lines that a controller waits for; Nagle would only delay them.
void no_delay(Native n) {
    int one = 1;
    ::setsockopt(n, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
}

}  // namespace

bool startup() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] {
#if defined(_WIN32)
        WSADATA data;
        ok = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
#else
        // A controller that vanishes must not kill the process that writes to it.
        ::signal(SIGPIPE, SIG_IGN);
        ok = true;
#endif
    });
    return ok;
}

Socket listen_local(int port) {
    if (!startup() || port < 0 || port > 65535) return kInvalid;
    Native n = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (wrap(n) == kInvalid) return kInvalid;
#if !defined(_WIN32)
    // Lets a restarted board take its port back at once; Windows would allow port theft instead.
    int one = 1;
    ::setsockopt(n, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&one), sizeof one);
#endif
    sockaddr_in a = loopback(port);
    if (::bind(n, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(n, 4) != 0) {
        close_native(n);
        return kInvalid;
    }
    return wrap(n);
}

int local_port(Socket s) {
    if (s == kInvalid) return 0;
    sockaddr_in a{};
#if defined(_WIN32)
    int len = sizeof a;
#else
    socklen_t len = sizeof a;
#endif
    if (::getsockname(native(s), reinterpret_cast<sockaddr*>(&a), &len) != 0) return 0;
    return ntohs(a.sin_port);
}

Socket accept_one(Socket listener) {
    if (listener == kInvalid) return kInvalid;
    Native n = ::accept(native(listener), nullptr, nullptr);
    if (wrap(n) != kInvalid) no_delay(n);
    return wrap(n);
}

Socket connect_local(int port) {
    if (!startup() || port <= 0 || port > 65535) return kInvalid;
    Native n = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (wrap(n) == kInvalid) return kInvalid;
    sockaddr_in a = loopback(port);
    if (::connect(n, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close_native(n);
        return kInvalid;
    }
    no_delay(n);
    return wrap(n);
}

bool send_all(Socket s, const char* data, std::size_t size) {
    if (s == kInvalid) return false;
    while (size > 0) {
        int chunk = size > 65536 ? 65536 : static_cast<int>(size);
#if defined(_WIN32)
        int sent = ::send(native(s), data, chunk, 0);
#else
        long sent = ::send(native(s), data, static_cast<std::size_t>(chunk), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
#endif
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

long receive_some(Socket s, char* buffer, std::size_t size) {
    if (s == kInvalid) return -1;
    int want = size > 65536 ? 65536 : static_cast<int>(size);
    for (;;) {
#if defined(_WIN32)
        int got = ::recv(native(s), buffer, want, 0);
        return got;
#else
        long got = ::recv(native(s), buffer, static_cast<std::size_t>(want), 0);
        if (got < 0 && errno == EINTR) continue;
        return got;
#endif
    }
}

bool wait_readable(Socket s, int timeout_ms) {
    if (s == kInvalid) return false;
#if defined(_WIN32)
    fd_set set;
    FD_ZERO(&set);
    FD_SET(native(s), &set);
    timeval tv{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
    return ::select(0, &set, nullptr, nullptr, &tv) > 0;
#else
    pollfd p{native(s), POLLIN, 0};
    return ::poll(&p, 1, timeout_ms) > 0;
#endif
}

void shutdown_both(Socket s) {
    if (s == kInvalid) return;
#if defined(_WIN32)
    ::shutdown(native(s), SD_BOTH);
#else
    ::shutdown(native(s), SHUT_RDWR);
#endif
}

void close(Socket s) {
    if (s == kInvalid) return;
    shutdown_both(s);
    close_native(native(s));
}

}  // namespace simboard::net
