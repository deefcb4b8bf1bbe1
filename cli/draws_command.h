#pragma once

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>

#include "service/clock.h"
#include "service/event_pump.h"
#include "service/http_transport.h"

namespace pk10 {

struct DrawsOptions {
    std::string service;   // init URL
    std::string fallback;  // tried when the service fails; empty for none
    int count = 50;
};

// The application id the product connects with.
inline constexpr std::int32_t kDrawsAppId = 1112;

// Connects to the service and prints "newest PERIOD NUMBERS NEXT_DRAW_TIME" (or "newest -"),
// then "PERIOD NUMBERS" per recent draw, newest first. On a failed init or draw list prints the
// client's failure text on `err` and returns 1.
int runDraws(const DrawsOptions& options, HttpTransport& transport, const Clock& clock,
             const Uptime& uptime, EventPump& pump, std::ostream& out, std::ostream& err);

void addDrawsCommand(CLI::App& app, std::ostream& out, std::ostream& err, int& exitCode);

}  // namespace pk10
