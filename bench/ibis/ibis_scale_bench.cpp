// How the checker's time, memory and output grow with the file, one construct
// at a time.  For each construct (one keyword family scaled inside an
// otherwise small valid IBIS 5.0 .ibs, .pkg, .ebd or .ami file, with the
// files beside it that the construct names) the program writes the files at
// two sizes, N and factor x N items, each into a folder of its own, and runs
// the checker on the main file in a child process:
//   ibislint -n -c -q file        (working directory: the file's folder)
// It reads the child's standard output and counts its lines, times the run by
// the wall clock and takes the peak memory from wait4 (ru_maxrss).  One row
// per construct gives both sizes, the growth of each figure and flags:
//   T  time grows more than 2.5 x the growth of the input
//   S  the large size takes more than --slow seconds (default 5)
//   M  peak memory above 64 MB + 24 bytes per byte of input
//   O  the output grows more than F^1.5 times for F times the items (31.6 x
//      at the default 10 x): the output per item at the large size is more
//      than sqrt(F) times that at the small size.  Half way, on a log
//      scale, between linear output (F x: a few messages per item, as every
//      row past a table's limit has) and quadratic output (F^2 x), so that
//      it holds for any --factor.  The output is counted in bytes, not
//      lines: a message wraps onto a second line once its names and line
//      numbers grow longer, which doubles its lines but not its text.  The
//      small size's output counts as at least 1000 bytes, so that a few
//      lines said once are not growth.  Two sizes with a table's limit
//      between them can pass for faster growth; the row limits of the
//      tables (100 and 1000) lie below the default sizes.
//   X  a run was stopped at the time-out (it counts as T and S)
//   K  the checker died of a signal (crash or memory cap)
// The growth columns are large over small: x in of the input's bytes, x out
// of the output's bytes.
// The exit status is 0 whatever the figures: they are for reading.
//
//   ibis_scale_bench [--small N] [--factor F] [--only NAME[,NAME...]]
//                    [--family NAME] [--timeout S] [--slow S] [--memcap MB]
//                    [--ibislint PATH] [--keep DIR] [--codes] [--show K]
//                    [--list] [--norun]
// --norun with --keep DIR only writes the files (one folder per construct
// and size), for running the checker on them by hand or under a profiler.
#include <ctype.h>
#include <errno.h>
#include <limits.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "number_arg.h"

#ifndef IBISLINT_PATH
#define IBISLINT_PATH "ibislint"
#endif

namespace {

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + ts.tv_nsec * 1e-9;
}

// ---------------------------------------------------------------------------
// Writing the files of one construct.

// The folder of one size of one construct, and what was written into it.
struct Ctx {
    std::string dir;
    std::string main;  // the file the checker is run on (the first one opened)
    size_t bytes = 0, lines = 0;
    bool failed = false;
};

// One generated file; counts its bytes and lines into the folder's totals.
class W {
public:
    W(Ctx& c, const std::string& name) : c_(c), name_(name)
    {
        f_ = fopen((c.dir + "/" + name).c_str(), "wb");
        if (f_ == nullptr) {
            perror((c.dir + "/" + name).c_str());
            c.failed = true;
        }
        if (c.main.empty()) c.main = name;
    }
    ~W()
    {
        if (f_ != nullptr) fclose(f_);
        c_.bytes += bytes_;
        c_.lines += lines_;
    }
    W(const W&) = delete;
    W& operator=(const W&) = delete;

    void operator()(const char* fmt, ...) __attribute__((format(printf, 2, 3)))
    {
        char buf[4096];
        va_list ap;
        va_start(ap, fmt);
        int k = vsnprintf(buf, sizeof buf, fmt, ap);
        va_end(ap);
        if (k < 0) return;
        if ((size_t)k >= sizeof buf) k = sizeof buf - 1;
        Put(buf, (size_t)k);
    }
    void Put(const char* s, size_t k)
    {
        if (f_ != nullptr) fwrite(s, 1, k, f_);
        bytes_ += k;
        for (size_t i = 0; i < k; i++) lines_ += s[i] == '\n';
    }
    const char* name() const { return name_.c_str(); }

private:
    Ctx& c_;
    std::string name_;
    FILE* f_ = nullptr;
    size_t bytes_ = 0, lines_ = 0;
};

// Short unique names (pin names hold at most 5 characters): a letter and the
// number in base 36, "P0" .. "PZZZZ".
std::string B36(long i)
{
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string s;
    do {
        s.insert(s.begin(), digits[i % 36]);
        i /= 36;
    } while (i > 0);
    return s;
}
std::string Pn(long i) { return "P" + B36(i); }

// ---------------------------------------------------------------------------
// Shared small writers: the skeleton of a file, a component, a model.

void Header(W& w, const char* version = "5.0")
{
    w("[IBIS Ver] %s\n[File Name] %s\n[File Rev] 1.0\n[Date] 10 December 2026\n", version,
      w.name());
    w("[Source] Generated by the checker's scale benchmark.\n");
}

void End(W& w) { w("[End]\n"); }

// [Component] with its [Manufacturer] and [Package]; the caller writes [Pin].
void Component(W& w, const std::string& name)
{
    w("[Component] %s\n[Manufacturer] Nobody Semiconductors\n[Package]\n"
      "| variable typ     min     max\nR_pkg    0.2     0.1     0.3\n"
      "L_pkg    3.0nH   2.0nH   4.0nH\nC_pkg    0.6pF   0.5pF   0.7pF\n",
      name.c_str());
}

void PinHead(W& w) { w("[Pin] signal_name model_name R_pin L_pin C_pin\n"); }
void Pin(W& w, const std::string& pin, const std::string& model)
{
    w("%-6s s_%-8s %-10s 0.2 3.1nH 0.6pF\n", pin.c_str(), pin.c_str(), model.c_str());
}

// A component of n pins that all name one model.
void ComponentOfPins(W& w, const std::string& name, long n, const std::string& model)
{
    Component(w, name);
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), model);
}

enum Kind { IN, OUT, IO, SERIES, SWITCH, TERM };

// A small clean model of its kind: the sub-parameters, the tables a checker
// expects of the kind (two rows each) and its ramp.
void Model(W& w, const std::string& name, Kind kind, bool thresholds = false)
{
    static const char* const types[] = {"Input", "Output", "I/O", "Series", "Series_switch",
                                        "Terminator"};
    w("[Model] %s\nModel_type %s\n", name.c_str(), types[kind]);
    if (kind == OUT || kind == IO) w("Polarity Non-Inverting\n");
    if (kind == IO) w("Enable Active-High\n");
    w("C_comp 1p NA NA\n");
    if (kind == IN || kind == IO) w("Vinl = 0.8\nVinh = 2.0\n");
    if (kind == OUT || kind == IO) w("Vmeas = 1.5\nCref = 0\nRref = 50\nVref = 0\n");
    if (thresholds)
        w("[Receiver Thresholds]\nVth = 1.4\nVinh_ac = 2.1\nVinl_ac = 0.7\nVinh_dc = 2.0\n"
          "Vinl_dc = 0.8\nTslew_ac = 1n\nVcross_low = 1.2\nVcross_high = 1.8\nVdiff_ac = 0.2\n"
          "Vdiff_dc = 0.1\nTdiffslew_ac = 1n\n");
    w("[Voltage Range] 3.3 NA NA\n");
    if (kind == SERIES) {
        w("[R Series] 10 NA NA\n");
        return;
    }
    if (kind == SWITCH) {
        w("[On]\n[R Series] 10 NA NA\n[Off]\n[R Series] 1M NA NA\n");
        return;
    }
    if (kind == IN || kind == IO || kind == TERM)
        w("[GND Clamp]\n-3.3 -0.1 NA NA\n0 0 NA NA\n3.3 0 NA NA\n"
          "[POWER Clamp]\n-3.3 0.1 NA NA\n0 0 NA NA\n3.3 0 NA NA\n");
    if (kind == OUT || kind == IO)
        w("[Pulldown]\n-3.3 -0.1 NA NA\n0 0 NA NA\n3.3 0.1 NA NA\n"
          "[Pullup]\n-3.3 0.1 NA NA\n0 0 NA NA\n3.3 -0.1 NA NA\n"
          "[Ramp]\ndV/dt_r 1.0/1n NA NA\ndV/dt_f 1.0/1n NA NA\nR_load = 50\n");
}

// A model with every common keyword: the unit of the "whole model" construct.
void FullModel(W& w, const std::string& name)
{
    w("[Model] %s\nModel_type I/O\nPolarity Non-Inverting\nEnable Active-High\n"
      "Vinl = 0.8\nVinh = 2.0\nVmeas = 1.5\nCref = 0\nRref = 50\nVref = 0\n"
      "C_comp 3p 2.5p 3.5p\n",
      name.c_str());
    w("[Model Spec]\nVinh 2.0 1.9 2.1\nVinl 0.8 0.7 0.9\nVmeas 1.65 1.6 1.7\n");
    w("[Receiver Thresholds]\nVth = 1.4\nVinh_ac = 2.1\nVinl_ac = 0.7\nVinh_dc = 2.0\n"
      "Vinl_dc = 0.8\nTslew_ac = 1n\n");
    w("[Temperature Range] 50 0 100\n[Voltage Range] 3.3 3.135 3.465\n");
    w("[Pulldown]\n-3.3 -0.2 -0.18 -0.22\n0 0 0 0\n3.3 0.2 0.18 0.22\n");
    w("[Pullup]\n-3.3 0.2 0.18 0.22\n0 0 0 0\n3.3 -0.2 -0.18 -0.22\n");
    w("[GND Clamp]\n-3.3 -0.5 -0.45 -0.55\n0 0 0 0\n3.3 0 0 0\n");
    w("[POWER Clamp]\n-3.3 0.5 0.45 0.55\n0 0 0 0\n3.3 0 0 0\n");
    w("[Ramp]\ndV/dt_r 1.5/1n 1.4/1.2n 1.6/0.8n\ndV/dt_f 1.5/1n 1.4/1.2n 1.6/0.8n\n"
      "R_load = 50\n");
    // The end levels are what the typical tables give into 50 Ohms.
    w("[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 NA NA\n1n 2.2 NA NA\n"
      "2n 2.481 NA NA\n");
    w("[Falling Waveform]\nR_fixture = 50\nV_fixture = 3.3\n0 3.3 NA NA\n1n 1.1 NA NA\n"
      "2n 0.819 NA NA\n");
}

void Submodel(W& w, const std::string& name)
{
    w("[Submodel] %s\nSubmodel_type Bus_hold\n[Submodel Spec]\nV_trigger_r 2.0 NA NA\n"
      "V_trigger_f 1.0 NA NA\n[Pulldown]\n-1.0 -0.01 NA NA\n0 0 NA NA\n1.0 0.01 NA NA\n"
      "[Ramp]\ndV/dt_r 1.0/1n NA NA\ndV/dt_f 1.0/1n NA NA\n",
      name.c_str());
}

// A package model of the given pins with a full matrix of one value per row
// when it has one pin, else banded matrices of bandwidth 1.
void PackageModel(W& w, const std::string& name, const std::vector<std::string>& pins)
{
    w("[Define Package Model] %s\n[Manufacturer] Nobody Semiconductors\n"
      "[OEM] Nobody Packaging\n[Description] generated\n[Number Of Pins] %zu\n[Pin Numbers]\n",
      name.c_str(), pins.size());
    for (const std::string& p : pins) w("%s\n", p.c_str());
    w("[Model Data]\n");
    static const char* const kinds[] = {"Resistance", "Inductance", "Capacitance"};
    static const char* const self[] = {"0.2", "3n", "0.6p"};
    static const char* const mutual[] = {"0.01", "0.5n", "0.05p"};
    for (int k = 0; k < 3; k++) {
        if (pins.size() == 1) {
            w("[%s Matrix] Full_matrix\n[Row] %s\n%s\n", kinds[k], pins[0].c_str(), self[k]);
            continue;
        }
        w("[%s Matrix] Banded_matrix\n[Bandwidth] 1\n", kinds[k]);
        for (size_t i = 0; i < pins.size(); i++)
            w("[Row] %s\n%s%s%s\n", pins[i].c_str(), self[k], i + 1 < pins.size() ? " " : "",
              i + 1 < pins.size() ? mutual[k] : "");
    }
    w("[End Model Data]\n[End Package Model]\n");
}

// A clean .ami parameter file with extra Model_Specific parameters.
void AmiFile(W& w, const std::string& root, long params)
{
    w("(%s\n (Description \"generated\")\n (Reserved_Parameters\n"
      "  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description \"d\"))\n"
      "  (GetWave_Exists (Usage Info) (Type Boolean) (Default False) (Description \"d\")))\n"
      " (Model_Specific\n",
      root.c_str());
    for (long i = 0; i < params; i++)
        w("  (p%ld (Usage In) (Type Float) (Format Range 1 0 2) (Default 1) (Description \"d\"))\n",
          i);
    w("  (last (Usage In) (Type Float) (Format Value 1) (Default 1) (Description \"d\"))))\n");
}

// A small .ibs file with one component "chip" of the given pins (for board
// references) and the model they use.
void PartFile(Ctx& c, const std::string& name, long pins)
{
    W w(c, name);
    Header(w);
    ComponentOfPins(w, "chip", pins, "in");
    Model(w, "in", IN);
    End(w);
}

// ---------------------------------------------------------------------------
// The constructs.  Each writes n items of one keyword family.

