// Package models of .ibs and .pkg files: the keyword dispatch from
// [Define Package Model] to [End Package Model], the pin list, the per-pin
// section chains with their Fork branches, the end-of-model rules and the
// look-ups of the component and pin checks.
#include "pkgmdl.h"

#include <limits.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "cmn.h"
#include "errlog.h"
#include "ibis.h"
#include "nameidx.h"
#include "parse.h"

#define CMN_MODULE_PATH "IbisParser/pkgmdl"

// ---------------------------------------------------------------------------
// Section chains, shared with board paths.

int PKGMDL_ForkPush(ForkStack* s, SectionElement* fork)
{
    CMN_ASSERT(s != nullptr && fork != nullptr);
    if (!PKGMDL_GrowSlots((void**)&s->forks, &s->capacity, (uint64_t)s->count + 1, UINT_MAX,
                          sizeof(SectionElement*)))
        return 0;
    s->forks[s->count++] = fork;
    return 1;
}

SectionElement* PKGMDL_ForkPop(ForkStack* s)
{
    CMN_ASSERT(s != nullptr);
    return s->count == 0 ? nullptr : s->forks[--s->count];
}

SectionElement* PKGMDL_ForkTop(const ForkStack* s)
{
    CMN_ASSERT(s != nullptr);
    return s->count == 0 ? nullptr : s->forks[s->count - 1];
}

void PKGMDL_ForkClear(ForkStack* s)
{
    CMN_ASSERT(s != nullptr);
    free(s->forks);
    s->forks = nullptr;
    s->count = s->capacity = 0;
}

void PKGMDL_LinkElement(SectionElement** head, SectionElement** current, const ForkStack* forks,
                        SectionElement* e)
{
    CMN_ASSERT(head != nullptr && current != nullptr && forks != nullptr && e != nullptr);
    if (*current == nullptr)
        *head = e;
    else if (PKGMDL_ForkTop(forks) == *current)
        (*current)->payload = e;
    else
        (*current)->next = e;
    *current = e;
}

void PKGMDL_WalkChain(SectionElement* head, int (*visit)(SectionElement* e, void* ctx), void* ctx)
{
    CMN_ASSERT(visit != nullptr);
    // The chains to go on with once a branch is done.
    ForkStack pending = {nullptr, 0, 0};
    SectionElement* e = head;
    for (;;) {
        while (e != nullptr) {
            if (!visit(e, ctx)) {
                PKGMDL_ForkClear(&pending);
                return;
            }
            if (e->kind == SECT_ELEM_FORK && e->payload != nullptr) {
                if (e->next != nullptr && !PKGMDL_ForkPush(&pending, e->next)) {
                    PKGMDL_ForkClear(&pending);
                    return;
                }
                e = (SectionElement*)e->payload;
            } else {
                e = e->next;
            }
        }
        e = PKGMDL_ForkPop(&pending);
        if (e == nullptr) break;
    }
    PKGMDL_ForkClear(&pending);
}

void PKGMDL_FreeChain(SectionElement* head, void (*freePayload)(SectionElement* e))
{
    SectionElement* e = head;
    while (e != nullptr) {
        if (e->kind == SECT_ELEM_FORK && e->payload != nullptr) {
            // The branch is spliced in after its Fork, so that one walk frees
            // every level.
            SectionElement* branch = (SectionElement*)e->payload;
            SectionElement* tail = branch;
            while (tail->next != nullptr) tail = tail->next;
            tail->next = e->next;
            e->next = branch;
            e->payload = nullptr;
        }
        SectionElement* next = e->next;
        if (e->kind != SECT_ELEM_FORK && freePayload != nullptr) freePayload(e);
        free(e);
        e = next;
    }
}

int PKGMDL_GrowSlots(void** array, unsigned* capacity, uint64_t need, unsigned limit, size_t size)
{
    CMN_ASSERT(array != nullptr && capacity != nullptr && size != 0);
    if (need <= *capacity) return 1;
    uint64_t want = (uint64_t)*capacity * 2;
    if (want < 16) want = 16;
    if (want < need) want = need;
    if (want > limit) want = limit;
    if (want > SIZE_MAX / size) want = SIZE_MAX / size;
    if (want < need) return 0;
    void* grown = realloc(*array, (size_t)want * size);
    if (grown == nullptr) return 0;
    memset((char*)grown + (size_t)*capacity * size, 0, (size_t)(want - *capacity) * size);
    *array = grown;
    *capacity = (unsigned)want;
    return 1;
}

