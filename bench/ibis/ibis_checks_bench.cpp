// Speed of the curve sums that the DC/AC checks build: two 100,000-row
// tables added on the union of their grids, once with every corner given on
// every row and once with the min corner given on the first and last rows
// only.  Rows per second should be alike in both: a sum reads each corner
// on its own rows, never walking over rows without a value again and again.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include "crv.h"
#include "query.h"

namespace {

CurveRecord* MakeTable(int rows, bool sparseMin, double offset)
{
    CurveRecord* c = (CurveRecord*)calloc(1, sizeof(CurveRecord));
    RangePoint* tail = nullptr;
    for (int i = 0; i < rows; i++) {
        RangePoint* p = (RangePoint*)calloc(1, sizeof(RangePoint));
        p->x_value = -5.0 + 10.0 * i / (rows - 1) + offset;
        p->x_state = p->typ_state = p->max_state = RNG_NUMBER;
        p->typ_value = p->max_value = p->x_value * 0.01;
        bool minGiven = !sparseMin || i == 0 || i == rows - 1;
        p->min_state = minGiven ? RNG_NUMBER : RNG_NA;
        p->min_value = minGiven ? p->x_value * 0.009 : 0.0;
        p->prev = tail;
        (tail != nullptr ? tail->next : c->table) = p;
        tail = p;
    }
    return c;
}

void BM_SumOfTwoTables(benchmark::State& state)
{
    const int rows = 100000;
    CurveRecord* a = MakeTable(rows, state.range(0) != 0, 0.0);
    CurveRecord* b = MakeTable(rows, state.range(0) != 0, 0.5e-5 * 3);
    for (auto _ : state) {
        CurveRecord* sum = qry_AddCrvsProcess(a, b, QRY_TYP | QRY_MIN | QRY_MAX);
        benchmark::DoNotOptimize(sum);
        CRV_Free(sum);
    }
    state.SetItemsProcessed(state.iterations() * 2 * rows);
    state.SetLabel(state.range(0) != 0 ? "min on the end rows only" : "every corner on every row");
    CRV_Free(a);
    CRV_Free(b);
}
BENCHMARK(BM_SumOfTwoTables)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
