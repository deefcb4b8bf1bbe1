#include "cli/draws_command.h"

#include <vector>

#include "service/curl_transport.h"
#include "service/draw_record.h"
#include "service/service_client.h"

namespace pk10 {

int runDraws(const DrawsOptions& options, HttpTransport& transport, const Clock& clock,
             const Uptime& uptime, EventPump& pump, std::ostream& out, std::ostream& err) {
    ServiceClient client(transport, clock, uptime, pump);
    if (!client.init(options.service, kDrawsAppId) &&
        (options.fallback.empty() || !client.init(options.fallback, kDrawsAppId))) {
        err << client.lastError() << '\n';
        return 1;
    }

    std::vector<std::string> fields;
    if (client.newestDraw(fields) && fields.size() == 8) {
        out << "newest " << fields[1] << ' ' << fields[3] << ' ' << fields[7] << '\n';
    } else {
        out << "newest -\n";
    }

    DrawTable table;
    if (!client.selectDraw(options.count, table)) {
        err << client.lastError() << '\n';
        return 1;
    }
    if (const auto records = drawRecordsFromTable(table)) {
        for (const DrawRecord& record : *records) {
            out << record.period << ' ' << record.numbers << '\n';
        }
    }
    return 0;
}

void addDrawsCommand(CLI::App& app, std::ostream& out, std::ostream& err, int& exitCode) {
    auto options = std::make_shared<DrawsOptions>();
    CLI::App* command = app.add_subcommand("draws", "Print the newest and the recent draws");
    command->add_option("--service", options->service, "Initialisation URL of the draw service")
        ->required();
    command->add_option("--fallback", options->fallback, "URL tried when the service fails");
    command->add_option("--count", options->count, "Number of recent draws")
        ->check(CLI::Range(1, 100000));
    command->callback([options, &out, &err, &exitCode] {
        SystemClock clock;
        SystemUptime uptime;
        NoEventPump pump;
        CurlTransport transport(pump);
        exitCode = runDraws(*options, transport, clock, uptime, pump, out, err);
    });
}

}  // namespace pk10
