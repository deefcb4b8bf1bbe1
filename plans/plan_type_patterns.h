#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pk10 {

// The plan-type patterns, compiled once and kept for the life of the program. Texts are
// matched as Unicode characters.
class PlanTypePatterns {
public:
    enum Kind { PositionPick = 0, TopPositionsGroup, CarPosition, PositionWord, SumWord, kCount };

    PlanTypePatterns();
    ~PlanTypePatterns();
    PlanTypePatterns(const PlanTypePatterns&) = delete;
    PlanTypePatterns& operator=(const PlanTypePatterns&) = delete;

    // When pattern `kind` matches the whole text: its capture groups (1-based groups at
    // index 0..), an unset group as empty text. Otherwise nullopt.
    std::optional<std::vector<std::string>> match(Kind kind, std::string_view text) const;

private:
    std::array<void*, kCount> compiled_{};
};

}  // namespace pk10
