// Speed and memory of the IBIS reader at scale.  Generates realistic IBIS 5.0
// files of about 5, 20 and 50 MB (one component of 2,000 pins with its pin
// mapping, model selectors, several hundred models with their I-V tables,
// ramps, waveforms, model specs and receiver thresholds, submodels, and a
// package model with a 2,000-pin banded matrix), then, for each, in a child
// process of its own:
//   - a plain loop that reads the file's lines and converts every number on
//     them with strtod (the floor: what any reader must do);
//   - the whole read-and-check pass (INIT, PARSE, TEST, FINI);
// and prints MB/s of both, their ratio, the heap the pass holds once the file
// is read, and the peak memory of the pass, against the targets.
//   ibis_read_bench [--keep] [MB ...]     (default 5 20 50; --keep leaves the files)
// The exit status is 0 whatever the figures: they are for reading.
#include <malloc.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "cmn.h"
#include "errlog.h"
#include "ibis.h"
#include "parse.h"

namespace {

const int kPins = 2000;
const int kRows = 100;
const int kModelsPerSelector = 4;

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + ts.tv_nsec * 1e-9;
}

// Counts what it writes, so that the generator can stop at the size asked.
struct Writer {
    FILE* f;
    size_t n = 0;
    void operator()(const char* fmt, ...) __attribute__((format(printf, 2, 3)))
    {
        va_list ap;
        va_start(ap, fmt);
        int k = vfprintf(f, fmt, ap);
        va_end(ap);
        if (k > 0) n += (size_t)k;
    }
};

// The buffer of every model: resistive pullup and pulldown transistors and
// diode-like clamps, by corner (typ, min, max: the slow corner has the weaker
// transistors and the lower supply), so that its waveforms, ramps and tables
// agree as a checker expects of a real file.
const double kVcc[3] = {3.3, 3.135, 3.465};
const double kDrive[3] = {1.0, 1.1, 0.9};  // resistance factor by corner
const double kClampOhms = 5.0;

struct Buffer {
    double rpu, rpd;  // typical on-resistances
};

// Current into the pin of each table, at its own voltage column (the pullup
// and POWER clamp tables are referenced to the supply).
double Current(const Buffer& b, int table, int corner, double v)
{
    switch (table) {
    case 0: return v / (b.rpd * kDrive[corner]);      // Pulldown
    case 1: return -v / (b.rpu * kDrive[corner]);     // Pullup, v = Vcc - Vpin
    case 2: return v < 0 ? v / kClampOhms : 0.0;       // GND Clamp
    default: return v < 0 ? -v / kClampOhms : 0.0;     // POWER Clamp, v = Vcc - Vpin
    }
}

void IvTable(Writer& w, const Buffer& b, int table)
{
    static const char* const names[] = {"Pulldown", "Pullup", "GND Clamp", "POWER Clamp"};
    w("[%s]\n| voltage   I(typ)         I(min)         I(max)\n", names[table]);
    for (int i = 0; i < kRows; i++) {
        double v = -kVcc[0] + 3.0 * kVcc[0] * i / (kRows - 1);
        w("%9.4fV  %13.6eA  %13.6eA  %13.6eA\n", v, Current(b, table, 0, v),
          Current(b, table, 1, v), Current(b, table, 2, v));
    }
}

// The pin voltage with the pullup (high) or the pulldown on, loaded by r to
// vfix; within the rails, where the clamps carry nothing.
double Level(const Buffer& b, int corner, bool high, double r, double vfix)
{
    double rt = (high ? b.rpu : b.rpd) * kDrive[corner];
    double vt = high ? kVcc[corner] : 0.0;
    return (vfix / r + vt / rt) / (1 / r + 1 / rt);
}

// The share of an edge done at fraction x of its time.
double Edge(double x) { return x * x * (3 - 2 * x); }
const double kEdgeTime = 5e-9;

