#include "waveform.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace amihost {

Prbs::Prbs(int order, uint32_t seed) : m_order(order), m_state(seed)
{
    switch (order) {
    case 7: m_tap = 6; break;
    case 9: m_tap = 5; break;
    case 15: m_tap = 14; break;
    case 23: m_tap = 18; break;
    default: m_tap = 28; break; // 31
    }
}

int Prbs::Next()
{
    const uint32_t bit = ((m_state >> (m_order - 1)) ^ (m_state >> (m_tap - 1))) & 1u;
    m_state = ((m_state << 1) | bit) & ((1u << m_order) - 1u);
    return static_cast<int>(bit);
}

Nrz::Nrz(int order, uint32_t seed, double amplitude, double ts, double dataUi)
    : m_prbs(order, seed), m_amplitude(amplitude), m_ts(ts), m_dataUi(dataUi)
{
}

double Nrz::At(long n)
{
    const long b = static_cast<long>(std::floor(n * m_ts / m_dataUi));
    while (m_bit < b) {
        m_level = m_prbs.Next() ? m_amplitude : -m_amplitude;
        ++m_bit;
    }
    return m_level;
}

long Support(const double* h, long rows)
{
    double peak = 0;
    for (long n = 0; n < rows; ++n)
        peak = std::fmax(peak, std::fabs(h[n]));
    long last = rows;
    while (last > 1 && std::fabs(h[last - 1]) <= peak * 1e-12)
        --last;
    return last;
}

std::vector<double> Buffer(long count)
{
    if (static_cast<unsigned long long>(count) > std::vector<double>().max_size())
        throw std::bad_alloc();
    return std::vector<double>(static_cast<size_t>(count));
}

Waveform::Waveform(const Signal& signal, double a)
    : m_data(signal.prbs, 1, signal.amplitude, signal.ts, signal.dataUi), m_a(a), m_ts(signal.ts)
{
}

Waveform::Waveform(const Signal& signal, const double* matrix, long rows, long columns)
    : m_data(signal.prbs, 1, signal.amplitude, signal.ts, signal.dataUi), m_a(1.0), m_ts(signal.ts)
{
    for (long k = 0; k < columns; ++k) {
        const double* h = matrix + k * rows;
        const long len = Support(h, rows);
        const Nrz data = k == 0 ? Nrz(signal.prbs, 1, signal.amplitude, signal.ts, signal.dataUi)
                                : Nrz(15, static_cast<uint32_t>(0x1234u + 977u * k),
                                      signal.amplitude, signal.ts, signal.dataUi);
        m_columns.push_back({h, len, data, Buffer(2 * len)});
    }
}

void Waveform::Fill(double* out, long count)
{
    const long start = m_next;
    m_next += count;
    if (m_columns.empty()) {
        for (long i = 0; i < count; ++i) {
            m_y += m_a * (m_data.At(start + i) - m_y);
            out[i] = m_y;
        }
        return;
    }
    std::fill(out, out + count, 0.0);
    for (Column& c : m_columns) {
        for (long i = 0; i < count; ++i) {
            const long n = start + i;
            // The last len data samples, each kept twice, len apart, so
            // that they lie in one run from x[1 - len] to x[0].
            const long p = n % c.len;
            c.ring[p] = c.ring[p + c.len] = c.data.At(n);
            const double* x = c.ring.data() + p + c.len;
            double acc = 0;
            const long top = n + 1 < c.len ? n + 1 : c.len;
            for (long m = 0; m < top; ++m)
                acc += c.h[m] * x[-m];
            out[i] += acc * m_ts;
        }
    }
}

} // namespace amihost
