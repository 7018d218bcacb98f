// Waveforms: V-t tables with their fixture values, read row by row, their
// end-of-table checks and the comparison with a composite current.
#include "wvfrm.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <new>
#include <unordered_map>

#include "cmn.h"
#include "errlog.h"
#include "parse.h"

#define CMN_MODULE_PATH "IbisParser/wvfrm"

// The record being read, from WVFRM_New to WVFRM_Fini, and its keyword line.
static WaveformRecord* gCurrentWvfrm;
static unsigned long gCurrentWvfrmBeginLine;
// Tail, count and repeat map of the current record's table.
static RNGP_Appender s_appender;
// The tail and count of every list WVFRM_New appended to, so that no list
// is walked once per waveform (a model's waveforms alternate between its
// rising and falling lists, and each may have a composite current list).
// Records are made only by WVFRM_New and freed only by WVFRM_Free, so an
// entry stays right until its tail is freed, when it goes; a reset keeps
// them.
namespace {
struct ListEnd {
    WaveformRecord* tail;
    int count;
};
}  // namespace
static std::unordered_map<WaveformRecord**, ListEnd> s_listEnds;
static std::unordered_map<const WaveformRecord*, WaveformRecord**> s_slotOfTail;

static const RNG_SUB_ENTRY wvfrm_subs[] = {
    {"R_fixture", 1}, {"V_fixture", 2}, {"V_fixture_min", 3}, {"V_fixture_max", 4},
    {"C_fixture", 5}, {"L_fixture", 6}, {"R_dut", 7},        {"L_dut", 8},
    {"C_dut", 9},     {"NOT_SUB", 0},
};

static const char* const s_goldenNames[] = {
    "Rising Waveform Near",      "Rising Waveform Far",      "Falling Waveform Near",
    "Falling Waveform Far",      "Diff Rising Waveform Near", "Diff Rising Waveform Far",
    "Diff Falling Waveform Near", "Diff Falling Waveform Far",
};

static double** s_Field(WaveformRecord* w, int id)
{
    switch (id) {
    case 1: return &w->R_fixture;
    case 2: return &w->V_fixture;
    case 3: return &w->V_fixture_min;
    case 4: return &w->V_fixture_max;
    case 5: return &w->C_fixture;
    case 6: return &w->L_fixture;
    case 7: return &w->R_dut;
    case 8: return &w->L_dut;
    default: return &w->C_dut;
    }
}

static void s_DropCurrent(void)
{
    if (s_appender.head != NULL)
        RNGP_AppenderEnd(&s_appender);
    gCurrentWvfrm = NULL;
    gCurrentWvfrmBeginLine = 0;
}

void WVFRM_Reset(void)
{
    s_DropCurrent();
}

WaveformRecord* WVFRM_Last(WaveformRecord** list)
{
    CMN_ASSERT(list != NULL);
    WaveformRecord* last = *list;
    if (last == NULL)
        return NULL;
    auto known = s_listEnds.find(list);
    if (known != s_listEnds.end())
        last = known->second.tail;
    while (last->next != NULL)
        last = last->next;
    return last;
}

// Notes rec as the new tail of the list at slot (oldTail its tail before).
// Without room for the note the list is walked again next time.
static void s_NoteListEnd(WaveformRecord** slot, WaveformRecord* oldTail, WaveformRecord* rec,
                          int count)
{
    if (oldTail != NULL) s_slotOfTail.erase(oldTail);
    try {
        s_listEnds[slot] = ListEnd{rec, count};
        s_slotOfTail[rec] = slot;
    } catch (const std::bad_alloc&) {
        s_listEnds.erase(slot);
        s_slotOfTail.erase(rec);
    }
}