void PKGMDL_NameWarnings(const char* name, int equalsCode, int slashCode, int wordCode)
{
    CMN_ASSERT(name != nullptr);
    if (strchr(name, '=') != nullptr) ERRLOG_LineWarnNew(equalsCode, name);
    if (strchr(name, '/') != nullptr) ERRLOG_LineWarnNew(slashCode, name);
    static const char* const syntaxWords[] = {"Len", "Fork", "Endfork", "C", "R", "L"};
    for (const char* w : syntaxWords)
        if (strcmp(name, w) == 0) ERRLOG_LineWarnNew(wordCode, name);
}

char* PKGMDL_NextToken(char** cursor)
{
    CMN_ASSERT(cursor != nullptr && *cursor != nullptr);
    char* p = *cursor;
    while (*p == ' ' || *p == '\t') p++;
    if (*p == '\0') {
        *cursor = p;
        return nullptr;
    }
    char* start = p;
    while (*p && *p != ' ' && *p != '\t') p++;
    if (*p != '\0') *p++ = '\0';
    *cursor = p;
    return start;
}

// ---------------------------------------------------------------------------
// Module state.

static PackageModelRecord* gpPkgMdl;
static int gbPin_NumbersFound, gbModel_DataFound, gbEnd_Model_DataFound, gbEnd_Package_ModelFound,
    gbPin_SectionsFound;
// The keyword codes of this module (hdr.h exports a variable of the plain name).
static int gePkgKeyword = KW_NOT_KEY, gePkgPrevKeyword = KW_NOT_KEY;
static int eCurrentMatrix = KW_NOT_KEY;
static SectionElement* gpCurrPkgElem;
static ForkStack top;
static unsigned ui;
// A sectioned pin line was stored in this model; the last pin line was
// dropped (its sections, continuations and Forks are dropped with it); the
// last matrix keyword was a duplicate (its rows are dropped with it).
static int gbHavePin, gbPinDropped, gbDupMatrix;
// A stored pin name with its 1-based place in the model's pin list; the
// model's pinNames slot points at its text, so that freeing the slot frees
// both.
struct PinName {
    char text[6];
    unsigned position;
};
// The pins of the current model by name, each name giving its first pin.
static NameIndex<PinName> s_pinIndex;

static void s_FreeSectionPayload(SectionElement* e) { SECT_Free((RlcSection*)e->payload); }

static void s_StartModelState(void)
{
    gpCurrPkgElem = nullptr;
    PKGMDL_ForkClear(&top);
    gbHavePin = gbPinDropped = gbDupMatrix = 0;
    s_pinIndex.Clear();
}

void PKGMDL_Reset(void)
{
    gpPkgMdl = nullptr;
    s_StartModelState();
    ui = 0;
    gePkgKeyword = gePkgPrevKeyword = KW_NOT_KEY;
    eCurrentMatrix = KW_NOT_KEY;
    MTX_Reset();
}

void PKGMDL_Init(void)
{
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_LineBugNew(3400, CMN_MODULE_PATH, __LINE__);
        return;
    }
    gpPkgMdl = nullptr;
    s_StartModelState();
    gbPin_NumbersFound = gbModel_DataFound = gbEnd_Model_DataFound = 0;
    gbEnd_Package_ModelFound = gbPin_SectionsFound = 0;
    PackageModelRecord* rec = nullptr;
    if (!CMN_malloc((void**)&rec, sizeof(PackageModelRecord))) {
        ERRLOG_LineErrorNew(3416);
        return;
    }
    IBIS_AddPkgMdl(ibis, rec);
    gpPkgMdl = rec;
}

void PKGMDL_AddLink(PackageModelRecord* rec, PackageModelRecord* next)
{
    CMN_ASSERT(rec != nullptr);
    rec->next = next;
}

int PKGMDL_GetLastLink(PackageModelRecord** p)
{
    CMN_ASSERT(p != nullptr);
    if (*p == nullptr) return 0;
    while ((*p)->next != nullptr) *p = (*p)->next;
    return 1;
}

// ---------------------------------------------------------------------------
// Keyword lines.

