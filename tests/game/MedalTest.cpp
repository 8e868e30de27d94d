#include "game/Medal.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace common::scene;

TEST(Medal, GoldWithinFivePercentOfParSilverWithinTwentyBronzeBeyondNoneWithoutPar) {
    const struct {
        double time;
        double par;
        Medal medal;
    } rows[] = {
        {40.0, 60.0, Medal::Gold},     {63.0, 60.0, Medal::Gold},    {63.06, 60.0, Medal::Silver},
        {72.0, 60.0, Medal::Silver},   {72.06, 60.0, Medal::Bronze}, {600.0, 60.0, Medal::Bronze},
        {50.0, 0.0, Medal::None},      {50.0, -10.0, Medal::None},   {NAN, 60.0, Medal::None},
        {50.0, INFINITY, Medal::None},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(medalFor(row.time, row.par), row.medal) << row.time << " s against par " << row.par;
    }
    EXPECT_STREQ(common::scene::medalName(Medal::Silver), "Silver");
}
