// Driver settings to taps. Expected values are worked by hand from the leg
// table and the integer steps: t = (127 - xtxlvl) * legs / 2, attenuation
// 2 * trunc(t / 128), switching legs = legs - attenuation, de-emphasis legs
// 0.5 * trunc(2 * switch * xtxeq / 128 + 0.5); the post tap is then
// -swing * deemph / switch and the main tap swing * (1 - deemph / switch).
#include "dravelle_tx_setup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Out {
    double tap_main = 0, tap_post = 0, vswing = 0, deemph = 0, dB = 0;
    int atten = 0, sw = 0;
};

Out Drive(int process, double vptx, int boost_en, double boost_lvl, int lvl, int eq)
{
    Out o;
    o.tap_main = o.tap_post = o.vswing = o.deemph = o.dB = -12345.0; // must be overwritten
    o.atten = o.sw = -12345;
    dravelle_tx_setup(process, vptx, boost_en, boost_lvl, lvl, eq, &o.tap_main, &o.tap_post,
                      &o.atten, &o.sw, &o.vswing, &o.deemph, &o.dB);
    return o;
}

TEST(DravelleTxSetup, DefaultsGiveTheWorkedValues)
{
    const Out o = Drive(0, 1.2, 1, 1.156, 105, 21);
    // 64 legs, t = 22 * 64 / 2 = 704, 704 / 128 = 5.5 -> 5 -> 10 attenuated.
    EXPECT_EQ(o.atten, 10);
    EXPECT_EQ(o.sw, 54);
    // 1.156 is below vptx, so the swing comes from 1.2: 1.2 * 0.9825 * 54 / 64.
    EXPECT_NEAR(o.vswing, 0.99478125, 1e-15);
    // 2 * 54 * 21 / 128 = 17.71875, + 0.5 -> 18 half legs.
    EXPECT_EQ(o.deemph, 9.0);
    EXPECT_NEAR(o.dB, -3.5218, 5e-5);
    EXPECT_NEAR(o.dB, 20.0 * std::log10(36.0 / 54.0), 1e-12);
    EXPECT_NEAR(o.tap_main, 0.828984375, 1e-12);
    EXPECT_NEAR(o.tap_post, -0.165796875, 1e-12);
}

struct Case {
    const char* what;
    int process;
    double vptx;
    int boost_en;
    double boost_lvl;
    int lvl, eq;
    // hand-derived
    int atten, sw;
    double legs, v, deemph;
};

// Each row: the settings, then attenuation, switching legs, leg count, the
// supply that sets the swing and the de-emphasis half-leg count.
const Case kCases[] = {
    // t = 22*82/2 = 902, /128 = 7.05 -> 14; 2*68*21/128 = 22.31 -> 22.81 -> 22
    {"slow corner, 82 legs", -1, 1.2, 1, 1.156, 105, 21, 14, 68, 82, 1.2, 11.0},
    // t = 528, /128 = 4.125 -> 8; 2*40*21/128 = 13.125 -> 13.625 -> 13
    {"fast corner, 48 legs", 1, 1.2, 1, 1.156, 105, 21, 8, 40, 48, 1.2, 6.5},
    // t = 572, /128 = 4.47 -> 8; 2*44*21/128 = 14.44 -> 14.94 -> 14
    {"corner 2, 52 legs", 2, 1.2, 1, 1.156, 105, 21, 8, 44, 52, 1.2, 7.0},
    // t = 22*79/2 = 869, /128 = 6.79 -> 12; 2*67*21/128 = 21.98 -> 22.48 -> 22
    {"other corner, 79 legs", 3, 1.2, 1, 1.156, 105, 21, 12, 67, 79, 1.2, 11.0},
    {"process -2, 79 legs", -2, 1.2, 1, 1.156, 105, 21, 12, 67, 79, 1.2, 11.0},
    // t = 0: nothing attenuated; 2*64*21/128 = 21 -> 21.5 -> 21
    {"xtxlvl 127, full swing", 0, 1.2, 1, 1.156, 127, 21, 0, 64, 64, 1.2, 10.5},
    // t = -3*64/2 = -96, /128 = -0.75 truncates toward zero -> 0
    {"xtxlvl 130 truncates toward zero", 0, 1.2, 1, 1.156, 130, 21, 0, 64, 64, 1.2, 10.5},
    // t = -128 -> -1 -> -2 attenuated, 66 switch; 2*66*21/128 = 21.66 -> 22.16 -> 22
    {"xtxlvl 131 adds legs", 0, 1.2, 1, 1.156, 131, 21, -2, 66, 64, 1.2, 11.0},
    // 2*40*4/128 = 2.5 exactly, + 0.5 -> 3 half legs
    {"half-leg rounding at .5", 1, 1.2, 1, 1.156, 105, 4, 8, 40, 48, 1.2, 1.5},
    {"xtxeq 0: no de-emphasis", 0, 1.2, 1, 1.156, 105, 0, 10, 54, 64, 1.2, 0.0},
    // 2*54*63/128 = 53.16 -> 53.66 -> 53
    {"xtxeq 63", 0, 1.2, 1, 1.156, 105, 63, 10, 54, 64, 1.2, 26.5},
    {"boost above vptx takes the boost", 0, 1.2, 1, 1.3, 105, 21, 10, 54, 64, 1.3, 9.0},
    {"any non-zero enable boosts", 0, 1.2, 2, 1.3, 105, 21, 10, 54, 64, 1.3, 9.0},
    {"boost disabled takes vptx", 0, 1.2, 0, 1.3, 105, 21, 10, 54, 64, 1.2, 9.0},
    {"boost equal to vptx", 0, 1.0, 1, 1.0, 105, 21, 10, 54, 64, 1.0, 9.0},
    {"NaN boost level takes vptx", 0, 1.2, 1, std::numeric_limits<double>::quiet_NaN(), 105, 21,
     10, 54, 64, 1.2, 9.0},
};