static PackageMatrix** s_MatrixSlot(int code)
{
    switch (code) {
    case KW_RESISTANCE_MATRIX: return &gpPkgMdl->Resistance;
    case KW_INDUCTANCE_MATRIX: return &gpPkgMdl->Inductance;
    case KW_CAPACITANCE_MATRIX: return &gpPkgMdl->Capacitance;
    default: return nullptr;
    }
}

// The matrix named by code when it is the one being read, else null.
static PackageMatrix* s_OpenMatrix(int code)
{
    PackageMatrix** slot = s_MatrixSlot(code);
    if (slot == nullptr || *slot == nullptr || *slot != MTX_Current()) return nullptr;
    return *slot;
}

void PKGMDL_FlagKeyword(int* found, const char* word, const char* text, int duplicateCode,
                        int extraCode)
{
    CMN_ASSERT(found != nullptr && word != nullptr && text != nullptr);
    if (*found) {
        ERRLOG_LineErrorNew(duplicateCode, word);
        return;
    }
    if (text[0] != '\0') ERRLOG_LineErrorNew(extraCode, word);
    *found = 1;
}

int PKGMDL_ReadCount(const char* text, unsigned* value, int suspiciousCode, int badCode, int zeroCode)
{
    CMN_ASSERT(text != nullptr && value != nullptr);
    int r = CMN_StrToUI(text, value);
    if (r == 0) {
        ERRLOG_LineErrorNew(badCode);
        return 0;
    }
    if (r == 2) ERRLOG_LineWarnNew(suspiciousCode);
    if (r == 1 && *value == 0) ERRLOG_LineErrorNew(zeroCode);
    return 1;
}

static void s_FlagKeyword(int* found, const char* word, const char* text)
{
    PKGMDL_FlagKeyword(found, word, text, 3468, 3469);
}

static void s_MatrixKeyword(int code, const char* text)
{
    eCurrentMatrix = code;
    PackageMatrix** slot = s_MatrixSlot(code);
    if (*slot != nullptr) {
        ERRLOG_LineErrorNew(3460 + (code - KW_RESISTANCE_MATRIX));
        gbDupMatrix = 1;
        return;
    }
    gbDupMatrix = 0;
    MTX_New(slot, text, gpPkgMdl->Number_of_Pins);
}

static void s_KeywordLine(int code, char* text)
{
    if (gpPkgMdl == nullptr) {
        ERRLOG_LineErrorNew(3401);
        return;
    }
    CMN_EatKeyword(&text);
    gePkgPrevKeyword = gePkgKeyword;
    gePkgKeyword = code;
    PackageModelRecord* m = gpPkgMdl;
    switch (code) {
    case KW_DEFINE_PACKAGE_MODEL:
        CMN_SetKeywordStr(m->name, text, 40, "Define Package Model");
        CMN_ReservedWordErr(m->name);
        break;
    case KW_PKG_MANUFACTURER: CMN_SetKeywordStr(m->Manufacturer, text, 40, "Manufacturer"); break;
    case KW_OEM: CMN_SetKeywordStr(m->OEM, text, 40, "OEM"); break;
    case KW_DESCRIPTION: CMN_SetKeywordStr(m->Description, text, 60, "Description"); break;
    case KW_NUMBER_OF_PINS:
        if (text[0] == '\0')
            ERRLOG_LineErrorNew(3420);
        else if (m->Number_of_Pins != 0)
            ERRLOG_LineErrorNew(3421);
        else
            PKGMDL_ReadCount(text, &m->Number_of_Pins, 3422, 3423, 3424);
        break;
    case KW_PIN_NUMBERS: s_FlagKeyword(&gbPin_NumbersFound, "Pin_Numbers", text); break;
    case KW_MODEL_DATA: s_FlagKeyword(&gbModel_DataFound, "Model_Data", text); break;
    case KW_RESISTANCE_MATRIX:
    case KW_INDUCTANCE_MATRIX:
    case KW_CAPACITANCE_MATRIX: s_MatrixKeyword(code, text); break;
    case KW_BANDWIDTH:
        if (gePkgPrevKeyword >= KW_RESISTANCE_MATRIX && gePkgPrevKeyword <= KW_CAPACITANCE_MATRIX) {
            // The bandwidth of a duplicate matrix goes with it.
            if (gbDupMatrix) break;
            PackageMatrix* mtx = s_OpenMatrix(gePkgPrevKeyword);
            if (mtx == nullptr)
                ERRLOG_LineErrorNew(3465);
            else
                MTX_SetBandwidth(mtx, text);
        } else if (gePkgPrevKeyword == KW_BANDWIDTH) {
            ERRLOG_LineErrorNew(3464);
        } else {
            ERRLOG_LineErrorNew(3465);
        }
        break;
    case KW_ROW: {
        if (gbDupMatrix) break;
        // A matrix that was closed takes no more rows.
        PackageMatrix* mtx = s_OpenMatrix(eCurrentMatrix);
        if (mtx == nullptr)
            ERRLOG_LineErrorNew(3466);
        else
            MTX_AddRow(mtx, text);
        break;
    }
    case KW_END_MODEL_DATA:
        eCurrentMatrix = KW_NOT_KEY;
        gbDupMatrix = 0;
        s_FlagKeyword(&gbEnd_Model_DataFound, "End_Model_Data", text);
        break;
    case KW_END_PACKAGE_MODEL:
        s_FlagKeyword(&gbEnd_Package_ModelFound, "End_Package_Model", text);
        break;
    case KW_NUMBER_OF_SECTIONS:
        if (text[0] == '\0') {
            ERRLOG_LineErrorNew(3425);
            break;
        }
        if (m->Number_of_Sections != 0) {
            ERRLOG_LineErrorNew(3426);
            break;
        }
        if (m->pinNames != nullptr) ERRLOG_LineErrorNew(3427);
        PKGMDL_ReadCount(text, &m->Number_of_Sections, 3428, 3429, 3430);
        gbPin_SectionsFound = 1;
        break;
    default: ERRLOG_LineBugNew(3403, CMN_MODULE_PATH, __LINE__); break;
    }
}