void Waveform(Writer& w, const Buffer& b, bool rising, bool toSupply)
{
    double vfix[3];
    for (int c = 0; c < 3; c++) vfix[c] = toSupply ? kVcc[c] : 0.0;
    w("[%s Waveform]\nR_fixture = 50\nV_fixture = %.3f\nV_fixture_min = %.3f\n"
      "V_fixture_max = %.3f\n",
      rising ? "Rising" : "Falling", vfix[0], vfix[1], vfix[2]);
    w("| time        V(typ)       V(min)       V(max)\n");
    for (int i = 0; i < kRows; i++) {
        double x = (double)i / (kRows - 1);
        w("%10.4fns", kEdgeTime * x * 1e9);
        for (int c = 0; c < 3; c++) {
            double from = Level(b, c, !rising, 50, vfix[c]), to = Level(b, c, rising, 50, vfix[c]);
            w("  %11.6fV", from + (to - from) * Edge(x));
        }
        w("\n");
    }
}

void Model(Writer& w, int m, int submodels)
{
    Buffer b{18.0 + m % 7, 16.0 + m % 5};
    w("[Model] mdl%d\nModel_type I/O\nPolarity Non-Inverting\nEnable Active-High\n", m);
    w("Vinl = 0.8\nVinh = 2.0\nVmeas = 1.65\nCref = 0\nRref = 50\nVref = 0\n");
    w("C_comp %.2fpF %.2fpF %.2fpF\n", 3.0 + m % 7 * 0.1, 2.5 + m % 7 * 0.1, 3.5 + m % 7 * 0.1);
    w("[Model Spec]\n| subparameter  typ    min    max\n");
    w("Vinh  2.0  1.9  2.1\nVinl  0.8  0.7  0.9\nVmeas 1.65 1.6 1.7\nCref 0 0 0\n"
      "Rref 50 50 50\nVref 0 0 0\n");
    w("[Receiver Thresholds]\nVth = 1.4\nVth_min = 1.35\nVth_max = 1.45\nVinh_ac = 2.1\n"
      "Vinl_ac = 0.7\nVinh_dc = 2.0\nVinl_dc = 0.8\nTslew_ac = 1n\nThreshold_sensitivity = 0.5\n"
      "Reference_supply Pullup_ref\n");
    // A bus hold on some of the models.
    if (submodels > 0 && m % 8 == 0) {
        w("[Add Submodel]\n| name   mode\nhold%d  All\n", m % submodels);
    }
    w("[Temperature Range] 50 0 100\n[Pullup Reference] %.3f %.3f %.3f\n"
      "[Pulldown Reference] 0 0 0\n[POWER Clamp Reference] %.3f %.3f %.3f\n"
      "[GND Clamp Reference] 0 0 0\n",
      kVcc[0], kVcc[1], kVcc[2], kVcc[0], kVcc[1], kVcc[2]);
    for (int table = 0; table < 4; table++) IvTable(w, b, table);
    // 20% to 80% of the swing into 50 Ohms to ground (rising) or to the
    // supply (falling), and the time the edge takes for it.
    double x20 = 0.2871, x80 = 0.7129;  // Edge(x) = 0.2 and 0.8
    w("[Ramp]\n| variable  typ        min        max\ndV/dt_r");
    for (int c = 0; c < 3; c++)
        w("  %.4f/%.4fn", 0.6 * (Level(b, c, true, 50, 0) - Level(b, c, false, 50, 0)),
          (x80 - x20) * kEdgeTime * 1e9);
    w("\ndV/dt_f");
    for (int c = 0; c < 3; c++)
        w("  %.4f/%.4fn", 0.6 * (Level(b, c, true, 50, kVcc[c]) - Level(b, c, false, 50, kVcc[c])),
          (x80 - x20) * kEdgeTime * 1e9);
    w("\nR_load = 50\n");
    Waveform(w, b, true, false);
    Waveform(w, b, true, true);
    Waveform(w, b, false, false);
    Waveform(w, b, false, true);
}

