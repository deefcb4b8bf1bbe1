#pragma once

#include <string>

namespace pk10 {

// The application settings the service delivers on "init", one text per payload member.
struct AppSettings {
    std::string drawurl;   // endpoint for draw queries
    std::string newphase;  // URL whose body is the newest period number
    std::string advert1;   // address for the main window's browser pane
    std::string advert2;
    std::string version;   // newest program version offered
    std::string proupurl;  // download address of the update
    std::string seo;

    bool operator==(const AppSettings&) const = default;
};

}  // namespace pk10