// ---------------------------------------------------------------------------
// Pin lines.

// Grows the pin arrays for one more pin (pinSections too when the model has
// or now needs it); the arrays never outgrow Number_of_Pins.
static int s_ReservePin(PackageModelRecord* m, int sectioned)
{
    if (m->uiPinCount == m->uiPinCapacity) {
        unsigned names = m->uiPinCapacity, chains = m->uiPinCapacity;
        uint64_t need = (uint64_t)m->uiPinCount + 1;
        if (!PKGMDL_GrowSlots((void**)&m->pinNames, &names, need, m->Number_of_Pins, sizeof(char*))) {
            ERRLOG_LineErrorNew(3434);
            return 0;
        }
        if (m->pinSections != nullptr &&
            !PKGMDL_GrowSlots((void**)&m->pinSections, &chains, need, m->Number_of_Pins,
                              sizeof(SectionElement*))) {
            ERRLOG_LineErrorNew(3448);
            return 0;
        }
        m->uiPinCapacity = names;
    }
    if (sectioned && m->pinSections == nullptr) {
        m->pinSections = (SectionElement**)calloc(m->uiPinCapacity, sizeof(SectionElement*));
        if (m->pinSections == nullptr) {
            ERRLOG_LineErrorNew(3448);
            return 0;
        }
    }
    return 1;
}

// Stores a pin name (at most 5 characters); 0 when the line is dropped.
static int s_StorePin(const char* name, int sectioned)
{
    PackageModelRecord* m = gpPkgMdl;
    if (m->Number_of_Pins == 0) {
        ERRLOG_LineErrorNew(3433);
        return 0;
    }
    if (m->uiPinCount >= m->Number_of_Pins) {
        ERRLOG_LineErrorNew(3435);
        return 0;
    }
    if (!s_ReservePin(m, sectioned)) return 0;
    PinName* pin = (PinName*)calloc(1, sizeof(PinName));
    if (pin == nullptr) {
        ERRLOG_LineErrorNew(3436);
        return 0;
    }
    CMN_strncpy(pin->text, name, 5);
    m->pinNames[m->uiPinCount++] = pin->text;
    pin->position = m->uiPinCount;
    try {
        if (s_pinIndex.Add(pin->text, pin) > 0) ERRLOG_LineErrorNew(3437, pin->text);
    } catch (...) {
        // Without memory for the index, duplicates go unreported.
    }
    return 1;
}

static void s_PlainPinLine(const char* text)
{
    if (strlen(text) > 5) ERRLOG_LineErrorNew(3432);
    s_StorePin(text, 0);
}

