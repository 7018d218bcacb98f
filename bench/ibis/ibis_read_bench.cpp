// Reading speed of the IBIS reader: a generated .ibs file of [Pin] rows and
// [Pullup] table rows, read and checked in one pass, at two sizes.  The
// MB/s figure should stay the same from the smaller file to the larger one:
// reading is linear in the file size.
#include <benchmark/benchmark.h>

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "cmn.h"
#include "errlog.h"
#include "ibis.h"
#include "parse.h"

namespace {

// Writes a file of about megabytes MB; returns its path and size.
std::string MakeFile(int megabytes, size_t* bytes)
{
    std::string path = "/tmp/ibis_read_bench_" + std::to_string(getpid()) + "_" +
                       std::to_string(megabytes) + ".ibs";
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr) abort();
    size_t target = (size_t)megabytes << 20, n = 0;
    n += fprintf(f, "[IBIS Ver] 5.0\n[File Name] %s\n[File Rev] 1.0\n[Date] today\n",
                 path.substr(path.rfind('/') + 1).c_str());
    n += fprintf(f, "[Notes] generated for the reading benchmark\n");
    for (int i = 0; i < 1000; i++) n += fprintf(f, "  note line %d of the header text\n", i);
    n += fprintf(f, "[Component] bench\n[Manufacturer] nobody\n[Package]\n"
                    "| variable typ min max\nR_pkg 0.2 0.1 0.3\n");
    n += fprintf(f, "[Pin] signal_name model_name R_pin L_pin C_pin\n");
    long pin = 0;
    while (n < target / 2) {
        pin++;
        n += fprintf(f, "%-8ld sig_%-10ld buf_model   0.2   3.1nH   0.6pF  | pin row\n", pin, pin);
    }
    n += fprintf(f, "[Model] buf_model\nModel_type I/O\nVinl = 0.8\nVinh = 2.0\n"
                    "C_comp 2pF 1pF 3pF\n[Voltage Range] 3.3 3.0 3.6\n[Pullup]\n");
    double v = -3.3;
    while (n < target) {
        n += fprintf(f, "%10.4fV   %12.6emA   %12.6emA   %12.6emA\n", v, v * 1e-3, v * 0.9e-3,
                     v * 1.1e-3);
        v += 1e-6;
    }
    n += fprintf(f, "[End]\n");
    fclose(f);
    *bytes = n;
    return path;
}

void BM_ReadAndCheck(benchmark::State& state)
{
    size_t bytes = 0;
    std::string path = MakeFile((int)state.range(0), &bytes);
    PARSE_SuppressBanners(1);
    FILE* sink = fopen("/dev/null", "w");
    ERRLOG_SetOutputFile(sink);
    unsigned long errors0 = gulError_cnt;
    for (auto _ : state) {
        INIT();
        int ok = PARSE(path.c_str(), FILE_IBS);
        (TEST)(FILE_IBS, 0);
        FINI();
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed((int64_t)(bytes * state.iterations()));
    state.counters["MB"] = (double)bytes / (1 << 20);
    state.counters["MB/s"] = benchmark::Counter((double)bytes / (1 << 20) * state.iterations(),
                                                benchmark::Counter::kIsRate);
    state.counters["errors"] = (double)(gulError_cnt - errors0);
    ERRLOG_SetOutputFile(nullptr);
    fclose(sink);
    remove(path.c_str());
}

BENCHMARK(BM_ReadAndCheck)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
