// Matrix rows: the [Row] records of a coupling matrix, their values, and
// the completeness checks run when the matrix closes.
#include "row.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <unordered_map>

#include "cmn.h"
#include "errlog.h"
#include "mtx.h"
#include "pkgmdl.h"

#define CMN_MODULE_PATH "IbisParser/row"

static MatrixRow* gpRow;

// Names of the rows of the matrix being read, with how often each occurred,
// so that a repeated row is found without walking the earlier rows.
static std::unordered_map<std::string, unsigned> s_rowNames;

MatrixRow* ROW_Current(void) { return gpRow; }

void ROW_Fini(void) { gpRow = nullptr; }

static void s_FreeRow(MatrixRow* r)
{
    for (unsigned i = 0; i < r->uiCapacity; i++) free(r->values[i]);
    free(r->values);
    free(r);
}

void ROW_FreeList(MatrixRow* rows)
{
    while (rows != nullptr) {
        MatrixRow* next = rows->next;
        s_FreeRow(rows);
        rows = next;
    }
}

static unsigned s_Min(uint64_t a, uint64_t b) { return (unsigned)(a < b ? a : b); }

// Makes room for slot (0-based) in the row's values array; the array grows
// as values come, never beyond the row's logical column count.
static int s_Reserve(MatrixRow* r, unsigned slot)
{
    return PKGMDL_GrowSlots((void**)&r->values, &r->uiCapacity, (uint64_t)slot + 1,
                            r->uiColumnCount, sizeof(double*));
}

static int s_Filled(const MatrixRow* r, unsigned slot)
{
    return slot < r->uiCapacity && r->values[slot] != nullptr;
}

static int s_Store(MatrixRow* r, unsigned slot, double v)
{
    double* d = nullptr;
    if (slot >= r->uiColumnCount || !s_Reserve(r, slot) ||
        (d = (double*)malloc(sizeof(double))) == nullptr) {
        ERRLOG_LineErrorNew(3106);
        return 0;
    }
    *d = v;
    r->values[slot] = d;
    while (s_Filled(r, r->uiFilled)) r->uiFilled++;
    return 1;
}

int ROW_AddRow(MatrixRowList* rows, unsigned columnCount, const char* pinName)
{
    CMN_ASSERT(rows != nullptr && pinName != nullptr);
    ROW_Fini();
    MatrixRow* r = (MatrixRow*)calloc(1, sizeof(MatrixRow));
    if (r == nullptr) {
        ERRLOG_LineErrorNew(3119);
        return 0;
    }
    size_t len = strlen(pinName);
    if (len == 0)
        ERRLOG_LineErrorNew(3120);
    else if (len > 5)
        ERRLOG_LineErrorNew(3121);
    CMN_strncpy(r->name, pinName, 5);
    CMN_ReservedWordErr(r->name);
    if (columnCount == 0) {
        ERRLOG_LineErrorNew(3122);
        free(r);
        return 0;
    }
    r->uiColumnCount = columnCount;
    if (!s_Reserve(r, 0)) {
        ERRLOG_LineErrorNew(3123);
        free(r);
        return 0;
    }
    gpRow = r;

    unsigned index = 0;
    int known = PKGMDL_GetPinIndex(r->name, &index);
    if (!known) ERRLOG_LineErrorNew(3100, r->name);

    if (rows->count == 0) s_rowNames.clear();
    if (rows->tail == nullptr)
        rows->head = r;
    else
        rows->tail->next = r;
    rows->tail = r;
    r->uiPosition = ++rows->count;
    unsigned earlier = 0;
    try {
        earlier = s_rowNames[r->name]++;
    } catch (...) {
        // Without memory for the name table, repeats go unreported.
    }
    for (unsigned i = 0; i < earlier; i++) ERRLOG_LineErrorNew(3101, r->name);
    if (known && index != r->uiPosition) ERRLOG_LineErrorNew(3102, r->name, index, r->uiPosition);
    return 1;
}

// Reads one value token: 0 (after 3103) when it holds no number.
static int s_Value(const char* token, double* v)
{
    int r = CMN_Get_Value(token, v);
    if (r == 0) {
        ERRLOG_LineErrorNew(3103);
        return 0;
    }
    if (r == 2) ERRLOG_LineWarnNew(3104);
    return 1;
}