void Submodel(Writer& w, int s)
{
    w("[Submodel] hold%d\nSubmodel_type Bus_hold\n[Submodel Spec]\n"
      "V_trigger_r  2.0  1.9  2.1\nV_trigger_f  1.0  0.9  1.1\n",
      s);
    w("[Pulldown]\n");
    for (int i = 0; i < kRows; i++) {
        double v = -kVcc[0] + 3.0 * kVcc[0] * i / (kRows - 1);
        w("%9.4fV  %13.6eA  %13.6eA  %13.6eA\n", v, v / 3e4, v / 3.3e4, v / 2.7e4);
    }
    w("[Ramp]\ndV/dt_r  1.0/1n  NA  NA\ndV/dt_f  1.0/1n  NA  NA\n");
}

void PackageMatrix(Writer& w, const char* name, const char* unit, double diag, double off)
{
    w("[%s Matrix] Banded_matrix\n[Bandwidth] 2\n", name);
    for (int p = 1; p <= kPins; p++) {
        w("[Row] %d\n%.4g%s", p, diag * (1 + p % 5 * 0.01), unit);
        for (int b = 1; b <= 2 && p + b <= kPins; b++) w(" %.4g%s", off / b, unit);
        w("\n");
    }
}

// Writes a file of about megabytes MB at path; returns its size.
size_t MakeFile(const std::string& path, int megabytes)
{
    Writer w{fopen(path.c_str(), "wb")};
    if (w.f == nullptr) {
        perror(path.c_str());
        exit(1);
    }
    size_t target = (size_t)megabytes << 20;
    const char* base = strrchr(path.c_str(), '/') + 1;
    w("[IBIS Ver] 5.0\n[File Name] %s\n[File Rev] 1.0\n[Date] 10 December 2026\n", base);
    w("[Source] Generated for the reader's speed and memory benchmark.\n"
      "[Notes] Every model is an I/O buffer of a 3.3 V family.\n"
      "[Disclaimer] Not a real part.\n[Copyright] None.\n");
    w("[Component] SCALE%d\n[Manufacturer] Nobody Semiconductors\n", kPins);
    w("[Package]\n| variable typ     min     max\nR_pkg    0.2     0.1     0.3\n"
      "L_pkg    3.0nH   2.0nH   4.0nH\nC_pkg    0.6pF   0.5pF   0.7pF\n");

    // The models fill what the fixed parts leave.
    Writer probe{fopen("/dev/null", "w")};
    Model(probe, 0, 1);
    fclose(probe.f);
    size_t perModel = probe.n, fixed = 600000;
    int models = target > fixed + 8 * perModel ? (int)((target - fixed) / perModel) : 8;
    models -= models % kModelsPerSelector;
    // Every model is in a selector; pins name selectors and models.
    int selectors = (models + kModelsPerSelector - 1) / kModelsPerSelector;
    int submodels = models / 100 + 1;

    w("[Pin] signal_name   model_name   R_pin   L_pin    C_pin\n");
    int next = 0;
    for (int p = 1; p <= kPins; p++) {
        if (p % 10 == 1)
            w("%-6d VDD%-10d POWER        0.05    0.5nH    0.2pF\n", p, p);
        else if (p % 10 == 2)
            w("%-6d GND%-10d GND          0.05    0.5nH    0.2pF\n", p, p);
        else if (p % 2 == 0 && selectors > 0)
            w("%-6d D%-12d sel%-9d 0.2     3.1nH    0.6pF\n", p, p, p % selectors);
        else
            w("%-6d D%-12d mdl%-9d 0.2     3.1nH    0.6pF\n", p, p, next++ % models);
    }
    w("[Package Model] PKG%d\n", kPins);
    w("[Pin Mapping] pulldown_ref   pullup_ref   gnd_clamp_ref   power_clamp_ref\n");
    for (int p = 1; p <= kPins; p++) {
        if (p % 10 == 1)
            w("%-6d NC     VDD\n", p);
        else if (p % 10 == 2)
            w("%-6d GND    NC\n", p);
        else
            w("%-6d GND    VDD    GND    VDD\n", p);
    }
    for (int s = 0; s < selectors; s++) {
        w("[Model Selector] sel%d\n", s);
        for (int k = 0; k < kModelsPerSelector && s * kModelsPerSelector + k < models; k++)
            w("mdl%-8d drive strength %d of selector %d\n", s * kModelsPerSelector + k, k, s);
    }
    for (int m = 0; m < models; m++) Model(w, m, submodels);
    for (int s = 0; s < submodels; s++) Submodel(w, s);

    w("[Define Package Model] PKG%d\n[Manufacturer] Nobody Semiconductors\n"
      "[OEM] Nobody Packaging\n[Description] %d-pin ball grid array\n"
      "[Number Of Pins] %d\n[Pin Numbers]\n",
      kPins, kPins, kPins);
    for (int p = 1; p <= kPins; p++) w("%d\n", p);
    w("[Model Data]\n");
    PackageMatrix(w, "Resistance", "", 0.2, 0.01);
    PackageMatrix(w, "Inductance", "nH", 3.0, 0.5);
    PackageMatrix(w, "Capacitance", "pF", 0.6, -0.05);
    w("[End Model Data]\n[End Package Model]\n[End]\n");
    fclose(w.f);
    return w.n;
}

