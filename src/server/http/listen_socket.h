#pragma once
// The listening socket and the text form of client addresses.
#include <string>

struct sockaddr;

namespace cd::server::http {

/// A non-blocking listening socket on "ADDR:PORT" ("[::1]:PORT" for IPv6,
/// ":PORT" for every address; port 0 picks a free one). Returns the socket,
/// or -1 with error set.
int openListenSocket(const std::string& hostPort, std::string* error);

/// The address a socket listens on, as "ADDR:PORT".
std::string localAddressOf(int fd);
/// The port a socket listens on.
int localPortOf(int fd);

/// The text of a client's address; an IPv4 address mapped into IPv6 is
/// given in its IPv4 form, so one client has one name.
std::string addressText(const sockaddr* address);

}  // namespace cd::server::http
