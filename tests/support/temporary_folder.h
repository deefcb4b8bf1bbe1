#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace pk10::testing {

// A fresh, uniquely named temporary folder, removed with everything in it when the object goes.
struct TemporaryFolder {
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pk10-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::filesystem::path path;
};

}  // namespace pk10::testing
