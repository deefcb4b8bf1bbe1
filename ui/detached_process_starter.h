#pragma once

#include "ui/process_starter.h"

namespace pk10 {

// Starts a program in a session of its own, so it outlives the program that started it and
// is not ended with its terminal or process group. It inherits no descriptors but the
// standard three.
class DetachedProcessStarter final : public ProcessStarter {
public:
    bool start(const std::filesystem::path& program,
               const std::vector<std::string>& arguments) override;
};

}  // namespace pk10