// Pins.
void G_pins(Ctx& c, long n)
{
    W w(c, "pins.ibs");
    Header(w);
    ComponentOfPins(w, "chip", n, "in");
    Model(w, "in", IN);
    End(w);
}
void G_pins_dup(Ctx& c, long n)
{
    W w(c, "pins_dup.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, "1", "in");
    Model(w, "in", IN);
    End(w);
}
void G_pins_undef_model(Ctx& c, long n)
{
    W w(c, "pins_undef.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "u" + std::to_string(i));
    Model(w, "in", IN);
    End(w);
}
void G_pins_undef_many(Ctx& c, long n)
{
    // Every look-up misses among N models.
    W w(c, "pins_undefm.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "u" + std::to_string(i));
    for (long i = 0; i < n; i++) Model(w, "m" + std::to_string(i), IN);
    End(w);
}
void G_pins_selector(Ctx& c, long n)
{
    W w(c, "pins_sel.ibs");
    Header(w);
    ComponentOfPins(w, "chip", n, "sel");
    w("[Model Selector] sel\nin_a  model a\nin_b  model b\n");
    Model(w, "in_a", IN);
    Model(w, "in_b", IN);
    End(w);
}
void G_pins_models(Ctx& c, long n)
{
    W w(c, "pins_mdl.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "m" + std::to_string(i));
    for (long i = 0; i < n; i++) Model(w, "m" + std::to_string(i), IN);
    End(w);
}
void G_pins_supply(Ctx& c, long n)
{
    W w(c, "pins_sup.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), i % 3 == 0 ? "POWER" : i % 3 == 1 ? "GND" : "NC");
    End(w);
}

// Components.
void G_comp_many(Ctx& c, long n)
{
    W w(c, "comps.ibs");
    Header(w);
    for (long i = 0; i < n; i++) ComponentOfPins(w, "c" + std::to_string(i), 1, "in");
    Model(w, "in", IN);
    End(w);
}
void G_comp_dup(Ctx& c, long n)
{
    W w(c, "comp_dup.ibs");
    Header(w);
    for (long i = 0; i < n; i++) ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    End(w);
}

// Header text.
void G_notes_long(Ctx& c, long n)
{
    W w(c, "notes.ibs");
    Header(w);
    w("[Notes]\n");
    for (long i = 0; i < n; i++) w("Note line %ld of the generated file.\n", i);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    End(w);
}

// Pin mapping: supplies every tenth pin, ten bus pairs.
void PinMapComponent(W& w, long n, bool uniqueLabels)
{
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++)
        Pin(w, Pn(i), i % 10 == 0 ? "POWER" : i % 10 == 1 ? "GND" : "io");
    w("[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref\n");
    for (long i = 0; i < n; i++) {
        long bus = (i / 10) % 10;
        if (i % 10 == 0)
            w("%-6s NC VDD%ld NC NC\n", Pn(i).c_str(), bus);
        else if (i % 10 == 1)
            w("%-6s GND%ld NC NC NC\n", Pn(i).c_str(), bus);
        else if (uniqueLabels)
            w("%-6s G%s V%s G%s V%s\n", Pn(i).c_str(), Pn(i).c_str(), Pn(i).c_str(),
              Pn(i).c_str(), Pn(i).c_str());
        else
            w("%-6s GND%ld VDD%ld GND%ld VDD%ld\n", Pn(i).c_str(), bus, bus, bus, bus);
    }
}
void G_pinmap(Ctx& c, long n)
{
    W w(c, "pinmap.ibs");
    Header(w);
    PinMapComponent(w, n, false);
    Model(w, "io", IO);
    End(w);
}
void G_pinmap_labels(Ctx& c, long n)
{
    W w(c, "pinmap_lab.ibs");
    Header(w);
    PinMapComponent(w, n, true);
    Model(w, "io", IO);
    End(w);
}
void G_pinmap_dup(Ctx& c, long n)
{
    W w(c, "pinmap_dup.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    Pin(w, "1", "POWER");
    w("[Pin Mapping] pulldown_ref pullup_ref\n");
    for (long i = 0; i < n; i++) w("1 NC VDD\n");
    End(w);
}
void G_pinmap_missing(Ctx& c, long n)
{
    W w(c, "pinmap_miss.ibs");
    Header(w);
    ComponentOfPins(w, "chip", n, "in");
    w("[Pin Mapping] pulldown_ref pullup_ref\n%s NC VDD\n", Pn(0).c_str());
    Model(w, "in", IN);
    End(w);
}
void G_pinmap_undeclared(Ctx& c, long n)
{
    W w(c, "pinmap_und.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "POWER");
    w("[Pin Mapping] pulldown_ref pullup_ref\n");
    for (long i = 0; i < n; i++) w("%s NC VDD\n", Pn(i + 1).c_str());
    End(w);
}

// Diff pins: n pins, pairs (2k, 2k+1).
void DiffRows(W& w, long n)
{
    w("[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n");
    for (long i = 0; i + 1 < n; i += 2)
        w("%-6s %-6s 0.1 0 NA NA\n", Pn(i).c_str(), Pn(i + 1).c_str());
}
void G_diff_plain(Ctx& c, long n)
{
    W w(c, "diff_plain.ibs");
    Header(w);
    ComponentOfPins(w, "chip", n, "io");
    DiffRows(w, n);
    Model(w, "io", IO);
    End(w);
}
void G_diff_models(Ctx& c, long n)
{
    W w(c, "diff_models.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "m" + std::to_string(i));
    DiffRows(w, n);
    for (long i = 0; i < n; i++) Model(w, "m" + std::to_string(i), IO);
    End(w);
}
void G_diff_rcvth(Ctx& c, long n)
{
    W w(c, "diff_rcvth.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "r" + std::to_string(i));
    DiffRows(w, n);
    for (long i = 0; i < n; i++) Model(w, "r" + std::to_string(i), IN, true);
    End(w);
}
void G_diff_rcvth_unused(Ctx& c, long n)
{
    // Receivers with thresholds that no pin uses: every look-up misses.
    W w(c, "diff_rcvth_un.ibs");
    Header(w);
    ComponentOfPins(w, "chip", n, "io");
    DiffRows(w, n);
    Model(w, "io", IO);
    for (long i = 0; i < n; i++) Model(w, "r" + std::to_string(i), IN, true);
    End(w);
}
void G_diff_selectors(Ctx& c, long n)
{
    long sels = n / 10 + 1;
    W w(c, "diff_sel.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "s" + std::to_string((i / 2) % sels));
    DiffRows(w, n);
    for (long s = 0; s < sels; s++)
        w("[Model Selector] s%ld\nra%ld  receiver a\nrb%ld  receiver b\n", s, s, s);
    for (long s = 0; s < sels; s++) {
        Model(w, "ra" + std::to_string(s), IN, true);
        Model(w, "rb" + std::to_string(s), IN, true);
    }
    End(w);
}
void G_diff_selector_big(Ctx& c, long n)
{
    W w(c, "diff_selbig.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 2, "big");
    DiffRows(w, 2);
    w("[Model Selector] big\n");
    for (long i = 0; i < n; i++) w("r%ld  receiver %ld\n", i, i);
    for (long i = 0; i < n; i++) Model(w, "r" + std::to_string(i), IN, true);
    End(w);
}
void G_diff_dup(Ctx& c, long n)
{
    W w(c, "diff_dup.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 2, "io");
    w("[Diff Pin] inv_pin vdiff tdelay_typ\n");
    for (long i = 0; i < n; i++) w("%s %s 0.1 0\n", Pn(0).c_str(), Pn(1).c_str());
    Model(w, "io", IO);
    End(w);
}
void G_diff_undeclared(Ctx& c, long n)
{
    // Every row's inv_pin is missing from [Pin].
    W w(c, "diff_und.ibs");
    Header(w);
    ComponentOfPins(w, "chip", n, "io");
    w("[Diff Pin] inv_pin vdiff tdelay_typ\n");
    for (long i = 0; i < n; i++) w("%-6s %-6s 0.1 0\n", Pn(i).c_str(), Pn(n + i).c_str());
    Model(w, "io", IO);
    End(w);
}

// Model selectors.
void G_msel_many(Ctx& c, long n)
{
    W w(c, "msel_many.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "s0");
    for (long s = 0; s < n; s++) w("[Model Selector] s%ld\nin_a  model a\nin_b  model b\n", s);
    Model(w, "in_a", IN);
    Model(w, "in_b", IN);
    End(w);
}
void G_msel_pins(Ctx& c, long n)
{
    W w(c, "msel_pins.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "s" + std::to_string(i));
    for (long s = 0; s < n; s++) w("[Model Selector] s%ld\nin_a  model a\nin_b  model b\n", s);
    Model(w, "in_a", IN);
    Model(w, "in_b", IN);
    End(w);
}
void G_msel_big(Ctx& c, long n)
{
    W w(c, "msel_big.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "big");
    w("[Model Selector] big\n");
    for (long i = 0; i < n; i++) w("m%ld  model %ld\n", i, i);
    for (long i = 0; i < n; i++) Model(w, "m" + std::to_string(i), IN);
    End(w);
}
void G_msel_dup_entry(Ctx& c, long n)
{
    W w(c, "msel_dupent.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "sel");
    w("[Model Selector] sel\n");
    for (long i = 0; i < n; i++) w("in  the same model\n");
    Model(w, "in", IN);
    End(w);
}
void G_msel_dup_name(Ctx& c, long n)
{
    W w(c, "msel_dupname.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "sel");
    for (long s = 0; s < n; s++) w("[Model Selector] sel\nin_a  model a\nin_b  model b\n");
    Model(w, "in_a", IN);
    Model(w, "in_b", IN);
    End(w);
}
void G_msel_undef(Ctx& c, long n)
{
    W w(c, "msel_undef.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "sel");
    w("[Model Selector] sel\n");
    for (long i = 0; i < n; i++) w("u%ld  undefined\n", i);
    Model(w, "in", IN);
    End(w);
}
void G_msel_named_model(Ctx& c, long n)
{
    W w(c, "msel_named.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    for (long s = 0; s < n; s++) w("[Model Selector] m%ld\nin  model a\nin2  model b\n", s);
    Model(w, "in", IN);
    Model(w, "in2", IN);
    for (long s = 0; s < n; s++) Model(w, "m" + std::to_string(s), IN);
    End(w);
}

// Series pin mapping and switch groups.  Pins 2k and 2k+1 are the ends of
// element k.
void SeriesPins(W& w, long rows)
{
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < 2 * rows; i++) Pin(w, Pn(i), "NC");
}
void G_spm_rows(Ctx& c, long n)
{
    W w(c, "spm.ibs");
    Header(w);
    SeriesPins(w, n);
    w("[Series Pin Mapping] pin_2 model_name\n");
    for (long i = 0; i < n; i++) w("%-6s %-6s ser\n", Pn(2 * i).c_str(), Pn(2 * i + 1).c_str());
    Model(w, "ser", SERIES);
    End(w);
}
void G_spm_models(Ctx& c, long n)
{
    W w(c, "spm_models.ibs");
    Header(w);
    SeriesPins(w, n);
    w("[Series Pin Mapping] pin_2 model_name\n");
    for (long i = 0; i < n; i++)
        w("%-6s %-6s ser%ld\n", Pn(2 * i).c_str(), Pn(2 * i + 1).c_str(), i);
    for (long i = 0; i < n; i++) Model(w, "ser" + std::to_string(i), SERIES);
    End(w);
}
void G_spm_undef(Ctx& c, long n)
{
    W w(c, "spm_undef.ibs");
    Header(w);
    SeriesPins(w, n);
    w("[Series Pin Mapping] pin_2 model_name\n");
    for (long i = 0; i < n; i++)
        w("%-6s %-6s u%ld\n", Pn(2 * i).c_str(), Pn(2 * i + 1).c_str(), i);
    Model(w, "ser", SERIES);
    End(w);
}
void G_spm_selector(Ctx& c, long n)
{
    long models = n / 10 + 1;
    W w(c, "spm_sel.ibs");
    Header(w);
    SeriesPins(w, n);
    w("[Series Switch Groups]\n");
    for (long g = 0; g < 10; g++) w("On g%ld /\n", g);
    w("[Series Pin Mapping] pin_2 model_name function_table_group\n");
    for (long i = 0; i < n; i++)
        w("%-6s %-6s ssel g%ld\n", Pn(2 * i).c_str(), Pn(2 * i + 1).c_str(), i % 10);
    w("[Model Selector] ssel\n");
    for (long m = 0; m < models; m++) w("sw%ld  switch %ld\n", m, m);
    for (long m = 0; m < models; m++) Model(w, "sw" + std::to_string(m), SWITCH);
    End(w);
}
void G_sswch_groups(Ctx& c, long n)
{
    W w(c, "sswch_groups.ibs");
    Header(w);
    SeriesPins(w, n);
    w("[Series Switch Groups]\n");
    for (long g = 0; g < n; g++) w("On g%ld /\n", g);
    w("[Series Pin Mapping] pin_2 model_name function_table_group\n");
    for (long i = 0; i < n; i++)
        w("%-6s %-6s sw g%ld\n", Pn(2 * i).c_str(), Pn(2 * i + 1).c_str(), i);
    Model(w, "sw", SWITCH);
    End(w);
}
void G_sswch_unused(Ctx& c, long n)
{
    W w(c, "sswch_unused.ibs");
    Header(w);
    SeriesPins(w, 1);
    w("[Series Switch Groups]\n");
    for (long g = 0; g < n; g++) w("Off g%ld /\n", g);
    w("[Series Pin Mapping] pin_2 model_name function_table_group\n");
    w("%s %s sw g0\n", Pn(0).c_str(), Pn(1).c_str());
    Model(w, "sw", SWITCH);
    End(w);
}
void G_sswch_big_group(Ctx& c, long n)
{
    W w(c, "sswch_big.ibs");
    Header(w);
    SeriesPins(w, 1);
    // One name a line: every unused name is a message of its own.
    w("[Series Switch Groups]\nOn g0\n");
    for (long g = 1; g < n; g++) w("g%ld\n", g);
    w("/\n[Series Pin Mapping] pin_2 model_name function_table_group\n");
    w("%s %s sw g0\n", Pn(0).c_str(), Pn(1).c_str());
    Model(w, "sw", SWITCH);
    End(w);
}
void G_sswch_dup(Ctx& c, long n)
{
    W w(c, "sswch_dup.ibs");
    Header(w);
    SeriesPins(w, 1);
    w("[Series Switch Groups]\nOn g\n");
    for (long g = 1; g < n; g++) w("g\n");
    w("/\n[Series Pin Mapping] pin_2 model_name function_table_group\n");
    w("%s %s sw g\n", Pn(0).c_str(), Pn(1).c_str());
    Model(w, "sw", SWITCH);
    End(w);
}
void G_sswch_undef_func(Ctx& c, long n)
{
    W w(c, "sswch_undef.ibs");
    Header(w);
    SeriesPins(w, n);
    w("[Series Switch Groups]\nOn g /\n");
    w("[Series Pin Mapping] pin_2 model_name function_table_group\n");
    for (long i = 0; i < n; i++)
        w("%-6s %-6s sw f%ld\n", Pn(2 * i).c_str(), Pn(2 * i + 1).c_str(), i);
    Model(w, "sw", SWITCH);
    End(w);
}

// EMI.
void EmiBegin(W& w) { w("[Begin EMI Component]\nDomain Digital\nCpd = 1p\n"); }
void G_emi_pins(Ctx& c, long n)
{
    W w(c, "emi_pins.ibs");
    Header(w);
    ComponentOfPins(w, "chip", n, "in");
    EmiBegin(w);
    w("[Pin EMI] domain_name clock_div\n");
    for (long i = 0; i < n; i++) w("%-6s d%ld 1\n", Pn(i).c_str(), i % 10);
    w("[Pin Domain EMI] percentage\n");
    for (long d = 0; d < 10; d++) w("d%ld 10\n", d);
    w("[End EMI Component]\n");
    Model(w, "in", IN);
    End(w);
}
void G_emi_pins_dup(Ctx& c, long n)
{
    W w(c, "emi_dup.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    EmiBegin(w);
    w("[Pin EMI] domain_name clock_div\n");
    for (long i = 0; i < n; i++) w("%s d0 1\n", Pn(0).c_str());
    w("[Pin Domain EMI] percentage\nd0 100\n[End EMI Component]\n");
    Model(w, "in", IN);
    End(w);
}
void G_emi_pins_undeclared(Ctx& c, long n)
{
    W w(c, "emi_und.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    EmiBegin(w);
    w("[Pin EMI] domain_name clock_div\n");
    for (long i = 0; i < n; i++) w("%s d0 1\n", Pn(i + 1).c_str());
    w("[Pin Domain EMI] percentage\nd0 100\n[End EMI Component]\n");
    Model(w, "in", IN);
    End(w);
}
void G_emi_domains(Ctx& c, long n)
{
    W w(c, "emi_dom.ibs");
    Header(w);
    ComponentOfPins(w, "chip", n, "in");
    EmiBegin(w);
    w("[Pin EMI] domain_name clock_div\n");
    for (long i = 0; i < n; i++) w("%-6s d%ld 1\n", Pn(i).c_str(), i);
    w("[Pin Domain EMI] percentage\n");
    for (long d = 0; d < n; d++) w("d%ld 1\n", d);
    w("[End EMI Component]\n");
    Model(w, "in", IN);
    End(w);
}
void G_emi_domains_unused(Ctx& c, long n)
{
    W w(c, "emi_domun.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    EmiBegin(w);
    w("[Pin EMI] domain_name clock_div\n%s dx 1\n", Pn(0).c_str());
    w("[Pin Domain EMI] percentage\n");
    for (long d = 0; d < n; d++) w("d%ld 1\n", d);
    w("[End EMI Component]\n");
    Model(w, "in", IN);
    End(w);
}
void G_emi_domains_dup(Ctx& c, long n)
{
    W w(c, "emi_domdup.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    EmiBegin(w);
    w("[Pin EMI] domain_name clock_div\n%s d 1\n", Pn(0).c_str());
    w("[Pin Domain EMI] percentage\n");
    for (long d = 0; d < n; d++) w("d 1\n");
    w("[End EMI Component]\n");
    Model(w, "in", IN);
    End(w);
}
void G_emi_models(Ctx& c, long n)
{
    W w(c, "emi_models.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "m" + std::to_string(i));
    for (long i = 0; i < n; i++) {
        Model(w, "m" + std::to_string(i), IN);
        w("[Begin EMI Model]\nModel_emi_type Ferrite\nDomain Digital\n[End EMI Model]\n");
    }
    End(w);
}

// Models.
void G_models_used(Ctx& c, long n)
{
    G_pins_models(c, n);
}
void G_models_unused(Ctx& c, long n)
{
    W w(c, "models_unused.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    for (long i = 0; i < n; i++) Model(w, "m" + std::to_string(i), IN);
    End(w);
}
void G_models_dup(Ctx& c, long n)
{
    W w(c, "models_dup.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    for (long i = 0; i < n; i++) Model(w, "in", IN);
    End(w);
}
void G_models_full(Ctx& c, long n)
{
    W w(c, "models_full.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "f" + std::to_string(i));
    for (long i = 0; i < n; i++) FullModel(w, "f" + std::to_string(i));
    End(w);
}
void G_models_kinds(Ctx& c, long n)
{
    // Models of every kind, pins naming the ones a pin may name and a series
    // pin mapping the series ones.
    static const Kind kinds[] = {IN, OUT, IO, TERM, SERIES, SWITCH};
    W w(c, "models_kinds.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) {
        Kind k = kinds[i % 6];
        Pin(w, Pn(i), k == SERIES || k == SWITCH ? "NC" : "m" + std::to_string(i));
    }
    w("[Series Switch Groups]\nOn g /\n"
      "[Series Pin Mapping] pin_2 model_name function_table_group\n");
    for (long i = 0; i + 1 < n; i++) {
        Kind k = kinds[i % 6];
        if (k == SERIES) w("%s %s m%ld\n", Pn(i).c_str(), Pn(i + 1).c_str(), i);
        if (k == SWITCH) w("%s %s m%ld g\n", Pn(i).c_str(), Pn(i - 1).c_str(), i);
    }
    for (long i = 0; i < n; i++) Model(w, "m" + std::to_string(i), kinds[i % 6]);
    End(w);
}

// I-V tables.
void ModelWithTable(W& w, const char* keyword, long rows, bool sameX)
{
    w("[Model] io\nModel_type I/O\nPolarity Non-Inverting\nEnable Active-High\nC_comp 1p NA NA\n"
      "Vinl = 0.8\nVinh = 2.0\nVmeas = 1.5\n[Voltage Range] 3.3 NA NA\n");
    w("[%s]\n", keyword);
    for (long i = 0; i < rows; i++) {
        double v = sameX ? 0.0 : -3.3 + 6.6 * i / (rows > 1 ? rows - 1 : 1);
        w("%.9g %.9g NA NA\n", v, strcmp(keyword, "Pullup") == 0 ? -v / 20 : v / 20);
    }
    if (strcmp(keyword, "Pullup") != 0) w("[Pullup]\n-3.3 0.1 NA NA\n3.3 -0.1 NA NA\n");
    if (strcmp(keyword, "Pulldown") != 0) w("[Pulldown]\n-3.3 -0.1 NA NA\n3.3 0.1 NA NA\n");
    w("[Ramp]\ndV/dt_r 1.0/1n NA NA\ndV/dt_f 1.0/1n NA NA\n");
}
void G_iv_long(Ctx& c, long n)
{
    W w(c, "iv_long.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "io");
    ModelWithTable(w, "Pulldown", n, false);
    End(w);
}
void G_iv_equal_x(Ctx& c, long n)
{
    W w(c, "iv_eqx.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "io");
    ModelWithTable(w, "GND Clamp", n, true);
    End(w);
}
void G_iv_all_long(Ctx& c, long n)
{
    // All four tables long, on different grids, so that the combined curves
    // of the DC checks have many points.
    W w(c, "iv_all.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "io");
    w("[Model] io\nModel_type I/O\nPolarity Non-Inverting\nEnable Active-High\nC_comp 1p NA NA\n"
      "Vinl = 0.8\nVinh = 2.0\nVmeas = 1.5\nCref = 0\nRref = 50\nVref = 0\n"
      "[Voltage Range] 3.3 3.0 3.6\n");
    static const char* const names[] = {"Pulldown", "Pullup", "GND Clamp", "POWER Clamp"};
    long rows = n / 4 + 2;
    for (int t = 0; t < 4; t++) {
        w("[%s]\n", names[t]);
        for (long i = 0; i < rows; i++) {
            double v = -3.3 + 6.6 * (i + 0.1 * t) / (rows - 1);
            double a = t == 0 ? v / 20 : t == 1 ? -v / 20 : t == 2 ? (v < 0 ? v / 5 : 0)
                                                                    : (v < 0 ? -v / 5 : 0);
            w("%.9g %.9g %.9g %.9g\n", v, a, a * 0.9, a * 1.1);
        }
    }
    w("[Ramp]\ndV/dt_r 1.0/1n 0.9/1n 1.1/1n\ndV/dt_f 1.0/1n 0.9/1n 1.1/1n\nR_load = 50\n");
    End(w);
}
void G_iv_isso(Ctx& c, long n)
{
    W w(c, "iv_isso.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "io");
    ModelWithTable(w, "Pulldown", 3, false);
    w("[ISSO PU]\n");
    for (long i = 0; i < n; i++) w("%.9g %.9g NA NA\n", -3.3 + 6.6 * i / n, -0.01 * i / n);
    w("[ISSO PD]\n");
    for (long i = 0; i < n; i++) w("%.9g %.9g NA NA\n", -3.3 + 6.6 * i / n, 0.01 * i / n);
    End(w);
}
void G_series_tables(Ctx& c, long n)
{
    // [Series Current] long and n/2 [Series MOSFET] tables of two rows.
    W w(c, "series_tab.ibs");
    Header(w);
    SeriesPins(w, 1);
    w("[Series Pin Mapping] pin_2 model_name\n%s %s ser\n", Pn(0).c_str(), Pn(1).c_str());
    w("[Model] ser\nModel_type Series\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n"
      "[R Series] 10 NA NA\n[Series Current]\n");
    for (long i = 0; i < n / 2; i++) w("%.9g %.9g NA NA\n", -5 + 10.0 * i / (n / 2), 1e-3 * i);
    for (long i = 0; i < n / 4; i++) w("[Series MOSFET]\nVds = %ld\n0 0 0 0\n1 1m 1m 1m\n", i + 1);
    End(w);
}

// Waveforms.
void WaveModel(W& w)
{
    w("[Model] io\nModel_type I/O\nPolarity Non-Inverting\nEnable Active-High\nC_comp 1p NA NA\n"
      "Vinl = 0.8\nVinh = 2.0\nVmeas = 1.5\n[Voltage Range] 3.3 NA NA\n"
      "[Pulldown]\n-3.3 -0.1 NA NA\n3.3 0.1 NA NA\n[Pullup]\n-3.3 0.1 NA NA\n3.3 -0.1 NA NA\n"
      "[Ramp]\ndV/dt_r 1.0/1n NA NA\ndV/dt_f 1.0/1n NA NA\n");
}
void G_wave_long(Ctx& c, long n)
{
    W w(c, "wave_long.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "io");
    WaveModel(w);
    w("[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n");
    for (long i = 0; i < n; i++) w("%.9gn %.9g NA NA\n", i * 0.01, 1.99 * i / (n > 1 ? n - 1 : 1));
    End(w);
}
void G_wave_equal_t(Ctx& c, long n)
{
    W w(c, "wave_eqt.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "io");
    WaveModel(w);
    w("[Falling Waveform]\nR_fixture = 50\nV_fixture = 3.3\n");
    for (long i = 0; i < n; i++) w("0 %.9g NA NA\n", 3.3 - 1.99 * i / (n > 1 ? n - 1 : 1));
    End(w);
}
void G_wave_many(Ctx& c, long n)
{
    W w(c, "wave_many.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "io");
    WaveModel(w);
    for (long i = 0; i < n; i++)
        w("[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 NA NA\n1n 1.99 NA NA\n");
    End(w);
}
void G_wave_composite(Ctx& c, long n)
{
    W w(c, "wave_comp.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "io");
    WaveModel(w);
    for (long i = 0; i < n; i++)
        w("[Falling Waveform]\nR_fixture = 50\nV_fixture = 3.3\n0 3.3 NA NA\n1n 1.31 NA NA\n"
          "[Composite Current]\n0 0 NA NA\n1n 1m NA NA\n");
    End(w);
}
void G_pulse_long(Ctx& c, long n)
{
    W w(c, "pulse_long.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    w("[Add Submodel]\nclamp All\n[Submodel] clamp\nSubmodel_type Dynamic_clamp\n"
      "[Submodel Spec]\nV_trigger_r 3.0 NA NA\nV_trigger_f 0.5 NA NA\n[GND Pulse Table]\n");
    for (long i = 0; i < n; i++) w("%ldp %.6g NA NA\n", i, i > 0 && i + 1 < n ? 0.1 : 0.0);
    w("[GND Clamp]\n-1.0 -0.1 NA NA\n0 0 NA NA\n1.0 0 NA NA\n");
    End(w);
}

// Driver schedules.
void G_drvsh_rows(Ctx& c, long n)
{
    W w(c, "drvsh.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "top");
    Model(w, "top", OUT);
    w("[Driver Schedule]\n| model Rise_on_dly Rise_off_dly Fall_on_dly Fall_off_dly\n");
    for (long i = 0; i < n; i++) w("d%ld 1n NA 1n NA\n", i);
    for (long i = 0; i < n; i++) Model(w, "d" + std::to_string(i), OUT);
    End(w);
}
void G_drvsh_undef(Ctx& c, long n)
{
    W w(c, "drvsh_undef.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "top");
    Model(w, "top", OUT);
    w("[Driver Schedule]\n");
    for (long i = 0; i < n; i++) w("u%ld 1n NA 1n NA\n", i);
    End(w);
}
void G_drvsh_undef_many(Ctx& c, long n)
{
    W w(c, "drvsh_undefm.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "top");
    Model(w, "top", OUT);
    w("[Driver Schedule]\n");
    for (long i = 0; i < n; i++) w("u%ld 1n NA 1n NA\n", i);
    for (long i = 0; i < n; i++) Model(w, "d" + std::to_string(i), OUT);
    End(w);
}
void G_drvsh_dup(Ctx& c, long n)
{
    W w(c, "drvsh_dup.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "top");
    Model(w, "top", OUT);
    w("[Driver Schedule]\n");
    for (long i = 0; i < n; i++) w("d 1n NA 1n NA\n");
    Model(w, "d", OUT);
    End(w);
}
void G_drvsh_models(Ctx& c, long n)
{
    W w(c, "drvsh_models.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "t" + std::to_string(i));
    for (long i = 0; i < n; i++) {
        Model(w, "t" + std::to_string(i), OUT);
        w("[Driver Schedule]\nda 1n NA 1n NA\ndb NA 1n NA 1n\n");
    }
    Model(w, "da", OUT);
    Model(w, "db", OUT);
    End(w);
}

// External models and circuits.
void Ports(W& w, long n, const char* prefix)
{
    for (long i = 0; i < n; i += 10) {
        w("Ports");
        for (long k = i; k < i + 10 && k < n; k++) w(" %s%ld", prefix, k);
        w("\n");
    }
}
void ExtModelHead(W& w, const char* type)
{
    w("[Model] ext\nModel_type %s\nC_comp 1p NA NA\n", type);
    if (strcmp(type, "Input") == 0) w("Vinl = 0.8\nVinh = 2.0\n");
    else w("Vmeas = 1.5\n");
    w("[Voltage Range] 3.3 NA NA\n");
    if (strcmp(type, "Input") != 0) w("[Ramp]\ndV/dt_r 1.0/1n NA NA\ndV/dt_f 1.0/1n NA NA\n");
    w("[External Model]\nLanguage SPICE\nCorner Typ ext.sp ext_typ\n");
}
void G_extmodel_d2a(Ctx& c, long n)
{
    W w(c, "ext_d2a.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "ext");
    ExtModelHead(w, "Output");
    w("Ports A_signal\n");
    Ports(w, n, "a");
    for (long i = 0; i < n; i++) w("D_to_A D_drive a%ld A_gnd 0 3.3 1n 1n\n", i);
    w("[End External Model]\n");
    End(w);
}
void G_extmodel_a2d(Ctx& c, long n)
{
    W w(c, "ext_a2d.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "ext");
    ExtModelHead(w, "Input");
    w("Ports A_signal\n");
    Ports(w, n, "a");
    for (long i = 0; i < n; i++) w("A_to_D D_receive a%ld A_gnd 0.8 2.0\n", i);
    w("[End External Model]\n");
    End(w);
}
void G_extmodel_ports(Ctx& c, long n)
{
    W w(c, "ext_ports.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "ext");
    ExtModelHead(w, "Input");
    w("Ports A_signal\n");
    Ports(w, n, "a");
    w("A_to_D D_receive A_signal A_gnd 0.8 2.0\nParameters");
    for (long i = 0; i < 8; i++) w(" q%ld", i);
    w("\n[End External Model]\n");
    End(w);
}
void Circuit(W& w, const std::string& name)
{
    w("[External Circuit] %s\nLanguage SPICE\nCorner Typ c.sp c_typ\nPorts A_signal A_gnd\n"
      "[End External Circuit]\n",
      name.c_str());
}
void G_extcircuit_many(Ctx& c, long n)
{
    W w(c, "extc_many.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    for (long i = 0; i < n; i++) Circuit(w, "c" + std::to_string(i));
    End(w);
}
void G_extcircuit_dup(Ctx& c, long n)
{
    W w(c, "extc_dup.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    for (long i = 0; i < n; i++) Circuit(w, "c");
    End(w);
}
void G_extcircuit_a2d(Ctx& c, long n)
{
    W w(c, "extc_a2d.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    w("[External Circuit] conv\nLanguage SPICE\nCorner Typ c.sp c_typ\nPorts A_gnd\n");
    Ports(w, n, "a");
    for (long i = 0; i < n; i++) w("A_to_D dig%ld a%ld A_gnd 0.8 2.0\n", i, i);
    w("[End External Circuit]\n");
    End(w);
}
void G_extcircuit_d2a(Ctx& c, long n)
{
    W w(c, "extc_d2a.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    w("[External Circuit] conv\nLanguage SPICE\nCorner Typ c.sp c_typ\nPorts A_gnd\n");
    Ports(w, n, "a");
    for (long i = 0; i < n; i++) w("D_to_A dig%ld a%ld A_gnd 0 3.3 1n 1n\n", i, i);
    w("[End External Circuit]\n");
    End(w);
}

// Circuit calls and node declarations.
void CallPins(W& w, long n)
{
    Component(w, "chip");
    PinHead(w);
    Pin(w, "G", "GND");
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "CIRCUITCALL");
}
void G_ccall_many(Ctx& c, long n)
{
    W w(c, "ccall_many.ibs");
    Header(w);
    CallPins(w, n);
    for (long i = 0; i < n; i++)
        w("[Circuit Call] term\nSignal_pin %s\nPort_map A_signal %s\nPort_map A_gnd G\n"
          "[End Circuit Call]\n",
          Pn(i).c_str(), Pn(i).c_str());
    Model(w, "in", IN);
    Circuit(w, "term");
    End(w);
}
void G_ccall_circuits(Ctx& c, long n)
{
    W w(c, "ccall_circ.ibs");
    Header(w);
    CallPins(w, n);
    for (long i = 0; i < n; i++)
        w("[Circuit Call] c%ld\nSignal_pin %s\nPort_map A_signal %s\nPort_map A_gnd G\n"
          "[End Circuit Call]\n",
          i, Pn(i).c_str(), Pn(i).c_str());
    Model(w, "in", IN);
    for (long i = 0; i < n; i++) Circuit(w, "c" + std::to_string(i));
    End(w);
}
void G_ccall_undef(Ctx& c, long n)
{
    W w(c, "ccall_undef.ibs");
    Header(w);
    CallPins(w, n);
    for (long i = 0; i < n; i++)
        w("[Circuit Call] u%ld\nSignal_pin %s\nPort_map A_signal %s\n[End Circuit Call]\n", i,
          Pn(i).c_str(), Pn(i).c_str());
    Model(w, "in", IN);
    End(w);
}
void G_ccall_portmap(Ctx& c, long n)
{
    // One call of a circuit of n ports, each wired to a declared node, the
    // nodes joined again by a second circuit's call.
    W w(c, "ccall_pmap.ibs");
    Header(w);
    CallPins(w, 1);
    w("[Node Declarations]\n");
    for (long i = 0; i < n; i += 10) {
        for (long k = i; k < i + 10 && k < n; k++) w(k == i ? "n%ld" : " n%ld", k);
        w("\n");
    }
    w("[End Node Declarations]\n[Circuit Call] wide\nPort_map A_gnd G\n");
    for (long i = 0; i < n; i++) w("Port_map a%ld n%ld\n", i, i);
    w("[End Circuit Call]\n[Circuit Call] wide\nPort_map A_gnd G\n");
    for (long i = 0; i < n; i++) w("Port_map a%ld n%ld\n", i, i);
    w("[End Circuit Call]\n");
    Model(w, "in", IN);
    w("[External Circuit] wide\nLanguage SPICE\nCorner Typ w.sp w_typ\nPorts A_gnd\n");
    Ports(w, n, "a");
    w("[End External Circuit]\n");
    End(w);
}
void G_ccall_portmap_dup(Ctx& c, long n)
{
    W w(c, "ccall_pdup.ibs");
    Header(w);
    CallPins(w, 1);
    w("[Circuit Call] term\nSignal_pin %s\n", Pn(0).c_str());
    for (long i = 0; i < n; i++) w("Port_map A_signal %s\n", Pn(0).c_str());
    w("Port_map A_gnd G\n[End Circuit Call]\n");
    Model(w, "in", IN);
    Circuit(w, "term");
    End(w);
}
// One node a line: a repeated name is a message of its own.
void NodeLines(W& w, long n, bool same)
{
    w("[Node Declarations]\n");
    for (long i = 0; i < n; i++) {
        if (same)
            w("n\n");
        else
            w("n%ld\n", i);
    }
    w("[End Node Declarations]\n");
}
void G_nodes_many(Ctx& c, long n)
{
    W w(c, "nodes.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    NodeLines(w, n, false);
    Model(w, "in", IN);
    End(w);
}
void G_nodes_pins(Ctx& c, long n)
{
    W w(c, "nodes_pins.ibs");
    Header(w);
    ComponentOfPins(w, "chip", n, "in");
    NodeLines(w, n, false);
    Model(w, "in", IN);
    End(w);
}
void G_nodes_dup(Ctx& c, long n)
{
    W w(c, "nodes_dup.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    NodeLines(w, n, true);
    Model(w, "in", IN);
    End(w);
}

// Submodels.
void G_submodels(Ctx& c, long n)
{
    W w(c, "submdl.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "m" + std::to_string(i));
    for (long i = 0; i < n; i++) {
        Model(w, "m" + std::to_string(i), IN);
        w("[Add Submodel]\nh%ld All\n", i);
    }
    for (long i = 0; i < n; i++) Submodel(w, "h" + std::to_string(i));
    End(w);
}
void G_add_submodel_lines(Ctx& c, long n)
{
    W w(c, "addsub.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    w("[Add Submodel]\n");
    for (long i = 0; i < n; i++) w("h%ld All\n", i);
    for (long i = 0; i < n; i++) Submodel(w, "h" + std::to_string(i));
    End(w);
}
void G_add_submodel_undef(Ctx& c, long n)
{
    W w(c, "addsub_undef.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    w("[Add Submodel]\n");
    for (long i = 0; i < n; i++) w("u%ld All\n", i);
    Submodel(w, "h");
    End(w);
}
void G_add_submodel_dup(Ctx& c, long n)
{
    W w(c, "addsub_dup.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    w("[Add Submodel]\n");
    for (long i = 0; i < n; i++) w("h All\n");
    Submodel(w, "h");
    End(w);
}
// N Dynamic_clamp submodels added to one model, whose clamps the checker sums
// with the model's: on one grid of x values (same) or each on its own (own).
void ClampSubmodels(Ctx& c, long n, bool own)
{
    W w(c, own ? "addsub_clamps_own.ibs" : "addsub_clamps.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    w("[Add Submodel]\n");
    for (long i = 0; i < n; i++) w("d%ld All\n", i);
    for (long i = 0; i < n; i++)
        w("[Submodel] d%ld\nSubmodel_type Dynamic_clamp\n[GND Clamp]\n%.6f -0.1 NA NA\n"
          "0 0 NA NA\n",
          i, own ? -1.0 - 1e-4 * (double)i : -1.0);
    End(w);
}
void G_add_submodel_clamps(Ctx& c, long n) { ClampSubmodels(c, n, false); }
void G_add_submodel_clamps_own(Ctx& c, long n) { ClampSubmodels(c, n, true); }
void G_submodels_unused(Ctx& c, long n)
{
    W w(c, "submdl_unused.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    for (long i = 0; i < n; i++) Submodel(w, "h" + std::to_string(i));
    End(w);
}
void G_submodels_dup(Ctx& c, long n)
{
    W w(c, "submdl_dup.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    w("[Add Submodel]\nh All\n");
    for (long i = 0; i < n; i++) Submodel(w, "h");
    End(w);
}

// Test data and test loads.
void TestLoad(W& w, const std::string& name, const std::string& receiver)
{
    w("[Test Load] %s\nTest_load_type Single_ended\nRs_far = 50\nReceiver_model %s\n",
      name.c_str(), receiver.c_str());
}
void TestData(W& w, const std::string& name, const std::string& driver, const std::string& load)
{
    w("[Test Data] %s\nTest_data_type Single_ended\nDriver_model %s\nTest_load %s\n"
      "[Rising Waveform Near]\n0 0 NA NA\n1n 1 NA NA\n",
      name.c_str(), driver.c_str(), load.c_str());
}
void DriverAndReceiver(W& w)
{
    ComponentOfPins(w, "chip", 1, "rcv");
    Model(w, "drv", OUT);
    Model(w, "rcv", IN);
}
void G_tload_many(Ctx& c, long n)
{
    W w(c, "tload.ibs");
    Header(w);
    DriverAndReceiver(w);
    for (long i = 0; i < n; i++) TestLoad(w, "tl" + std::to_string(i), "rcv");
    End(w);
}
void G_tload_models(Ctx& c, long n)
{
    W w(c, "tload_mdl.ibs");
    Header(w);
    DriverAndReceiver(w);
    for (long i = 0; i < n; i++) Model(w, "r" + std::to_string(i), IN);
    for (long i = 0; i < n; i++) TestLoad(w, "tl" + std::to_string(i), "r" + std::to_string(i));
    End(w);
}
void G_tload_undef(Ctx& c, long n)
{
    W w(c, "tload_undef.ibs");
    Header(w);
    DriverAndReceiver(w);
    for (long i = 0; i < n; i++) TestLoad(w, "tl" + std::to_string(i), "u" + std::to_string(i));
    End(w);
}
void G_tload_dup(Ctx& c, long n)
{
    W w(c, "tload_dup.ibs");
    Header(w);
    DriverAndReceiver(w);
    for (long i = 0; i < n; i++) TestLoad(w, "tl", "rcv");
    End(w);
}
void G_tload_diff(Ctx& c, long n)
{
    // Differential test loads whose inverting receivers no diff pin uses.
    W w(c, "tload_diff.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 2 * n, "io");
    DiffRows(w, 2 * n);
    Model(w, "io", IO);
    Model(w, "rcv", IN);
    for (long i = 0; i < n; i++)
        w("[Test Load] tl%ld\nTest_load_type Differential\nR_diff_near = 100\n"
          "Receiver_model rcv\nReceiver_model_inv rcv\n",
          i);
    End(w);
}
void G_tdata_many(Ctx& c, long n)
{
    W w(c, "tdata.ibs");
    Header(w);
    DriverAndReceiver(w);
    for (long i = 0; i < n; i++) TestLoad(w, "tl" + std::to_string(i), "rcv");
    for (long i = 0; i < n; i++)
        TestData(w, "td" + std::to_string(i), "drv", "tl" + std::to_string(i));
    End(w);
}
void G_tdata_undef(Ctx& c, long n)
{
    W w(c, "tdata_undef.ibs");
    Header(w);
    DriverAndReceiver(w);
    TestLoad(w, "tl", "rcv");
    for (long i = 0; i < n; i++)
        TestData(w, "td" + std::to_string(i), "u" + std::to_string(i), "v" + std::to_string(i));
    End(w);
}
void G_tdata_dup(Ctx& c, long n)
{
    W w(c, "tdata_dup.ibs");
    Header(w);
    DriverAndReceiver(w);
    TestLoad(w, "tl", "rcv");
    for (long i = 0; i < n; i++) TestData(w, "td", "drv", "tl");
    End(w);
}

// Algorithmic models.
void CodeFile(Ctx& c, const char* name)
{
    W w(c, name);
    w("not a real library\n");
}
void G_algmod_exec(Ctx& c, long n)
{
    W w(c, "algmod.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    w("[Algorithmic Model]\n");
    for (long i = 0; i < n; i++) w("Executable L%ld_gcc_64 x.so none%ld.ami\n", i, i);
    w("[End Algorithmic Model]\n");
    End(w);
    CodeFile(c, "x.so");
}
void G_algmod_exec_dup(Ctx& c, long n)
{
    W w(c, "algmod_dup.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    w("[Algorithmic Model]\n");
    for (long i = 0; i < n; i++) w("Executable Linux_gcc_64 x.so none.ami\n");
    w("[End Algorithmic Model]\n");
    End(w);
    CodeFile(c, "x.so");
}
void G_algmod_one_ami(Ctx& c, long n)
{
    // n lines naming one .ami file of 500 parameters (about 40 KB).
    W w(c, "algmod_one.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    Model(w, "in", IN);
    w("[Algorithmic Model]\n");
    for (long i = 0; i < n; i++) w("Executable L%ld_gcc_64 x.so big.ami\n", i);
    w("[End Algorithmic Model]\n");
    End(w);
    CodeFile(c, "x.so");
    W a(c, "big.ami");
    AmiFile(a, "big", 500);
}
void G_algmod_models(Ctx& c, long n)
{
    W w(c, "algmod_models.ibs");
    Header(w);
    Component(w, "chip");
    PinHead(w);
    for (long i = 0; i < n; i++) Pin(w, Pn(i), "m" + std::to_string(i));
    for (long i = 0; i < n; i++) {
        Model(w, "m" + std::to_string(i), IN);
        w("[Algorithmic Model]\nExecutable Linux_gcc_64 x.so a%ld.ami\n[End Algorithmic Model]\n",
          i);
    }
    End(w);
    CodeFile(c, "x.so");
    for (long i = 0; i < n; i++) {
        W a(c, "a" + std::to_string(i) + ".ami");
        AmiFile(a, "a" + std::to_string(i), 0);
    }
}

// .ami files read on their own.
void G_ami_params(Ctx& c, long n)
{
    W a(c, "params.ami");
    AmiFile(a, "params", n);
}
void G_ami_deep(Ctx& c, long n)
{
    W a(c, "deep.ami");
    a("(deep\n (Reserved_Parameters\n"
      "  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description \"d\"))\n"
      "  (GetWave_Exists (Usage Info) (Type Boolean) (Default False) (Description \"d\")))\n"
      " (Model_Specific\n");
    for (long i = 0; i < n; i++) a("(b%ld\n", i);
    a("(leaf (Usage In) (Type Float) (Format Value 1) (Default 1) (Description \"d\"))\n");
    for (long i = 0; i < n; i++) a(")\n");
    a("))\n");
}
void G_ami_list(Ctx& c, long n)
{
    W a(c, "list.ami");
    a("(list\n (Reserved_Parameters\n"
      "  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description \"d\"))\n"
      "  (GetWave_Exists (Usage Info) (Type Boolean) (Default False) (Description \"d\")))\n"
      " (Model_Specific\n  (taps (Usage In) (Type Integer) (Default 0) (Format List\n");
    for (long i = 0; i < n; i++) a(" %ld\n", i);
    a("))))\n");
}
void G_ami_bad(Ctx& c, long n)
{
    // Faults in every parameter: unknown reserved parameters and bad leaves.
    W a(c, "bad.ami");
    a("(bad\n (Reserved_Parameters\n");
    for (long i = 0; i < n / 2; i++) a("  (r%ld (Usage In))\n", i);
    a(" )\n (Model_Specific\n");
    for (long i = 0; i < n / 2; i++)
        a("  (p%ld (Usage Sideways) (Type Real) (Format Range 1))\n", i);
    a("))\n");
}

// Package models and matrices.
void G_pkg_models(Ctx& c, long n)
{
    W w(c, "pkgs.pkg");
    Header(w);
    for (long i = 0; i < n; i++) PackageModel(w, "pk" + std::to_string(i), {"1"});
    End(w);
}
void G_pkg_models_dup(Ctx& c, long n)
{
    W w(c, "pkgs_dup.pkg");
    Header(w);
    for (long i = 0; i < n; i++) PackageModel(w, "pk", {"1"});
    End(w);
}
void G_pkg_components(Ctx& c, long n)
{
    W w(c, "pkg_comps.ibs");
    Header(w);
    for (long i = 0; i < n; i++) {
        ComponentOfPins(w, "c" + std::to_string(i), 1, "in");
        w("[Package Model] pk%ld\n", i);
    }
    Model(w, "in", IN);
    std::vector<std::string> one{Pn(0)};
    for (long i = 0; i < n; i++) PackageModel(w, "pk" + std::to_string(i), one);
    End(w);
}
void G_pkg_comps_pkgfile(Ctx& c, long n)
{
    W w(c, "pkg_cfile.ibs");
    Header(w);
    for (long i = 0; i < n; i++) {
        ComponentOfPins(w, "c" + std::to_string(i), 1, "in");
        w("[Package Model] pk%ld\n", i);
    }
    Model(w, "in", IN);
    End(w);
    W p(c, "pkgs.pkg");
    Header(p);
    std::vector<std::string> one{Pn(0)};
    for (long i = 0; i < n; i++) PackageModel(p, "pk" + std::to_string(i), one);
    End(p);
}
void G_pkg_search_missing(Ctx& c, long n)
{
    // Components naming package models defined nowhere, beside a folder of
    // four .pkg files that define others.
    W w(c, "pkg_miss.ibs");
    Header(w);
    for (long i = 0; i < n; i++) {
        ComponentOfPins(w, "c" + std::to_string(i), 1, "in");
        w("[Package Model] none%ld\n", i);
    }
    Model(w, "in", IN);
    End(w);
    std::vector<std::string> pins;
    for (long i = 0; i < 20; i++) pins.push_back(Pn(i));
    for (int f = 0; f < 4; f++) {
        W p(c, "other" + std::to_string(f) + ".pkg");
        Header(p);
        PackageModel(p, "other" + std::to_string(f), pins);
        End(p);
    }
}
void G_pkg_alt(Ctx& c, long n)
{
    W w(c, "pkg_alt.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    w("[Alternate Package Models]\n");
    for (long i = 0; i < n; i++) w("pk%ld\n", i);
    w("[End Alternate Package Models]\n");
    Model(w, "in", IN);
    std::vector<std::string> one{Pn(0)};
    for (long i = 0; i < n; i++) PackageModel(w, "pk" + std::to_string(i), one);
    End(w);
}
void G_pkg_alt_dup(Ctx& c, long n)
{
    W w(c, "pkg_altdup.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    w("[Alternate Package Models]\n");
    for (long i = 0; i < n; i++) w("pk\n");
    w("[End Alternate Package Models]\n");
    Model(w, "in", IN);
    PackageModel(w, "pk", {Pn(0)});
    End(w);
}
void G_pkg_alt_missing(Ctx& c, long n)
{
    W w(c, "pkg_altmiss.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    w("[Alternate Package Models]\n");
    for (long i = 0; i < n; i++) w("none%ld\n", i);
    w("[End Alternate Package Models]\n");
    Model(w, "in", IN);
    End(w);
    W p(c, "other.pkg");
    Header(p);
    PackageModel(p, "other", {Pn(0)});
    End(p);
}
void G_pkg_pins(Ctx& c, long n)
{
    // A package model of n pins (banded matrices) for a component of n pins.
    W w(c, "pkg_pins.ibs");
    Header(w);
    ComponentOfPins(w, "chip", n, "in");
    w("[Package Model] big\n");
    Model(w, "in", IN);
    std::vector<std::string> pins;
    for (long i = 0; i < n; i++) pins.push_back(Pn(i));
    PackageModel(w, "big", pins);
    End(w);
}
void G_pkg_pins_missing(Ctx& c, long n)
{
    // The package model's pins are not on the component.
    W w(c, "pkg_pinmiss.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    w("[Package Model] big\n");
    Model(w, "in", IN);
    std::vector<std::string> pins;
    for (long i = 0; i < n; i++) pins.push_back(Pn(i + 1));
    PackageModel(w, "big", pins);
    End(w);
}
void G_pkg_pins_dup(Ctx& c, long n)
{
    W w(c, "pkg_pindup.pkg");
    Header(w);
    w("[Define Package Model] dup\n[Manufacturer] M\n[OEM] O\n[Description] d\n"
      "[Number Of Pins] %ld\n[Pin Numbers]\n",
      n);
    for (long i = 0; i < n; i++) w("A1\n");
    w("[Model Data]\n[Inductance Matrix] Sparse_matrix\n[Row] A1\nA1 1n\n"
      "[Capacitance Matrix] Sparse_matrix\n[Row] A1\nA1 1p\n[End Model Data]\n"
      "[End Package Model]\n");
    End(w);
}
void MatrixModelHead(W& w, const char* name, long pins)
{
    w("[Define Package Model] %s\n[Manufacturer] M\n[OEM] O\n[Description] d\n"
      "[Number Of Pins] %ld\n[Pin Numbers]\n",
      name, pins);
    for (long i = 0; i < pins; i++) w("%s\n", Pn(i).c_str());
    w("[Model Data]\n");
}
void G_mtx_sparse_diag(Ctx& c, long n)
{
    W w(c, "sparse.pkg");
    Header(w);
    MatrixModelHead(w, "sp", n);
    static const char* const kinds[] = {"Resistance", "Inductance", "Capacitance"};
    static const char* const vals[] = {"0.2", "3n", "0.6p"};
    for (int k = 0; k < 3; k++) {
        w("[%s Matrix] Sparse_matrix\n", kinds[k]);
        for (long i = 0; i < n; i++) w("[Row] %s\n%s %s\n", Pn(i).c_str(), Pn(i).c_str(), vals[k]);
    }
    w("[End Model Data]\n[End Package Model]\n");
    End(w);
}
void G_mtx_sparse_last(Ctx& c, long n)
{
    W w(c, "sparse_last.pkg");
    Header(w);
    MatrixModelHead(w, "sp", n);
    w("[Inductance Matrix] Sparse_matrix\n");
    for (long i = 0; i < n; i++) {
        w("[Row] %s\n%s 3n\n", Pn(i).c_str(), Pn(i).c_str());
        if (i + 1 < n) w("%s 0.1n\n", Pn(n - 1).c_str());
    }
    w("[Capacitance Matrix] Sparse_matrix\n");
    for (long i = 0; i < n; i++) w("[Row] %s\n%s 1p\n", Pn(i).c_str(), Pn(i).c_str());
    w("[End Model Data]\n[End Package Model]\n");
    End(w);
}
void G_mtx_banded(Ctx& c, long n)
{
    W w(c, "banded.pkg");
    Header(w);
    std::vector<std::string> pins;
    for (long i = 0; i < n; i++) pins.push_back(Pn(i));
    PackageModel(w, "bd", pins);
    End(w);
}
void G_mtx_full(Ctx& c, long n)
{
    // A full matrix of p pins holds p (p + 1) / 2 values: about n of them.
    long p = 1;
    while ((p + 1) * (p + 2) / 2 <= n) p++;
    W w(c, "full.pkg");
    Header(w);
    MatrixModelHead(w, "fl", p);
    w("[Inductance Matrix] Full_matrix\n");
    for (long i = 0; i < p; i++) {
        w("[Row] %s\n3n", Pn(i).c_str());
        for (long k = i + 1; k < p; k++) w((k - i) % 10 == 0 ? "\n0.1n" : " 0.1n");
        w("\n");
    }
    w("[Capacitance Matrix] Sparse_matrix\n");
    for (long i = 0; i < p; i++) w("[Row] %s\n%s 1p\n", Pn(i).c_str(), Pn(i).c_str());
    w("[End Model Data]\n[End Package Model]\n");
    End(w);
}
void G_mtx_rows_dup(Ctx& c, long n)
{
    W w(c, "rows_dup.pkg");
    Header(w);
    MatrixModelHead(w, "rd", 2);
    w("[Inductance Matrix] Sparse_matrix\n");
    for (long i = 0; i < n; i++) w("[Row] %s\n%s 3n\n", Pn(0).c_str(), Pn(0).c_str());
    w("[Capacitance Matrix] Sparse_matrix\n[Row] %s\n%s 1p\n[Row] %s\n%s 1p\n", Pn(0).c_str(),
      Pn(0).c_str(), Pn(1).c_str(), Pn(1).c_str());
    w("[End Model Data]\n[End Package Model]\n");
    End(w);
}
void G_pkg_sections(Ctx& c, long n)
{
    W w(c, "sections.pkg");
    Header(w);
    w("[Define Package Model] sect\n[Manufacturer] M\n[OEM] O\n[Description] d\n"
      "[Number Of Sections] 3\n[Number Of Pins] %ld\n[Pin Numbers]\n",
      n);
    for (long i = 0; i < n; i++) {
        w("%s Len=0 R=0.1 L=1n C=0.2p /\n", Pn(i).c_str());
        if (i % 2 == 0)
            w("Fork\nLen=1 L=2n C=1p R=0.1 /\nEndfork\n");
        else
            w("Len=0 C=0.2p /\n");
    }
    w("[End Package Model]\n");
    End(w);
}

// Boards.  part.ibs has a component "chip" of the pins the board names.
void BoardHead(W& w, const std::string& name, long pins)
{
    w("[Begin Board Description] %s\n[Manufacturer] Nobody Boards\n[Number Of Pins] %ld\n"
      "[Pin List] signal_name\n",
      name.c_str(), pins);
}
void G_ebd_boards(Ctx& c, long n)
{
    {
        W w(c, "boards.ebd");
        Header(w);
        for (long i = 0; i < n; i++) {
            BoardHead(w, "b" + std::to_string(i), 1);
            w("A1 sig\n[Path Description] p\nPin A1 Len=0 R=1 / Node U1.%s\n"
              "[Reference Designator Map]\nU1 part.ibs chip\n[End Board Description]\n",
              Pn(0).c_str());
        }
        End(w);
    }
    PartFile(c, "part.ibs", 1);
}
void G_ebd_boards_dup(Ctx& c, long n)
{
    {
        W w(c, "boards_dup.ebd");
        Header(w);
        for (long i = 0; i < n; i++) {
            BoardHead(w, "b", 1);
            w("A1 sig\n[Path Description] p\nPin A1 Node U1.%s\n"
              "[Reference Designator Map]\nU1 part.ibs chip\n[End Board Description]\n",
              Pn(0).c_str());
        }
        End(w);
    }
    PartFile(c, "part.ibs", 1);
}
void G_ebd_pins_paths(Ctx& c, long n)
{
    {
        W w(c, "ebd_pins.ebd");
        Header(w);
        BoardHead(w, "b", n);
        for (long i = 0; i < n; i++) w("B%ld sig%ld\n", i, i);
        for (long i = 0; i < n; i++)
            w("[Path Description] p%ld\nPin B%ld Len=0 R=1 L=1n C=1p / Node U1.%s\n", i, i,
              Pn(0).c_str());
        w("[Reference Designator Map]\nU1 part.ibs chip\n[End Board Description]\n");
        End(w);
    }
    PartFile(c, "part.ibs", 1);
}
void G_ebd_pins_unref(Ctx& c, long n)
{
    {
        W w(c, "ebd_unref.ebd");
        Header(w);
        BoardHead(w, "b", n);
        for (long i = 0; i < n; i++) w("B%ld sig%ld\n", i, i);
        w("[Path Description] p\nPin B0 Node U1.%s\n", Pn(0).c_str());
        w("[Reference Designator Map]\nU1 part.ibs chip\n[End Board Description]\n");
        End(w);
    }
    PartFile(c, "part.ibs", 1);
}
void G_ebd_pins_dup(Ctx& c, long n)
{
    {
        W w(c, "ebd_pdup.ebd");
        Header(w);
        BoardHead(w, "b", n);
        for (long i = 0; i < n; i++) w("B0 sig\n");
        w("[Path Description] p\nPin B0 Node U1.%s\n", Pn(0).c_str());
        w("[Reference Designator Map]\nU1 part.ibs chip\n[End Board Description]\n");
        End(w);
    }
    PartFile(c, "part.ibs", 1);
}
void G_ebd_paths_dup(Ctx& c, long n)
{
    {
        W w(c, "ebd_pathdup.ebd");
        Header(w);
        BoardHead(w, "b", n);
        for (long i = 0; i < n; i++) w("B%ld sig%ld\n", i, i);
        for (long i = 0; i < n; i++)
            w("[Path Description] p\nPin B%ld Node U1.%s\n", i, Pn(0).c_str());
        w("[Reference Designator Map]\nU1 part.ibs chip\n[End Board Description]\n");
        End(w);
    }
    PartFile(c, "part.ibs", 1);
}
void G_ebd_refmap(Ctx& c, long n)
{
    {
        W w(c, "ebd_map.ebd");
        Header(w);
        BoardHead(w, "b", n);
        for (long i = 0; i < n; i++) w("B%ld sig%ld\n", i, i);
        for (long i = 0; i < n; i++)
            w("[Path Description] p%ld\nPin B%ld Node U%ld.%s\n", i, i, i, Pn(0).c_str());
        w("[Reference Designator Map]\n");
        for (long i = 0; i < n; i++) w("U%ld part.ibs chip\n", i);
        w("[End Board Description]\n");
        End(w);
    }
    PartFile(c, "part.ibs", 1);
}
void G_ebd_refmap_dup(Ctx& c, long n)
{
    {
        W w(c, "ebd_mapdup.ebd");
        Header(w);
        BoardHead(w, "b", 1);
        w("B0 sig\n[Path Description] p\nPin B0 Node U1.%s\n[Reference Designator Map]\n",
          Pn(0).c_str());
        for (long i = 0; i < n; i++) w("U1 part.ibs chip\n");
        w("[End Board Description]\n");
        End(w);
    }
    PartFile(c, "part.ibs", 1);
}
void G_ebd_refmap_undef(Ctx& c, long n)
{
    {
        W w(c, "ebd_mapund.ebd");
        Header(w);
        BoardHead(w, "b", n);
        for (long i = 0; i < n; i++) w("B%ld sig%ld\n", i, i);
        for (long i = 0; i < n; i++)
            w("[Path Description] p%ld\nPin B%ld Node V%ld.%s\n", i, i, i, Pn(0).c_str());
        w("[Reference Designator Map]\nU1 part.ibs chip\n[End Board Description]\n");
        End(w);
    }
    PartFile(c, "part.ibs", 1);
}
void G_ebd_nodes_ibs(Ctx& c, long n)
{
    {
        W w(c, "ebd_nodes.ebd");
        Header(w);
        BoardHead(w, "b", n);
        for (long i = 0; i < n; i++) w("B%ld sig%ld\n", i, i);
        for (long i = 0; i < n; i++)
            w("[Path Description] p%ld\nPin B%ld Node U1.%s\n", i, i, Pn(i).c_str());
        w("[Reference Designator Map]\nU1 part.ibs chip\n[End Board Description]\n");
        End(w);
    }
    PartFile(c, "part.ibs", n);
}
void G_ebd_nodes_missing(Ctx& c, long n)
{
    // Nodes onto pins the referenced component does not have.
    {
        W w(c, "ebd_nodemiss.ebd");
        Header(w);
        BoardHead(w, "b", n);
        for (long i = 0; i < n; i++) w("B%ld sig%ld\n", i, i);
        for (long i = 0; i < n; i++)
            w("[Path Description] p%ld\nPin B%ld Node U1.%s\n", i, i, Pn(i + 1).c_str());
        w("[Reference Designator Map]\nU1 part.ibs chip\n[End Board Description]\n");
        End(w);
    }
    PartFile(c, "part.ibs", 1);
}
void G_ebd_nodes_board(Ctx& c, long n)
{
    W w(c, "ebd_self.ebd");
    Header(w);
    BoardHead(w, "b1", n);
    for (long i = 0; i < n; i++) w("B%ld sig%ld\n", i, i);
    for (long i = 0; i < n; i++) w("[Path Description] p%ld\nPin B%ld Node U1.C%ld\n", i, i, i);
    w("[Reference Designator Map]\nU1 ebd_self.ebd b2\n[End Board Description]\n");
    BoardHead(w, "b2", n);
    for (long i = 0; i < n; i++) w("C%ld POWER%ld\n", i, i);
    w("[Path Description] q\nPin C0 Node J1.%s\n[Reference Designator Map]\nJ1 part.ibs chip\n"
      "[End Board Description]\n",
      Pn(0).c_str());
    End(w);
    PartFile(c, "part.ibs", 1);
}
void G_ebd_fork_deep(Ctx& c, long n)
{
    {
        W w(c, "ebd_fork.ebd");
        Header(w);
        BoardHead(w, "b", 1);
        w("B0 sig\n[Path Description] p\nPin B0 Len=0 R=1 /\n");
        for (long i = 0; i < n; i++) w("Fork\nLen=0 R=1 /\n");
        w("Node U1.%s\n", Pn(0).c_str());
        for (long i = 0; i < n; i++) w("Endfork\n");
        w("[Reference Designator Map]\nU1 part.ibs chip\n[End Board Description]\n");
        End(w);
    }
    PartFile(c, "part.ibs", 1);
}
void G_ebd_path_long(Ctx& c, long n)
{
    {
        W w(c, "ebd_long.ebd");
        Header(w);
        BoardHead(w, "b", 1);
        w("B0 sig\n[Path Description] p\nPin B0\n");
        for (long i = 0; i < n; i++)
            w(i % 2 == 0 ? "Len=0 R=1 L=1n C=1p /\n" : "Fork\nLen=0 R=1 / Node U1.%s\nEndfork\n",
              Pn(0).c_str());
        w("Node U1.%s\n[Reference Designator Map]\nU1 part.ibs chip\n[End Board Description]\n",
          Pn(0).c_str());
        End(w);
    }
    PartFile(c, "part.ibs", 1);
}

// Repeated sub-parameters inside one keyword of a model.
void G_mspec_dup(Ctx& c, long n)
{
    W w(c, "mspec_dup.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 1, "in");
    w("[Model] in\nModel_type Input\nC_comp 1p NA NA\nVinl = 0.8\nVinh = 2.0\n[Model Spec]\n");
    for (long i = 0; i < n; i++) w("Vinh 2.0 1.9 2.1\n");
    w("[Receiver Thresholds]\n");
    for (long i = 0; i < n; i++) w("Vth = 1.4\n");
    w("Vinh_ac = 2.1\nVinl_ac = 0.7\nVinh_dc = 2.0\nVinl_dc = 0.8\nTslew_ac = 1n\n"
      "[Voltage Range] 3.3 NA NA\n[GND Clamp]\n-3.3 -0.1 NA NA\n0 0 NA NA\n3.3 0 NA NA\n");
    End(w);
}

// Pins on [Diff Pin] rows naming a differential model with its [External Model].
void G_diff_type_models(Ctx& c, long n)
{
    W w(c, "diff_type.ibs");
    Header(w);
    ComponentOfPins(w, "chip", n, "dm");
    DiffRows(w, n);
    w("[Model] dm\nModel_type I/O_diff\nC_comp 1p NA NA\nVmeas = 1.5\nRref_diff = 100\n"
      "[Voltage Range] 3.3 NA NA\n"
      "[Ramp]\ndV/dt_r 1.0/1n NA NA\ndV/dt_f 1.0/1n NA NA\n"
      "[External Model]\nLanguage SPICE\nCorner Typ d.sp d_typ\nPorts A_signal_pos A_signal_neg\n"
      "D_to_A D_drive A_signal_pos A_signal_neg 0 1 1n 1n\n"
      "D_to_A D_enable A_signal_pos A_gnd 0 1 1n 1n\n"
      "A_to_D D_receive A_signal_pos A_signal_neg 0 1\n[End External Model]\n");
    End(w);
}

// N differential test data whose inverting drivers no diff pin uses.
void G_tdata_diff(Ctx& c, long n)
{
    W w(c, "tdata_diff.ibs");
    Header(w);
    ComponentOfPins(w, "chip", 2 * n, "io");
    DiffRows(w, 2 * n);
    Model(w, "io", IO);
    Model(w, "drv", OUT);
    Model(w, "rcv", IN);
    w("[Test Load] tl\nTest_load_type Differential\nR_diff_near = 100\nReceiver_model rcv\n");
    for (long i = 0; i < n; i++)
        w("[Test Data] td%ld\nTest_data_type Differential\nDriver_model drv\n"
          "Driver_model_inv drv\nTest_load tl\n[Diff Rising Waveform Near]\n0 0 NA NA\n"
          "1n 1 NA NA\n",
          i);
    End(w);
}

// N components sharing one package model of the file.
void G_pkg_shared(Ctx& c, long n)
{
    W w(c, "pkg_shared.ibs");
    Header(w);
    for (long i = 0; i < n; i++) {
        ComponentOfPins(w, "c" + std::to_string(i), 1, "in");
        w("[Package Model] pk\n");
    }
    Model(w, "in", IN);
    PackageModel(w, "pk", {Pn(0)});
    End(w);
}

// An .ami file on one line.
void G_ami_one_line(Ctx& c, long n)
{
    W a(c, "oneline.ami");
    a("(oneline (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) "
      "(Default True) (Description \"d\")) (GetWave_Exists (Usage Info) (Type Boolean) "
      "(Default False) (Description \"d\"))) (Model_Specific");
    for (long i = 0; i < n; i++) a(" (p%ld (Usage In) (Type Float) (Default 1))", i);
    a("))\n");
}

// ---------------------------------------------------------------------------
// The table of constructs: adding one is one line.

struct Construct {
    const char* name;
    const char* family;
    void (*gen)(Ctx&, long);
    const char* what;
};

const Construct kConstructs[] = {
    {"pins", "pins", G_pins, "N [Pin] rows naming one model"},
    {"pins_dup", "pins", G_pins_dup, "N [Pin] rows of one pin name (606)"},
    {"pins_undef_model", "pins", G_pins_undef_model, "N pins naming undefined models (608)"},
    {"pins_undef_many", "pins", G_pins_undef_many, "N pins naming undefined models, N models"},
    {"pins_selector", "pins", G_pins_selector, "N pins naming one model selector"},
    {"pins_models", "pins", G_pins_models, "N pins, each its own model"},
    {"pins_supply", "pins", G_pins_supply, "N POWER, GND and NC pins"},
    {"comp_many", "components", G_comp_many, "N components of one pin"},
    {"comp_dup", "components", G_comp_dup, "N components of one name (511)"},
    {"notes_long", "header", G_notes_long, "[Notes] of N lines"},
    {"pinmap", "pin mapping", G_pinmap, "N [Pin Mapping] rows on ten bus pairs"},
    {"pinmap_labels", "pin mapping", G_pinmap_labels, "N rows, each its own bus labels (716..)"},
    {"pinmap_dup", "pin mapping", G_pinmap_dup, "N rows of one pin (708)"},
    {"pinmap_missing", "pin mapping", G_pinmap_missing, "N pins, one mapping row (612)"},
    {"pinmap_undeclared", "pin mapping", G_pinmap_undeclared, "N rows of undeclared pins (715)"},
    {"diff_plain", "diff pins", G_diff_plain, "N pins on [Diff Pin] rows, one plain model"},
    {"diff_models", "diff pins", G_diff_models, "N diff pins, each its own plain model"},
    {"diff_rcvth", "diff pins", G_diff_rcvth, "N diff pins, each its own threshold model"},
    {"diff_rcvth_unused", "diff pins", G_diff_rcvth_unused, "N threshold models no pin uses"},
    {"diff_selectors", "diff pins", G_diff_selectors, "N diff pins naming N/10 selectors"},
    {"diff_selector_big", "diff pins", G_diff_selector_big, "one diff pair, selector of N models"},
    {"diff_type_models", "diff pins", G_diff_type_models, "N diff pins of an I/O_diff model"},
    {"diff_dup", "diff pins", G_diff_dup, "N equal [Diff Pin] rows (812, 815)"},
    {"diff_undeclared", "diff pins", G_diff_undeclared, "N rows of undeclared pins (810, 811)"},
    {"msel_many", "selectors", G_msel_many, "N model selectors"},
    {"msel_pins", "selectors", G_msel_pins, "N pins, each its own selector"},
    {"msel_big", "selectors", G_msel_big, "one selector of N models"},
    {"msel_dup_entry", "selectors", G_msel_dup_entry, "one model listed N times (4025)"},
    {"msel_dup_name", "selectors", G_msel_dup_name, "N selectors of one name (4014)"},
    {"msel_undef", "selectors", G_msel_undef, "selector of N undefined models (4024)"},
    {"msel_named_model", "selectors", G_msel_named_model, "N selectors named as models (4021)"},
    {"spm_rows", "series", G_spm_rows, "N [Series Pin Mapping] rows, one model"},
    {"spm_models", "series", G_spm_models, "N rows, each its own series model"},
    {"spm_undef", "series", G_spm_undef, "N rows naming undefined models (2617)"},
    {"spm_selector", "series", G_spm_selector, "N rows naming a selector of N/10 switches"},
    {"sswch_groups", "series", G_sswch_groups, "N switch groups, N rows using them"},
    {"sswch_unused", "series", G_sswch_unused, "N switch groups no row uses (2507)"},
    {"sswch_big_group", "series", G_sswch_big_group, "one switch group of N names"},
    {"sswch_dup", "series", G_sswch_dup, "one group of N equal names (2506)"},
    {"sswch_undef_func", "series", G_sswch_undef_func, "N rows of undefined functions (2629)"},
    {"emi_pins", "EMI", G_emi_pins, "N [Pin EMI] rows"},
    {"emi_pins_dup", "EMI", G_emi_pins_dup, "N [Pin EMI] rows of one pin (4906)"},
    {"emi_pins_undeclared", "EMI", G_emi_pins_undeclared, "N [Pin EMI] rows, no such pin (4909)"},
    {"emi_domains", "EMI", G_emi_domains, "[Pin Domain EMI] of N domains, all used"},
    {"emi_domains_unused", "EMI", G_emi_domains_unused, "N domains no pin uses (4908)"},
    {"emi_domains_dup", "EMI", G_emi_domains_dup, "N equal domains (4727)"},
    {"emi_models", "EMI", G_emi_models, "N models with [Begin EMI Model]"},
    {"models_used", "models", G_models_used, "N models, each used by a pin"},
    {"models_unused", "models", G_models_unused, "N models no pin uses"},
    {"models_dup", "models", G_models_dup, "N models of one name (131)"},
    {"models_full", "models", G_models_full, "N models with every common keyword"},
    {"models_kinds", "models", G_models_kinds, "N models of every kind, pins and series rows"},
    {"mspec_dup", "models", G_mspec_dup, "N repeated [Model Spec] and threshold lines"},
    {"iv_long", "I-V tables", G_iv_long, "[Pulldown] of N rows"},
    {"iv_equal_x", "I-V tables", G_iv_equal_x, "[GND Clamp] of N rows of one x (1403)"},
    {"iv_all_long", "I-V tables", G_iv_all_long, "all four tables of N/4 rows"},
    {"iv_isso", "I-V tables", G_iv_isso, "[ISSO PU] and [ISSO PD] of N rows"},
    {"series_tables", "I-V tables", G_series_tables, "[Series Current] N/2 rows, N/4 MOSFETs"},
    {"wave_long", "waveforms", G_wave_long, "[Rising Waveform] of N rows"},
    {"wave_equal_t", "waveforms", G_wave_equal_t, "waveform of N rows of one time (1403)"},
    {"wave_many", "waveforms", G_wave_many, "N [Rising Waveform] tables (2000)"},
    {"wave_composite", "waveforms", G_wave_composite, "N waveforms with [Composite Current]"},
    {"pulse_long", "waveforms", G_pulse_long, "[GND Pulse Table] of N rows"},
    {"drvsh_rows", "driver schedule", G_drvsh_rows, "[Driver Schedule] of N defined models"},
    {"drvsh_undef", "driver schedule", G_drvsh_undef, "schedule of N undefined models (4207)"},
    {"drvsh_undef_many", "driver schedule", G_drvsh_undef_many, "N undefined among N models"},
    {"drvsh_dup", "driver schedule", G_drvsh_dup, "schedule naming one model N times (4215)"},
    {"drvsh_models", "driver schedule", G_drvsh_models, "N models each with a schedule"},
    {"extmodel_d2a", "external", G_extmodel_d2a, "[External Model] of N D_to_A lines"},
    {"extmodel_a2d", "external", G_extmodel_a2d, "[External Model] of N A_to_D lines (133)"},
    {"extmodel_ports", "external", G_extmodel_ports, "[External Model] of N ports"},
    {"extcircuit_many", "external", G_extcircuit_many, "N [External Circuit]s"},
    {"extcircuit_dup", "external", G_extcircuit_dup, "N circuits of one name (254)"},
    {"extcircuit_a2d", "external", G_extcircuit_a2d, "circuit of N ports and A_to_D lines"},
    {"extcircuit_d2a", "external", G_extcircuit_d2a, "circuit of N ports and D_to_A lines"},
    {"ccall_many", "circuit calls", G_ccall_many, "N [Circuit Call]s of one circuit"},
    {"ccall_circuits", "circuit calls", G_ccall_circuits, "N calls, each its own circuit"},
    {"ccall_undef", "circuit calls", G_ccall_undef, "N calls of undefined circuits (1838)"},
    {"ccall_portmap", "circuit calls", G_ccall_portmap, "two calls of N Port_map lines, N nodes"},
    {"ccall_portmap_dup", "circuit calls", G_ccall_portmap_dup, "N Port_map of one port (1801)"},
    {"nodes_many", "circuit calls", G_nodes_many, "[Node Declarations] of N nodes (1822)"},
    {"nodes_pins", "circuit calls", G_nodes_pins, "N nodes beside N pins"},
    {"nodes_dup", "circuit calls", G_nodes_dup, "N equal node names (1708)"},
    {"submodels", "submodels", G_submodels, "N submodels, each added by its model"},
    {"add_submodel_lines", "submodels", G_add_submodel_lines, "one [Add Submodel] of N lines"},
    {"add_submodel_undef", "submodels", G_add_submodel_undef, "N lines naming undefined ones"},
    {"add_submodel_dup", "submodels", G_add_submodel_dup, "N lines naming one submodel"},
    {"add_submodel_clamps", "submodels", G_add_submodel_clamps,
     "N dynamic clamps added to one model, one grid"},
    {"add_submodel_clamps_own", "submodels", G_add_submodel_clamps_own,
     "N dynamic clamps added to one model, each its own x"},
    {"submodels_unused", "submodels", G_submodels_unused, "N submodels no model adds"},
    {"submodels_dup", "submodels", G_submodels_dup, "N submodels of one name (2414)"},
    {"tload_many", "test data/load", G_tload_many, "N [Test Load]s"},
    {"tload_models", "test data/load", G_tload_models, "N test loads, each its own receiver"},
    {"tload_undef", "test data/load", G_tload_undef, "N test loads of undefined models"},
    {"tload_dup", "test data/load", G_tload_dup, "N test loads of one name (2212)"},
    {"tload_diff", "test data/load", G_tload_diff, "N differential loads, 2N diff pins"},
    {"tdata_many", "test data/load", G_tdata_many, "N [Test Data] naming N test loads"},
    {"tdata_undef", "test data/load", G_tdata_undef, "N test data of undefined names"},
    {"tdata_diff", "test data/load", G_tdata_diff, "N differential test data, 2N diff pins"},
    {"tdata_dup", "test data/load", G_tdata_dup, "N test data of one name (2320)"},
    {"algmod_exec", "algorithmic", G_algmod_exec, "N Executable lines, distinct"},
    {"algmod_exec_dup", "algorithmic", G_algmod_exec_dup, "N equal Executable lines (4607)"},
    {"algmod_one_ami", "algorithmic", G_algmod_one_ami, "N lines naming one 40 KB .ami"},
    {"algmod_models", "algorithmic", G_algmod_models, "N models, each its own .ami"},
    {"ami_params", ".ami", G_ami_params, ".ami of N parameters"},
    {"ami_deep", ".ami", G_ami_deep, ".ami nested N deep"},
    {"ami_list", ".ami", G_ami_list, "Format List of N values"},
    {"ami_bad", ".ami", G_ami_bad, "N faulty parameters (4624, 4627)"},
    {"ami_one_line", ".ami", G_ami_one_line, ".ami of N parameters on one line"},
    {"pkg_models", "package", G_pkg_models, "N package models in one .pkg"},
    {"pkg_models_dup", "package", G_pkg_models_dup, "N package models of one name (3410)"},
    {"pkg_components", "package", G_pkg_components, "N components, own package model each"},
    {"pkg_comps_pkgfile", "package", G_pkg_comps_pkgfile, "N components, models in a .pkg"},
    {"pkg_search_missing", "package", G_pkg_search_missing, "N components, model nowhere (516)"},
    {"pkg_shared", "package", G_pkg_shared, "N components sharing one package model"},
    {"pkg_alt", "package", G_pkg_alt, "[Alternate Package Models] of N"},
    {"pkg_alt_dup", "package", G_pkg_alt_dup, "N equal alternate names (1605)"},
    {"pkg_alt_missing", "package", G_pkg_alt_missing, "N alternates defined nowhere (516)"},
    {"pkg_pins", "package", G_pkg_pins, "package model of N pins, banded"},
    {"pkg_pins_missing", "package", G_pkg_pins_missing, "N package pins not on the part (613)"},
    {"pkg_pins_dup", "package", G_pkg_pins_dup, "N equal [Pin Numbers] (3437)"},
    {"mtx_sparse_diag", "package", G_mtx_sparse_diag, "Sparse_matrix of N pins, diagonal"},
    {"mtx_sparse_last", "package", G_mtx_sparse_last, "sparse rows naming the last pin"},
    {"mtx_banded", "package", G_mtx_banded, "Banded_matrix of N pins"},
    {"mtx_full", "package", G_mtx_full, "Full_matrix of about N values"},
    {"mtx_rows_dup", "package", G_mtx_rows_dup, "N equal [Row]s (3101)"},
    {"pkg_sections", "package", G_pkg_sections, "N sectioned pins with forks"},
    {"ebd_boards", "boards", G_ebd_boards, "N boards in one .ebd"},
    {"ebd_boards_dup", "boards", G_ebd_boards_dup, "N boards of one name (4306)"},
    {"ebd_pins_paths", "boards", G_ebd_pins_paths, "[Pin List] of N, N paths"},
    {"ebd_pins_unref", "boards", G_ebd_pins_unref, "N board pins on no path (4328)"},
    {"ebd_pins_dup", "boards", G_ebd_pins_dup, "N equal board pins (4322)"},
    {"ebd_paths_dup", "boards", G_ebd_paths_dup, "N paths of one name (4354)"},
    {"ebd_refmap", "boards", G_ebd_refmap, "[Reference Designator Map] of N"},
    {"ebd_refmap_dup", "boards", G_ebd_refmap_dup, "N equal designators"},
    {"ebd_refmap_undef", "boards", G_ebd_refmap_undef, "N nodes of undefined designators"},
    {"ebd_nodes_ibs", "boards", G_ebd_nodes_ibs, "nodes onto N pins of an .ibs"},
    {"ebd_nodes_missing", "boards", G_ebd_nodes_missing, "N nodes onto pins not there"},
    {"ebd_nodes_board", "boards", G_ebd_nodes_board, "nodes onto N pins of a board beside"},
    {"ebd_fork_deep", "boards", G_ebd_fork_deep, "forks nested N deep"},
    {"ebd_path_long", "boards", G_ebd_path_long, "one path of N sections and forks"},
};

// ---------------------------------------------------------------------------
// Running the checker.

struct Options {
    long small = 10000;
    long factor = 10;
    double timeout = 60;
    double slow = 5;
    long memcapMB = 8192;
    std::string ibislint = IBISLINT_PATH;
    std::string keep;
    std::vector<std::string> only;
    std::string family;
    bool codes = false;
    long show = 0;
    bool norun = false;  // only write the files (with --keep)
};

struct Run {
    bool ran = false;
    bool timedOut = false;
    int signal = 0;  // the signal that ended the checker, 0 when it exited
    int status = 0;
    double seconds = 0;
    double peakMB = 0;
    size_t outLines = 0;
    size_t outBytes = 0;
    std::map<std::string, long> codes;  // message codes and their counts
    std::vector<std::string> head;      // the first output lines
};

// Counts the message codes of the output ("E0905 ...", "W0807 (line ...").
void NoteLine(Run& r, const std::string& line, long keepHead)
{
    if ((long)r.head.size() < keepHead) r.head.push_back(line);
    if (line.size() >= 5 && strchr("EWCNB", line[0]) != nullptr && isdigit((unsigned char)line[1])
        && isdigit((unsigned char)line[2]) && isdigit((unsigned char)line[3])
        && isdigit((unsigned char)line[4]) && (line.size() == 5 || line[5] == ' '))
        r.codes[line.substr(0, 5)]++;
}

Run RunChecker(const Options& o, const std::string& dir, const std::string& file, bool detail)
{
    Run r;
    int fds[2];
    if (pipe(fds) != 0) {
        perror("pipe");
        return r;
    }
    double t0 = Now();
    pid_t pid = fork();
    if (pid < 0) {
        perror("fork");
        close(fds[0]);
        close(fds[1]);
        return r;
    }
    if (pid == 0) {
        // Its own process group, so that a time-out stops whatever it started.
        setpgid(0, 0);
        dup2(fds[1], 1);
        close(fds[0]);
        close(fds[1]);
        int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 2);
            close(null);
        }
        if (o.memcapMB > 0) {
            rlimit lim;
            lim.rlim_cur = lim.rlim_max = (rlim_t)o.memcapMB << 20;
            setrlimit(RLIMIT_AS, &lim);
        }
        if (chdir(dir.c_str()) != 0) _exit(126);
        execl(o.ibislint.c_str(), o.ibislint.c_str(), "-n", "-c", "-q", file.c_str(),
              (char*)nullptr);
        _exit(127);
    }
    setpgid(pid, pid);
    close(fds[1]);
    r.ran = true;

    std::string partial;
    char buf[65536];
    bool open = true;
    double deadline = t0 + o.timeout;
    while (open) {
        double left = deadline - Now();
        if (left <= 0) {
            r.timedOut = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        int k = poll(&p, 1, (int)(left * 1000) + 1);
        if (k < 0 && errno == EINTR) continue;
        if (k <= 0) continue;
        ssize_t got = read(fds[0], buf, sizeof buf);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            open = false;
            break;
        }
        r.outBytes += (size_t)got;
        for (ssize_t i = 0; i < got; i++) {
            if (buf[i] == '\n') {
                r.outLines++;
                if (detail) NoteLine(r, partial, o.show);
                partial.clear();
            } else if (detail) {
                partial.push_back(buf[i]);
            }
        }
    }
    int status = 0;
    rusage ru{};
    for (;;) {
        if (!r.timedOut && Now() >= deadline) r.timedOut = true;
        if (r.timedOut) {
            // The whole group: the checker and any shell it started.
            kill(-pid, SIGKILL);
            kill(pid, SIGKILL);
        }
        pid_t w = wait4(pid, &status, r.timedOut ? 0 : WNOHANG, &ru);
        if (w == pid) break;
        if (w < 0 && errno != EINTR) break;
        if (w == 0) usleep(2000);
    }
    r.seconds = Now() - t0;
    close(fds[0]);
    if (!partial.empty()) {
        r.outLines++;
        if (detail) NoteLine(r, partial, o.show);
    }
    r.peakMB = ru.ru_maxrss / 1024.0;
    if (WIFSIGNALED(status) && !r.timedOut) r.signal = WTERMSIG(status);
    if (WIFEXITED(status)) r.status = WEXITSTATUS(status);
    return r;
}

// The best of a few runs of a fast size, so that a busy machine and the
// start of the process disturb short runs less.
Run Measure(const Options& o, const std::string& dir, const std::string& file, bool detail)
{
    Run best = RunChecker(o, dir, file, detail);
    for (int i = 0; i < 2 && best.ran && !best.timedOut && best.signal == 0 && best.seconds < 0.5;
         i++) {
        Run again = RunChecker(o, dir, file, false);
        if (again.ran && !again.timedOut && again.seconds < best.seconds) {
            best.seconds = again.seconds;
            best.peakMB = std::min(best.peakMB, again.peakMB);
        }
    }
    return best;
}

bool RemoveTree(const std::string& dir)
{
    std::string cmd = "rm -rf '" + dir + "'";
    return system(cmd.c_str()) == 0;
}

struct Size {
    long items = 0;
    size_t bytes = 0, lines = 0;
    Run run;
    bool generated = false;
};

std::string Fmt(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string Fmt(const char* fmt, ...)
{
    char buf[256];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return buf;
}

std::string TimeText(const Run& r, const Options& o)
{
    if (!r.ran) return "-";
    if (r.timedOut) return Fmt(">%.0f", o.timeout);
    return Fmt("%.3f", r.seconds);
}

// Kilobytes, with a decimal while they are few.
std::string KB(size_t bytes)
{
    return Fmt(bytes < 102400 ? "%.1f" : "%.0f", bytes / 1024.0);
}

std::string Growth(double a, double b)
{
    if (a <= 0) return "-";
    return Fmt("%.1f", b / a);
}

// The O flag: output bytes growing faster than the items, judged per item
// (see the flags above).  Squared, so that no root is taken.
constexpr double kOutputFloor = 1000;
constexpr bool OutputOutgrows(double smallOut, double largeOut, double factor)
{
    const double a = smallOut < kOutputFloor ? kOutputFloor : smallOut;
    return largeOut * largeOut > factor * factor * factor * a * a;
}
// Made-up byte counts: quadratic output is flagged at any factor and
// coefficient that leaves the small size above the floor; linear output
// with or without a fixed part, with longer names at the large size, N log
// N, constant output and a few new lines are not.
static_assert(OutputOutgrows(1000000, 100000000, 10), "quadratic");
static_assert(OutputOutgrows(10000, 1000000, 10), "quadratic, small coefficient");
static_assert(OutputOutgrows(100000, 400000, 2), "quadratic at the factor 2");
static_assert(OutputOutgrows(2000, 200000, 10), "quadratic near the floor");
static_assert(!OutputOutgrows(2000000, 21000000, 10), "a few messages per row past a limit");
static_assert(!OutputOutgrows(800000, 1640000, 2), "one message per item, longer names");
static_assert(!OutputOutgrows(800000, 8800000, 10), "one message per item, longer names");
static_assert(!OutputOutgrows(100000, 200000, 2), "linear at the factor 2");
static_assert(!OutputOutgrows(1328771, 16609640, 10), "N log N");
static_assert(!OutputOutgrows(150, 150, 10), "constant");
static_assert(!OutputOutgrows(0, 300, 10), "a few new lines");

void Usage(FILE* f)
{
    fprintf(f,
            "usage: ibis_scale_bench [--small N] [--factor F] [--only NAME[,NAME...]]\n"
            "         [--family NAME] [--timeout S] [--slow S] [--memcap MB]\n"
            "         [--ibislint PATH] [--keep DIR] [--codes] [--show K] [--list]\n"
            "         [--norun]   (with --keep: only write the files)\n");
}

// A bad value ends the run before anything is written.
[[noreturn]] void BadValue(const std::string& option, const char* value, const char* allowed)
{
    fprintf(stderr, "ibis_scale_bench: bad value for %s: '%s' (%s)\n", option.c_str(), value,
            allowed);
    exit(2);
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    bool list = false;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                fprintf(stderr, "ibis_scale_bench: %s needs a value\n", a.c_str());
                Usage(stderr);
                exit(2);
            }
            return argv[++i];
        };
        auto whole = [&](long& out, long least, const char* allowed) {
            const char* v = value();
            if (!cli::ParseWhole(v, out) || out < least) BadValue(a, v, allowed);
        };
        auto seconds = [&](double& out) {
            const char* v = value();
            if (!cli::ParseFinite(v, out) || out <= 0) BadValue(a, v, "a number of seconds above 0");
        };
        if (a == "--small")
            whole(o.small, 1, "a whole number of items, at least 1");
        else if (a == "--factor")
            whole(o.factor, 2, "a whole number, at least 2");
        else if (a == "--timeout")
            seconds(o.timeout);
        else if (a == "--slow")
            seconds(o.slow);
        else if (a == "--memcap")
            whole(o.memcapMB, 1, "a whole number of MB, at least 1");
        else if (a == "--ibislint")
            o.ibislint = value();
        else if (a == "--keep")
            o.keep = value();
        else if (a == "--family") {
            o.family = value();
            bool known = false;
            for (const Construct& k : kConstructs) known |= o.family == k.family;
            if (!known) {
                fprintf(stderr, "ibis_scale_bench: no family '%s' (see --list)\n", o.family.c_str());
                return 2;
            }
        } else if (a == "--codes")
            o.codes = true;
        else if (a == "--show")
            whole(o.show, 0, "a whole number of lines, at least 0");
        else if (a == "--list")
            list = true;
        else if (a == "--norun")
            o.norun = true;
        else if (a == "--only") {
            std::string v = value();
            size_t at = 0;
            while (at <= v.size()) {
                size_t comma = v.find(',', at);
                if (comma == std::string::npos) comma = v.size();
                if (comma > at) o.only.push_back(v.substr(at, comma - at));
                at = comma + 1;
            }
            if (o.only.empty()) BadValue(a, v.c_str(), "construct names, see --list");
            for (const std::string& name : o.only) {
                bool known = false;
                for (const Construct& k : kConstructs) known |= name == k.name;
                if (!known) {
                    fprintf(stderr, "ibis_scale_bench: no construct '%s' (see --list)\n",
                            name.c_str());
                    return 2;
                }
            }
        } else if (a == "-h" || a == "--help") {
            Usage(stdout);
            return 0;
        } else {
            fprintf(stderr, "ibis_scale_bench: unknown option '%s'\n", a.c_str());
            Usage(stderr);
            return 2;
        }
    }
    if (o.small > LONG_MAX / o.factor) {
        fprintf(stderr, "ibis_scale_bench: --small %ld times --factor %ld is too large\n", o.small,
                o.factor);
        return 2;
    }
    if (o.norun && o.keep.empty()) {
        fprintf(stderr, "ibis_scale_bench: --norun needs --keep DIR (it only writes the files)\n");
        return 2;
    }

    std::vector<const Construct*> chosen;
    for (const Construct& k : kConstructs) {
        if (!o.family.empty() && o.family != k.family) continue;
        if (!o.only.empty() && std::find(o.only.begin(), o.only.end(), k.name) == o.only.end())
            continue;
        chosen.push_back(&k);
    }
    if (list) {
        for (const Construct& k : kConstructs) printf("%-22s %-16s %s\n", k.name, k.family, k.what);
        return 0;
    }
    if (access(o.ibislint.c_str(), X_OK) != 0) {
        fprintf(stderr, "ibis_scale_bench: cannot run '%s'\n", o.ibislint.c_str());
        return 2;
    }

    std::string root;
    bool keep = !o.keep.empty();
    if (keep) {
        root = o.keep;
        if (mkdir(root.c_str(), 0755) != 0 && errno != EEXIST) {
            perror(root.c_str());
            return 2;
        }
    } else {
        const char* tmp = getenv("TMPDIR");
        std::string base = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
        char tmpl[4096];
        snprintf(tmpl, sizeof tmpl, "%s/ibis_scale_XXXXXX", base.c_str());
        if (mkdtemp(tmpl) == nullptr) {
            perror("mkdtemp");
            return 2;
        }
        root = tmpl;
    }

    long large = o.small * o.factor;
    printf("IBIS checker at scale: %s -n -c -q, one construct at a time, N = %ld and %ld items\n",
           o.ibislint.c_str(), o.small, large);
    printf("time-out %.0f s; flags: T time growth > 2.5 x input growth, S over %.0f s,\n"
           "M peak over 64 MB + 24 B per input byte, O output bytes grow > %.1f x (the factor^1.5:\n"
           "output per item up more than sqrt(factor) x; the small size's output counted as at\n"
           "least %.0f bytes), X timed out, K killed by a signal (crash or the %ld MB memory cap);\n"
           "x in and x out: growth of the input's and the output's bytes\n\n",
           o.timeout, o.slow, std::pow((double)o.factor, 1.5), kOutputFloor, o.memcapMB);
    printf("%-20s %-15s %17s %17s %17s %15s %17s %15s | %5s %5s %5s %5s | %s\n", "construct",
           "family", "input KB", "input lines", "time s", "peak MB", "output lines", "output KB",
           "x in", "x time", "x mem", "x out", "flags");
    fflush(stdout);

    int flagged = 0;
    std::map<std::string, long> famFlagged;
    for (const Construct* k : chosen) {
        Size s[2];
        long items[2] = {o.small, large};
        std::string mains[2];
        for (int z = 0; z < 2; z++) {
            std::string dir = root + "/" + k->name + "_" + std::to_string(items[z]);
            Ctx c;
            c.dir = dir;
            if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
                perror(dir.c_str());
                continue;
            }
            k->gen(c, items[z]);
            s[z].items = items[z];
            s[z].bytes = c.bytes;
            s[z].lines = c.lines;
            s[z].generated = !c.failed;
            mains[z] = c.main;
            // A size that timed out or crashed small is not run large.
            bool skip = o.norun
                        || (z == 1 && (s[0].run.timedOut || s[0].run.signal != 0 || !s[0].run.ran));
            if (s[z].generated && !skip)
                s[z].run = Measure(o, dir, c.main, z == 0 && (o.codes || o.show > 0));
            if (!keep) RemoveTree(dir);
        }

        const Run& a = s[0].run;
        const Run& b = s[1].run;
        double inGrowth = s[0].bytes > 0 ? (double)s[1].bytes / s[0].bytes : 0;
        std::string flags;
        bool timedOut = a.timedOut || b.timedOut;
        if (timedOut) flags += "X";
        if (a.signal != 0 || b.signal != 0) flags += "K";
        // Growth of time against a floor of 10 ms for the small size, below
        // which the start of the process is most of what is measured.
        if (timedOut || (b.ran && b.seconds / std::max(a.seconds, 0.01) > 2.5 * inGrowth))
            flags += "T";
        if (timedOut || (b.ran && b.seconds > o.slow)) flags += "S";
        bool mem = false;
        for (int z = 0; z < 2; z++) {
            if (!s[z].run.ran) continue;
            if (s[z].run.peakMB > 64.0 + 24.0 * s[z].bytes / 1048576.0) mem = true;
        }
        // A run cut short has only part of its output.
        bool out = a.ran && b.ran && !timedOut && a.signal == 0 && b.signal == 0
                   && OutputOutgrows((double)a.outBytes, (double)b.outBytes, (double)o.factor);
        if (mem) flags += "M";
        if (out) flags += "O";
        if (!flags.empty()) {
            flagged++;
            famFlagged[k->family]++;
        }

        std::string inKB = Fmt("%.0f/%.0f", s[0].bytes / 1024.0, s[1].bytes / 1024.0);
        std::string inLines = Fmt("%zu/%zu", s[0].lines, s[1].lines);
        std::string times = TimeText(a, o) + "/" + TimeText(b, o);
        std::string mems = Fmt("%.0f/", a.peakMB) + (b.ran ? Fmt("%.0f", b.peakMB) : "-");
        std::string outs = (a.timedOut ? std::string("-") : Fmt("%zu", a.outLines)) + "/"
                           + (b.ran && !b.timedOut ? Fmt("%zu", b.outLines) : "-");
        std::string outKB = (a.timedOut ? std::string("-") : KB(a.outBytes)) + "/"
                            + (b.ran && !b.timedOut ? KB(b.outBytes) : "-");
        std::string gt = b.ran && !timedOut ? Growth(std::max(a.seconds, 0.01), b.seconds) : "-";
        std::string gm = b.ran ? Growth(a.peakMB, b.peakMB) : "-";
        std::string go = "-";
        if (b.ran && !timedOut)
            go = a.outBytes > 0 ? Growth((double)a.outBytes, (double)b.outBytes)
                                : (b.outBytes > 0 ? "new" : "-");
        printf("%-20s %-15s %17s %17s %17s %15s %17s %15s | %5.1f %5s %5s %5s | %s\n", k->name,
               k->family, inKB.c_str(), inLines.c_str(), times.c_str(), mems.c_str(), outs.c_str(),
               outKB.c_str(), inGrowth, gt.c_str(), gm.c_str(), go.c_str(), flags.c_str());
        if (o.show > 0)
            for (const std::string& line : a.head) printf("      | %s\n", line.c_str());
        if (o.codes && !a.codes.empty()) {
            std::string text;
            for (const auto& kv : a.codes) text += Fmt(" %s:%ld", kv.first.c_str(), kv.second);
            printf("      codes at N=%ld:%s\n", o.small, text.c_str());
        }
        fflush(stdout);
    }
    printf("\n%d of %zu constructs flagged", flagged, chosen.size());
    if (!famFlagged.empty()) {
        printf(" (");
        bool first = true;
        for (const auto& kv : famFlagged) {
            printf("%s%s %ld", first ? "" : ", ", kv.first.c_str(), kv.second);
            first = false;
        }
        printf(")");
    }
    printf("\n");
    if (keep)
        printf("files kept in %s\n", root.c_str());
    else
        rmdir(root.c_str());
    return 0;
}
