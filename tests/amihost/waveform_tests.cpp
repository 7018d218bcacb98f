// The host's received waveform against sums written out here: the matrix
// path against the convolution of every column with its NRZ data, term by
// term, the single-pole path against its recurrence.
#include "waveform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The data of one column, level per sample: bit floor(n ts / dataUi) of the
// PRBS, +-amplitude.
std::vector<double> Levels(int order, uint32_t seed, double amplitude, double ts, double dataUi,
                           long total)
{
    amihost::Prbs prbs(order, seed);
    std::vector<double> x(static_cast<size_t>(total));
    long bit = -1;
    double level = 0;
    for (long n = 0; n < total; ++n) {
        const long b = static_cast<long>(std::floor(n * ts / dataUi));
        for (; bit < b; ++bit)
            level = prbs.Next() ? amplitude : -amplitude;
        x[n] = level;
    }
    return x;
}

// Column 0 carries the data, the others the aggressors' own PRBS-15 data.
std::vector<double> ColumnLevels(long k, const amihost::Signal& s, long total)
{
    if (k == 0)
        return Levels(s.prbs, 1, s.amplitude, s.ts, s.dataUi, total);
    return Levels(15, static_cast<uint32_t>(0x1234u + 977u * k), s.amplitude, s.ts, s.dataUi,
                  total);
}

// y[n] = ts sum over columns and m <= n of h[m] x[n - m], over every row (the
// rows the waveform leaves out are too small to count), in long double.
double Direct(const std::vector<double>& matrix, long rows,
              const std::vector<std::vector<double>>& x, double ts, long n)
{
    long double y = 0;
    for (size_t k = 0; k < x.size(); ++k) {
        const double* h = matrix.data() + k * rows;
        for (long m = 0; m < rows && m <= n; ++m)
            y += static_cast<long double>(h[m]) * x[k][n - m];
    }
    return static_cast<double>(y * ts);
}

// Fill called with blocks of the given sizes, over and over, until total,
// into memory that holds something else before (as the host's reused block
// does).
std::vector<double> Made(amihost::Waveform& w, long total, const std::vector<long>& blocks)
{
    std::vector<double> y(static_cast<size_t>(total), std::nan(""));
    for (long start = 0, i = 0; start < total; ++i) {
        const long len = std::min(blocks[i % blocks.size()], total - start);
        w.Fill(y.data() + start, len);
        start += len;
    }
    return y;
}

enum class Shape {
    Pole,    // single-pole decay over the whole column
    TwoTap,  // a main tap a bit wide, then a negative one a bit wide, then zeros
    Tail,    // a decay, then a long tail below 1e-12 of the peak
    Ringing, // a damped cosine: values of both signs all along
    Tap,     // one value, then zeros: a column one sample long
};

// Column k: the shape, scaled down and k samples late for the aggressors.
std::vector<double> Matrix(Shape shape, long rows, long columns, double spb, double ts)
{
    std::vector<double> m(static_cast<size_t>(rows * columns), 0.0);
    const long w = std::max(1L, static_cast<long>(spb));
    for (long k = 0; k < columns; ++k) {
        const double scale = (k == 0 ? 1.0 : 0.3 / k) / ts;
        for (long n = k; n < rows; ++n) {
            const long t = n - k;
            double v = 0;
            switch (shape) {
            case Shape::Pole: v = 0.2 * std::pow(0.8, static_cast<double>(t)); break;
            case Shape::TwoTap: v = t < w ? 0.8 / w : t < 2 * w ? -0.3 / w : 0.0; break;
            case Shape::Tail: v = t < rows / 2 ? 0.5 * std::pow(0.5, static_cast<double>(t)) : 1e-15;
                break;
            case Shape::Ringing:
                v = std::exp(-0.05 * t) * std::cos(0.9 * t + 0.3) / spb;
                break;
            case Shape::Tap: v = t == 0 ? 1.0 : 0.0; break;
            }
            m[k * rows + n] = scale * v;
        }
    }
    return m;
}

