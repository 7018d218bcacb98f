// [Test Load] keyword: reading, end checks and the whole-file check of the
// receiver models that the loads name.
#include "testload.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "cmpnt.h"
#include "errlog.h"
#include "ibis.h"
#include "mdl.h"
#include "nameidx.h"
#include "parse.h"
#include "subparm.h"

#define CMN_MODULE_PATH "IbisParser/testload"

enum {
    TL_TYPE = 1, TL_C1_NEAR, TL_RS_NEAR, TL_LS_NEAR, TL_C2_NEAR, TL_RP1_NEAR, TL_RP2_NEAR,
    TL_TD, TL_ZO, TL_RP1_FAR, TL_RP2_FAR, TL_C2_FAR, TL_LS_FAR, TL_RS_FAR, TL_C1_FAR,
    TL_V_TERM1, TL_V_TERM2, TL_RECEIVER_MODEL, TL_RECEIVER_MODEL_INV, TL_R_DIFF_NEAR,
    TL_R_DIFF_FAR
};

static const SUBPARM_ENTRY testload_subs[] = {
    {"Test_load_type", TL_TYPE}, {"C1_near", TL_C1_NEAR}, {"Rs_near", TL_RS_NEAR},
    {"Ls_near", TL_LS_NEAR}, {"C2_near", TL_C2_NEAR}, {"Rp1_near", TL_RP1_NEAR},
    {"Rp2_near", TL_RP2_NEAR}, {"Td", TL_TD}, {"Zo", TL_ZO}, {"Rp1_far", TL_RP1_FAR},
    {"Rp2_far", TL_RP2_FAR}, {"C2_far", TL_C2_FAR}, {"Ls_far", TL_LS_FAR},
    {"Rs_far", TL_RS_FAR}, {"C1_far", TL_C1_FAR}, {"V_term1", TL_V_TERM1},
    {"V_term2", TL_V_TERM2}, {"Receiver_model", TL_RECEIVER_MODEL},
    {"Receiver_model_inv", TL_RECEIVER_MODEL_INV}, {"R_diff_near", TL_R_DIFF_NEAR},
    {"R_diff_far", TL_R_DIFF_FAR}, {"NOT_SUB", 0},
};

static const SUBPARM_ENTRY testloadtypes[] = {
    {"Single_ended", 2}, {"Differential", 3}, {"No Type", 1},
};

static const SUBPARM_NAME_CODES s_nameCodes = {
    "Test Load", "TestLoad", 2206, 2207, 2208, 2209, 2210, 2211, 1,
};

static const SUBPARM_VALUE_CODES s_valueCodes = {
    2213, 2217, 2218, 2219, 2220, 2221, 2222, 2223,
};

static TestLoadRecord* gCurrentTestLoad;
static int s_eKeyword = KW_NOT_KEY;

