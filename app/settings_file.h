#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pk10 {

// The INI file "配置.ini" with one section named after the product title, read and written the
// way the Windows profile-string functions do: names match without regard to case, one pair of
// quotes around a value is dropped, a new key goes after the last key of its section, and file
// and section are created on the first write. The file is GBK with CR LF line ends; a write
// replaces it whole through a temporary file, so it is never left half-written.
class SettingsFile {
public:
    static constexpr std::string_view kFileName = "配置.ini";

    SettingsFile() = default;
    SettingsFile(std::filesystem::path path, std::string section)
        : path_(std::move(path)), section_(std::move(section)) {}

    // The settings file in `directory` (the working directory at start).
    static SettingsFile inDirectory(const std::filesystem::path& directory, std::string section);

    // The stored text, or `fallback` (without trailing blanks) when the file, the section or
    // the key is missing.
    std::string read(std::string_view key, std::string_view fallback) const;
    // False when the file could not be written.
    bool write(std::string_view key, std::string_view value) const;
    // Marks the file hidden where the file system knows the attribute; failures are ignored.
    void setHidden() const;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::string section_;
};

}  // namespace pk10