static SectionElement* s_NewElement(unsigned kind, void* payload)
{
    SectionElement* e = nullptr;
    if (!CMN_malloc((void**)&e, sizeof(SectionElement))) return nullptr;
    e->kind = kind;
    e->payload = payload;
    return e;
}

static void s_Link(SectionElement* e)
{
    PackageModelRecord* m = gpPkgMdl;
    PKGMDL_LinkElement(&m->pinSections[m->uiPinCount - 1], &gpCurrPkgElem, &top, e);
}

// Appends the sections of text to the current pin; the number appended.
static unsigned s_AppendSections(const char* text)
{
    unsigned n = 0;
    const char* p = text;
    for (;;) {
        RlcSection* s = nullptr;
        char* next = nullptr;
        if (!SECT_ParseSection(p, &next, &s) || s == nullptr) break;
        SectionElement* e = s_NewElement(SECT_ELEM_SECTION, s);
        if (e == nullptr) {
            SECT_Free(s);
            break;
        }
        s_Link(e);
        n++;
        p = next;
    }
    return n;
}

static int s_IsContinuation(const char* text)
{
    if (strncmp(text, "Len", 3) != 0) return 0;
    const char* p = text + 3;
    while (*p == ' ' || *p == '\t') p++;
    return *p == '=';
}

static void s_SectionedPinLine(char* text)
{
    if (s_IsContinuation(text)) {
        if (gbPinDropped) return;
        if (!gbHavePin || gpCurrPkgElem == nullptr) {
            ERRLOG_LineErrorNew(3438);
            return;
        }
        s_AppendSections(text);
        return;
    }
    if (strcmp(text, "Fork") == 0) {
        if (gbPinDropped) return;
        if (top.count != 0) ERRLOG_LineErrorNew(3439);
        if (!gbHavePin) {
            ERRLOG_LineErrorNew(3440);
            return;
        }
        SectionElement* e = s_NewElement(SECT_ELEM_FORK, nullptr);
        if (e == nullptr) return;
        s_Link(e);
        PKGMDL_ForkPush(&top, e);
        return;
    }
    if (strcmp(text, "Endfork") == 0) {
        if (gbPinDropped) return;
        if (!gbHavePin) {
            ERRLOG_LineErrorNew(3441);
            return;
        }
        SectionElement* f = PKGMDL_ForkPop(&top);
        if (f == nullptr) {
            ERRLOG_LineErrorNew(3443);
            return;
        }
        gpCurrPkgElem = f;
        if (f->payload == nullptr) ERRLOG_LineErrorNew(3442);
        return;
    }

    // A new pin.
    char* rest = text;
    char* token = PKGMDL_NextToken(&rest);
    if (token == nullptr) return;
    gpCurrPkgElem = nullptr;
    gbPinDropped = 0;
    if (top.count != 0) {
        ERRLOG_LineErrorNew(3444, token);
        PKGMDL_ForkClear(&top);
    }
    if (strlen(token) > 5) ERRLOG_LineErrorNew(3432);
    // The warnings name the pin as written: a cut name may hide the fault.
    PKGMDL_NameWarnings(token, 3445, 3446, 3447);
    char name[6];
    CMN_strncpy(name, token, 5);
    if (!s_StorePin(name, 1)) {
        gbPinDropped = 1;
        return;
    }
    gbHavePin = 1;
    if (s_AppendSections(rest) == 0 && gpCurrPkgElem == nullptr) ERRLOG_LineErrorNew(3449);
}

static void s_DataLine(char* text)
{
    switch (gePkgKeyword) {
    case KW_PIN_NUMBERS:
        if (geFileVersion > 2 && gbPin_SectionsFound)
            s_SectionedPinLine(text);
        else
            s_PlainPinLine(text);
        break;
    case KW_ROW: {
        // The rows of a duplicate matrix, and the data of a row that was
        // not added, go nowhere.
        if (gbDupMatrix) break;
        PackageMatrix* mtx = s_OpenMatrix(eCurrentMatrix);
        if (mtx == nullptr)
            ERRLOG_LineErrorNew(3404);
        else
            MTX_AddRowData(mtx, text);
        break;
    }
    default: ERRLOG_LineErrorNew(3404); break;
    }
}

