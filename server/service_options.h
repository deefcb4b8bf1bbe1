#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace pk10 {

// Everything the service can be told on its command line.
struct ServiceOptions {
    std::string host = "127.0.0.1";
    int port = 19200;        // 0: any free port (tests)
    int initPort = 19300;    // 0: any free port (tests)
    std::string publicHost;  // written into the URLs of the "init" reply; "" = host
    std::string dbPath;      // "" = defaultDbPath()
    std::string replayFile;  // "" = simulate
    std::int64_t intervalSeconds = 300;
    std::string version = "1.41";
    int appId = 1112;
    std::string secretFile;  // "" = a random secret per run
    std::string updatesDir;  // "" = defaultUpdatesDir()
    std::string updateFile = "pk10-update.exe";
    int threads = 32;
    bool log = true;
};

// $XDG_DATA_HOME/pk10-service (or ~/.local/share/pk10-service) plus the file name.
std::string defaultDbPath();
std::string defaultUpdatesDir();

// What the command line asks for.
struct CommandLine {
    enum class Action { Serve, Import, Keygen, Sign, Exit };
    Action action = Action::Serve;
    ServiceOptions options;
    std::string importFile;
    std::string keyFile;   // Keygen: where the key pair goes; Sign: the private key
    std::string signFile;  // Sign: the file whose FILE.sig is written
    int exitCode = 0;      // Action::Exit: after --help or a usage error (already printed)
};

CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& err);

}  // namespace pk10
