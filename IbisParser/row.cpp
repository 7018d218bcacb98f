// Matrix rows: the [Row] records of a coupling matrix, their values, and
// the completeness checks run when the matrix closes.
#include "row.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <unordered_set>

#include "cmn.h"
#include "errlog.h"
#include "mtx.h"
#include "nameidx.h"
#include "pkgmdl.h"

#define CMN_MODULE_PATH "IbisParser/row"

static MatrixRow* gpRow;

// Names of the rows of the matrix being read, counted, so that a repeated
// row is found without walking the earlier rows.
static NameCount s_rowNames;
// The columns given so far on the sparse row being read.
static std::unordered_set<unsigned> s_columns;

MatrixRow* ROW_Current(void) { return gpRow; }

void ROW_Fini(void)
{
    gpRow = nullptr;
    // A fresh set rather than clear(), which would sweep every bucket of the
    // largest row seen at each row.
    if (!s_columns.empty()) std::unordered_set<unsigned>().swap(s_columns);
}

static void s_FreeRow(MatrixRow* r)
{
    free(r->values);
    free(r->entries);
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

// Makes room for one more value or entry in the row's array: it doubles as
// values come, starting from one slot, never beyond the row's column count.
static int s_Reserve(MatrixRow* r, int sparse)
{
    if (r->uiCount < r->uiCapacity) return 1;
    if (r->uiCount >= r->uiColumnCount) return 0;
    size_t size = sparse ? sizeof(MatrixEntry) : sizeof(double);
    uint64_t want = r->uiCapacity == 0 ? 1 : (uint64_t)r->uiCapacity * 2;
    if (want > r->uiColumnCount) want = r->uiColumnCount;
    if (want > SIZE_MAX / size) want = SIZE_MAX / size;
    if (want <= r->uiCount) return 0;
    void* grown = realloc(sparse ? (void*)r->entries : (void*)r->values, (size_t)want * size);
    if (grown == nullptr) return 0;
    if (sparse)
        r->entries = (MatrixEntry*)grown;
    else
        r->values = (double*)grown;
    r->uiCapacity = (unsigned)want;
    return 1;
}

// A value of a full or banded row, in its next column.
static int s_StoreValue(MatrixRow* r, double v)
{
    if (!s_Reserve(r, 0)) {
        ERRLOG_LineErrorNew(3106);
        return 0;
    }
    r->values[r->uiCount++] = v;
    return 1;
}

// A value of a sparse row in column (1-based).
static int s_StoreEntry(MatrixRow* r, unsigned column, double v)
{
    if (column > r->uiColumnCount || !s_Reserve(r, 1)) {
        ERRLOG_LineErrorNew(3106);
        return 0;
    }
    try {
        s_columns.insert(column);
    } catch (...) {
        ERRLOG_LineErrorNew(3106);
        return 0;
    }
    r->entries[r->uiCount].column = column;
    r->entries[r->uiCount].value = v;
    r->uiCount++;
    return 1;
}

int ROW_AddRow(MatrixRowList* rows, unsigned columnCount, int sparse, const char* pinName)
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
    if (!s_Reserve(r, sparse)) {
        ERRLOG_LineErrorNew(3123);
        free(r);
        return 0;
    }
    gpRow = r;

    unsigned index = 0;
    int known = PKGMDL_GetPinIndex(r->name, &index);
    if (!known) ERRLOG_LineErrorNew(3100, r->name);

    if (rows->count == 0) s_rowNames.Clear();
    if (rows->tail == nullptr)
        rows->head = r;
    else
        rows->tail->next = r;
    rows->tail = r;
    r->uiPosition = ++rows->count;
    int earlier = 0;
    try {
        earlier = s_rowNames.Add(r->name, r);
    } catch (...) {
        // Without memory for the name table, repeats go unreported.
    }
    if (earlier > 0) ERRLOG_LineErrorNew(3101, r->name);
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

// A full or banded row takes each value in its next column.  A banded row
// that is full may continue round to the first columns: the whole matrix
// then wraps round.
static void s_AddOrderedRowData(MatrixRow* row, char* text, int banded)
{
    CMN_ASSERT(row != nullptr && text != nullptr);
    char* p = text;
    for (char* tok; (tok = PKGMDL_NextToken(&p)) != nullptr;) {
        double v = 0;
        if (!s_Value(tok, &v)) return;
        if (row->uiCount >= row->uiColumnCount) {
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
            if (row->uiCount >= row->uiColumnCount) return;
        }
        if (!s_StoreValue(row, v)) return;
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
    if (s_columns.count(index) != 0) {
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
    if (!s_StoreEntry(row, index, v)) return;
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
        // Only the count grows; the array grows as values come.
        r->uiColumnCount = newCount;
    }
    return 1;
}

// 3116 names the filled count with "column" and an 's' except for one, where
// the text ends at "column".
static void s_MissingColumns(const MatrixRow* r)
{
    if (r->uiCount != 1) {
        ERRLOG_LineErrorNew(3116, r->uiColumnCount, r->name, r->uiCount, 's');
        return;
    }
    int at = BSearchErrorLogTable(3116);
    if (at < 0) return;
    std::string format = errorLogTable[at].sFormat;
    size_t cut = format.rfind("%c");
    if (cut != std::string::npos) format.resize(cut);
    char text[ERRLOG_MESSAGE_SIZE];
    snprintf(text, sizeof text, format.c_str(), r->uiColumnCount, r->name, r->uiCount);
    ERRLOG_LineErrorTextNew(3116, text);
}

void ROW_CheckColumns(MatrixRow* rows, int checkColumnCount)
{
    int failed = 0;
    for (MatrixRow* r = rows; r != nullptr; r = r->next) {
        if (checkColumnCount) {
            if (r->uiCount < r->uiColumnCount) {
                s_MissingColumns(r);
                failed = 1;
                continue;
            }
        } else if (r->uiCount == 0) {
            ERRLOG_LineErrorNew(3117, r->name);
            failed = 1;
            continue;
        }
        if (!failed && !r->selfCoupled) ERRLOG_LineErrorNew(3118, r->name);
    }
}