int WVFRM_New(const char* keywordLine, WaveformRecord** list, const char* name)
{
    CMN_ASSERT(keywordLine != NULL && list != NULL && name != NULL);
    // A failed allocation leaves no current record, so later rows are not
    // written into the previous table.
    s_DropCurrent();
    WaveformRecord* rec = NULL;
    if (!CMN_malloc((void**)&rec, sizeof(WaveformRecord))) {
        ERRLOG_BugNew(2012, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    WaveformRecord* tail = NULL;
    int count = 0;
    auto known = *list != NULL ? s_listEnds.find(list) : s_listEnds.end();
    if (known != s_listEnds.end()) {
        tail = known->second.tail;
        count = known->second.count;
    } else if (*list != NULL) {
        tail = *list;
        count = 1;
    }
    for (; tail != NULL && tail->next != NULL; tail = tail->next)
        count++;
    if (tail == NULL)
        *list = rec;
    else
        tail->next = rec;
    s_NoteListEnd(list, tail, rec, count + 1);
    if (count > 99)
        ERRLOG_LineErrorNew(2000, name);
    RNG_CheckKeywordLine(keywordLine, name, 2001, 2002, 2003);
    gCurrentWvfrm = rec;
    gCurrentWvfrmBeginLine = PARSE_GetLineNum();
    RNGP_AppenderStart(&s_appender, &rec->table);
    return 1;
}

static int s_IsGolden(const char* name)
{
    for (const char* g : s_goldenNames)
        if (strcmp(g, name) == 0)
            return 1;
    return 0;
}

static void s_SetValue(const char* text, const char* name, const char* subName, int id)
{
    WaveformRecord* w = gCurrentWvfrm;
    if (w->table != NULL)
        ERRLOG_LineErrorNew(2013, subName);
    double** field = s_Field(w, id);
    if (*field != NULL) {
        ERRLOG_LineErrorNew(2014, name, subName);
        return;
    }
    // The field exists from here on: a line rejected below still counts as
    // given, holding 0.0.
    if (!CMN_malloc((void**)field, sizeof(double))) {
        ERRLOG_BugNew(2012, CMN_MODULE_PATH, __LINE__);
        return;
    }
    RNG_ReadAssignment(text, name, 2002, 2015, 2003, 2017, 2016, name, subName, *field);
}

void WVFRM_ReceiveLine(const char* text, const char* name)
{
    CMN_ASSERT(text != NULL && name != NULL);
    // An owner whose WVFRM_New failed has no current record: drop the line.
    if (gCurrentWvfrm == NULL)
        return;
    int id = RNG_FirstTokenId(text, wvfrm_subs);
    if (id != 0) {
        if (s_IsGolden(name))
            ERRLOG_LineErrorNew(2010);
        else
            s_SetValue(text, name, wvfrm_subs[id - 1].name, id);
        return;
    }
    // Neither a sub-parameter nor a number or NA: not a row either.  The
    // first token is read from a copy on the stack when it fits.
    size_t n = 0;
    const char* first = CMN_NextToken(text, '=', &n);
    char local[64];
    char* token = n < sizeof local ? local : NULL;
    if (token == NULL && !CMN_malloc((void**)&token, n + 1)) {
        ERRLOG_LineBugNew(2002, name, CMN_MODULE_PATH, __LINE__);
        return;
    }
    memcpy(token, first != NULL ? first : "", n);
    token[n] = '\0';
    double value = 0.0;
    int isNA = 0;
    int numeric = first != NULL && CMN_Get_ValueOrNA(token, &value, &isNA) != 0;
    if (token != local) free(token);
    if (!numeric) {
        ERRLOG_LineErrorNew(2011, name);
        return;
    }
    RangePoint* p = NULL;
    if (!RNGP_ParseLine(text, name, "Time", &p))
        return;
    if (s_appender.head != &gCurrentWvfrm->table)
        RNGP_AppenderStart(&s_appender, &gCurrentWvfrm->table);
    const RangePoint* prev = s_appender.tail;
    int count = RNGP_Append(&s_appender, p, 1);
    int limit = 100;
    if (geFileVersion >= 4 && strcmp(name, "GND Pulse Table") != 0 &&
        strcmp(name, "POWER Pulse Table") != 0)
        limit = 1000;
    if (count > limit)
        ERRLOG_LineErrorNew(2018, limit, name);
    if (p->x_state == RNG_NA)
        ERRLOG_LineErrorNew(2019, "Time");
    else if (p->x_state == RNG_NUMBER && prev != NULL && prev->x_state == RNG_NUMBER &&
             prev->x_value >= p->x_value)
        ERRLOG_LineErrorNew(2020);
}

void WVFRM_Fini(const char* name, int kind)
{
    CMN_ASSERT(name != NULL);
    WaveformRecord* w = gCurrentWvfrm;
    unsigned long begin = gCurrentWvfrmBeginLine;
    s_DropCurrent();
    // An owner whose WVFRM_New failed has nothing to check.
    if (w == NULL)
        return;
    if (kind == WVFRM_KIND_WAVEFORM) {
        if (w->R_fixture == NULL)
            ERRLOG_ErrorNew(2004, "R_fixture", name, (int)begin);
        if (w->V_fixture == NULL)
            ERRLOG_ErrorNew(2004, "V_fixture", name, (int)begin);
    }
    const RangePoint* first = w->table;
    const RangePoint* last = first;
    int rows = 0;
    for (const RangePoint* p = first; p != NULL; p = p->next) {
        rows++;
        last = p;
    }
    if (rows < 2)
        ERRLOG_ErrorNew(2005, name, (int)begin);
    else
        RNGP_ReportNAEnds(first, 2006, name, begin);
    if (kind != WVFRM_KIND_PULSE)
        return;
    static const char* const columns[3] = {"Typical", "Minimum", "Maximum"};
    if (rows >= 2) {
        const double a[3] = {first->typ_value, first->min_value, first->max_value};
        const double b[3] = {last->typ_value, last->min_value, last->max_value};
        const uint32_t sa[3] = {first->typ_state, first->min_state, first->max_state};
        const uint32_t sb[3] = {last->typ_state, last->min_state, last->max_state};
        for (int c = 0; c < 3; c++)
            if (sa[c] == RNG_NUMBER && sb[c] == RNG_NUMBER && a[c] != b[c])
                ERRLOG_ErrorNew(2007, columns[c], name, (int)begin);
    }
    // Offsets of a GND table lie above 0, those of a POWER table below.
    int gnd = strcmp(name, "GND Pulse Table") == 0;
    for (int c = 0; c < 3; c++) {
        for (const RangePoint* p = first; p != NULL; p = p->next) {
            uint32_t s = c == 0 ? p->typ_state : c == 1 ? p->min_state : p->max_state;
            double v = c == 0 ? p->typ_value : c == 1 ? p->min_value : p->max_value;
            if (s != RNG_NUMBER)
                continue;
            if (gnd && v < 0) {
                ERRLOG_WarnNew(2008, name, columns[c], (int)begin);
                break;
            }
            if (!gnd && v > 0) {
                ERRLOG_WarnNew(2009, name, columns[c], (int)begin);
                break;
            }
        }
    }
}

int WVFRM_Compare(const WaveformRecord* wave, const WaveformRecord* composite, int index,
                  const char* modelName, const char* edgeWord)
{
    CMN_ASSERT(modelName != NULL && edgeWord != NULL);
    const RangePoint* a = wave != NULL ? wave->table : NULL;
    const RangePoint* b = composite != NULL ? composite->table : NULL;
    for (; a != NULL && b != NULL; a = a->next, b = b->next) {
        if (a->x_state != b->x_state)
            break;
        if (a->x_state == RNG_NUMBER && fabs(a->x_value - b->x_value) > 1e-6 * fabs(a->x_value))
            break;
    }
    if (a == NULL && b == NULL)
        return 1;
    ERRLOG_ErrorNew(2021, modelName, edgeWord, index);
    return 0;
}

static void s_FreeRecord(WaveformRecord* w)
{
    if (w == gCurrentWvfrm)
        s_DropCurrent();
    if (!s_slotOfTail.empty()) {
        auto slot = s_slotOfTail.find(w);
        if (slot != s_slotOfTail.end()) {
            s_listEnds.erase(slot->second);
            s_slotOfTail.erase(slot);
        }
    }
    for (int id = 1; id <= 9; id++) {
        double** f = s_Field(w, id);
        if (*f != NULL)
            CMN_free(*f);
    }
    RNGP_FreeList(w->table);
    CMN_free(w);
}

void WVFRM_Free(WaveformRecord* list)
{
    // A record's composite-current list is spliced in front of the rest, so
    // that nested lists are freed without recursion.
    while (list != NULL) {
        WaveformRecord* w = list;
        list = w->next;
        if (w->composite_current != NULL) {
            WaveformRecord* end = w->composite_current;
            while (end->next != NULL)
                end = end->next;
            end->next = list;
            list = w->composite_current;
        }
        s_FreeRecord(w);
    }
}