int TESTLOAD_New(TestLoadRecord** out)
{
    CMN_ASSERT(out != nullptr);
    if (!CMN_malloc((void**)out, sizeof(TestLoadRecord))) {
        ERRLOG_BugNew(2200, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    return 1;
}

void TESTLOAD_Init(void)
{
    gCurrentTestLoad = nullptr;
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_BugNew(2201);
        return;
    }
    TestLoadRecord* t = nullptr;
    if (!TESTLOAD_New(&t)) return;
    IBIS_AddTestLoad(ibis, t);
    gCurrentTestLoad = t;
}

void TESTLOAD_Reset(void)
{
    gCurrentTestLoad = nullptr;
    s_eKeyword = KW_NOT_KEY;
}

static const char* s_NameOf(const TestLoadRecord* t) { return t->name; }

void TESTLOAD_AddLink(TestLoadRecord* t, TestLoadRecord* next)
{
    CMN_ASSERT(t != nullptr);
    t->next = next;
}

static double** s_Element(TestLoadRecord* t, int id)
{
    switch (id) {
    case TL_C1_NEAR: return &t->C1_near;
    case TL_RS_NEAR: return &t->Rs_near;
    case TL_LS_NEAR: return &t->Ls_near;
    case TL_C2_NEAR: return &t->C2_near;
    case TL_RP1_NEAR: return &t->Rp1_near;
    case TL_RP2_NEAR: return &t->Rp2_near;
    case TL_TD: return &t->Td;
    case TL_ZO: return &t->Zo;
    case TL_RP1_FAR: return &t->Rp1_far;
    case TL_RP2_FAR: return &t->Rp2_far;
    case TL_C2_FAR: return &t->C2_far;
    case TL_LS_FAR: return &t->Ls_far;
    case TL_RS_FAR: return &t->Rs_far;
    case TL_C1_FAR: return &t->C1_far;
    case TL_R_DIFF_NEAR: return &t->R_diff_near;
    case TL_R_DIFF_FAR: return &t->R_diff_far;
    default: return nullptr;
    }
}

// "<name> = <value>"; the value exists from its allocation on, so a rejected
// line still counts as given.
static void s_ElementValue(const char* text, const char* subName, double** slot)
{
    if (*slot != nullptr) {
        ERRLOG_LineErrorNew(2237, subName);
        return;
    }
    if (!CMN_malloc((void**)slot, sizeof(double))) {
        ERRLOG_BugNew(2200, CMN_MODULE_PATH, __LINE__);
        return;
    }
    ARG_LIST args;
    if (!SUBPARM_Split(text, 3, 1, &args)) {
        ERRLOG_LineBugNew(2213, subName, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (args.iTotal == 1 || args.iTotal == 2) {
        ERRLOG_LineErrorNew(2218, subName);
    } else {
        if (args.iTotal != 3) ERRLOG_LineErrorNew(2219, args.iTotal, subName, 3);
        if (strcmp(args.psArgs[1], "=") != 0) {
            ERRLOG_LineErrorNew(2218, subName);
        } else {
            double v = 0.0;
            if (CMN_Get_Value(args.psArgs[2], &v) == 0)
                ERRLOG_LineErrorNew(2238, subName, args.psArgs[2]);
            else
                **slot = v;
        }
    }
    SUBPARM_Free(&args);
}

static void s_DataLine(TestLoadRecord* t, const char* text)
{
    int id = SUBPARM_LineId(text, testload_subs, 2214);
    if (id == 0) return;
    const char* subName = testload_subs[id - 1].name;
    switch (id) {
    case TL_TYPE:
        if (t->Test_load_type != 0) {
            ERRLOG_LineErrorNew(2216, subName, t->name);
            return;
        }
        SUBPARM_TypeWord(text, subName, testloadtypes, &s_valueCodes, &t->Test_load_type);
        break;
    case TL_V_TERM1:
    case TL_V_TERM2: {
        TypMinMax** slot = id == TL_V_TERM1 ? &t->V_term1 : &t->V_term2;
        if (*slot != nullptr) {
            ERRLOG_LineErrorNew(2216, subName, t->name);
            return;
        }
        SUBPARM_Range(text, subName, slot, 2239);
        break;
    }
    case TL_RECEIVER_MODEL:
    case TL_RECEIVER_MODEL_INV: {
        char* dst = id == TL_RECEIVER_MODEL ? t->Receiver_model : t->Receiver_model_inv;
        if (dst[0] != '\0') {
            ERRLOG_LineErrorNew(2216, subName, t->name);
            return;
        }
        SUBPARM_NameValue(text, subName, dst, geFileVersion < 4 ? 20 : 40, &s_valueCodes);
        break;
    }
    default:
        s_ElementValue(text, subName, s_Element(t, id));
        break;
    }
}

void TESTLOAD_ReceiveLine(int lineKind, int keywordCode, const char* text)
{
    CMN_ASSERT(text != nullptr);
    TestLoadRecord* t = gCurrentTestLoad;
    if (t == nullptr) {
        ERRLOG_LineErrorNew(lineKind == PARSE_LINE_KEYWORD ? 2202 : 2203);
        return;
    }
    if (lineKind == PARSE_LINE_KEYWORD) {
        s_eKeyword = keywordCode;
        if (keywordCode != KW_TEST_LOAD) {
            ERRLOG_LineBugNew(2204, CMN_MODULE_PATH, __LINE__);
            return;
        }
        if (SUBPARM_KeywordName(text, t->name, 109, &s_nameCodes) &&
            IBIS_NamedBefore(t, &IBIS::testLoads, &IBIS_Names::testLoads, s_NameOf, t->name))
            ERRLOG_LineErrorNew(2212, t->name);
    } else if (s_eKeyword != KW_TEST_LOAD) {
        ERRLOG_LineErrorNew(2205);
    } else {
        s_DataLine(t, text);
    }
}

void TESTLOAD_Fini(void)
{
    const TestLoadRecord* t = gCurrentTestLoad;
    if (t == nullptr) return;
    if (s_eKeyword == KW_TEST_LOAD) {
        if (t->Test_load_type == 0) ERRLOG_ErrorNew(2224, t->name, "Test_load_type");
        if (t->Td != nullptr && t->Zo == nullptr) ERRLOG_ErrorNew(2225, t->name);
        if ((t->Rp1_near != nullptr || t->Rp1_far != nullptr) && t->V_term1 == nullptr)
            ERRLOG_ErrorNew(2226, t->name);
        if ((t->Rp2_near != nullptr || t->Rp2_far != nullptr) && t->V_term2 == nullptr)
            ERRLOG_ErrorNew(2227, t->name);
        if (t->Test_load_type != 3) {
            if (t->R_diff_near != nullptr) ERRLOG_WarnNew(2228, t->name);
            if (t->R_diff_far != nullptr) ERRLOG_WarnNew(2229, t->name);
            if (t->Receiver_model_inv[0] != '\0') ERRLOG_WarnNew(2230, t->name);
        }
    }
    gCurrentTestLoad = nullptr;
}

const TestLoadRecord* TESTLOAD_Find(const char* name, const TestLoadRecord* list)
{
    CMN_ASSERT(name != nullptr);
    return IBIS_FindInList(const_cast<TestLoadRecord*>(list), &IBIS::testLoads,
                           &IBIS_Names::testLoads, s_NameOf, name);
}

int TESTLOAD_NameExists(const char* name, const TestLoadRecord* list)
{
    return TESTLOAD_Find(name, list) != nullptr;
}

// Output-only and series types cannot receive.
static int s_NotInputType(int type)
{
    switch (type) {
    case 3: case 5: case 6: case 8: case 10: case 13: case 16: case 17: case 18: return 1;
    default: return 0;
    }
}

void TESTLOAD_TestList(const TestLoadRecord* list)
{
    for (const TestLoadRecord* t = list; t != nullptr; t = t->next) {
        IBIS* ibis = nullptr;
        if (!IBIS_GetIBIS(&ibis)) {
            ERRLOG_BugNew(2231, CMN_MODULE_PATH, __LINE__);
            continue;
        }
        ModelRecord* models = nullptr;
        if (!IBIS_GetMdls(ibis, &models)) {
            ERRLOG_ErrorNew(2232, t->name);
            continue;
        }
        if (t->Receiver_model[0] != '\0') {
            ModelRecord* m = MDL_FindModel(t->Receiver_model, models);
            if (m == nullptr)
                ERRLOG_ErrorNew(2233, t->Receiver_model, t->name);
            else if (s_NotInputType(m->Model_type))
                ERRLOG_WarnNew(2234, t->Receiver_model, t->name);
        }
        if (t->Receiver_model_inv[0] != '\0') {
            ModelRecord* m = MDL_FindModel(t->Receiver_model_inv, models);
            if (m == nullptr) {
                ERRLOG_ErrorNew(2235, t->Receiver_model_inv, t->name);
            } else {
                if (s_NotInputType(m->Model_type))
                    ERRLOG_WarnNew(2234, t->Receiver_model_inv, t->name);
                if (!CMPNT_IsDifferentialPinModel(m, nullptr))
                    ERRLOG_WarnNew(2236, t->Receiver_model_inv, t->name);
            }
        }
    }
}

void TESTLOAD_Free(TestLoadRecord* t)
{
    if (t == nullptr) return;
    double** values[] = {&t->C1_near, &t->Rs_near, &t->Ls_near, &t->C2_near, &t->Rp1_near,
                         &t->Rp2_near, &t->Td, &t->Zo, &t->Rp1_far, &t->Rp2_far, &t->C2_far,
                         &t->Ls_far, &t->Rs_far, &t->C1_far, &t->R_diff_near, &t->R_diff_far};
    for (double** v : values) free(*v);
    RNG_Free(t->V_term1);
    RNG_Free(t->V_term2);
    free(t);
}

void TESTLOAD_FreeList(TestLoadRecord* list)
{
    while (list != nullptr) {
        TestLoadRecord* next = list->next;
        TESTLOAD_Free(list);
        list = next;
    }
}