long KbOf(const char* field)
{
    FILE* f = fopen("/proc/self/status", "r");
    if (f == nullptr) return 0;
    char line[256];
    long kb = 0;
    size_t n = strlen(field);
    while (fgets(line, sizeof line, f) != nullptr)
        if (strncmp(line, field, n) == 0) kb = atol(line + n);
    fclose(f);
    return kb;
}

// The floor: every line read, every blank-separated field converted.
double PlainLoop(const char* path, double* sum)
{
    double t0 = Now();
    FILE* f = fopen(path, "rb");
    if (f == nullptr) return 0;
    char line[4096];
    double s = 0;
    while (fgets(line, sizeof line, f) != nullptr) {
        char* p = line;
        for (;;) {
            while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r') p++;
            if (*p == '\0') break;
            char* end;
            double v = strtod(p, &end);
            if (end != p) s += v;
            p = end;
            while (*p != '\0' && *p != ' ' && *p != '\t' && *p != '\n' && *p != '\r') p++;
        }
    }
    fclose(f);
    *sum = s;
    return Now() - t0;
}

struct Figures {
    double passSeconds;
    double loopSeconds;
    double storedMB;  // heap in use once the file is read
    double peakMB;    // peak resident memory above the program's own
    unsigned long errors, warnings;
};

// One pass over the file, timed; the heap the reader holds is sampled
// between the read and the checks.
double Pass(const char* path, size_t* stored)
{
    double t0 = Now();
    INIT();
    PARSE(path, FILE_IBS);
    if (stored != nullptr) *stored = mallinfo2().uordblks;
    TEST(FILE_IBS, 0);
    FINI();
    return Now() - t0;
}

Figures Measure(const char* path)
{
    Figures fig{};
    FILE* sink = fopen("/dev/null", "w");
    ERRLOG_SetOutputFile(sink);
    PARSE_SuppressBanners(1);
    double sum = 0;
    PlainLoop(path, &sum);  // brings the file into the cache
    fig.loopSeconds = PlainLoop(path, &sum);
    size_t before = mallinfo2().uordblks, stored = 0;
    long baseKb = KbOf("VmRSS:");
    unsigned long e0 = gulError_cnt, w0 = gulWarn_cnt;
    fig.passSeconds = Pass(path, &stored);
    fig.errors = gulError_cnt - e0;
    fig.warnings = gulWarn_cnt - w0;
    fig.peakMB = (KbOf("VmHWM:") - baseKb) / 1024.0;
    fig.storedMB = (double)(stored - before) / (1 << 20);
    // The best of a few runs of each, taken in turn, so that a machine busy
    // with other work disturbs both alike.
    int runs = fig.passSeconds > 0.6 ? 4 : 7;
    for (int i = 0; i < runs; i++) {
        double t = PlainLoop(path, &sum);
        if (t < fig.loopSeconds) fig.loopSeconds = t;
        t = Pass(path, nullptr);
        if (t < fig.passSeconds) fig.passSeconds = t;
    }
    ERRLOG_SetOutputFile(nullptr);
    fclose(sink);
    return fig;
}

