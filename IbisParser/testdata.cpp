// [Test Data] keyword group: the sub-parameters, the eight golden waveforms,
// the group's end checks and the whole-file check of the names it uses.
#include "testdata.h"

#include <stdlib.h>

#include "cmn.h"
#include "cmpnt.h"
#include "errlog.h"
#include "ibis.h"
#include "mdl.h"
#include "nameidx.h"
#include "parse.h"
#include "subparm.h"
#include "testload.h"

#define CMN_MODULE_PATH "IbisParser/testdata"

enum { TDS_TYPE = 1, TDS_DRIVER_MODEL, TDS_DRIVER_MODEL_INV, TDS_TEST_LOAD };

static const SUBPARM_ENTRY testdata_subs[] = {
    {"Test_data_type", TDS_TYPE}, {"Driver_model", TDS_DRIVER_MODEL},
    {"Driver_model_inv", TDS_DRIVER_MODEL_INV}, {"Test_load", TDS_TEST_LOAD}, {"NOT_SUB", 0},
};

static const SUBPARM_ENTRY testdatatypes[] = {
    {"Single_ended", 2}, {"Differential", 3}, {"No Type", 1},
};

static const SUBPARM_NAME_CODES s_nameCodes = {
    "Test Data", "TestData", 2314, 2315, 2316, 2317, 2318, 2319, 1,
};

static const SUBPARM_VALUE_CODES s_valueCodes = {
    2321, 2325, 2326, 2327, 2328, 2329, 2330, 2331,
};

// Golden waveform keywords 109-116: the record slot, the name in messages
// and the code of a second one.
typedef struct {
    int slot;
    const char* name;
    int again;
} GOLDEN;

static const GOLDEN s_golden[] = {
    {TD_RISING_NEAR, "Rising Waveform Near", 2304},
    {TD_RISING_FAR, "Rising Waveform Far", 2306},
    {TD_FALLING_NEAR, "Falling Waveform Near", 2305},
    {TD_FALLING_FAR, "Falling Waveform Far", 2307},
    {TD_DIFF_RISING_NEAR, "Diff Rising Waveform Near", 2308},
    {TD_DIFF_RISING_FAR, "Diff Rising Waveform Far", 2310},
    {TD_DIFF_FALLING_NEAR, "Diff Falling Waveform Near", 2309},
    {TD_DIFF_FALLING_FAR, "Diff Falling Waveform Far", 2311},
};

static TestDataRecord* gCurrentTestData;
static int s_eKeyword = KW_NOT_KEY;
// The golden waveform now read could be made: its lines and end check go to
// the waveform module only then.
static int s_bTableMade;

static int s_IsGolden(int code)
{
    return code >= KW_RISING_WAVEFORM_NEAR && code <= KW_DIFF_FALLING_WAVEFORM_FAR;
}

