// pk10-service: the draw service the desktop program talks to.
#include <csignal>
#include <cstdio>
#include <iostream>

#include "server/draw_service.h"
#include "server/release_signing.h"
#include "server/service_options.h"

int main(int argc, char** argv) {
    const pk10::CommandLine command = pk10::parseCommandLine(argc, argv, std::cout, std::cerr);
    switch (command.action) {
        case pk10::CommandLine::Action::Exit:
            return command.exitCode;
        case pk10::CommandLine::Action::Import:
            return pk10::importDraws(command.options, command.importFile, stderr);
        case pk10::CommandLine::Action::Keygen:
        case pk10::CommandLine::Action::Sign: {
            std::string error;
            const bool keygen = command.action == pk10::CommandLine::Action::Keygen;
            const bool ok =
                keygen ? pk10::ReleaseSigning::generateKey(command.keyFile, error)
                       : pk10::ReleaseSigning::signFile(command.keyFile, command.signFile, error);
            if (!ok) {
                std::fprintf(stderr, "pk10-service: %s\n", error.c_str());
                return 1;
            }
            return 0;
        }
        case pk10::CommandLine::Action::Serve:
            break;
    }

    // Block the stop signals before any thread starts, so only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    pk10::DrawService service(command.options);
    std::string error;
    if (!service.start(error)) {
        std::fprintf(stderr, "pk10-service: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr,
                 "pk10-service: draws on http://%s:%d/, init on http://%s:%d/appinit.php, "
                 "store %s\n",
                 command.options.host.c_str(), service.drawPort(), command.options.host.c_str(),
                 service.initPort(), command.options.dbPath.c_str());

    int signal = 0;
    sigwait(&stopSignals, &signal);
    std::fprintf(stderr, "pk10-service: stopping (signal %d)\n", signal);
    service.stop();
    return 0;
}