void PKGMDL_ReceiveLine(int lineType, int keywordCode, char* text)
{
    CMN_ASSERT(text != nullptr);
    if (lineType == PARSE_LINE_KEYWORD) {
        s_KeywordLine(keywordCode, text);
    } else if (lineType == PARSE_LINE_DATA) {
        if (gpPkgMdl == nullptr)
            ERRLOG_LineErrorNew(3402);
        else
            s_DataLine(text);
    } else {
        ERRLOG_LineBugNew(3405, CMN_MODULE_PATH, __LINE__);
    }
}

// ---------------------------------------------------------------------------
// End of a model.

static int s_CountSection(SectionElement* e, void* ctx)
{
    if (e->kind == SECT_ELEM_SECTION) ++*(unsigned*)ctx;
    return 1;
}

static void s_EndChecks(PackageModelRecord* m)
{
    const char* name = m->name;
    if (name[0] == '\0') ERRLOG_ErrorNew(3417);
    if (m->Manufacturer[0] == '\0') ERRLOG_ErrorNew(3467, "Manufacturer", name);
    if (m->OEM[0] == '\0') ERRLOG_ErrorNew(3418, name);
    if (m->Description[0] == '\0') ERRLOG_ErrorNew(3419, name);
    if (m->Number_of_Pins == 0) ERRLOG_ErrorNew(3431, name);
    if (!gbPin_NumbersFound) {
        ERRLOG_ErrorNew(3452, name);
    } else if (m->Number_of_Pins != 0) {
        if (m->pinNames == nullptr)
            ERRLOG_ErrorNew(3453, name);
        else if (m->uiPinCount != m->Number_of_Pins)
            ERRLOG_ErrorNew(3454, m->Number_of_Pins, m->uiPinCount, name);
    }
    if (!gbPin_SectionsFound) {
        if (!gbModel_DataFound) ERRLOG_ErrorNew(3455, name);
        if (m->Resistance != nullptr) MTX_Test("Resistance", m->Resistance);
        if (m->Inductance != nullptr)
            MTX_Test("Inductance", m->Inductance);
        else
            ERRLOG_ErrorNew(3413, name);
        if (m->Capacitance != nullptr)
            MTX_Test("Capacitance", m->Capacitance);
        else
            ERRLOG_ErrorNew(3415, name);
        if (!gbEnd_Model_DataFound) ERRLOG_ErrorNew(3457, name);
    } else {
        if (m->Number_of_Pins != 0 && m->pinSections != nullptr) {
            if (top.count != 0) ERRLOG_ErrorNew(3450);
            for (unsigned i = 0; i < m->uiPinCount && m->Number_of_Sections != 0; i++) {
                unsigned n = 0;
                PKGMDL_WalkChain(m->pinSections[i], s_CountSection, &n);
                if (n > m->Number_of_Sections)
                    ERRLOG_ErrorNew(3451, m->pinNames[i], (int)n, (int)m->Number_of_Sections);
            }
        }
        if (gbModel_DataFound) ERRLOG_ErrorNew(3456, name);
        if (m->Resistance != nullptr) ERRLOG_ErrorNew(3411, name);
        if (m->Inductance != nullptr) ERRLOG_ErrorNew(3412, name);
        if (m->Capacitance != nullptr) ERRLOG_ErrorNew(3414, name);
        if (gbEnd_Model_DataFound) ERRLOG_ErrorNew(3458, name);
    }
    if (!gbEnd_Package_ModelFound) ERRLOG_ErrorNew(3459);
}

void PKGMDL_Fini(int nextKeywordCode)
{
    int next = nextKeywordCode;
    if ((next >= KW_PKG_MANUFACTURER && next <= KW_ROW) || next == KW_NUMBER_OF_SECTIONS) return;
    if (next == KW_END_MODEL_DATA || next == KW_END_PACKAGE_MODEL) {
        MTX_Fini();
        return;
    }
    if (gpPkgMdl != nullptr) {
        MTX_Fini();
        s_EndChecks(gpPkgMdl);
    }
    gpPkgMdl = nullptr;
    s_StartModelState();
}

// ---------------------------------------------------------------------------
// Look-ups, checks and release.

static const char* s_NameOf(const PackageModelRecord* m) { return m->name; }

