// [Series MOSFET]: its Vds line, its I-V table and the Vds checks.
#include "smos.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <cmath>
#include <iterator>
#include <set>
#include <vector>

#include "cmn.h"
#include "errlog.h"
#include "mdl.h"
#include "parse.h"
#include "rng.h"

#define CMN_MODULE_PATH "IbisParser/smos"

SeriesMosfetRecord* gCurrentSmos;
unsigned long gCurrentSmosBeginLine;
int gbFirstLine;

// Tail and length of the list that SMOS_New appended to last, so that a
// long list is not walked once per record.
static SeriesMosfetRecord** s_tailList;
static SeriesMosfetRecord* s_tail;
static int s_count;

void SMOS_Reset(void)
{
    gCurrentSmos = nullptr;
    gCurrentSmosBeginLine = 0;
    gbFirstLine = 0;
    s_tailList = nullptr;
    s_tail = nullptr;
    s_count = 0;
}

int SMOS_New(const char* keywordLine, SeriesMosfetRecord** list, SeriesMosfetRecord** made)
{
    CMN_ASSERT(keywordLine != nullptr && list != nullptr && made != nullptr);
    *made = nullptr;
    gCurrentSmos = nullptr;
    if (s_tailList != list || (s_tail == nullptr) != (*list == nullptr)) {
        s_tailList = list;
        s_tail = nullptr;
        s_count = 0;
        for (SeriesMosfetRecord* r = *list; r != nullptr; r = r->next) {
            s_tail = r;
            s_count++;
        }
    }
    if (s_count > 99) ERRLOG_LineErrorNew(2800);
    SeriesMosfetRecord* rec = nullptr;
    if (!CMN_malloc((void**)&rec, sizeof(SeriesMosfetRecord))) {
        ERRLOG_BugNew(2809, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    if (s_tail == nullptr)
        *list = rec;
    else
        s_tail->next = rec;
    s_tail = rec;
    s_count++;
    RNG_CheckKeywordLine(keywordLine, "[Series_MOSFET]", 2801, 2802, 2803);
    gCurrentSmos = rec;
    gCurrentSmosBeginLine = PARSE_GetLineNum();
    gbFirstLine = 1;
    *made = rec;
    return 1;
}

static void s_VdsLine(const char* text)
{
    SeriesMosfetRecord* r = gCurrentSmos;
    if (r->Vds != nullptr) {
        ERRLOG_LineErrorNew(2808);
        return;
    }
    double value = 0.0;
    // A Vds that was not read stays absent.
    if (!RNG_ReadAssignment(text, "Vds", 2802, 2810, 2803, 2811, 0, nullptr, nullptr, &value))
        return;
    if (!CMN_malloc((void**)&r->Vds, sizeof(double))) {
        r->Vds = nullptr;
        ERRLOG_BugNew(2809, CMN_MODULE_PATH, __LINE__);
        return;
    }
    *r->Vds = value;
}

void SMOS_ReceiveLine(const char* text)
{
    CMN_ASSERT(text != nullptr);
    if (gCurrentSmos == nullptr) return;
    if (!gbFirstLine) {
        if (gCurrentSmos->table != nullptr)
            CRV_ReceiveLine(text, gCurrentSmos->table, "Series_MOSFET");
        return;
    }
    gbFirstLine = 0;
    ARG_LIST a;
    if (!CMN_ArgParsePlus(text, 1, '=', &a)) {
        ERRLOG_LineBugNew(2802, "Vds", CMN_MODULE_PATH, __LINE__);
        return;
    }
    int isVds = a.iCount > 0 && strcmp(a.psArgs[0], "Vds") == 0;
    CMN_ArgFree(&a);
    if (!isVds) {
        ERRLOG_LineErrorNew(2807);
        return;
    }
    s_VdsLine(text);
}

int SMOS_Fini(const ModelRecord* model, int keywordCode)
{
    CMN_ASSERT(model != nullptr);
    SeriesMosfetRecord* r = gCurrentSmos;
    if (r == nullptr) return 0;
    if (r->Vds == nullptr)
        ERRLOG_ErrorNew(2804, model->name, (int)gCurrentSmosBeginLine);
    else if (*r->Vds < 0)
        ERRLOG_ErrorNew(2805, model->name, (int)gCurrentSmosBeginLine);
    if (r->table != nullptr)
        CRV_Fini(model->name, model->Model_type == 0 ? 1 : model->Model_type, keywordCode,
                 r->table, "Series_MOSFET", "Model");
    gCurrentSmos = nullptr;
    gbFirstLine = 0;
    return 1;
}

// Two Vds values closer than this are the same.
static int s_SameVds(double a, double b) { return fabs(b - a) < 1e-9; }

void SMOS_TestList(const SeriesMosfetRecord* list, const char* modelName, const char* label)
{
    CMN_ASSERT(list != nullptr && modelName != nullptr && label != nullptr);
    // A record with the same Vds as a later one is reported once.  The later
    // values are kept sorted: the value nearest above and the one nearest
    // below a record's are the only ones that can be the same as it.
    std::vector<const SeriesMosfetRecord*> given;
    for (const SeriesMosfetRecord* a = list; a != nullptr; a = a->next)
        if (a->Vds != nullptr) given.push_back(a);
    std::vector<char> repeated(given.size(), 0);
    std::set<double> later;
    for (size_t i = given.size(); i-- > 0;) {
        double v = *given[i]->Vds;
        if (std::isnan(v)) continue;
        auto above = later.lower_bound(v);
        if (above != later.end() && s_SameVds(v, *above)) repeated[i] = 1;
        if (above != later.begin() && s_SameVds(v, *std::prev(above))) repeated[i] = 1;
        later.insert(v);
    }
    for (size_t i = 0; i < given.size(); i++)
        if (repeated[i]) ERRLOG_ErrorNew(2806, modelName, label, *given[i]->Vds);
}

void SMOS_FreeList(SeriesMosfetRecord* list)
{
    while (list != nullptr) {
        SeriesMosfetRecord* next = list->next;
        if (list == gCurrentSmos) gCurrentSmos = nullptr;
        if (list == s_tail) {
            s_tail = nullptr;
            s_tailList = nullptr;
        }
        free(list->Vds);
        CRV_Free(list->table);
        free(list);
        list = next;
    }
}