int TESTDATA_New(TestDataRecord** out)
{
    CMN_ASSERT(out != nullptr);
    if (!CMN_malloc((void**)out, sizeof(TestDataRecord))) {
        ERRLOG_BugNew(2300, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    return 1;
}

void TESTDATA_Init(void)
{
    gCurrentTestData = nullptr;
    s_bTableMade = 0;
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_BugNew(2301);
        return;
    }
    TestDataRecord* t = nullptr;
    if (!TESTDATA_New(&t)) return;
    IBIS_AddTestData(ibis, t);
    gCurrentTestData = t;
}

void TESTDATA_Reset(void)
{
    gCurrentTestData = nullptr;
    s_eKeyword = KW_NOT_KEY;
    s_bTableMade = 0;
}

static const char* s_NameOf(const TestDataRecord* t) { return t->name; }

void TESTDATA_AddLink(TestDataRecord* t, TestDataRecord* next)
{
    CMN_ASSERT(t != nullptr);
    t->next = next;
}

static void s_KeywordLine(TestDataRecord* t, int code, const char* text)
{
    s_eKeyword = code;
    s_bTableMade = 0;
    if (code == KW_TEST_DATA) {
        if (SUBPARM_KeywordName(text, t->name, 109, &s_nameCodes) &&
            IBIS_NamedBefore(t, &IBIS::testData, &IBIS_Names::testData, s_NameOf, t->name))
            ERRLOG_LineErrorNew(2320, t->name);
    } else if (s_IsGolden(code)) {
        const GOLDEN* g = &s_golden[code - KW_RISING_WAVEFORM_NEAR];
        WaveformRecord** slot = &t->golden[g->slot];
        if (*slot != nullptr) {
            ERRLOG_LineErrorNew(g->again);
            // The slot is emptied first: the new table goes into an empty list.
            WaveformRecord* old = *slot;
            *slot = nullptr;
            WVFRM_Free(old);
        }
        s_bTableMade = WVFRM_New(text, slot, g->name);
    } else {
        ERRLOG_LineBugNew(2312, CMN_MODULE_PATH, __LINE__);
    }
}

static void s_SubParameter(TestDataRecord* t, const char* text)
{
    int id = SUBPARM_LineId(text, testdata_subs, 2322);
    if (id == 0) return;
    const char* subName = testdata_subs[id - 1].name;
    if (id == TDS_TYPE) {
        if (t->Test_data_type != 0)
            ERRLOG_LineErrorNew(2324, subName, t->name);
        else
            SUBPARM_TypeWord(text, subName, testdatatypes, &s_valueCodes, &t->Test_data_type);
        return;
    }
    char* dst = id == TDS_DRIVER_MODEL       ? t->Driver_model
                : id == TDS_DRIVER_MODEL_INV ? t->Driver_model_inv
                                             : t->Test_load;
    unsigned limit = id == TDS_TEST_LOAD ? 110 : geFileVersion < 4 ? 20 : 40;
    if (dst[0] != '\0')
        ERRLOG_LineErrorNew(2324, subName, t->name);
    else
        SUBPARM_NameValue(text, subName, dst, limit, &s_valueCodes);
}

void TESTDATA_ReceiveLine(int lineKind, int keywordCode, const char* text)
{
    CMN_ASSERT(text != nullptr);
    TestDataRecord* t = gCurrentTestData;
    if (t == nullptr) {
        ERRLOG_LineErrorNew(lineKind == PARSE_LINE_KEYWORD ? 2302 : 2303);
        return;
    }
    if (lineKind == PARSE_LINE_KEYWORD)
        s_KeywordLine(t, keywordCode, text);
    else if (s_eKeyword == KW_TEST_DATA)
        s_SubParameter(t, text);
    else if (s_IsGolden(s_eKeyword)) {
        if (s_bTableMade) WVFRM_ReceiveLine(text, s_golden[s_eKeyword - KW_RISING_WAVEFORM_NEAR].name);
    } else
        ERRLOG_LineErrorNew(2313);
}

void TESTDATA_Fini(int nextKeywordCode)
{
    const TestDataRecord* t = gCurrentTestData;
    if (t == nullptr) return;
    if (s_eKeyword == KW_TEST_DATA) {
        if (t->Test_data_type == 0) ERRLOG_ErrorNew(2332, t->name, "Test_data_type");
        if (t->Driver_model[0] == '\0') ERRLOG_ErrorNew(2332, t->name, "Driver_model");
        if (t->Driver_model_inv[0] != '\0' && t->Test_data_type != 3)
            ERRLOG_ErrorNew(2333, t->name);
        if (t->Test_load[0] == '\0') ERRLOG_ErrorNew(2332, t->name, "Test_load");
    } else if (s_IsGolden(s_eKeyword) && s_bTableMade) {
        WVFRM_Fini(s_golden[s_eKeyword - KW_RISING_WAVEFORM_NEAR].name, WVFRM_KIND_GOLDEN);
    }
    s_bTableMade = 0;
    if (s_IsGolden(nextKeywordCode)) return;
    int any = 0;
    for (const WaveformRecord* w : t->golden) any |= w != nullptr;
    if (!any) ERRLOG_ErrorNew(2334, t->name);
    if (t->Test_data_type != 3 &&
        (t->golden[TD_DIFF_RISING_NEAR] || t->golden[TD_DIFF_FALLING_NEAR] ||
         t->golden[TD_DIFF_RISING_FAR] || t->golden[TD_DIFF_FALLING_FAR]))
        ERRLOG_ErrorNew(2335, t->name);
    gCurrentTestData = nullptr;
    s_eKeyword = KW_NOT_KEY;
}

int TESTDATA_NameExists(const char* name, const TestDataRecord* list)
{
    CMN_ASSERT(name != nullptr);
    return IBIS_FindInList(const_cast<TestDataRecord*>(list), &IBIS::testData,
                           &IBIS_Names::testData, s_NameOf, name) != nullptr;
}

// Input-only, terminator and series types cannot drive.
static int s_NotOutputType(int type)
{
    return type == 2 || type == 12 || type == 15 || type == 16 || type == 17;
}

void TESTDATA_TestList(const TestDataRecord* list)
{
    for (const TestDataRecord* t = list; t != nullptr; t = t->next) {
        IBIS* ibis = nullptr;
        if (!IBIS_GetIBIS(&ibis)) {
            ERRLOG_BugNew(2336, CMN_MODULE_PATH, __LINE__);
            continue;
        }
        ModelRecord* models = nullptr;
        if (!IBIS_GetMdls(ibis, &models)) {
            ERRLOG_ErrorNew(2337, t->name);
        } else {
            if (t->Driver_model[0] != '\0') {
                const ModelRecord* m = MDL_FindModel(t->Driver_model, models);
                if (m == nullptr)
                    ERRLOG_ErrorNew(2338, t->Driver_model, t->name);
                else if (s_NotOutputType(m->Model_type))
                    ERRLOG_WarnNew(2339, t->Driver_model, t->name);
            }
            if (t->Driver_model_inv[0] != '\0') {
                ModelRecord* m = MDL_FindModel(t->Driver_model_inv, models);
                if (m == nullptr) {
                    ERRLOG_ErrorNew(2340, t->Driver_model_inv, t->name);
                } else {
                    if (s_NotOutputType(m->Model_type))
                        ERRLOG_WarnNew(2339, t->Driver_model_inv, t->name);
                    if (!CMPNT_IsDifferentialPinModel(m, nullptr))
                        ERRLOG_WarnNew(2341, t->Driver_model_inv, t->name);
                }
            }
        }
        TestLoadRecord* loads = nullptr;
        if (!IBIS_GetTestLoad(ibis, &loads)) {
            ERRLOG_ErrorNew(2342, t->name);
        } else if (t->Test_load[0] != '\0') {
            const TestLoadRecord* l = TESTLOAD_Find(t->Test_load, loads);
            if (l == nullptr)
                ERRLOG_ErrorNew(2343, t->Test_load, t->name);
            else if (l->Test_load_type != t->Test_data_type)
                ERRLOG_ErrorNew(2344, t->name, t->Test_load);
        }
    }
}

void TESTDATA_Free(TestDataRecord* t)
{
    if (t == nullptr) return;
    for (WaveformRecord* w : t->golden) WVFRM_Free(w);
    free(t);
}

void TESTDATA_FreeList(TestDataRecord* list)
{
    while (list != nullptr) {
        TestDataRecord* next = list->next;
        TESTDATA_Free(list);
        list = next;
    }
}