struct Case {
    const char* name;
    double spb;  // bit time / sample interval
    double ppm;  // data rate offset
    long rows;   // impulse rows per column
    long columns;
    Shape shape;
    double amplitude;
    int prbs;
    long samples;
};

const double kBitTime = 1e-10;

const Case kCases[] = {
    {"one sample a bit", 1, 0, 6, 1, Shape::Pole, 0.5, 7, 300},
    {"one sample a bit, data faster than sampling", 1, 90000, 5, 3, Shape::Ringing, 0.5, 7, 300},
    {"one sample a bit, slower data", 1, -90000, 9, 3, Shape::TwoTap, 1.0, 9, 300},
    {"four samples a bit", 4, 0, 24, 1, Shape::TwoTap, 0.5, 7, 400},
    {"four samples a bit, aggressors", 4, 0, 24, 3, Shape::Pole, -0.3, 7, 400},
    {"column shorter than a bit", 8, 0, 3, 3, Shape::Pole, 0.5, 7, 400},
    {"column of one sample", 4, 0, 1, 1, Shape::Pole, 0.5, 7, 200},
    {"columns of one sample and more, zeros cut", 4, 0, 6, 3, Shape::Tap, 0.5, 7, 200},
    {"column of six bits, ppm offset", 8, 300, 48, 3, Shape::Ringing, 0.5, 15, 600},
    {"non-integer samples a bit", 7.3, 0, 44, 1, Shape::TwoTap, 0.5, 7, 500},
    {"non-integer samples a bit, aggressors, offset", 7.3, -2500, 44, 3, Shape::Ringing, 0.8, 7,
     500},
    {"tail cut", 4, 0, 80, 3, Shape::Tail, 0.5, 7, 400},
    {"sixteen samples a bit, long column", 16, 1000, 16 * 12, 3, Shape::Pole, 0.5, 31, 1200},
    {"zero amplitude", 4, 0, 24, 3, Shape::Ringing, 0.0, 7, 200},
};

class MatrixWaveformCase : public ::testing::TestWithParam<Case> {};

TEST_P(MatrixWaveformCase, MatchesTheDirectSum)
{
    const Case& c = GetParam();
    const double ts = kBitTime / c.spb;
    const amihost::Signal signal = {c.prbs, c.amplitude, ts, kBitTime / (1.0 + c.ppm * 1e-6)};
    const std::vector<double> matrix = Matrix(c.shape, c.rows, c.columns, c.spb, ts);
    std::vector<std::vector<double>> x;
    for (long k = 0; k < c.columns; ++k)
        x.push_back(ColumnLevels(k, signal, c.samples));
    std::vector<double> direct(static_cast<size_t>(c.samples));
    double peak = 0;
    for (long n = 0; n < c.samples; ++n) {
        direct[n] = Direct(matrix, c.rows, x, ts, n);
        peak = std::max(peak, std::fabs(direct[n]));
    }
    if (c.amplitude != 0) {
        ASSERT_GT(peak, 0.1 * std::fabs(c.amplitude));
    }

    const std::vector<std::vector<long>> splits = {{1}, {7}, {97}, {c.samples}, {1, 2, 3, 5, 8, 13}};
    for (const std::vector<long>& blocks : splits) {
        amihost::Waveform w(signal, matrix.data(), c.rows, c.columns);
        const std::vector<double> y = Made(w, c.samples, blocks);
        for (long n = 0; n < c.samples; ++n)
            ASSERT_LE(std::fabs(y[n] - direct[n]), 1e-12 * peak)
                << "sample " << n << " with blocks of " << blocks[0] << ": " << y[n] << " against "
                << direct[n];
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MatrixWaveformCase, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p)))
                                     name += *p;
                             return name;
                         });

