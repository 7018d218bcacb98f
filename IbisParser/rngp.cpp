// Range points: table rows and the lists that chain them.
#include "rngp.h"

#include <new>
#include <stdlib.h>
#include <string.h>
#include <unordered_set>

#include "cmn.h"
#include "errlog.h"

#define CMN_MODULE_PATH "IbisParser/rngp"

namespace {

// The first-column numbers of the rows linked so far.  -0.0 and 0.0 are
// equal numbers, so they share one key.
struct XHash {
    size_t operator()(double x) const { return std::hash<double>()(x == 0.0 ? 0.0 : x); }
};
typedef std::unordered_set<double, XHash> RepeatMap;

}  // namespace

// Released rows kept for the next ones: the checks build and release
// thousands of rows per model.  Bounded, and not kept in sanitizer builds,
// so that a use after release is still found there.
#if defined(__SANITIZE_ADDRESS__)
#define RNGP_POOL_LIMIT 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RNGP_POOL_LIMIT 0
#endif
#endif
#ifndef RNGP_POOL_LIMIT
#define RNGP_POOL_LIMIT 8192
#endif
static RangePoint* s_pool;
static int s_pooled;

int RNGP_New(RangePoint** out)
{
    CMN_ASSERT(out != NULL);
    if (s_pool != NULL) {
        RangePoint* p = s_pool;
        s_pool = p->next;
        s_pooled--;
        memset(p, 0, sizeof *p);
        *out = p;
        return 1;
    }
    if (!CMN_malloc((void**)out, sizeof(RangePoint))) {
        ERRLOG_BugNew(1404, CMN_MODULE_PATH, __LINE__);
        *out = NULL;
        return 0;
    }
    return 1;
}