// A full or banded row takes each value in its first empty slot.  A banded
// row that is full may continue round to the first columns: the whole
// matrix then wraps round.
static void s_AddOrderedRowData(MatrixRow* row, char* text, int banded)
{
    CMN_ASSERT(row != nullptr && text != nullptr);
    char* p = text;
    for (char* tok; (tok = PKGMDL_NextToken(&p)) != nullptr;) {
        double v = 0;
        if (!s_Value(tok, &v)) return;
        if (row->uiFilled >= row->uiColumnCount) {
            if (!banded) {
                ERRLOG_LineErrorNew(3105);
                return;
            }
            unsigned pins = 0, bandwidth = 0;
            if (!MTX_GetRowCount(&pins) || !MTX_GetBandwidth(&bandwidth)) return;
            uint64_t band = (uint64_t)bandwidth + 1;
            // Only a row cut short by the end of the matrix may wrap.
            if (row->uiColumnCount == band ||
                (uint64_t)row->uiPosition + row->uiColumnCount <= pins || MTX_IsBandedTypeWrap()) {
                ERRLOG_LineErrorNew(3107, row->uiColumnCount);
                return;
            }
            if (!MTX_SetBandedTypeToWrap(s_Min(band, UINT32_MAX))) return;
            if (row->uiFilled >= row->uiColumnCount) return;
        }
        if (!s_Store(row, row->uiFilled, v)) return;
        row->selfCoupled = 1;
    }
}

void ROW_AddFullRowData(MatrixRow* row, char* text) { s_AddOrderedRowData(row, text, 0); }

void ROW_AddBandedRowData(MatrixRow* row, char* text) { s_AddOrderedRowData(row, text, 1); }

void ROW_AddSparseRowData(MatrixRow* row, char* text)
{
    CMN_ASSERT(row != nullptr && text != nullptr);
    char* p = text;
    char* column = PKGMDL_NextToken(&p);
    if (column == nullptr) {
        ERRLOG_LineErrorNew(3110);
        return;
    }
    if (strcmp(column, row->name) == 0) row->selfCoupled = 1;
    unsigned index = 0;
    if (!PKGMDL_GetPinIndex(column, &index)) {
        ERRLOG_LineErrorNew(3100, column);
        return;
    }
    if (index < row->uiPosition) {
        ERRLOG_LineErrorNew(3111);
        return;
    }
    if (s_Filled(row, index - 1)) {
        ERRLOG_LineErrorNew(3113, index);
        return;
    }
    char* value = PKGMDL_NextToken(&p);
    if (value == nullptr) {
        ERRLOG_LineErrorNew(3114);
        return;
    }
    double v = 0;
    if (!s_Value(value, &v)) return;
    if (!s_Store(row, index - 1, v)) return;
    char* extra = PKGMDL_NextToken(&p);
    if (extra != nullptr) ERRLOG_LineErrorNew(3115, extra);
}

int ROW_ResizeColumns(MatrixRow* rows, unsigned newCount)
{
    for (MatrixRow* r = rows; r != nullptr; r = r->next) {
        if (r->uiColumnCount > newCount) {
            ERRLOG_LineBugNew(3109, CMN_MODULE_PATH, __LINE__);
            return 0;
        }
        // Only the logical count grows; the slots are made as values come.
        r->uiColumnCount = newCount;
    }
    return 1;
}

static int s_AnyFilled(const MatrixRow* r)
{
    for (unsigned i = 0; i < r->uiCapacity; i++)
        if (r->values[i] != nullptr) return 1;
    return 0;
}

// 3116 names the filled count with "column" and an 's' except for one, where
// the text ends at "column".
static void s_MissingColumns(const MatrixRow* r)
{
    if (r->uiFilled != 1) {
        ERRLOG_LineErrorNew(3116, r->uiColumnCount, r->name, r->uiFilled, 's');
        return;
    }
    int at = BSearchErrorLogTable(3116);
    if (at < 0) return;
    std::string format = errorLogTable[at].sFormat;
    size_t cut = format.rfind("%c");
    if (cut != std::string::npos) format.resize(cut);
    char text[ERRLOG_MESSAGE_SIZE];
    snprintf(text, sizeof text, format.c_str(), r->uiColumnCount, r->name, r->uiFilled);
    ERRLOG_LineErrorTextNew(3116, text);
}

void ROW_CheckColumns(MatrixRow* rows, int checkColumnCount)
{
    int failed = 0;
    for (MatrixRow* r = rows; r != nullptr; r = r->next) {
        if (checkColumnCount) {
            if (r->uiFilled < r->uiColumnCount) {
                s_MissingColumns(r);
                failed = 1;
                continue;
            }
        } else if (!s_AnyFilled(r)) {
            ERRLOG_LineErrorNew(3117, r->name);
            failed = 1;
            continue;
        }
        if (!failed && !r->selfCoupled) ERRLOG_LineErrorNew(3118, r->name);
    }
}
