// Making the waveform allocates nothing once it is built: the program counts
// its allocations while blocks are filled.
#include "waveform.h"

#include "counting_new.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(WaveformAllocatesNothing, CountingWorks)
{
    const long before = quenrix_test::AllocationCount();
    ::operator delete(::operator new(8));
    EXPECT_EQ(quenrix_test::AllocationCount() - before, 1);
}

TEST(WaveformAllocatesNothing, MatrixAndSinglePole)
{
    const double ts = 1e-10 / 7.3;
    const amihost::Signal signal = {7, 0.5, ts, 1e-10 / (1.0 + 300e-6)};
    const long rows = 120, columns = 3;
    std::vector<double> matrix(static_cast<size_t>(rows * columns));
    for (long n = 0; n < rows * columns; ++n)
        matrix[n] = std::exp(-0.05 * static_cast<double>(n % rows)) / ts;
    amihost::Waveform fromMatrix(signal, matrix.data(), rows, columns);
    amihost::Waveform singlePole(signal, 0.1);
    std::vector<double> out(1000);
    const long before = quenrix_test::AllocationCount();
    for (int i = 0; i < 20; ++i) {
        fromMatrix.Fill(out.data(), 1 + i * 47);
        singlePole.Fill(out.data(), 1 + i * 47);
    }
    EXPECT_EQ(quenrix_test::AllocationCount() - before, 0);
}

} // namespace
