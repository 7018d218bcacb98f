// Run of every block allocates nothing: the program counts its allocations
// while blocks run on valid input.
#include "BlindFFE.h"
#include "ClockTimes.h"
#include "LFSR.h"
#include "PhaseDetector.h"
#include "SDomainIIR.h"
#include "Trig.h"
#include "VCO.h"

#include "counting_new.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace Quenrix;

namespace {

// Counts the allocations made by n calls of fn.
template <class F>
long AllocationsDuring(int n, F fn)
{
    const long before = quenrix_test::AllocationCount();
    for (int i = 0; i < n; ++i)
        fn(i);
    return quenrix_test::AllocationCount() - before;
}

TEST(RunAllocatesNothing, CountingWorks)
{
    // Direct calls, which unlike new-expressions may not be elided.
    EXPECT_EQ(AllocationsDuring(3, [](int) { ::operator delete(::operator new(8)); }), 3);
}

TEST(RunAllocatesNothing, Filter)
{
    SDomainIIR f;
    double in = 0.0, out = 0.0;
    f.m_dInput.SetBuffer(&in, 1, 1, 0);
    f.m_dOutput[0].SetBuffer(&out, 1, 1, 0);
    ASSERT_TRUE(f.Initialize());
    EXPECT_EQ(AllocationsDuring(1000, [&](int n) { in = std::sin(0.1 * n); f.Run(); }), 0);
}

TEST(RunAllocatesNothing, ClockBlocks)
{
    double sig = 0.0, err = 0.0, vin = 0.0, vout = 0.0, voutq = 0.0, t = 0.0;
    int clk = 0, clkq = 0;
    PhaseDetector pd;
    VCO vco;
    ClockTimes ct;
    pd.signal.SetBuffer(&sig, 1, 1, 0);
    pd.clock.SetBuffer(&clk, 1, 1, 0);
    pd.phaseError.SetBuffer(&err, 1, 1, 0);
    vco.vin.SetBuffer(&vin, 1, 1, 0);
    vco.vout.SetBuffer(&vout, 1, 1, 0);
    vco.clock.SetBuffer(&clk, 1, 1, 0);
    vco.voutq.SetBuffer(&voutq, 1, 1, 0);
    vco.clockq.SetBuffer(&clkq, 1, 1, 0);
    ct.clock.SetBuffer(&vout, 1, 1, 0);
    ct.time.SetBuffer(&t, 1, 1, 0);
    ct.m_TimingMethod = eLinearInterp;
    ASSERT_TRUE(pd.Initialize() && vco.Initialize() && ct.Initialize());
    EXPECT_EQ(AllocationsDuring(2000,
                                [&](int n) {
                                    sig = (n / 7) % 2 ? 0.4 : -0.4;
                                    pd.Run();
                                    vin = 1e7 * err;
                                    vco.Run();
                                    ct.Run();
                                }),
              0);
}

TEST(RunAllocatesNothing, TrigBlocksInTheirDomain)
{
    std::vector<std::unique_ptr<CTrig>> blocks;
    blocks.emplace_back(new TrigSin);
    blocks.emplace_back(new TrigCos);
    blocks.emplace_back(new TrigTan);
    blocks.emplace_back(new TrigCot);
    blocks.emplace_back(new TrigAsin);
    blocks.emplace_back(new TrigAcos);
    blocks.emplace_back(new TrigAtan);
    blocks.emplace_back(new TrigAcot);
    blocks.emplace_back(new TrigSinh);
    blocks.emplace_back(new TrigCosh);
    blocks.emplace_back(new TrigTanh);
    blocks.emplace_back(new TrigCoth);
    blocks.emplace_back(new TrigAsinh);
    blocks.emplace_back(new TrigAcosh);
    blocks.emplace_back(new TrigAtanh);
    blocks.emplace_back(new TrigAcoth);
    double in = 0.0, out = 0.0;
    for (auto& b : blocks) {
        b->m_dInput.SetBuffer(&in, 1, 1, 0);
        b->m_dOutput.SetBuffer(&out, 1, 1, 0);
    }
    // Inputs in every member's domain: |x| in (0.1, 0.9) and above 1.
    const double inputs[] = {0.3, -0.7, 0.55};
    EXPECT_EQ(AllocationsDuring(300,
                                [&](int n) {
                                    for (size_t k = 0; k < blocks.size(); ++k) {
                                        in = inputs[n % 3];
                                        if (k == 13 || k == 15) // Acosh, Acoth
                                            in = 1.0 + std::fabs(in) * 3;
                                        EXPECT_TRUE(blocks[k]->Run()) << k;
                                    }
                                }),
              0);
}

TEST(RunAllocatesNothing, FirAndLfsr)
{
    BlindFFE ffe;
    double in = 0.0, out = 0.0;
    ffe.input.SetBuffer(&in, 1, 1, 0);
    ffe.output.SetBuffer(&out, 1, 1, 0);
    ASSERT_TRUE(ffe.Initialize());
    LFSR lfsr;
    int en = 1, rst = 0;
    int bits[10] = {};
    lfsr.enable.SetBuffer(&en, 1, 1, 0);
    lfsr.reset.SetBuffer(&rst, 1, 1, 0);
    lfsr.output.Initialize(10);
    for (int k = 0; k < 10; ++k)
        lfsr.output[k].SetBuffer(&bits[k], 1, 1, 0);
    lfsr.ResetMode = 1;
    lfsr.InternalResetPeriod = 50;
    ASSERT_TRUE(lfsr.Initialize());
    EXPECT_EQ(AllocationsDuring(1000,
                                [&](int n) {
                                    in = n % 5;
                                    ffe.Run();
                                    lfsr.Run();
                                }),
              0);
}

} // namespace
