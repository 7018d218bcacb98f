#include "dravelle_tx_setup.h"

#include <climits>
#include <cmath>

namespace {

// Driver legs built for each process corner.
long long LegCount(int xtx_process)
{
    switch (xtx_process) {
    case -1: return 82;
    case 0: return 64;
    case 1: return 48;
    case 2: return 52;
#ifdef _WIN32
    case -2: return 79;
    default: return xtx_process; // the Windows driver takes any other value as the count
#else
    default: return 79;
#endif
    }
}

// Only absurd leg counts (Windows, process values in the millions) leave the
// int range; saturate there instead of overflowing.
int ToIntSaturated(long long v)
{
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

} // namespace

void dravelle_tx_setup(int xtx_process, double xvptx, int xtx_boost_en, double xtx_boost_lvl,
                       int xtxlvl, int xtxeq, double* tap_main, double* tap_post, int* xn_atten,
                       int* xn_switch, double* xtx_vswing, double* xn_deemph,
                       double* xtx_deemph_dB)
{
    const long long legs = LegCount(xtx_process);

    // Legs switched off to set the swing, in pairs. 64-bit so that any xtxlvl
    // an int can hold gives the same result the int formula gives in range.
    const long long t = (127LL - xtxlvl) * legs / 2;
    const long long atten = 2 * static_cast<long long>(std::trunc(static_cast<double>(t) * 0.0078125));
    const int n_atten = ToIntSaturated(atten);
    const int n_switch = ToIntSaturated(legs - n_atten);

    // The boost supply drives the stage only when enabled and not below vptx.
    const double v = (xtx_boost_en != 0 && xtx_boost_lvl >= xvptx) ? xtx_boost_lvl : xvptx;
    const double vswing = v * 0.9825 * n_switch / static_cast<double>(legs);

    // De-emphasis legs, in half legs.
    const double deemph = 0.5 * std::trunc(2.0 * n_switch * xtxeq * 0.0078125 + 0.5);
    const double deemph_dB = 20.0 * std::log10((n_switch - 2.0 * deemph) / n_switch);

    const double beta = std::pow(10.0, -deemph_dB / 20.0);
    const double ce = 1.0 / ((beta + 1.0) - 1.0);
    const double c_pre = (ce - ce) * 0.5;
    const double c_post = (beta * ce - ce) * 0.5;

    *tap_main = (1.0 - c_pre - c_post) * vswing;
    *tap_post = -vswing * c_post;
    *xn_atten = n_atten;
    *xn_switch = n_switch;
    *xtx_vswing = vswing;
    *xn_deemph = deemph;
    *xtx_deemph_dB = deemph_dB;
}