TEST(MatrixWaveform, BlocksDoNotChangeTheOutput)
{
    const double spb = 7.3, ts = kBitTime / spb;
    const amihost::Signal signal = {7, 0.5, ts, kBitTime / (1.0 + 300e-6)};
    const long rows = 80, columns = 3, total = 2000;
    const std::vector<double> matrix = Matrix(Shape::Ringing, rows, columns, spb, ts);
    amihost::Waveform whole(signal, matrix.data(), rows, columns);
    amihost::Waveform pieces(signal, matrix.data(), rows, columns);
    const std::vector<double> a = Made(whole, total, {total});
    const std::vector<double> b = Made(pieces, total, {1, 96, 3, 250, 1});
    for (long n = 0; n < total; ++n)
        ASSERT_EQ(a[n], b[n]) << "sample " << n;
}

// A column of many bits at many samples a bit, the length the host passes by
// default: the step responses are long sums, checked against the direct sum
// at samples spread over the run.
TEST(MatrixWaveform, LongColumnStaysCloseToTheDirectSum)
{
    const double spb = 1024, ts = kBitTime / spb;
    const long rows = 16 * 1024, columns = 2, total = 40 * 1024;
    const amihost::Signal signal = {7, 0.5, ts, kBitTime / (1.0 - 150e-6)};
    // A pole of about a third of a bit, and a slow negative undershoot, so
    // that the sums carry large terms that cancel.
    std::vector<double> matrix(static_cast<size_t>(rows * columns));
    for (long k = 0; k < columns; ++k)
        for (long n = 0; n < rows; ++n) {
            const double t = static_cast<double>(n) / spb;
            matrix[k * rows + n] =
                (k == 0 ? 1.0 : 0.05) / kBitTime * (3 * std::exp(-3 * t) - 0.2 * std::exp(-0.2 * t));
        }
    std::vector<std::vector<double>> x;
    for (long k = 0; k < columns; ++k)
        x.push_back(ColumnLevels(k, signal, total));
    amihost::Waveform w(signal, matrix.data(), rows, columns);
    const std::vector<double> y = Made(w, total, {4096});
    std::vector<long> at;
    for (long n = 0; n < total; n += 331)
        at.push_back(n);
    at.push_back(total - 1);
    std::vector<double> direct;
    double peak = 0;
    for (long n : at) {
        direct.push_back(Direct(matrix, rows, x, ts, n));
        peak = std::max(peak, std::fabs(direct.back()));
    }
    ASSERT_GT(peak, 0.1);
    for (size_t i = 0; i < at.size(); ++i)
        ASSERT_LE(std::fabs(y[at[i]] - direct[i]), 1e-12 * peak) << "sample " << at[i];
}

TEST(Support, LeavesOutTheTrailingValuesBelowTheLimit)
{
    // Peak 4: the limit is 4e-12. Small values before the last large one
    // stay.
    std::vector<double> h = {1, -4, 0, 1e-13, 2, 0, 3e-12, -4e-12, 1e-13, 0, 0};
    EXPECT_EQ(amihost::Support(h.data(), static_cast<long>(h.size())), 5);
    h[7] = -4.1e-12;
    EXPECT_EQ(amihost::Support(h.data(), static_cast<long>(h.size())), 8);
    const std::vector<double> zeros(5, 0.0);
    EXPECT_EQ(amihost::Support(zeros.data(), 5), 1);
}

TEST(SinglePoleWaveform, IsTheRecurrence)
{
    const double spbs[] = {1, 7.3, 32};
    for (double spb : spbs) {
        const double ts = kBitTime / spb, a = 1 - std::exp(-1 / (0.3 * spb));
        const amihost::Signal signal = {9, 0.5, ts, kBitTime / (1.0 + 2500e-6)};
        const long total = 3000;
        const std::vector<double> x = Levels(9, 1, 0.5, ts, signal.dataUi, total);
        std::vector<double> expected(static_cast<size_t>(total));
        double v = 0;
        for (long n = 0; n < total; ++n) {
            v += a * (x[n] - v);
            expected[n] = v;
        }
        for (long block : {1L, 97L, total}) {
            amihost::Waveform w(signal, a);
            const std::vector<double> y = Made(w, total, {block});
            for (long n = 0; n < total; ++n)
                ASSERT_EQ(y[n], expected[n]) << "spb " << spb << ", block " << block << ", sample " << n;
        }
    }
}

} // namespace
