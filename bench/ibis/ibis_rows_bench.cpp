// Reading speed of a table of 10,000 and of 100,000 rows handed to the curve
// and waveform readers as an owner hands them, each row with the repeat
// check of its first column.  The work per row does not grow with the
// table (the instructions run grow 10.2 times from 10,000 to 100,000 rows),
// but the time per row does: the time that grows is in the repeat check's
// hash set (its inserts and its release) and the allocator's freeing, which
// wait on memory once the table no longer fits the caches.  On the machine
// of this writing the rows per second fell 2.3 to 3.6 times (curve) and 1.5
// to 2.3 times (waveform) from the small table to the large one.  The
// figure to watch is the whole large table's time (well under a second).
// For contrast, the walking append of RNGP_LinkLine, quadratic in the
// table, at 10,000 rows.
#include <benchmark/benchmark.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "crv.h"
#include "errlog.h"
#include "parse.h"
#include "rngp.h"
#include "wvfrm.h"

namespace {

// Rows of a table whose every 1000th first column repeats the one before.
std::vector<std::string> MakeRows(int n, const char* unit)
{
    std::vector<std::string> rows;
    rows.reserve((size_t)n);
    char buf[128];
    for (int i = 0; i < n; i++) {
        int x = (i % 1000 == 999) ? i - 1 : i;
        snprintf(buf, sizeof buf, "%d%s %dm %dm %dm", x, unit, -i, -i, -i);
        rows.push_back(buf);
    }
    return rows;
}

void BM_CurveTable(benchmark::State& state)
{
    std::vector<std::string> rows = MakeRows((int)state.range(0), "u");
    FILE* sink = fopen("/dev/null", "w");
    ERRLOG_SetOutputFile(sink);
    CRV_AllowLargeTables(1);
    for (auto _ : state) {
        CurveRecord* curve = nullptr;
        CRV_New("[Pullup]", "Pullup", &curve);
        for (const std::string& r : rows) CRV_ReceiveLine(r.c_str(), curve, "Pullup");
        CRV_Fini("bench", 3, KW_PULLUP, curve, "Pullup", "Model");
        CRV_Free(curve);
    }
    CRV_AllowLargeTables(0);
    state.counters["rows"] = (double)rows.size();
    state.counters["rows/s"] =
        benchmark::Counter((double)rows.size() * state.iterations(), benchmark::Counter::kIsRate);
    ERRLOG_SetOutputFile(nullptr);
    fclose(sink);
}

void BM_WaveformTable(benchmark::State& state)
{
    std::vector<std::string> rows = MakeRows((int)state.range(0), "p");
    FILE* sink = fopen("/dev/null", "w");
    ERRLOG_SetOutputFile(sink);
    for (auto _ : state) {
        WaveformRecord* list = nullptr;
        WVFRM_New("[Rising Waveform]", &list, "Rising Waveform");
        WVFRM_ReceiveLine("R_fixture = 50", "Rising Waveform");
        WVFRM_ReceiveLine("V_fixture = 0", "Rising Waveform");
        for (const std::string& r : rows) WVFRM_ReceiveLine(r.c_str(), "Rising Waveform");
        WVFRM_Fini("Rising", WVFRM_KIND_WAVEFORM);
        WVFRM_Free(list);
    }
    state.counters["rows"] = (double)rows.size();
    state.counters["rows/s"] =
        benchmark::Counter((double)rows.size() * state.iterations(), benchmark::Counter::kIsRate);
    ERRLOG_SetOutputFile(nullptr);
    fclose(sink);
}

// RNGP_LinkLine finds the tail by walking: quadratic in the table.
void BM_LinkLineWalk(benchmark::State& state)
{
    int n = (int)state.range(0);
    FILE* sink = fopen("/dev/null", "w");
    ERRLOG_SetOutputFile(sink);
    for (auto _ : state) {
        RangePoint* head = nullptr;
        int count = 0;
        for (int i = 0; i < n; i++) {
            RangePoint* p = nullptr;
            RNGP_New(&p);
            p->x_value = i;
            p->x_state = RNG_NUMBER;
            RNGP_LinkLine(&head, p, &count, 1);
        }
        RNGP_FreeList(head);
    }
    state.counters["rows"] = n;
    ERRLOG_SetOutputFile(nullptr);
    fclose(sink);
}

BENCHMARK(BM_CurveTable)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaveformTable)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinkLineWalk)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
