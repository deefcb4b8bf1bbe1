#include "plans/plan_type_patterns.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <memory>

namespace pk10 {
namespace {

constexpr std::array<std::string_view, PlanTypePatterns::kCount> kPatterns{
    R"((冠|亚|季)军(\d+)胆(?:(\d+)期)?)",
    R"(前(\d+)名((?:\d+\*)+\d)注)",
    R"((\d+)号车位置)",
    R"((\d+|冠|亚|季)(?:号|军)(单双|大小)(?:\d+期)?)",
    R"((冠亚)和值(单双|大小))",
};

pcre2_code* code(void* p) {
    return static_cast<pcre2_code*>(p);
}

struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

}  // namespace

PlanTypePatterns::PlanTypePatterns() {
    for (std::size_t i = 0; i < kPatterns.size(); ++i) {
        int error = 0;
        PCRE2_SIZE offset = 0;
        compiled_[i] = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(kPatterns[i].data()),
                                     kPatterns[i].size(), PCRE2_UTF, &error, &offset, nullptr);
    }
}

PlanTypePatterns::~PlanTypePatterns() {
    for (void* p : compiled_) {
        pcre2_code_free(code(p));
    }
}

std::optional<std::vector<std::string>> PlanTypePatterns::match(Kind kind,
                                                                std::string_view text) const {
    pcre2_code* pattern = code(compiled_[kind]);
    if (pattern == nullptr) {
        return std::nullopt;
    }
    std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
        pcre2_match_data_create_from_pattern(pattern, nullptr));
    const auto subject = reinterpret_cast<PCRE2_SPTR>(text.data());
    // The whole text must match; the groups are then read from the first match of a plain
    // search. Invalid UTF-8 is refused by the matcher and so matches nothing.
    if (pcre2_match(pattern, subject, text.size(), 0, PCRE2_ANCHORED | PCRE2_ENDANCHORED,
                    data.get(), nullptr) < 0) {
        return std::nullopt;
    }
    const int found = pcre2_match(pattern, subject, text.size(), 0, 0, data.get(), nullptr);
    if (found < 0) {
        return std::nullopt;
    }
    std::uint32_t groupCount = 0;
    pcre2_pattern_info(pattern, PCRE2_INFO_CAPTURECOUNT, &groupCount);
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
    std::vector<std::string> groups;
    for (std::uint32_t g = 1; g <= groupCount; ++g) {
        const PCRE2_SIZE start = ovector[2 * g];
        const PCRE2_SIZE end = ovector[2 * g + 1];
        if (static_cast<int>(g) >= found || start == PCRE2_UNSET) {
            groups.emplace_back();
        } else {
            groups.emplace_back(text.substr(start, end - start));
        }
    }
    return groups;
}

}  // namespace pk10
