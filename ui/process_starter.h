#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pk10 {

// Starts a program without waiting for it. The program hands over to the updater this way;
// tests replace it to see what would be started.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // True when the program was started with `arguments` (after its own path).
    virtual bool start(const std::filesystem::path& program,
                       const std::vector<std::string>& arguments) = 0;
};

}  // namespace pk10