int PKGMDL_FindPackageModel(PackageModelRecord* list, const char* name, PackageModelRecord** found)
{
    CMN_ASSERT(name != nullptr);
    PackageModelRecord* m =
        IBIS_FindInList(list, &IBIS::packageModels, &IBIS_Names::packageModels, s_NameOf, name);
    if (m == nullptr) return 0;
    if (found != nullptr) *found = m;
    return 1;
}

int PKGMDL_GetPin_Number(PackageModelRecord* list, const char* modelName, int first, char** pinName)
{
    CMN_ASSERT(modelName != nullptr && pinName != nullptr);
    PackageModelRecord* m = nullptr;
    if (!PKGMDL_FindPackageModel(list, modelName, &m)) return 0;
    if (first == 1)
        ui = 0;
    else
        ui++;
    if (ui >= m->Number_of_Pins || m->pinNames == nullptr || ui >= m->uiPinCount) return 0;
    *pinName = m->pinNames[ui];
    return 1;
}

int PKGMDL_GetPinIndex(const char* pinName, unsigned* index)
{
    CMN_ASSERT(pinName != nullptr && index != nullptr);
    *index = 0;
    PackageModelRecord* m = gpPkgMdl;
    if (m == nullptr || m->pinNames == nullptr || m->Number_of_Pins == 0) return 0;
    const PinName* pin = s_pinIndex.Find(pinName);
    if (pin == nullptr) return 0;
    *index = pin->position;
    return 1;
}

void PKGMDL_TestList(PackageModelRecord* list)
{
    CMN_ASSERT(list != nullptr);
    // Each model that a later model of its name follows, once, in list order.
    NameCount all, seen;
    all.AddList(list, s_NameOf);
    for (PackageModelRecord* a = list; a != nullptr; a = a->next)
        if (seen.Add(a->name, a) + 1 < all.Count(a->name)) ERRLOG_ErrorNew(3410, a->name);
}

