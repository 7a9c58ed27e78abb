// Portable TCP sockets on 127.0.0.1: Winsock on Windows, POSIX elsewhere. Owns only the
// socket calls, so the board's control connection and its test client share one code path.
#pragma once

#include <cstddef>
#include <cstdint>

namespace simboard::net {

using Socket = std::intptr_t;
constexpr Socket kInvalid = -1;

// Starts the socket layer once per process (Winsock); harmless elsewhere.
bool startup();

// Listens on 127.0.0.1:port (0: any free port); kInvalid when the port cannot be had.
Socket listen_local(int port);

// The port a socket is bound to (for a listener made with port 0); 0 when unknown.
int local_port(Socket s);

// Waits for the next connection; kInvalid once the listener has been closed.
Socket accept_one(Socket listener);

// One connection attempt to 127.0.0.1:port; kInvalid when nobody listens.
Socket connect_local(int port);

// Sends every byte or fails.
bool send_all(Socket s, const char* data, std::size_t size);

// Some bytes (> 0), 0 at orderly end, < 0 on error.
long receive_some(Socket s, char* buffer, std::size_t size);

// Waits up to timeout_ms for data to read; true when reading will not block.
bool wait_readable(Socket s, int timeout_ms);

// Stops both directions so that a thread blocked in accept/receive returns, then releases.
void close(Socket s);

// Stops both directions without releasing, for a socket another thread may still read.
void shutdown_both(Socket s);

}  // namespace simboard::net
