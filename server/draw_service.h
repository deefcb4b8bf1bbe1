#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "server/service_options.h"
#include "service/clock.h"

namespace pk10 {

// The whole pk10-service: the store, the draw source and the two HTTP ports. Runs on its
// own threads between start() and stop(), so a test can run it in-process.
class DrawService {
public:
    // `clock` must outlive the service; the system clock when null.
    explicit DrawService(ServiceOptions options, const Clock* clock = nullptr);
    ~DrawService();
    DrawService(const DrawService&) = delete;
    DrawService& operator=(const DrawService&) = delete;

    // Opens the store, publishes the history if it is empty, binds both ports and starts
    // serving; false with a message when any of that fails.
    bool start(std::string& error);
    // Stops accepting, lets requests in flight finish, stops the draw source and closes the
    // store. Safe to call twice.
    void stop();

    // The bound ports (meaningful after a successful start; a port of 0 was replaced).
    int drawPort() const;
    int initPort() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Loads a draw CSV into the store at `options.dbPath`, printing progress to `progress`.
// Returns the process exit code.
int importDraws(const ServiceOptions& options, const std::string& file, std::FILE* progress);

}  // namespace pk10
