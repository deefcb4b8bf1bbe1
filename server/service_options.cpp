#include "server/service_options.h"

#include <CLI/CLI.hpp>

#include <cstdlib>
#include <filesystem>
#include <ostream>

namespace pk10 {
namespace {

std::string dataDir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) {
        return (std::filesystem::path(xdg) / "pk10-service").string();
    }
    const char* home = std::getenv("HOME");
    return (std::filesystem::path(home && *home ? home : ".") / ".local/share/pk10-service")
        .string();
}

}  // namespace

std::string defaultDbPath() {
    return (std::filesystem::path(dataDir()) / "draws.sqlite").string();
}
std::string defaultUpdatesDir() {
    return (std::filesystem::path(dataDir()) / "updates").string();
}

CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& err) {
    CommandLine result;
    ServiceOptions& o = result.options;
    CLI::App app{"pk10-service: the draw service of the PK10 desktop program", "pk10-service"};
    app.add_option("--host", o.host, "Address to bind (loopback unless told otherwise)")
        ->capture_default_str();
    app.add_option("--port", o.port,
                   "Draw port: /, /draw.php, /newphase.php, /advert.html, "
                   "/download/<file>")
        ->capture_default_str()
        ->check(CLI::Range(0, 65535));
    app.add_option("--init-port", o.initPort, "Application-initialisation port: /appinit.php")
        ->capture_default_str()
        ->check(CLI::Range(0, 65535));
    app.add_option("--public-host", o.publicHost,
                   "Host written into the URLs of the init reply (default: the bind host)");
    app.add_option("--db", o.dbPath,
                   "SQLite store of the draws (default: " + defaultDbPath() + ")");
    bool simulateFlag = false;
    auto* simulate = app.add_flag("--simulate", simulateFlag,
                                  "Simulate a new random draw every interval "
                                  "(the default)");
    auto* replay = app.add_option("--replay", o.replayFile,
                                  "Publish the draws of a CSV one per interval, the first 500 as "
                                  "history")
                       ->check(CLI::ExistingFile);
    simulate->excludes(replay);
    app.add_option("--interval", o.intervalSeconds, "Seconds between draws")
        ->capture_default_str()
        ->check(CLI::Range(std::int64_t{1}, std::int64_t{86400}));
    app.add_option("--version", o.version, "Program version offered in the init reply")
        ->capture_default_str();
    app.add_option("--app-id", o.appId, "Application id the service accepts")
        ->capture_default_str();
    app.add_option("--secret-file", o.secretFile,
                   "File whose content seals the call-key cookies (default: random per run)")
        ->check(CLI::ExistingFile);
    app.add_option("--updates", o.updatesDir,
                   "Folder served under /download/ (default: " + defaultUpdatesDir() + ")");
    app.add_option("--update-file", o.updateFile, "File name written into proupurl")
        ->capture_default_str();
    app.add_option("--threads", o.threads, "Worker threads per port")
        ->capture_default_str()
        ->check(CLI::Range(1, 1024));
    bool quiet = false;
    app.add_flag("--quiet", quiet, "No log line per request");

    auto* import = app.add_subcommand("import", "Load a draw CSV into the store");
    import->add_option("FILE", result.importFile, "CSV: period,numbers or period,draw_time,numbers")
        ->required()
        ->check(CLI::ExistingFile);
    import->add_option("--db", o.dbPath, "SQLite store of the draws");
    import
        ->add_option("--interval", o.intervalSeconds,
                     "Spacing of the times given to rows without one")
        ->check(CLI::Range(std::int64_t{1}, std::int64_t{86400}));

    auto* keygen = app.add_subcommand("keygen", "Make an Ed25519 key pair for signing updates");
    keygen->add_option("--out", result.keyFile, "Private key file; the public key goes to KEY.pub")
        ->required();
    auto* sign = app.add_subcommand("sign", "Sign an update file: writes FILE.sig");
    sign->add_option("--key", result.keyFile, "Private key file made by keygen")
        ->required()
        ->check(CLI::ExistingFile);
    sign->add_option("FILE", result.signFile, "The update file")
        ->required()
        ->check(CLI::ExistingFile);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        result.action = CommandLine::Action::Exit;
        result.exitCode = app.exit(e, out, err);
        return result;
    }
    o.log = !quiet;
    result.action = import->parsed()   ? CommandLine::Action::Import
                    : keygen->parsed() ? CommandLine::Action::Keygen
                    : sign->parsed()   ? CommandLine::Action::Sign
                                       : CommandLine::Action::Serve;
    if (o.dbPath.empty()) {
        o.dbPath = defaultDbPath();
    }
    if (o.updatesDir.empty()) {
        o.updatesDir = defaultUpdatesDir();
    }
    if (o.publicHost.empty()) {
        o.publicHost = o.host;
    }
    return result;
}

}  // namespace pk10