int RNGP_ParseLine(const char* text, const char* tableName, const char* xColumnName,
                   RangePoint** out)
{
    CMN_ASSERT(out != NULL);
    *out = NULL;
    // Every row of every table comes here: its columns are split into a
    // buffer of the stack, unless the line is too long for it.
    char local[256];
    size_t room = (text != NULL ? strlen(text) : 0) + 5;
    char* store = room <= sizeof local ? local : NULL;
    if (store == NULL && !CMN_malloc((void**)&store, room)) {
        ERRLOG_LineBugNew(1400, tableName, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    const char* columns[4] = {NULL, NULL, NULL, NULL};
    int total = text != NULL ? CMN_SplitInto(text, '\0', 4, store, columns) : 0;
    RNG_ReportCount(total, 4, 1401, 1402, tableName);
    RangePoint* p = NULL;
    if (!RNGP_New(&p)) {
        if (store != local) free(store);
        return 0;
    }
    static const char* const names[3] = {"Typical", "Minimum", "Maximum"};
    double* values[4] = {&p->x_value, &p->typ_value, &p->min_value, &p->max_value};
    uint32_t* states[4] = {&p->x_state, &p->typ_state, &p->min_state, &p->max_state};
    for (int i = 0; i < 4; i++) {
        int state = 0;
        CMN_GetColValue(columns[i], tableName, i == 0 ? xColumnName : names[i - 1], values[i],
                        &state);
        *states[i] = (uint32_t)state;
        // An invalid column is stored absent with 0.0, whatever was half-read.
        if (state != RNG_NUMBER)
            *values[i] = 0.0;
    }
    if (store != local) free(store);
    *out = p;
    return 1;
}

static int s_SameNumber(const RangePoint* a, const RangePoint* b)
{
    return a->x_state == RNG_NUMBER && b->x_state == RNG_NUMBER && a->x_value == b->x_value;
}

int RNGP_LinkLine(RangePoint** head, RangePoint* point, int* count, int checkRepeats)
{
    CMN_ASSERT(head != NULL && point != NULL && count != NULL);
    if (*head == NULL) {
        *head = point;
        point->prev = NULL;
        return *count = 1;
    }
    int n = 0;
    int repeated = 0;
    RangePoint* tail = NULL;
    for (RangePoint* p = *head; p != NULL; p = p->next) {
        n++;
        tail = p;
        if (checkRepeats && s_SameNumber(p, point))
            repeated = 1;
    }
    if (repeated)
        ERRLOG_LineWarnNew(1403, point->x_value);
    tail->next = point;
    point->prev = tail;
    return *count = n + 1;
}

int RNGP_Prev(const RangePoint* point, RangePoint** out)
{
    CMN_ASSERT(point != NULL && out != NULL);
    *out = point->prev;
    return point->prev != NULL;
}

void RNGP_FreeList(RangePoint* first)
{
    while (first != NULL) {
        RangePoint* next = first->next;
        if (s_pooled < RNGP_POOL_LIMIT) {
            first->next = s_pool;
            s_pool = first;
            s_pooled++;
        } else {
            CMN_free(first);
        }
        first = next;
    }
}

// Whether some row of the table holds a number in the column.
static int s_AnyNumber(const RangePoint* first, int column)
{
    for (const RangePoint* p = first; p != NULL; p = p->next) {
        uint32_t s = column == 2 ? p->min_state : p->max_state;
        if (s == RNG_NUMBER)
            return 1;
    }
    return 0;
}

// The value and state of a corner column: 1 typ, 2 min, 3 max.
static uint32_t s_State(const RangePoint* p, int column)
{
    return column == 1 ? p->typ_state : column == 2 ? p->min_state : p->max_state;
}

static const char* const s_columnNames[4] = {"", "Typical", "Minimum", "Maximum"};

void RNGP_ReportNAEnds(const RangePoint* first, int code, const char* name,
                      unsigned long beginLine)
{
    CMN_ASSERT(first != NULL && name != NULL);
    const RangePoint* last = first;
    while (last->next != NULL)
        last = last->next;
    // Whether min and max hold a number somewhere, each looked up once.
    int any[4] = {1, 1, -1, -1};
    const RangePoint* ends[2] = {first, last};
    static const char* const positions[2] = {"First", "Last"};
    for (int e = 0; e < 2; e++) {
        for (int c = 1; c <= 3; c++) {
            if (s_State(ends[e], c) != RNG_NA)
                continue;
            if (any[c] < 0)
                any[c] = s_AnyNumber(first, c);
            if (any[c])
                ERRLOG_ErrorNew(code, positions[e], s_columnNames[c], name, (int)beginLine);
        }
    }
}

// How the x numbers of a table run while no two can be the same: a table
// whose numbers rise (or fall) strictly needs no map for its repeat check
// until a row breaks the run.
enum { ORDER_EMPTY, ORDER_ONE, ORDER_RISING, ORDER_FALLING, ORDER_ANY };

// Whether x continues a strict run, so that no row before it has the same x.
static int s_ContinuesRun(RNGP_Appender* a, double x)
{
    int order = a->order;
    if (order == ORDER_EMPTY)
        order = ORDER_ONE;
    else if (order == ORDER_ONE && x != a->last)
        order = x > a->last ? ORDER_RISING : ORDER_FALLING;
    else if (!((order == ORDER_RISING && x > a->last) || (order == ORDER_FALLING && x < a->last)))
        order = ORDER_ANY;
    a->order = order;
    a->last = x;
    return order != ORDER_ANY;
}

void RNGP_AppenderStart(RNGP_Appender* a, RangePoint** head)
{
    CMN_ASSERT(a != NULL && head != NULL);
    a->head = head;
    a->tail = NULL;
    a->count = 0;
    a->repeats = NULL;
    // Rows already in the table go through the map.
    a->order = *head == NULL ? ORDER_EMPTY : ORDER_ANY;
    a->last = 0.0;
    for (RangePoint* p = *head; p != NULL; p = p->next) {
        a->tail = p;
        a->count++;
    }
}

// Makes the map of the rows already linked, on the first row that asks for
// the repeat check.  Null when memory runs out: the check is then skipped.
static RepeatMap* s_Repeats(RNGP_Appender* a)
{
    if (a->repeats != NULL)
        return (RepeatMap*)a->repeats;
    RepeatMap* map = new (std::nothrow) RepeatMap();
    if (map == NULL)
        return NULL;
    try {
        for (RangePoint* p = *a->head; p != NULL; p = p->next)
            if (p->x_state == RNG_NUMBER)
                map->insert(p->x_value);
    } catch (const std::bad_alloc&) {
        delete map;
        return NULL;
    }
    a->repeats = map;
    return map;
}

int RNGP_Append(RNGP_Appender* a, RangePoint* point, int checkRepeats)
{
    CMN_ASSERT(a != NULL && a->head != NULL && point != NULL);
    int inRun = a->order != ORDER_ANY && point->x_state == RNG_NUMBER &&
                s_ContinuesRun(a, point->x_value);
    RepeatMap* map = !inRun && (checkRepeats || a->repeats != NULL) ? s_Repeats(a) : NULL;
    if (map != NULL && point->x_state == RNG_NUMBER) {
        try {
            // Once for a row that repeats an earlier x, however many
            // earlier rows hold it.
            int repeated = !map->insert(point->x_value).second;
            if (checkRepeats && repeated)
                ERRLOG_LineWarnNew(1403, point->x_value);
        } catch (const std::bad_alloc&) {
            // Without room for the map the repeat check is dropped for the
            // rest of the table; the row itself is still linked.
            delete map;
            a->repeats = NULL;
        }
    }
    if (a->tail == NULL) {
        *a->head = point;
        point->prev = NULL;
    } else {
        a->tail->next = point;
        point->prev = a->tail;
    }
    a->tail = point;
    return ++a->count;
}

void RNGP_AppenderEnd(RNGP_Appender* a)
{
    CMN_ASSERT(a != NULL);
    delete (RepeatMap*)a->repeats;
    a->head = NULL;
    a->tail = NULL;
    a->count = 0;
    a->repeats = NULL;
    a->order = ORDER_EMPTY;
}
