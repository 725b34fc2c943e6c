#pragma once
// The command line of channeldeck-server:
//   channeldeck-server --listen ADDR:PORT --data DIR [--database URL] [options]
//   channeldeck-server publish DATA.HTM --data DIR [--database URL]
//   channeldeck-server token --data DIR [--database URL] [--new]
#include <optional>
#include <string>
#include <vector>

#include "catalogue_server.h"

namespace cd::server {

struct ServerOptions {
    enum class Command { Serve, Publish, Token, Help, Version };
    Command command = Command::Serve;
    ServerConfig config;
    /// publish: the file to publish.
    std::string publishFile;
    /// token: make a new token (the old one stops working).
    bool newToken = false;
};

/// The options of args (without the program name), or nothing with error set.
std::optional<ServerOptions> parseServerOptions(const std::vector<std::string>& args, std::string* error);

/// The usage text.
std::string serverUsage();

}  // namespace cd::server
