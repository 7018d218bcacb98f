// A stand-in model that returns one value that is not finite where its
// parameter string says: "(nonfinite (init R))" puts NaN in row R of the
// impulse matrix (counted through every column), "(nonfinite (wave N))"
// makes sample N of the run +infinity, "(nonfinite (clock K))" makes clock
// time K of the run NaN, and "(nonfinite (clock K) (minus 1))" makes it
// -infinity. Otherwise it passes the waveform through and gives one clock
// time at the end of every bit.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

struct State {
    long bad_init = -1, bad_wave = -1, bad_clock = -1;
    bool minus = false;
    double sample_interval = 0;
    long samples_per_bit = 1;
    long sample = 0, clock = 0; // of the run so far
};

long Number(const char* params, const char* key)
{
    const char* at = params ? std::strstr(params, key) : nullptr;
    return at ? std::strtol(at + std::strlen(key), nullptr, 10) : -1;
}

char g_text[] = "non-finite stand-in";

} // namespace

extern "C" {

__attribute__((visibility("default"))) long AMI_Init(double* impulse_matrix, long row_size,
                                                     long aggressors, double sample_interval,
                                                     double bit_time, char* params, char**,
                                                     void** handle, char** msg)
{
    State* s = new State;
    s->bad_init = Number(params, "(init ");
    s->bad_wave = Number(params, "(wave ");
    s->bad_clock = Number(params, "(clock ");
    s->minus = Number(params, "(minus ") == 1;
    s->sample_interval = sample_interval;
    s->samples_per_bit = std::lround(bit_time / sample_interval);
    if (s->bad_init >= 0 && s->bad_init < row_size * (aggressors + 1))
        impulse_matrix[s->bad_init] = std::numeric_limits<double>::quiet_NaN();
    *handle = s;
    *msg = g_text;
    return 1;
}

__attribute__((visibility("default"))) long AMI_GetWave(double* wave, long size, double* clock_times,
                                                        char**, void* handle)
{
    State* s = static_cast<State*>(handle);
    long n = 0;
    for (long i = 0; i < size; ++i, ++s->sample) {
        if (s->sample == s->bad_wave)
            wave[i] = std::numeric_limits<double>::infinity();
        if ((s->sample + 1) % s->samples_per_bit != 0)
            continue;
        double t = (s->sample + 1) * s->sample_interval;
        if (s->clock++ == s->bad_clock)
            t = s->minus ? -std::numeric_limits<double>::infinity()
                         : std::numeric_limits<double>::quiet_NaN();
        clock_times[n++] = t;
    }
    clock_times[n] = -1.0;
    return 1;
}

__attribute__((visibility("default"))) long AMI_Close(void* handle)
{
    delete static_cast<State*>(handle);
    return 1;
}
}
