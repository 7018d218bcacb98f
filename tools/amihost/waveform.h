// The host's received waveform: PRBS data as NRZ, sent through the
// single-pole channel, or through the columns of an impulse-response matrix
// (the main path and the aggressors' crosstalk), made block after block.
#ifndef AMIHOST_WAVEFORM_H
#define AMIHOST_WAVEFORM_H

#include <cstdint>
#include <vector>

namespace amihost {

// Fibonacci LFSR with the usual PRBS taps (x^n + x^m + 1).
class Prbs {
public:
    explicit Prbs(int order, uint32_t seed = 1);
    int Next();

private:
    int m_order;
    int m_tap;
    uint32_t m_state;
};

// NRZ data at the data rate, +-amplitude, held per sample, read sample after
// sample.
class Nrz {
public:
    Nrz(int order, uint32_t seed, double amplitude, double ts, double dataUi);
    double At(long n);

private:
    Prbs m_prbs;
    double m_amplitude, m_ts, m_dataUi;
    long m_bit = -1;
    double m_level = 0;
};

// Last sample of a column worth convolving with: the samples after it are
// below 1e-12 of its largest value.
long Support(const double* h, long rows);

// A buffer too large for the address space is as out of reach as one the
// system refuses (std::bad_alloc).
std::vector<double> Buffer(long count);

// The sampling and the data that make a waveform.
struct Signal {
    int prbs;         // the data's PRBS order
    double amplitude; // NRZ swing +-amplitude
    double ts;        // sample interval
    double dataUi;    // the data's unit interval
};

// Seed 1 is the data, other seeds the aggressors' unrelated data.
class Waveform {
public:
    // The data through a single-pole low-pass, y += a (x - y) per sample.
    Waveform(const Signal& signal, double a);
    // Each of the columns (rows samples each, one after another in matrix)
    // convolved with its data, the crosstalk added to the main path. The
    // matrix is read here only.
    Waveform(const Signal& signal, const double* matrix, long rows, long columns);

    // The next samples, count of them, into out.
    void Fill(double* out, long count);

private:
    // A change of the data's level: its first sample, the step and the level
    // it steps to.
    struct Transition {
        long at;
        double step, level;
    };
    // Since the data is NRZ, a column's output is the sum of one step
    // response (the running sum of h) per change of level: only the changes
    // of the last len - 1 samples are kept, the older ones are all in base.
    struct Column {
        long len;
        Nrz data;
        std::vector<double> sum;      // sum[k] = h[0] + ... + h[k]
        std::vector<Transition> ring; // changes of the last len - 1 samples
        long head = 0, count = 0;
        double level = 0; // the data before sample 0 is 0
        double base = 0;  // the level len - 1 samples back, 0 before sample 0
    };
    void FillColumn(Column& c, double* out, long start, long count) const;
    Nrz m_data;
    double m_a, m_ts;
    double m_y = 0;
    long m_next = 0;
    std::vector<Column> m_columns;
};

} // namespace amihost

#endif
