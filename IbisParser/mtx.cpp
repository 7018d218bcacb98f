// Coupling matrices of package models: type, bandwidth, rows, and the
// checks run when a matrix closes and when its model ends.
#include "mtx.h"

#include <stdint.h>
#include <stdlib.h>

#include "cmn.h"
#include "errlog.h"
#include "row.h"

#define CMN_MODULE_PATH "IbisParser/mtx"

static PackageMatrix* gpMtx;

PackageMatrix* MTX_Current(void) { return gpMtx; }

void MTX_Reset(void)
{
    ROW_Fini();
    gpMtx = nullptr;
}

void MTX_New(PackageMatrix** slot, const char* typeText, unsigned numberOfPins)
{
    CMN_ASSERT(slot != nullptr && typeText != nullptr);
    MTX_Fini();
    PackageMatrix* m = nullptr;
    if (!CMN_malloc((void**)&m, sizeof(PackageMatrix))) {
        ERRLOG_LineErrorNew(3700);
        return;
    }
    *slot = m;
    m->Number_of_Pins = numberOfPins;
    gpMtx = m;
    if (CMN_StrSameIC(typeText, "Banded_matrix"))
        m->eMatrixType = MTX_BANDED;
    else if (CMN_StrSameIC(typeText, "Sparse_matrix"))
        m->eMatrixType = MTX_SPARSE;
    else if (CMN_StrSameIC(typeText, "Full_matrix"))
        m->eMatrixType = MTX_FULL;
    else if (typeText[0] == '\0')
        ERRLOG_LineErrorNew(3701);
    else
        ERRLOG_LineErrorNew(3702, typeText);
}

static int s_Banded(const PackageMatrix* m)
{
    return m->eMatrixType == MTX_BANDED || m->eMatrixType == MTX_BANDED_WRAP;
}

void MTX_SetBandwidth(PackageMatrix* m, const char* text)
{
    CMN_ASSERT(m != nullptr && text != nullptr);
    if (!s_Banded(m)) {
        ERRLOG_LineErrorNew(3703);
        return;
    }
    m->bandwidthGiven = 1;
    int r = CMN_StrToUI(text, &m->Bandwidth);
    if (r == 0)
        ERRLOG_LineErrorNew(3704);
    else if (r == 2)
        ERRLOG_LineErrorNew(3705);
    if (m->Bandwidth >= m->Number_of_Pins)
        ERRLOG_LineErrorNew(3706, m->Bandwidth, m->Number_of_Pins);
}

void MTX_AddRow(PackageMatrix* m, const char* pinName)
{
    CMN_ASSERT(m != nullptr && pinName != nullptr);
    // Data lines after a row that is not added belong to no row.
    ROW_Fini();
    uint64_t c = m->rows.count, n = m->Number_of_Pins, band = (uint64_t)m->Bandwidth + 1;
    uint64_t count = 0;
    switch (m->eMatrixType) {
    case MTX_FULL: count = c > n ? 0 : n - c; break;
    case MTX_BANDED: count = c > n ? 0 : (band < n - c ? band : n - c); break;
    case MTX_BANDED_WRAP: count = c > n ? 0 : band; break;
    case MTX_SPARSE: count = n; break;
    default: return;
    }
    if (count == 0) return;
    ROW_AddRow(&m->rows, count > UINT32_MAX ? UINT32_MAX : (unsigned)count,
               m->eMatrixType == MTX_SPARSE, pinName);
}

void MTX_AddRowData(PackageMatrix* m, char* text)
{
    CMN_ASSERT(m != nullptr && text != nullptr);
    MatrixRow* row = ROW_Current();
    if (m->rows.count == 0 || row == nullptr) return;
    switch (m->eMatrixType) {
    case MTX_SPARSE: ROW_AddSparseRowData(row, text); break;
    case MTX_BANDED:
    case MTX_BANDED_WRAP: ROW_AddBandedRowData(row, text); break;
    case MTX_FULL: ROW_AddFullRowData(row, text); break;
    default: break;
    }
}

void MTX_Fini(void)
{
    ROW_Fini();
    PackageMatrix* m = gpMtx;
    if (m == nullptr) return;
    if (m->rows.count != m->Number_of_Pins)
        ERRLOG_LineErrorNew(3717, m->Number_of_Pins, m->rows.count);
    if (m->rows.head != nullptr) {
        switch (m->eMatrixType) {
        case MTX_SPARSE: ROW_CheckColumns(m->rows.head, 0); break;
        case MTX_FULL:
        case MTX_BANDED:
        case MTX_BANDED_WRAP: ROW_CheckColumns(m->rows.head, 1); break;
        default:
            ERRLOG_LineBugNew(3718);
            ROW_CheckColumns(m->rows.head, 0);
            break;
        }
    }
    gpMtx = nullptr;
}

void MTX_Test(const char* kindName, PackageMatrix* m)
{
    CMN_ASSERT(kindName != nullptr && m != nullptr);
    if (s_Banded(m) && !m->bandwidthGiven) ERRLOG_ErrorNew(3716, kindName);
}

void MTX_Free(PackageMatrix* m)
{
    if (m == nullptr) return;
    if (gpMtx == m) MTX_Reset();
    ROW_FreeList(m->rows.head);
    free(m);
}

int MTX_GetRowCount(unsigned* count)
{
    CMN_ASSERT(count != nullptr);
    if (gpMtx == nullptr) {
        ERRLOG_LineBugNew(3713);
        return 0;
    }
    *count = gpMtx->Number_of_Pins;
    return 1;
}

int MTX_GetBandwidth(unsigned* bandwidth)
{
    CMN_ASSERT(bandwidth != nullptr);
    if (gpMtx == nullptr) {
        ERRLOG_LineBugNew(3714);
        return 0;
    }
    if (!s_Banded(gpMtx)) {
        ERRLOG_LineBugNew(3715);
        return 0;
    }
    *bandwidth = gpMtx->Bandwidth;
    return 1;
}

int MTX_IsBandedTypeWrap(void)
{
    if (gpMtx == nullptr) {
        ERRLOG_LineBugNew(3711);
        return 0;
    }
    if (!s_Banded(gpMtx)) {
        ERRLOG_LineBugNew(3712);
        return 0;
    }
    return gpMtx->eMatrixType == MTX_BANDED_WRAP;
}

int MTX_SetBandedTypeToWrap(unsigned newColumnCount)
{
    if (gpMtx == nullptr) {
        ERRLOG_LineBugNew(3707);
        return 0;
    }
    if (gpMtx->eMatrixType == MTX_BANDED_WRAP) {
        ERRLOG_LineBugNew(3709);
        return 0;
    }
    if (gpMtx->eMatrixType != MTX_BANDED) {
        ERRLOG_LineBugNew(3710);
        return 0;
    }
    gpMtx->eMatrixType = MTX_BANDED_WRAP;
    unsigned limit = gpMtx->Number_of_Pins == 0 ? 0 : (gpMtx->Number_of_Pins - 1) / 2;
    if (limit < gpMtx->Bandwidth) {
        ERRLOG_LineErrorNew(3708, limit);
        return 0;
    }
    return ROW_ResizeColumns(gpMtx->rows.head, newColumnCount);
}
