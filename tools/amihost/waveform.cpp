#include "waveform.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>
#include <utility>

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

namespace {

template <class T>
std::vector<T> Sized(long count)
{
    if (static_cast<unsigned long long>(count) > std::vector<T>().max_size())
        throw std::bad_alloc();
    return std::vector<T>(static_cast<size_t>(count));
}

} // namespace

std::vector<double> Buffer(long count)
{
    return Sized<double>(count);
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
        // The level changes at most once a data unit interval, and never
        // twice in one sample: len - 1 samples hold at most one more change
        // than the unit intervals they span (and one more for the rounding
        // of the bit index), and fewer than len.
        const double changes = std::ceil(static_cast<double>(len) * (signal.ts / signal.dataUi)) + 2;
        const long slots = changes < static_cast<double>(len) ? static_cast<long>(changes) : len;
        Column c = {len, data, Buffer(len), Sized<Transition>(slots)};
        // Compensated, so that the step response over many samples is as
        // close to exact as each of its values allows.
        double s = 0, lost = 0;
        for (long m = 0; m < len; ++m) {
            const double t = s + h[m];
            lost += std::fabs(s) >= std::fabs(h[m]) ? (s - t) + h[m] : (h[m] - t) + s;
            s = t;
            c.sum[m] = s + lost;
        }
        m_columns.push_back(std::move(c));
    }
}

void Waveform::FillColumn(Column& c, double* out, long start, long count) const
{
    const long slots = static_cast<long>(c.ring.size());
    const double* sum = c.sum.data();
    Transition* ring = c.ring.data();
    const double whole = sum[c.len - 1];
    for (long i = 0; i < count; ++i) {
        const long n = start + i;
        // A change len - 1 or more samples back has its whole step response.
        const long settled = n - c.len + 1;
        while (c.count > 0 && ring[c.head].at <= settled) {
            c.base = ring[c.head].level;
            c.head = c.head + 1 == slots ? 0 : c.head + 1;
            --c.count;
        }
        const double x = c.data.At(n);
        if (x != c.level) {
            if (settled >= n) {
                c.base = x;
            } else {
                if (c.count == slots)
                    throw std::logic_error("waveform: more level changes than the data rate allows");
                long tail = c.head + c.count;
                if (tail >= slots)
                    tail -= slots;
                ring[tail] = {n, x - c.level, x};
                ++c.count;
            }
            c.level = x;
        }
        double acc = c.base * whole;
        for (long j = 0, p = c.head; j < c.count; ++j) {
            acc += ring[p].step * sum[n - ring[p].at];
            p = p + 1 == slots ? 0 : p + 1;
        }
        out[i] += acc * m_ts;
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
    for (Column& c : m_columns)
        FillColumn(c, out, start, count);
}

} // namespace amihost