int PKGMDL_FreeList(PackageModelRecord* list)
{
    while (list != nullptr) {
        PackageModelRecord* next = list->next;
        if (list == gpPkgMdl) PKGMDL_Reset();
        for (unsigned i = 0; i < list->uiPinCount; i++) {
            free(list->pinNames[i]);
            if (list->pinSections != nullptr)
                PKGMDL_FreeChain(list->pinSections[i], s_FreeSectionPayload);
        }
        free(list->pinNames);
        free(list->pinSections);
        MTX_Free(list->Resistance);
        MTX_Free(list->Inductance);
        MTX_Free(list->Capacitance);
        free(list);
        list = next;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Package-file search: the directory of the .ibs file is listed through the
// file system, never through a shell, so that any directory name works and
// no temporary file is made.

// What the search learnt since the last reset: the folder it listed, the
// .pkg files there in byte order of their names, the model names that each
// file's [Define Package Model] lines carry (each name giving its files in
// that order; a name is dropped once its files were read), and the files
// read.  A search for a name that no file carries is then one look-up, and
// each file is looked into and read at most once.
struct PkgSearch {
    bool listed = false;
    std::string dir;
    std::vector<std::string> files;
    std::unordered_map<std::string, std::vector<size_t>> definers;
    std::unordered_set<std::string> read;
};
static PkgSearch s_search;

void PKGMDL_ResetPkgSearch(void) { s_search = PkgSearch(); }

static bool s_HasPkgExtension(const std::string& name)
{
    if (name.size() < 4) return false;
    const char* ext = name.c_str() + name.size() - 4;
#ifdef _WIN32
    return CMN_StrSameIC(ext, ".pkg") != 0;
#else
    return strcmp(ext, ".pkg") == 0;
#endif
}

// Regular files (not links, not directories) named *.pkg that are not
// hidden, in byte order of their names.
static std::vector<std::string> s_ListPkgFiles(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(dir, ec);
    if (ec) return names;
    for (std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::filesystem::directory_entry& entry = *it;
        std::error_code kindError;
        if (entry.is_symlink(kindError) || kindError) continue;
        if (!entry.is_regular_file(kindError) || kindError) continue;
        const std::filesystem::path file = entry.path().filename();
#ifdef _WIN32
        // Only names that the narrow file functions can open.
        const std::wstring& wide = file.native();
        if (std::any_of(wide.begin(), wide.end(), [](wchar_t c) { return c > 127; })) continue;
#endif
        std::string name = file.string();
        if (name.empty() || name[0] == '.' || !s_HasPkgExtension(name)) continue;
#ifdef _WIN32
        DWORD attributes = GetFileAttributesW(entry.path().c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES ||
            (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0)
            continue;
#endif
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

static bool s_ReadLine(FILE* fp, std::string& line)
{
    line.clear();
    int c = getc(fp);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        line.push_back((char)c);
        c = getc(fp);
    }
    return true;
}

static const char* s_SkipBlanks(const char* p)
{
    while (*p && CMN_IsWhitespace((unsigned char)*p)) p++;
    return p;
}

// Notes, under each model name that a [Define Package Model] line of the
// file carries, the file's number: the name after the keyword, cut at the
// file's comment character and its trailing blanks, and to 40 characters.
static void s_NoteDefinedModels(const char* path, size_t file)
{
    FILE* fp = CMN_fopen(path, "r");
    if (fp == nullptr) return;
    static const char* const spellings[] = {"[DEFINE PACKAGE MODEL]", "[DEFINE PACKAGE_MODEL]",
                                            "[DEFINE_PACKAGE MODEL]", "[DEFINE_PACKAGE_MODEL]"};
    char comment = '|';
    std::string line;
    while (s_ReadLine(fp, line)) {
        const char* p = s_SkipBlanks(line.c_str());
        if (*p != '[') continue;
        if (CMN_StrSameICn(p, "[COMMENT CHAR]", 14) || CMN_StrSameICn(p, "[COMMENT_CHAR]", 14)) {
            if (strlen(p) < 14) continue;
            const char* q = s_SkipBlanks(p + 14);
            if (q[0] != '\0' && strncmp(q + 1, "_char", 5) == 0 &&
                strchr(gpcBadCommChars, q[0]) == nullptr)
                comment = q[0];
            continue;
        }
        if (strlen(p) < 22) continue;
        bool keyword = false;
        for (const char* sp : spellings)
            if (CMN_StrSameICn(p, sp, 22)) keyword = true;
        if (!keyword) continue;
        std::string name = s_SkipBlanks(p + 22);
        size_t cut = name.find(comment);
        if (cut != std::string::npos) name.erase(cut);
        while (!name.empty() && CMN_IsWhitespace((unsigned char)name.back())) name.pop_back();
        if (name.size() > 40) name.erase(40);
        std::vector<size_t>& files = s_search.definers[name];
        if (files.empty() || files.back() != file) files.push_back(file);
    }
    fclose(fp);
}

// Lists the folder and looks into each .pkg file not read yet, once for the
// pass (again only if the folder of the file last opened has changed).
static void s_ListFolder(const char* dirText)
{
    if (s_search.listed && s_search.dir == dirText) return;
    s_search.listed = true;
    s_search.dir = dirText;
    s_search.definers.clear();
    std::filesystem::path dir = dirText[0] ? std::filesystem::path(dirText) : std::filesystem::path(".");
    s_search.files = s_ListPkgFiles(dir);
    for (size_t i = 0; i < s_search.files.size(); i++) {
        const std::string& name = s_search.files[i];
        if (s_search.read.count(name) != 0) continue;
        std::vector<char> path(strlen(dirText) + name.size() + 2);
        if (CMN_JoinDir(dirText, name.c_str(), path.data(), path.size()))
            s_NoteDefinedModels(path.data(), i);
    }
}

int PKGMDL_FindPkgFile(const char* modelName)
{
    CMN_ASSERT(modelName != nullptr);
    char dirText[1025];
    CMN_GetIbsPath(dirText);
    std::string wanted = modelName;
    if (wanted.size() > 40) wanted.erase(40);
    // The files to read: those that carry the name and were not read yet.
    // They are all read now, so the name has nothing left to give.
    std::vector<std::string> toRead;
    try {
        s_ListFolder(dirText);
        auto it = s_search.definers.find(wanted);
        if (it == s_search.definers.end()) return 0;
        for (size_t i : it->second)
            if (s_search.read.insert(s_search.files[i]).second) toRead.push_back(s_search.files[i]);
        s_search.definers.erase(it);
    } catch (...) {
        // Without memory the search finds nothing more.
    }
    int version = geFileVersion;
    int read = 0;
    for (const std::string& name : toRead) {
        if (PARSE(name.c_str(), FILE_PKG)) read = 1;
        geFileVersion = version;
    }
    return read;
}