TEST(DravelleTxSetup, CornersAndBoostTable)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const Out o = Drive(c.process, c.vptx, c.boost_en, c.boost_lvl, c.lvl, c.eq);
        EXPECT_EQ(o.atten, c.atten);
        EXPECT_EQ(o.sw, c.sw);
        EXPECT_EQ(o.deemph, c.deemph);
        const double swing = c.v * 0.9825 * c.sw / c.legs;
        EXPECT_NEAR(o.vswing, swing, 1e-14);
        EXPECT_NEAR(o.dB, 20.0 * std::log10((c.sw - 2.0 * c.deemph) / c.sw), 1e-12);
        EXPECT_NEAR(o.tap_main, swing * (1.0 - c.deemph / c.sw), 1e-12);
        EXPECT_NEAR(o.tap_post, -swing * c.deemph / c.sw, 1e-12);
        // the taps split the swing: main - post recovers it
        EXPECT_NEAR(o.tap_main - o.tap_post, swing, 1e-12);
    }
}

TEST(DravelleTxSetup, HandWorkedTapsForTwoCorners)
{
    // Fast corner: swing 1.2 * 0.9825 * 40 / 48 = 0.9825, post 6.5 / 40 = 0.1625.
    Out o = Drive(1, 1.2, 1, 1.156, 105, 21);
    EXPECT_NEAR(o.vswing, 0.9825, 1e-15);
    EXPECT_NEAR(o.tap_main, 0.82284375, 1e-12);
    EXPECT_NEAR(o.tap_post, -0.15965625, 1e-12);
    // xtxlvl 127: swing 1.179, post 10.5 / 64 = 0.1640625.
    o = Drive(0, 1.2, 1, 1.156, 127, 21);
    EXPECT_NEAR(o.vswing, 1.179, 1e-15);
    EXPECT_NEAR(o.tap_main, 0.9855703125, 1e-12);
    EXPECT_NEAR(o.tap_post, -0.1934296875, 1e-12);
    // xtxeq 0: 0 dB and all of the swing in the main tap.
    o = Drive(0, 1.2, 1, 1.156, 105, 0);
    EXPECT_EQ(o.dB, 0.0);
    EXPECT_NEAR(o.tap_main, 0.99478125, 1e-15);
    EXPECT_EQ(o.tap_post, 0.0);
}

// Settings without a finite result: the function still writes every output;
// the model rejects them (see the library tests).
TEST(DravelleTxSetup, SettingsWithoutFiniteResult)
{
    // xtxlvl -1: t = 128 * 64 / 2 = 4096 -> 32 -> all 64 legs attenuated.
    Out o = Drive(0, 1.2, 1, 1.156, -1, 21);
    EXPECT_EQ(o.atten, 64);
    EXPECT_EQ(o.sw, 0);
    EXPECT_FALSE(std::isfinite(o.dB));
    // xtxeq 64: 2 * 54 * 64 / 128 = 54 -> 27 half legs, no legs left undriven.
    o = Drive(0, 1.2, 1, 1.156, 105, 64);
    EXPECT_EQ(o.deemph, 27.0);
    EXPECT_TRUE(std::isinf(o.dB));
    EXPECT_FALSE(std::isfinite(o.tap_main));
    // NaN supply with boost below it: everything downstream is NaN.
    o = Drive(0, std::numeric_limits<double>::quiet_NaN(), 1, 1.3, 105, 21);
    EXPECT_TRUE(std::isnan(o.vswing));
    EXPECT_TRUE(std::isnan(o.tap_main));
}

TEST(DravelleTxSetup, ExtremeLevelsDoNotOverflow)
{
    // (127 - INT_MIN) * 79 / 2 is far outside int; the 64-bit step keeps it
    // exact: t = 2147483775 * 79 / 2 = 84825609112, /128 = 662700071.2 -> 1325400142
    // attenuated.
    Out o = Drive(3, 1.2, 1, 1.156, std::numeric_limits<int>::min(), 21);
    EXPECT_EQ(o.atten, 1325400142);
    EXPECT_EQ(o.sw, 79 - 1325400142);
    o = Drive(0, 1.2, 1, 1.156, std::numeric_limits<int>::max(), 21);
    // t = (127 - 2147483647) * 64 / 2 = -68719472640, /128 = -536870880 -> -1073741760
    EXPECT_EQ(o.atten, -1073741760);
    EXPECT_EQ(o.sw, 64 + 1073741760);
}

#ifdef _WIN32
TEST(DravelleTxSetup, WindowsTakesOtherProcessValuesAsLegCount)
{
    // 100 legs: t = 22 * 100 / 2 = 1100, /128 = 8.59 -> 16 attenuated.
    Out o = Drive(100, 1.2, 1, 1.156, 105, 21);
    EXPECT_EQ(o.atten, 16);
    EXPECT_EQ(o.sw, 84);
    o = Drive(-2, 1.2, 1, 1.156, 105, 21);
    EXPECT_EQ(o.sw, 67);
    o = Drive(7, 1.2, 1, 1.156, 127, 21);
    EXPECT_EQ(o.sw, 7);
}
#endif

} // namespace
