#pragma once

#include "strategies/blank_strategy.h"
#include "strategies/car_position_strategy.h"
#include "strategies/position_big_small_strategy.h"
#include "strategies/position_odd_even_strategy.h"
#include "strategies/position_pick_strategy.h"
#include "strategies/single_number_strategy.h"
#include "strategies/sum_big_small_strategy.h"
#include "strategies/sum_odd_even_strategy.h"
#include "strategies/top_positions_group_strategy.h"

namespace pk10 {

// One prototype of each strategy class. A plan type configures its prototype, and the plan
// keeps a clone; prototypes never forecast. Members are created in the order they are
// declared and destroyed in reverse.
class StrategyRegistry {
public:
    StrategyRegistry(RandomGenerator& random, MessageSink* messages)
        : blank(random, messages),
          positionPick(random, messages),
          topPositionsGroup(random, messages),
          carPosition(random, messages),
          positionOddEven(random, messages),
          positionBigSmall(random, messages),
          sumOddEven(random, messages),
          sumBigSmall(random, messages),
          singleNumber(random, messages) {}
    StrategyRegistry(const StrategyRegistry&) = delete;
    StrategyRegistry& operator=(const StrategyRegistry&) = delete;

    BlankStrategy blank;
    PositionPickStrategy positionPick;
    TopPositionsGroupStrategy topPositionsGroup;
    CarPositionStrategy carPosition;
    PositionOddEvenStrategy positionOddEven;
    PositionBigSmallStrategy positionBigSmall;
    SumOddEvenStrategy sumOddEven;
    SumBigSmallStrategy sumBigSmall;
    SingleNumberStrategy singleNumber;
};

}  // namespace pk10
