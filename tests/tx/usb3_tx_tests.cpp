// The transmitter model on its own, where the FIR output FFE_out (which the
// host never sees) can be read directly.
#include "usb3_tx.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct Harness {
    usb3_tx m;
    double in = 0, ffe = 0, out = 0;
    Harness()
    {
        m.input.SetBuffer(&in, 1, 1, 0);
        m.FFE_out.SetBuffer(&ffe, 1, 1, 0);
        m.output.SetBuffer(&out, 1, 1, 0);
    }
    // One column: returns FFE_out and output per sample.
    bool Column(const std::vector<double>& x, std::vector<double>* f, std::vector<double>* y)
    {
        if (!m.Setup() || !m.Initialize())
            return false;
        for (double v : x) {
            in = v;
            if (!m.Run())
                return false;
            f->push_back(ffe);
            y->push_back(out);
        }
        return m.Finalize();
    }
};

TEST(Usb3Tx, UnitImpulseShowsTheTapsBeforeThePole)
{
    Harness h;
    std::vector<double> x(100, 0.0), f, y;
    x[0] = 1.0;
    ASSERT_TRUE(h.Column(x, &f, &y));
    for (size_t i = 0; i < x.size(); ++i) {
        const double want = i == 0 ? 0.828984375 : i == 32 ? -0.165796875 : 0.0;
        EXPECT_NEAR(f[i], want, 1e-15) << "sample " << i;
    }
    // The pole smears the main tap: the first output is g * main, with
    // g = w / (c + w), w = 2 pi 11.122e9, c = 2 * 160e9.
    const double w = 2 * M_PI * 1.1122e10, c = 3.2e11;
    EXPECT_NEAR(y[0], 0.828984375 * w / (c + w), 1e-12);
    EXPECT_EQ(h.m.SampleRate, 1.6e11);
    EXPECT_EQ(h.m.SampleInterval, 6.25e-12);
}

TEST(Usb3Tx, EveryColumnStartsFromAClearedState)
{
    Harness h;
    std::vector<double> x(64, 1.0), f1, y1, f2, y2;
    ASSERT_TRUE(h.Column(x, &f1, &y1));
    ASSERT_TRUE(h.Column(x, &f2, &y2));
    EXPECT_EQ(f1, f2);
    EXPECT_EQ(y1, y2); // the pole written in Hz each time: same filter
    EXPECT_EQ(h.m.S2.m_RealPoles(0), -1.1122e10 * 2 * M_PI);
}

TEST(Usb3Tx, SetupRefusesSettingsWithoutFiniteTaps)
{
    struct Case {
        int lvl, eq;
        double vptx;
        const char* text;
    } cases[] = {
        {-1, 21, 1.2, "\nxtxlvl = -1 leaves no switching driver legs (64 of 64 legs attenuated)."},
        {105, 64, 1.2,
         "\nxtxeq = 64 de-emphasises all 54 switching driver legs; the de-emphasis has no finite "
         "value."},
        {105, 21, NAN, "\nThe Tx settings give no finite driver taps (vptx = nan, xtx_boost_lvl = "
                       "1.156)."},
        {105, 21, INFINITY,
         "\nThe Tx settings give no finite driver taps (vptx = inf, xtx_boost_lvl = 1.156)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        usb3_tx m;
        m.xtxlvl = c.lvl;
        m.xtxeq = c.eq;
        m.xvptx = c.vptx;
        EXPECT_FALSE(m.Setup());
        EXPECT_EQ(m.MsgStream.str(), c.text);
        EXPECT_TRUE(m.Finalize()); // still safe after the refusal
    }
}

TEST(Usb3Tx, ResultsOfEveryChildAreCombined)
{
    // A spacing of 0 makes the FIR block's Initialize fail; the pole's
    // Initialize still runs (its coefficients are built).
    usb3_tx m;
    ASSERT_TRUE(m.Setup());
    m.F1.SamplesPerBit = 0;
    EXPECT_FALSE(m.Initialize());
    EXPECT_NE(m.S2.m_Coefficients, nullptr);
    EXPECT_TRUE(m.Finalize());
}

} // namespace
