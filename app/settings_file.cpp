#include "app/settings_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>
#include <vector>

#include "service/gbk.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace pk10 {

namespace {

constexpr std::string_view kBlanks = " \t\n\v\f\r\x1a";

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::optional<std::string> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lines of the file without their ends; CR LF, LF and a lone CR all end a line.
std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            lines.emplace_back(bytes.substr(start, i - start));
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < bytes.size()) {
        lines.emplace_back(bytes.substr(start));
    }
    return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> sectionOf(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    const auto close = line.find(']');
    return trim(close == std::string_view::npos ? line : line.substr(0, close));
}

// Key and value of a "key=value" line; nullopt for a line without "=".
std::optional<std::pair<std::string_view, std::string_view>> entryOf(std::string_view line) {
    line = trim(line);
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    return std::pair{trim(line.substr(0, eq)), trim(line.substr(eq + 1))};
}

struct Location {
    std::optional<std::size_t> sectionLine;
    std::optional<std::size_t> keyLine;
    std::size_t lastEntryLine = 0;  // where a new key goes after
};

Location locate(const std::vector<std::string>& lines, std::string_view section,
                std::string_view key) {
    Location where;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionOf(lines[i])) {
            if (where.sectionLine) {
                break;  // only the first section of that name counts
            }
            if (sameName(*name, section)) {
                where.sectionLine = i;
                where.lastEntryLine = i;
            }
            continue;
        }
        if (!where.sectionLine) {
            continue;
        }
        if (!trim(lines[i]).empty()) {
            where.lastEntryLine = i;
        }
        const auto entry = entryOf(lines[i]);
        if (entry && !where.keyLine && sameName(entry->first, key)) {
            where.keyLine = i;
        }
    }
    return where;
}

std::string gbkOrSame(std::string_view utf8) {
    return utf8ToGbk(utf8).value_or(std::string(utf8));
}

}  // namespace

SettingsFile SettingsFile::inDirectory(const std::filesystem::path& directory,
                                       std::string section) {
    return SettingsFile(
        directory / std::filesystem::path(std::u8string(
                        reinterpret_cast<const char8_t*>(kFileName.data()), kFileName.size())),
        std::move(section));
}

std::string SettingsFile::read(std::string_view key, std::string_view fallback) const {
    const std::string defaultText(fallback.substr(0, fallback.find_last_not_of(' ') + 1));
    const auto bytes = readBytes(path_);
    if (!bytes) {
        return defaultText;
    }
    const std::vector<std::string> lines = splitLines(*bytes);
    const Location where = locate(lines, trim(gbkOrSame(section_)), trim(gbkOrSame(key)));
    if (!where.keyLine) {
        return defaultText;
    }
    std::string_view value = entryOf(lines[*where.keyLine])->second;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return gbkToUtf8(value).value_or(std::string(value));
}

bool SettingsFile::write(std::string_view key, std::string_view value) const {
    const std::string section = gbkOrSame(section_);
    const std::string keyBytes = gbkOrSame(key);
    const std::string line = std::string(trim(keyBytes)) + "=" + gbkOrSame(value);

    std::vector<std::string> lines;
    if (const auto bytes = readBytes(path_)) {
        lines = splitLines(*bytes);
    }
    const Location where = locate(lines, trim(section), trim(keyBytes));
    if (where.keyLine) {
        lines[*where.keyLine] = line;
    } else if (where.sectionLine) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(where.lastEntryLine) + 1, line);
    } else {
        lines.push_back("[" + std::string(trim(section)) + "]");
        lines.push_back(line);
    }

    std::string out;
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    std::filesystem::path temporary = path_;
    temporary += ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file.write(out.data(), static_cast<std::streamsize>(out.size())) || !file.flush()) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path_, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    setHidden();  // the renamed file does not keep the old one's attributes
    return true;
}

void SettingsFile::setHidden() const {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        SetFileAttributesW(path_.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
    }
#endif
}

}  // namespace pk10