// Each size in a child of its own, so that its peak memory is its own.
bool MeasureInChild(const char* path, Figures* fig)
{
    int fds[2];
    if (pipe(fds) != 0) return false;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        Figures f = Measure(path);
        ssize_t k = write(fds[1], &f, sizeof f);
        _exit(k == (ssize_t)sizeof f ? 0 : 1);
    }
    close(fds[1]);
    ssize_t k = read(fds[0], fig, sizeof *fig);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return pid > 0 && k == (ssize_t)sizeof *fig && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    bool keep = false;
    for (int i = 1; i < argc; i++)
        if (strcmp(argv[i], "--keep") == 0)
            keep = true;
        else if (atoi(argv[i]) > 0) sizes.push_back(atoi(argv[i]));
    if (sizes.empty()) sizes = {5, 20, 50};
    const char* tmp = getenv("TMPDIR");
    std::string dir = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";

    printf("IBIS reader at scale: whole read-and-check pass against a plain strtod loop\n");
    printf("%6s %8s %8s %9s %9s %9s %7s %9s %9s %8s %8s\n", "MB", "pass s", "pass MB/s",
           "loop MB/s", "ratio", "stored MB", "per MB", "peak MB", "per MB", "errors", "warnings");
    std::vector<double> rates, peaks, ratios, stores;
    bool complete = true;
    for (int mb : sizes) {
        std::string path =
            dir + "/ibis_scale_" + std::to_string(getpid()) + "_" + std::to_string(mb) + ".ibs";
        size_t bytes = MakeFile(path, mb);
        double size = (double)bytes / (1 << 20);
        Figures fig;
        bool ok = MeasureInChild(path.c_str(), &fig);
        if (keep)
            printf("(kept %s)\n", path.c_str());
        else
            remove(path.c_str());
        if (!ok) {
            printf("%6.1f  measurement failed\n", size);
            complete = false;
            continue;
        }
        double rate = size / fig.passSeconds, loopRate = size / fig.loopSeconds;
        double ratio = fig.passSeconds / fig.loopSeconds;
        printf("%6.1f %8.3f %8.1f %9.1f %9.2f %9.1f %7.2f %9.1f %9.2f %8lu %8lu\n", size,
               fig.passSeconds, rate, loopRate, ratio, fig.storedMB, fig.storedMB / size,
               fig.peakMB, fig.peakMB / size, fig.errors, fig.warnings);
        rates.push_back(rate);
        ratios.push_back(ratio);
        peaks.push_back(fig.peakMB / fig.storedMB);
        stores.push_back(fig.storedMB / size);
    }
    if (!complete || rates.empty()) return 0;

    double minRate = rates[0], maxRatio = 0, maxPeak = 0;
    for (size_t i = 0; i < rates.size(); i++) {
        if (rates[i] < minRate) minRate = rates[i];
        if (ratios[i] > maxRatio) maxRatio = ratios[i];
        if (peaks[i] > maxPeak) maxPeak = peaks[i];
    }
    double linear = rates.back() / rates.front();
    double storeSpread = stores.back() / stores.front();
    auto verdict = [](bool met) { return met ? "met" : "NOT MET"; };
    printf("\nTargets:\n");
    printf("  pass speed >= 50 MB/s at every size:                 %.1f MB/s  %s\n", minRate,
           verdict(minRate >= 50));
    printf("  linear: MB/s at the largest size within 20%% of the smallest: %.2f  %s\n", linear,
           verdict(linear >= 0.8 && linear <= 1.25));
    printf("  pass within 4 times the plain strtod loop:             %.2f times  %s\n",
           maxRatio, verdict(maxRatio <= 4));
    printf("  peak memory within 1.5 times the heap the read holds:  %.2f times  %s\n", maxPeak,
           verdict(maxPeak <= 1.5));
    printf("  held heap proportional to the file (per MB, largest/smallest): %.2f  %s\n",
           storeSpread, verdict(storeSpread >= 0.8 && storeSpread <= 1.25));
    return 0;
}
