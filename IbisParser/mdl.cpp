// [Model]: one ModelRecord per model with its sub-parameter values, its
// single-line keywords and the hand-over of every other model keyword to the
// module that reads it; the end-of-model rules and the model look-ups.
#include "mdl.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "cmpnt.h"
#include "errlog.h"
#include "ibis.h"
#include "parse.h"
#include "smos.h"

#if __has_include("submdl.h")
#include "submdl.h"
#define MDL_HAVE_SUBMODELS 1
#endif

#define CMN_MODULE_PATH "IbisParser/mdl"

ModelRecord* gCurrentModel;
int gCurrentKeyword = KW_NOT_KEY;
SeriesInfoRecord* gCurrentSeries;
WaveformRecord* gLastRiseFallParsed;

// Word tables: {word, code}, closed by the end row.
typedef struct {
    const char* word;
    int code;
} MDL_WORD;

static const MDL_WORD io_types[] = {
    {"Input", 2}, {"Output", 3}, {"I/O", 4}, {"3-state", 5}, {"Open_drain", 6},
    {"I/O_open_drain", 7}, {"Open_sink", 8}, {"I/O_open_sink", 9}, {"Open_source", 10},
    {"I/O_open_source", 11}, {"Input_ECL", 12}, {"Output_ECL", 13}, {"I/O_ECL", 14},
    {"Terminator", 15}, {"Series", 16}, {"Series_switch", 17}, {"3-state_ECL", 18},
    {"I/O_diff", 19}, {"Output_diff", 20}, {"3-state_diff", 21}, {"Input_diff", 22},
    {"No Type", 1},
};

enum {
    SUB_MODEL_TYPE = 1, SUB_POLARITY, SUB_ENABLE, SUB_VINL, SUB_VINH, SUB_VMEAS, SUB_CREF,
    SUB_RREF, SUB_VREF, SUB_RREF_DIFF, SUB_CREF_DIFF, SUB_C_COMP, SUB_C_COMP_PULLUP,
    SUB_C_COMP_PULLDOWN, SUB_C_COMP_POWER_CLAMP, SUB_C_COMP_GND_CLAMP
};

static const MDL_WORD model_subs[] = {
    {"Model_type", 1}, {"Polarity", 2}, {"Enable", 3}, {"Vinl", 4}, {"Vinh", 5},
    {"Vmeas", 6}, {"Cref", 7}, {"Rref", 8}, {"Vref", 9}, {"Rref_diff", 10},
    {"Cref_diff", 11}, {"C_comp", 12}, {"C_comp_pullup", 13}, {"C_comp_pulldown", 14},
    {"C_comp_power_clamp", 15}, {"C_comp_gnd_clamp", 16}, {"NOT_SUB", 0},
};

static const MDL_WORD polarities[] = {{"Non-Inverting", 2}, {"Inverting", 3}, {"No Polarity", 1}};
static const MDL_WORD enables[] = {{"Active-High", 2}, {"Active-Low", 3}, {"No Enable", 1}};
static const MDL_WORD submdlmodes[] = {
    {"Driving", 0}, {"Non-Driving", 1}, {"All", 2}, {"No Mode", 3}};

// Model-type sets.
#define TB(t) (1UL << (t))
static const unsigned long kReceivers = TB(MDL_INPUT) | TB(MDL_IO) | TB(MDL_IO_OPEN_DRAIN) |
                                        TB(MDL_IO_OPEN_SINK) | TB(MDL_IO_OPEN_SOURCE) |
                                        TB(MDL_INPUT_ECL) | TB(MDL_IO_ECL);
static const unsigned long kBidirectional = TB(MDL_IO) | TB(MDL_IO_OPEN_DRAIN) |
                                            TB(MDL_IO_OPEN_SINK) | TB(MDL_IO_OPEN_SOURCE) |
                                            TB(MDL_IO_ECL);
static const unsigned long kNoRamp =
    TB(MDL_INPUT) | TB(MDL_INPUT_ECL) | TB(MDL_TERMINATOR) | TB(MDL_INPUT_DIFF);
static const unsigned long kSeries = TB(MDL_SERIES) | TB(MDL_SERIES_SWITCH);
static const unsigned long kOpenEcl = TB(MDL_OPEN_DRAIN) | TB(MDL_IO_OPEN_DRAIN) |
                                      TB(MDL_OPEN_SINK) | TB(MDL_IO_OPEN_SINK) |
                                      TB(MDL_OPEN_SOURCE) | TB(MDL_IO_OPEN_SOURCE) |
                                      TB(MDL_OUTPUT_ECL) | TB(MDL_IO_ECL) | TB(MDL_3STATE_ECL);
static const unsigned long kDiffDrivers =
    TB(MDL_IO_DIFF) | TB(MDL_OUTPUT_DIFF) | TB(MDL_3STATE_DIFF);
static const unsigned long kPushPull = TB(MDL_OUTPUT) | TB(MDL_IO) | TB(MDL_3STATE);
static const unsigned long kNoTimingLoad = TB(MDL_INPUT_DIFF) | TB(MDL_INPUT) |
                                           TB(MDL_INPUT_ECL) | TB(MDL_TERMINATOR) | kSeries;
static const unsigned long kDiffRefTypes = kPushPull | kOpenEcl | kDiffDrivers;
static const unsigned long kNoDriving = TB(MDL_INPUT) | TB(MDL_INPUT_ECL) | TB(MDL_TERMINATOR);
static const unsigned long kNoNonDriving = TB(MDL_OUTPUT) | TB(MDL_OPEN_DRAIN) |
                                           TB(MDL_OPEN_SINK) | TB(MDL_OPEN_SOURCE) |
                                           TB(MDL_OUTPUT_ECL);

static int s_In(int type, unsigned long set)
{
    return type >= 0 && type < 32 && (set & TB(type)) != 0;
}

// Section state of the model being read.
static int s_bSectionMade;                 // the open section's record exists
static int s_iLastWaveKeyword;             // latest [Rising/Falling Waveform] of the model
static AddSubmodelEntry* s_pAddSubTail;    // tail of the current model's [Add Submodel] list

// ---------------------------------------------------------------------------
// Records and look-ups.

int MDL_New(ModelRecord** out)
{
    CMN_ASSERT(out != nullptr);
    if (!CMN_malloc((void**)out, sizeof(ModelRecord))) {
        *out = nullptr;
        ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    (*out)->singleEnded = 2;
    return 1;
}

void MDL_AddLink(ModelRecord* model, ModelRecord* next)
{
    CMN_ASSERT(model != nullptr);
    model->next = next;
}

static void s_ClearSections(void)
{
    gCurrentSeries = nullptr;
    gLastRiseFallParsed = nullptr;
    s_bSectionMade = 0;
    s_iLastWaveKeyword = KW_NOT_KEY;
    s_pAddSubTail = nullptr;
    SMOS_Reset();
    WVFRM_Reset();
}

void MDL_Init(void)
{
    IBIS* ibis = nullptr;
    gCurrentModel = nullptr;
    s_ClearSections();
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_BugNew(101);
        return;
    }
    ModelRecord* m = nullptr;
    if (!MDL_New(&m)) return;
    gCurrentModel = m;
    IBIS_AddMdl(ibis, m);
}

void MDL_Reset(void)
{
    gCurrentModel = nullptr;
    gCurrentKeyword = KW_NOT_KEY;
    s_ClearSections();
    CRV_Reset();
    DRVSH_Reset();
    MSPEC_Reset();
    MDLEMI_Reset();
}

static void s_FreeSeries(SeriesInfoRecord* s)
{
    if (s != nullptr) SINFO_Free(s);
}

void MDL_Free(ModelRecord* m)
{
    if (m == nullptr) return;
    free(m->Vinl);
    free(m->Vinh);
    free(m->Vmeas);
    free(m->Cref);
    free(m->Rref);
    free(m->Vref);
    free(m->Cref_diff);
    free(m->Rref_diff);
    TypMinMax* ranges[] = {m->C_comp, m->C_comp_pullup, m->C_comp_pulldown,
                           m->C_comp_power_clamp, m->C_comp_gnd_clamp, m->TempRange,
                           m->VoltageRange, m->PullupRef, m->PulldownRef, m->PowerClampRef,
                           m->GndClampRef, m->ExternalRef, m->TTgnd, m->TTpower, m->Rgnd,
                           m->Rpower, m->Rac, m->Cac};
    for (TypMinMax* r : ranges) RNG_Free(r);
    CurveRecord* curves[] = {m->Pulldown, m->Pullup, m->GndClamp, m->PowerClamp,
                             m->ISSO_PU, m->ISSO_PD};
    for (CurveRecord* c : curves) CRV_Free(c);
    DRVSH_Free(m->DriverSchedule);
    MSPEC_Free(m->ModelSpec);
    RCVTH_Free(m->RcvThresholds);
    s_FreeSeries(m->On);
    s_FreeSeries(m->Off);
    for (AddSubmodelEntry* e = m->AddSubmodel; e != nullptr;) {
        AddSubmodelEntry* next = e->next;
        free(e);
        e = next;
    }
    RAMP_Free(m->Ramp);
    WVFRM_Free(m->RisingWaveform);
    WVFRM_Free(m->FallingWaveform);
    EXTERN_FreeData(m->ExternalModel);
    // [Algorithmic Model]: its module releases the list here once it is part
    // of the library (ALGMOD_Free); until then the list is never made.
    MDLEMI_Free(m->Emi);
    free(m);
}

void MDL_FreeList(ModelRecord* first)
{
    while (first != nullptr) {
        ModelRecord* next = first->next;
        if (first == gCurrentModel) MDL_Reset();
        MDL_Free(first);
        first = next;
    }
}

int MDL_NameExists(const char* name, ModelRecord* list)
{
    CMN_ASSERT(name != nullptr);
    ModelRecord* m = list == nullptr ? nullptr : MDL_FindModel(name, list);
    if (m == nullptr) return 0;
    m->referenced = 1;
    return 1;
}

ModelRecord* MDL_FindModel(const char* name, ModelRecord* list)
{
    CMN_ASSERT(name != nullptr);
    for (ModelRecord* m = list; m != nullptr; m = m->next)
        if (strcmp(m->name, name) == 0) return m;
    return nullptr;
}

int MDL_GetType(ModelRecord* list, const char* name, int* type)
{
    CMN_ASSERT(name != nullptr && type != nullptr);
    ModelRecord* m = MDL_FindModel(name, list);
    if (m == nullptr) return 0;
    *type = m->Model_type;
    return 1;
}

void MDL_FindTypeName(int type, const char** name)
{
    CMN_ASSERT(name != nullptr);
    *name = nullptr;
    for (const MDL_WORD* row = io_types; row->code != MDL_NO_TYPE; row++)
        if (row->code == type) *name = row->word;
}

// The type's word for messages; "No Type" when none is given or valid.
static const char* s_TypeWord(int type)
{
    const char* word = nullptr;
    MDL_FindTypeName(type, &word);
    return word != nullptr ? word : "No Type";
}

int MDL_isSubModel(const ModelRecord* m, const SubmodelRecord* s)
{
    CMN_ASSERT(m != nullptr && s != nullptr);
#ifdef MDL_HAVE_SUBMODELS
    for (const AddSubmodelEntry* e = m->AddSubmodel; e != nullptr; e = e->next)
        if (strcmp(e->name, s->name) == 0) return 1;
#endif
    return 0;
}

// The submodel list can only hold records once the submodel module is part
// of the library; until then every list given here is empty.
static int s_SubmodelNamed(const SubmodelRecord* list, const char* name)
{
#ifdef MDL_HAVE_SUBMODELS
    for (const SubmodelRecord* s = list; s != nullptr; s = s->next)
        if (strcmp(s->name, name) == 0) return 1;
#else
    (void)list;
    (void)name;
#endif
    return 0;
}

void MDL_TestSubMdls(ModelRecord* models, SubmodelRecord* submodels)
{
    for (ModelRecord* m = models; m != nullptr; m = m->next)
        for (AddSubmodelEntry* e = m->AddSubmodel; e != nullptr; e = e->next)
            if (!s_SubmodelNamed(submodels, e->name)) ERRLOG_ErrorNew(218, e->name, m->name);
}

void MDL_TestSubMdlReferences(ModelRecord* models, SubmodelRecord* submodels)
{
#ifdef MDL_HAVE_SUBMODELS
    for (SubmodelRecord* s = submodels; s != nullptr; s = s->next) {
        int used = 0;
        for (ModelRecord* m = models; m != nullptr && !used; m = m->next)
            used = MDL_isSubModel(m, s);
        if (!used) ERRLOG_WarnNew(220, s->name);
    }
#else
    (void)models;
    (void)submodels;
#endif
}

void MDL_TestMdlReference(ModelRecord* models)
{
    for (ModelRecord* m = models; m != nullptr; m = m->next) {
        if (!m->referenced) {
            ERRLOG_WarnNew(219, m->name);
            return;
        }
    }
}

// The receiver-threshold entry points over the record-level checks; until
// the component module can tell which models sit on differential pins,
// every model counts as single-ended.
void RCVTH_Fini(const ModelRecord* model)
{
    CMN_ASSERT(model != nullptr && model->RcvThresholds != nullptr);
    RCVTH_FiniCore(model->RcvThresholds, model->name);
}

void RCVTH_Check(const ModelRecord* models)
{
    for (const ModelRecord* m = models; m != nullptr; m = m->next) {
        if (m->RcvThresholds == nullptr) continue;
        // The look-up marks a model found on a differential pin pair.
        PinRecord* pin = nullptr;
        int differential = CMPNT_IsDifferentialPinModel(const_cast<ModelRecord*>(m), &pin);
        RCVTH_CheckOne(m->RcvThresholds, m->name, differential ? pin->pinName : nullptr);
    }
}

// ---------------------------------------------------------------------------
// Line helpers.

static const MDL_WORD* s_FindWord(const MDL_WORD* table, int rows, const char* word)
{
    for (int i = 0; i < rows; i++)
        if (strcmp(table[i].word, word) == 0) return &table[i];
    return nullptr;
}

// Matches a value word against the first rows of a table: exact, else a
// row that differs only in case is offered as a hint (136), else 158.
// Returns the row's code, or -1.
static int s_MatchValue(const MDL_WORD* table, int rows, const char* label, const char* value)
{
    for (int i = 0; i < rows; i++) {
        if (strcmp(table[i].word, value) == 0) return table[i].code;
        if (CMN_StrSameIC(table[i].word, value)) {
            ERRLOG_LineErrorNew(136, label, value, table[i].word);
            return -1;
        }
    }
    ERRLOG_LineErrorNew(158, label, value);
    return -1;
}

// Text after the first token of a line and its following blanks.
static const char* s_AfterWord(const char* text, const char* word)
{
    const char* p = text + strlen(word);
    while (*p && CMN_IsWhitespace((unsigned char)*p)) p++;
    return p;
}

static int s_IsNumber(uint32_t state) { return state == RNG_NUMBER; }

// A range on a keyword line ([Voltage Range], [Rgnd], the series values...).
// warnAfterSeries: the keyword belongs before [On]/[Off] in a Series_switch
// model.  Returns 1 when a new value was stored.
static int s_SetKeywordRange(char* text, const char* name, TypMinMax** field, int warnAfterSeries)
{
    ModelRecord* m = gCurrentModel;
    if (*field != nullptr) {
        ERRLOG_LineErrorNew(119, name, m->name);
        return 0;
    }
    if (warnAfterSeries && m->Model_type == MDL_SERIES_SWITCH && gCurrentSeries != nullptr)
        ERRLOG_LineErrorNew(204, m->name, name);
    char* rest = text;
    if (!CMN_EatKeyword(&rest)) {
        ERRLOG_LineBugNew(125, name, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    RNG_ParseRange(rest, name, field);
    if (*field == nullptr) return 0;
    if ((*field)->typ_state == RNG_NA) ERRLOG_LineErrorNew(178);
    return 1;
}

static void s_TTSigns(const TypMinMax* r, int firstCode)
{
    if (s_IsNumber(r->typ_state) && r->typ_value < 0) ERRLOG_LineErrorNew(firstCode);
    if (s_IsNumber(r->min_state) && r->min_value < 0) ERRLOG_LineErrorNew(firstCode + 1);
    if (s_IsNumber(r->max_state) && r->max_value < 0) ERRLOG_LineErrorNew(firstCode + 2);
}

// ---------------------------------------------------------------------------
// Sub-parameter lines under [Model].

static int* s_WordField(ModelRecord* m, int id)
{
    switch (id) {
    case SUB_MODEL_TYPE: return &m->Model_type;
    case SUB_POLARITY: return &m->Polarity;
    default: return &m->Enable;
    }
}

static void s_WordSubParam(ModelRecord* m, int id, const char* word, const char* text)
{
    int* field = s_WordField(m, id);
    if (*field != 0) {
        ERRLOG_LineErrorNew(119, word, m->name);
        return;
    }
    *field = 1;
    ARG_LIST a;
    if (!CMN_ArgParsePlus(text, 2, '=', &a)) {
        ERRLOG_LineBugNew(134, word, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (a.iTotal == 1) {
        ERRLOG_LineErrorNew(175, word);
    } else if (a.iTotal > 2) {
        if (strcmp(a.psArgs[1], "=") == 0)
            ERRLOG_LineErrorNew(176, word);
        else
            ERRLOG_LineErrorNew(137, a.iTotal, word, 2);
    } else if (a.iTotal == 2) {
        const MDL_WORD* table = polarities;
        int rows = 2;
        if (id == SUB_MODEL_TYPE) {
            table = io_types;
            rows = geFileVersion < 3 ? 14 : geFileVersion == 3 ? 17 : 21;
        } else if (id == SUB_ENABLE) {
            table = enables;
        }
        int code = s_MatchValue(table, rows, word, a.psArgs[1]);
        if (code >= 0) *field = code;
    }
    CMN_ArgFree(&a);
}

// A single value "name = value"; stored only once its value was read.
static void s_SingleValue(ModelRecord* m, double** field, const char* word, const char* text)
{
    if (*field != nullptr) {
        ERRLOG_LineErrorNew(119, word, m->name);
        return;
    }
    ARG_LIST a;
    if (!RNG_SplitAssignment(text, word, 134, 176, 137, &a)) return;
    double value = 0.0;
    int ok = CMN_Get_Value(a.psArgs[2], &value) != 0;
    if (!ok) ERRLOG_LineErrorNew(149, word, a.psArgs[2]);
    CMN_ArgFree(&a);
    if (!ok) return;
    if (!CMN_malloc((void**)field, sizeof(double))) {
        *field = nullptr;
        ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        return;
    }
    **field = value;
}

static TypMinMax** s_CcompField(ModelRecord* m, int id)
{
    switch (id) {
    case SUB_C_COMP: return &m->C_comp;
    case SUB_C_COMP_PULLUP: return &m->C_comp_pullup;
    case SUB_C_COMP_PULLDOWN: return &m->C_comp_pulldown;
    case SUB_C_COMP_POWER_CLAMP: return &m->C_comp_power_clamp;
    default: return &m->C_comp_gnd_clamp;
    }
}

static void s_Ccomp(ModelRecord* m, int id, const char* word, const char* text)
{
    if (id != SUB_C_COMP && geFileVersion < 4) {
        ERRLOG_LineErrorNew(170 + (id - SUB_C_COMP_PULLUP));
        return;
    }
    TypMinMax** field = s_CcompField(m, id);
    if (*field != nullptr) {
        ERRLOG_LineErrorNew(119, word, m->name);
        return;
    }
    RNG_ParseRange(s_AfterWord(text, word), word, field);
    const TypMinMax* r = *field;
    if (r == nullptr) return;
    if (r->typ_state == RNG_NA) ERRLOG_LineErrorNew(178);
    int typ = s_IsNumber(r->typ_state), min = s_IsNumber(r->min_state),
        max = s_IsNumber(r->max_state);
    if (min && ((typ && r->min_value > r->typ_value) || (max && r->min_value > r->max_value)))
        ERRLOG_LineWarnNew(177, m->name, word);
    if (max && ((typ && r->typ_value > r->max_value) || (min && r->min_value > r->max_value)))
        ERRLOG_LineWarnNew(179, m->name, word);
}

static void s_SubParamLine(const char* text)
{
    ModelRecord* m = gCurrentModel;
    ARG_LIST a;
    if (!CMN_ArgParsePlus(text, 1, '=', &a)) {
        ERRLOG_LineBugNew(134, "Model Sub-Parameter", CMN_MODULE_PATH, __LINE__);
        return;
    }
    const MDL_WORD* row = a.iCount > 0 ? s_FindWord(model_subs, 16, a.psArgs[0]) : nullptr;
    CMN_ArgFree(&a);
    if (row == nullptr) {
        ERRLOG_LineErrorNew(174);
        return;
    }
    const char* word = row->word;
    int id = row->code;
    int type = m->Model_type;
    switch (id) {
    case SUB_MODEL_TYPE:
    case SUB_POLARITY:
    case SUB_ENABLE:
        s_WordSubParam(m, id, word, text);
        break;
    case SUB_VINL:
    case SUB_VINH:
        if (!s_In(type, kReceivers)) {
            ERRLOG_LineWarnNew(id == SUB_VINL ? 159 : 161, s_TypeWord(type));
            return;
        }
        s_SingleValue(m, id == SUB_VINL ? &m->Vinl : &m->Vinh, word, text);
        break;
    case SUB_VMEAS:
    case SUB_CREF:
    case SUB_RREF:
    case SUB_VREF: {
        if (s_In(type, kNoTimingLoad)) {
            ERRLOG_LineWarnNew(166 + (id - SUB_VMEAS), s_TypeWord(type));
            return;
        }
        double** field = id == SUB_VMEAS ? &m->Vmeas
                         : id == SUB_CREF ? &m->Cref
                         : id == SUB_RREF ? &m->Rref
                                          : &m->Vref;
        s_SingleValue(m, field, word, text);
        break;
    }
    case SUB_RREF_DIFF:
    case SUB_CREF_DIFF: {
        int isR = id == SUB_RREF_DIFF;
        if (geFileVersion < 4) {
            ERRLOG_LineErrorNew(isR ? 164 : 162);
            return;
        }
        if (!s_In(type, kDiffRefTypes)) {
            ERRLOG_LineWarnNew(isR ? 165 : 163, s_TypeWord(type));
            return;
        }
        s_SingleValue(m, isR ? &m->Rref_diff : &m->Cref_diff, word, text);
        break;
    }
    default:
        s_Ccomp(m, id, word, text);
        break;
    }
}

// ---------------------------------------------------------------------------
// [Add Submodel].

static void s_AddSubmodelKeyword(char* text)
{
    ModelRecord* m = gCurrentModel;
    if (m->AddSubmodel != nullptr) ERRLOG_LineErrorNew(208);
    char* rest = text;
    if (!CMN_EatKeyword(&rest)) {
        ERRLOG_LineBugNew(125, "Add Submodel", CMN_MODULE_PATH, __LINE__);
    } else {
        ARG_LIST a;
        if (!CMN_ArgParse(rest, 1, &a)) {
            ERRLOG_LineBugNew(134, "Add Submodel", CMN_MODULE_PATH, __LINE__);
        } else {
            if (a.iTotal > 0) ERRLOG_LineErrorNew(137, a.iTotal + 1, "Add Submodel", 1);
            CMN_ArgFree(&a);
        }
    }
    if (s_In(m->Model_type, kSeries)) ERRLOG_LineErrorNew(209);
}

static void s_AddSubmodelLine(const char* text)
{
    ModelRecord* m = gCurrentModel;
    ARG_LIST a;
    if (!CMN_ArgParse(text, 2, &a)) {
        ERRLOG_LineBugNew(134, "Add Submodel", CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (a.iTotal == 0) {
        ERRLOG_LineErrorNew(211);
        CMN_ArgFree(&a);
        return;
    }
    if (a.iTotal > 2) ERRLOG_LineErrorNew(210);
    AddSubmodelEntry* e = nullptr;
    if (!CMN_malloc((void**)&e, sizeof(AddSubmodelEntry))) {
        ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        CMN_ArgFree(&a);
        return;
    }
    e->mode = 3;
    const char* name = a.psArgs[0];
    if (strlen(name) > 20)
        ERRLOG_LineErrorNew(212, 20);
    else if (!CMN_ReservedWord(name))
        ERRLOG_LineErrorNew(213, name);
    CMN_strncpy(e->name, name, 20);
    // The tail belongs to the current model only.
    if (m->AddSubmodel == nullptr) {
        m->AddSubmodel = e;
    } else {
        if (s_pAddSubTail == nullptr)
            for (s_pAddSubTail = m->AddSubmodel; s_pAddSubTail->next; s_pAddSubTail = s_pAddSubTail->next) {
            }
        s_pAddSubTail->next = e;
    }
    s_pAddSubTail = e;
    if (a.iTotal < 2) {
        ERRLOG_LineErrorNew(215);
    } else {
        int mode = s_MatchValue(submdlmodes, 3, "Add Submodel Mode", a.psArgs[1]);
        if (mode >= 0) {
            e->mode = mode;
            if (mode == 0 && s_In(m->Model_type, kNoDriving)) ERRLOG_LineErrorNew(216);
            if (mode == 1 && s_In(m->Model_type, kNoNonDriving)) ERRLOG_LineErrorNew(217);
        }
    }
    CMN_ArgFree(&a);
}

// ---------------------------------------------------------------------------
// Keyword lines.

static void s_ModelName(char* text)
{
    ModelRecord* m = gCurrentModel;
    char* rest = text;
    if (!CMN_EatKeyword(&rest)) {
        ERRLOG_LineBugNew(125, "Model", CMN_MODULE_PATH, __LINE__);
        return;
    }
    ARG_LIST a;
    if (!CMN_ArgParse(rest, 1, &a)) {
        ERRLOG_ErrorNew(127);
        return;
    }
    if (a.iTotal != 1) ERRLOG_LineErrorNew(128, a.iTotal, "Model", 1);
    if (a.iCount > 0) {
        const char* name = a.psArgs[0];
        size_t limit = geFileVersion < 4 ? 20 : 40;
        if (strlen(name) > limit) {
            ERRLOG_LineErrorNew(129, (int)limit);
        } else if (!CMN_ReservedWord(name)) {
            ERRLOG_LineErrorNew(130, name);
        } else if (MDL_FindModel(name, m->next) != nullptr) {
            ERRLOG_LineErrorNew(131, name);
        }
        CMN_strncpy(m->name, name, limit);
    }
    CMN_ArgFree(&a);
}

// Whether any keyword that must come after [Model Spec] (and, without
// withThresholds, after [Receiver Thresholds]) was already given.
static int s_LaterKeywordsGiven(const ModelRecord* m, int withThresholds)
{
    const void* items[] = {m->TempRange, m->VoltageRange, m->PullupRef, m->PulldownRef,
                           m->PowerClampRef, m->GndClampRef, m->TTgnd, m->TTpower,
                           m->DriverSchedule, m->Pullup, m->Pulldown, m->PowerClamp,
                           m->GndClamp, m->Rgnd, m->Rpower, m->Rac, m->Cac, m->Ramp,
                           m->RisingWaveform, m->FallingWaveform, m->AddSubmodel};
    for (const void* p : items)
        if (p != nullptr) return 1;
    if (withThresholds && (m->RcvThresholds || m->ISSO_PD || m->ISSO_PU)) return 1;
    return 0;
}

// The series record that series keywords fill; made on first use.
static SeriesInfoRecord* s_SeriesRecord(void)
{
    ModelRecord* m = gCurrentModel;
    if (!s_In(m->Model_type, kSeries)) {
        ERRLOG_LineErrorNew(206);
        return nullptr;
    }
    if (gCurrentSeries == nullptr) {
        if (m->Model_type == MDL_SERIES_SWITCH) ERRLOG_LineErrorNew(207);
        if (m->On == nullptr && !SINFO_Alloc(&m->On)) return nullptr;
        gCurrentSeries = m->On;
    }
    return gCurrentSeries;
}

static const char* s_CurveName(int code)
{
    switch (code) {
    case KW_PULLDOWN: return "Pulldown";
    case KW_PULLUP: return "Pullup";
    case KW_GND_CLAMP: return "GND Clamp";
    case KW_POWER_CLAMP: return "POWER Clamp";
    case KW_ISSO_PD: return "ISSO_PD";
    default: return "ISSO_PU";
    }
}

static CurveRecord** s_CurveField(ModelRecord* m, int code)
{
    switch (code) {
    case KW_PULLDOWN: return &m->Pulldown;
    case KW_PULLUP: return &m->Pullup;
    case KW_GND_CLAMP: return &m->GndClamp;
    case KW_POWER_CLAMP: return &m->PowerClamp;
    case KW_ISSO_PD: return &m->ISSO_PD;
    default: return &m->ISSO_PU;
    }
}

// The single-line range keywords of a model: name and field.
static int s_RangeKeyword(ModelRecord* m, int code, const char** name, TypMinMax*** field)
{
    switch (code) {
    case KW_TEMPERATURE_RANGE: *name = "Temperature Range"; *field = &m->TempRange; return 1;
    case KW_VOLTAGE_RANGE: *name = "Voltage Range"; *field = &m->VoltageRange; return 1;
    case KW_PULLUP_REFERENCE: *name = "Pullup Reference"; *field = &m->PullupRef; return 1;
    case KW_PULLDOWN_REFERENCE: *name = "Pulldown Reference"; *field = &m->PulldownRef; return 1;
    case KW_POWER_CLAMP_REFERENCE: *name = "POWER Clamp Reference"; *field = &m->PowerClampRef; return 1;
    case KW_GND_CLAMP_REFERENCE: *name = "GND Clamp Reference"; *field = &m->GndClampRef; return 1;
    case KW_EXTERNAL_REFERENCE: *name = "External Reference"; *field = &m->ExternalRef; return 1;
    case KW_RGND: *name = "Rgnd"; *field = &m->Rgnd; return 1;
    case KW_RPOWER: *name = "Rpower"; *field = &m->Rpower; return 1;
    case KW_RAC: *name = "Rac"; *field = &m->Rac; return 1;
    case KW_CAC: *name = "Cac"; *field = &m->Cac; return 1;
    case KW_TTGND: *name = "TTgnd"; *field = &m->TTgnd; return 1;
    case KW_TTPOWER: *name = "TTpower"; *field = &m->TTpower; return 1;
    default: return 0;
    }
}

static int s_SeriesRange(SeriesInfoRecord* s, int code, const char** name, TypMinMax*** field)
{
    switch (code) {
    case KW_R_SERIES: *name = "R_series"; *field = &s->R_series; return 1;
    case KW_L_SERIES: *name = "L_series"; *field = &s->L_series; return 1;
    case KW_RL_SERIES: *name = "Rl_series"; *field = &s->Rl_series; return 1;
    case KW_C_SERIES: *name = "C_series"; *field = &s->C_series; return 1;
    case KW_LC_SERIES: *name = "Lc_series"; *field = &s->Lc_series; return 1;
    case KW_RC_SERIES: *name = "Rc_series"; *field = &s->Rc_series; return 1;
    default: return 0;
    }
}

static void s_SeriesKeyword(int code, char* text)
{
    SeriesInfoRecord* s = s_SeriesRecord();
    if (s == nullptr) return;
    const char* name;
    TypMinMax** field;
    if (s_SeriesRange(s, code, &name, &field)) {
        s_SetKeywordRange(text, name, field, 0);
    } else if (code == KW_SERIES_CURRENT) {
        s_bSectionMade = CRV_New(text, "Series_Current", &s->SeriesCurrent);
    } else {
        SeriesMosfetRecord* made = nullptr;
        s_bSectionMade = SMOS_New(text, &s->SeriesMosfets, &made) &&
                         CRV_New(text, "Series_MOSFET", &made->table);
    }
}

static void s_OnOff(int code, char* text)
{
    ModelRecord* m = gCurrentModel;
    if (m->Model_type != MDL_SERIES_SWITCH) {
        ERRLOG_LineErrorNew(205);
        return;
    }
    SeriesInfoRecord** slot = code == KW_ON ? &m->On : &m->Off;
    // The record may be replaced: nothing may keep pointing into it.
    if (gCurrentSeries == *slot) gCurrentSeries = nullptr;
    SMOS_Reset();
    if (SINFO_New(text, slot, code == KW_ON ? "[On]" : "[Off]")) gCurrentSeries = *slot;
}

static void s_CompositeCurrent(int previous, char* text)
{
    ModelRecord* m = gCurrentModel;
    gLastRiseFallParsed = nullptr;
    if (previous != KW_RISING_WAVEFORM && previous != KW_FALLING_WAVEFORM) {
        ERRLOG_LineErrorNew(257);
        previous = s_iLastWaveKeyword;
    }
    WaveformRecord* w = previous == KW_RISING_WAVEFORM    ? m->RisingWaveform
                        : previous == KW_FALLING_WAVEFORM ? m->FallingWaveform
                                                          : nullptr;
    if (w == nullptr) return;
    while (w->next != nullptr) w = w->next;
    if (w->composite_current != nullptr) {
        ERRLOG_LineErrorNew(263);
        WVFRM_Reset();
        WaveformRecord* old = w->composite_current;
        w->composite_current = nullptr;
        WVFRM_Free(old);
    }
    if (WVFRM_New(text, &w->composite_current, "Composite Current")) gLastRiseFallParsed = w;
}

static void s_KeywordLine(int code, char* text)
{
    ModelRecord* m = gCurrentModel;
    int previous = gCurrentKeyword;
    gCurrentKeyword = code;
    s_bSectionMade = 0;
    if (code < KW_EXTERNAL_MODEL || code > KW_BEGIN_EMI_MODEL) return;
    const char* name;
    TypMinMax** field;
    if (s_RangeKeyword(m, code, &name, &field)) {
        int beforeOnOff = code <= KW_GND_CLAMP_REFERENCE;
        if (s_SetKeywordRange(text, name, field, beforeOnOff) && (code == KW_TTGND || code == KW_TTPOWER))
            s_TTSigns(*field, code == KW_TTGND ? 108 : 112);
        return;
    }
    switch (code) {
    case KW_EXTERNAL_MODEL:
        if (m->ExternalModel != nullptr) {
            ERRLOG_LineErrorNew(119, "[External_Model]", m->name);
        } else if (!CMN_malloc((void**)&m->ExternalModel, sizeof(ExternalModelData))) {
            m->ExternalModel = nullptr;
            ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        }
        break;
    case KW_MODEL:
        s_ModelName(text);
        break;
    case KW_PULLDOWN:
    case KW_PULLUP:
    case KW_GND_CLAMP:
    case KW_POWER_CLAMP:
    case KW_ISSO_PD:
    case KW_ISSO_PU:
        CRV_New(text, s_CurveName(code), s_CurveField(m, code));
        break;
    case KW_RAMP:
        RAMP_New(text, &m->Ramp);
        break;
    case KW_RISING_WAVEFORM:
    case KW_FALLING_WAVEFORM:
        s_iLastWaveKeyword = code;
        s_bSectionMade =
            WVFRM_New(text, code == KW_RISING_WAVEFORM ? &m->RisingWaveform : &m->FallingWaveform,
                      code == KW_RISING_WAVEFORM ? "Rising Waveform" : "Falling Waveform");
        break;
    case KW_MODEL_SPEC:
        if (s_LaterKeywordsGiven(m, 1)) ERRLOG_LineErrorNew(116);
        MSPEC_New(text, &m->ModelSpec);
        break;
    case KW_RECEIVER_THRESHOLDS:
        if (s_LaterKeywordsGiven(m, 0)) ERRLOG_LineErrorNew(120);
        if (!s_In(m->Model_type, kReceivers)) ERRLOG_LineWarnNew(117, s_TypeWord(m->Model_type));
        RCVTH_New(text, &m->RcvThresholds);
        break;
    case KW_DRIVER_SCHEDULE:
        DRVSH_New(text, &m->DriverSchedule, previous);
        break;
    case KW_ON:
    case KW_OFF:
        s_OnOff(code, text);
        break;
    case KW_R_SERIES:
    case KW_L_SERIES:
    case KW_RL_SERIES:
    case KW_C_SERIES:
    case KW_LC_SERIES:
    case KW_RC_SERIES:
    case KW_SERIES_CURRENT:
    case KW_SERIES_MOSFET:
        s_SeriesKeyword(code, text);
        break;
    case KW_ADD_SUBMODEL:
        s_AddSubmodelKeyword(text);
        break;
    case KW_ALGORITHMIC_MODEL:
        // [Algorithmic Model] stand-in: until its module is part of the
        // library (ALGMOD_New here, ALGMOD_ReceiveLine for its lines,
        // ALGMOD_Fini at its end, ALGMOD_Free in MDL_Free) no list is made
        // and its lines are dropped; 259 and 261 are logged all the same.
        break;
    case KW_COMPOSITE_CURRENT:
        s_CompositeCurrent(previous, text);
        break;
    case KW_BEGIN_EMI_MODEL:
        MDLEMI_New(text, &m->Emi, previous);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Data lines.

static void s_DataLine(int code, char* text)
{
    ModelRecord* m = gCurrentModel;
    switch (code) {
    case KW_EXTERNAL_MODEL:
        // Its sub-parameter lines are read once the external-model reader
        // is part of the library; until then they are dropped.
        break;
    case KW_MODEL:
        s_SubParamLine(text);
        break;
    case KW_TEMPERATURE_RANGE: case KW_VOLTAGE_RANGE: case KW_PULLUP_REFERENCE:
    case KW_PULLDOWN_REFERENCE: case KW_POWER_CLAMP_REFERENCE: case KW_GND_CLAMP_REFERENCE:
    case KW_EXTERNAL_REFERENCE: case KW_RGND: case KW_RPOWER: case KW_RAC: case KW_CAC:
    case KW_TTGND: case KW_TTPOWER: case KW_ON: case KW_OFF: case KW_R_SERIES:
    case KW_L_SERIES: case KW_RL_SERIES: case KW_C_SERIES: case KW_LC_SERIES:
    case KW_RC_SERIES:
        ERRLOG_LineErrorNew(121);
        break;
    case KW_PULLDOWN: case KW_PULLUP: case KW_GND_CLAMP: case KW_POWER_CLAMP:
    case KW_ISSO_PD: case KW_ISSO_PU: {
        CurveRecord* c = *s_CurveField(m, code);
        if (c != nullptr) CRV_ReceiveLine(text, c, s_CurveName(code));
        break;
    }
    case KW_RAMP:
        if (m->Ramp != nullptr) RAMP_ReceiveLine(text, m->Ramp, m->name);
        break;
    case KW_RISING_WAVEFORM:
    case KW_FALLING_WAVEFORM:
        if (s_bSectionMade)
            WVFRM_ReceiveLine(text, code == KW_RISING_WAVEFORM ? "Rising Waveform" : "Falling Waveform");
        break;
    case KW_MODEL_SPEC:
        if (m->ModelSpec != nullptr) MSPEC_ReceiveLine(text, m->ModelSpec, m->name);
        break;
    case KW_RECEIVER_THRESHOLDS:
        if (m->RcvThresholds != nullptr) RCVTH_ReceiveLine(text, m->RcvThresholds, m->name);
        break;
    case KW_DRIVER_SCHEDULE:
        if (m->DriverSchedule != nullptr) DRVSH_ReceiveLine(text, m->DriverSchedule, m->name);
        break;
    case KW_SERIES_CURRENT: {
        SeriesInfoRecord* s = s_SeriesRecord();
        if (s != nullptr && s->SeriesCurrent != nullptr)
            CRV_ReceiveLine(text, s->SeriesCurrent, "Series_Current");
        break;
    }
    case KW_SERIES_MOSFET:
        if (s_SeriesRecord() != nullptr) SMOS_ReceiveLine(text);
        break;
    case KW_ADD_SUBMODEL:
        s_AddSubmodelLine(text);
        break;
    case KW_ALGORITHMIC_MODEL:
        // [Algorithmic Model] stand-in: ALGMOD_ReceiveLine once its module
        // is part of the library.
        break;
    case KW_COMPOSITE_CURRENT:
        if (gLastRiseFallParsed != nullptr) WVFRM_ReceiveLine(text, "Composite Current");
        break;
    case KW_BEGIN_EMI_MODEL:
        if (m->Emi != nullptr) MDLEMI_ReceiveLine(text, m->Emi);
        break;
    case KW_END_EMI_MODEL:
        ERRLOG_LineErrorNew(174);
        break;
    default:
        // Text after [End External Model] or [End Algorithmic Model].
        ERRLOG_LineErrorNew(122, CMN_MODULE_PATH, __LINE__);
        break;
    }
}

void MDL_ReceiveLine(int lineKind, int keywordCode, char* text)
{
    CMN_ASSERT(text != nullptr);
    if (gCurrentModel == nullptr) {
        ERRLOG_LineErrorNew(lineKind == PARSE_LINE_KEYWORD ? 102 : 107);
        return;
    }
    if (lineKind == PARSE_LINE_KEYWORD)
        s_KeywordLine(keywordCode, text);
    else
        s_DataLine(keywordCode, text);
}

// ---------------------------------------------------------------------------
// End of a section and of a model.

static int s_ModelSpecGives(const ModelRecord* m, int which)
{
    const ModelSpecRecord* s = m->ModelSpec;
    if (s == nullptr) return 0;
    const TypMinMax* r = which == 0 ? s->Vmeas : which == 1 ? s->Vref : s->Rref;
    return r != nullptr;
}

void MDL_EndModel(ModelRecord* m)
{
    CMN_ASSERT(m != nullptr);
    const char* name = m->name;
    int type = m->Model_type;
    // 1. Input capacitance.
    if (!m->C_comp && !m->C_comp_pullup && !m->C_comp_pulldown && !m->C_comp_power_clamp &&
        !m->C_comp_gnd_clamp && !m->ExternalModel)
        ERRLOG_ErrorNew(181, name);
    // 2. Input thresholds.
    if (s_In(type, kReceivers) && m->RcvThresholds == nullptr) {
        if (m->Vinl == nullptr) ERRLOG_WarnNew(184, name, s_TypeWord(type), "Vinl");
        if (m->Vinh == nullptr) ERRLOG_WarnNew(184, name, s_TypeWord(type), "Vinh");
    }
    // 3. Terminator items.
    if (type != MDL_TERMINATOR) {
        if (m->Rgnd) ERRLOG_ErrorNew(185, name, "Rgnd");
        if (m->Rpower) ERRLOG_ErrorNew(185, name, "Rpower");
        if (m->Rac) ERRLOG_ErrorNew(185, name, "Rac");
        if (m->Cac) ERRLOG_ErrorNew(185, name, "Cac");
    }
    if (m->Cac && !m->Rac) ERRLOG_ErrorNew(186, name);
    if (m->Rac && !m->Cac) ERRLOG_ErrorNew(187, name);
    // 4. References.
    if (m->VoltageRange == nullptr) {
        if (!m->PullupRef) ERRLOG_ErrorNew(188, name, "Pullup Reference");
        if (!m->PulldownRef) ERRLOG_ErrorNew(188, name, "Pulldown Reference");
        if (!m->PowerClampRef) ERRLOG_ErrorNew(188, name, "POWER Clamp Reference");
        if (!m->GndClampRef) ERRLOG_ErrorNew(188, name, "GND Clamp Reference");
    }
    // 5. Ramp.
    if (s_In(type, kSeries)) {
        if (m->Ramp) ERRLOG_ErrorNew(189, name);
    } else if (!s_In(type, kNoRamp) && m->Ramp == nullptr) {
        ERRLOG_ErrorNew(190, name);
    }
    // 6. Series models.
    if (s_In(type, kSeries)) {
        int code = type == MDL_SERIES ? 191 : 192;
        const struct {
            const void* item;
            const char* word;
        } items[] = {{m->Pullup, "Pullup"}, {m->Pulldown, "Pulldown"},
                     {m->PowerClamp, "POWER_Clamp"}, {m->GndClamp, "GND_Clamp"},
                     {m->RisingWaveform, "Rising Waveform"},
                     {m->FallingWaveform, "Falling Waveform"}, {m->TTgnd, "TTgnd"},
                     {m->TTpower, "TTpower"}, {m->DriverSchedule, "Driver Schedule"}};
        for (const auto& it : items)
            if (it.item != nullptr) ERRLOG_ErrorNew(code, name, it.word);
        if (m->ModelSpec) ERRLOG_WarnNew(code, name, "Model Spec");
        if (type == MDL_SERIES) {
            // A Series model without any series element says so.
            if (m->On != nullptr)
                SINFO_Test(m->On, name, "");
            else
                ERRLOG_ErrorNew(2905, name, "");
        } else {
            if (m->On != nullptr)
                SINFO_Test(m->On, name, "[On]");
            else
                ERRLOG_ErrorNew(193, name);
            if (m->Off != nullptr)
                SINFO_Test(m->Off, name, "[Off]");
            else
                ERRLOG_ErrorNew(194, name);
        }
    }
    // 7. The reference supply of the thresholds.
    if (m->RcvThresholds != nullptr && m->RcvThresholds->Reference_supply != nullptr) {
        const char* ref = m->RcvThresholds->Reference_supply;
        if (strcmp(ref, "Power_clamp_ref") == 0 && !m->PowerClampRef) ERRLOG_ErrorNew(195, name);
        if (strcmp(ref, "Gnd_clamp_ref") == 0 && !m->GndClampRef) ERRLOG_ErrorNew(196, name);
        if (strcmp(ref, "Pullup_ref") == 0 && !m->PullupRef) ERRLOG_ErrorNew(197, name);
        if (strcmp(ref, "Pulldown_ref") == 0 && !m->PulldownRef) ERRLOG_ErrorNew(198, name);
        if (strcmp(ref, "Ext_ref") == 0 && !m->ExternalRef) ERRLOG_ErrorNew(199, name);
    }
    // 8. Timing test load.
    int vmeas = m->Vmeas || s_ModelSpecGives(m, 0);
    int vref = m->Vref || s_ModelSpecGives(m, 1);
    int rref = m->Rref || s_ModelSpecGives(m, 2);
    if (s_In(type, kOpenEcl)) {
        if (!vmeas || !vref || !rref) ERRLOG_WarnNew(200, name);
    } else if (s_In(type, kDiffDrivers)) {
        if (!m->Rref_diff && !m->Cref_diff) ERRLOG_WarnNew(202, name);
    } else if (s_In(type, kPushPull)) {
        if (!vmeas) ERRLOG_WarnNew(201, name);
    }
}

static void s_EndSubParams(const ModelRecord* m)
{
    if (m->Model_type == MDL_TYPE_NONE) ERRLOG_ErrorNew(180, m->name, "Model_type");
    if (s_In(m->Model_type, kBidirectional) && m->Vmeas != nullptr) {
        if (m->Vinl != nullptr && *m->Vinl >= *m->Vmeas) ERRLOG_CautionNew(182, m->name);
        if (m->Vinh != nullptr && *m->Vmeas >= *m->Vinh) ERRLOG_CautionNew(183, m->name);
    }
}

// Closes the open keyword section; 0 when the model's end is not decided
// here ([External Model] still open).
static int s_CloseSection(int nextCode)
{
    ModelRecord* m = gCurrentModel;
    int type = m->Model_type == MDL_TYPE_NONE ? MDL_NO_TYPE : m->Model_type;
    switch (gCurrentKeyword) {
    case KW_EXTERNAL_MODEL:
        // The [End External Model] checks run here once the external-model
        // reader is part of the library.
        if (nextCode != KW_END_EXTERNAL_MODEL) ERRLOG_LineErrorNew(123);
        return 0;
    case KW_MODEL:
        s_EndSubParams(m);
        break;
    case KW_PULLDOWN: case KW_PULLUP: case KW_GND_CLAMP: case KW_POWER_CLAMP:
    case KW_ISSO_PD: case KW_ISSO_PU: {
        CurveRecord* c = *s_CurveField(m, gCurrentKeyword);
        if (c != nullptr) CRV_Fini(m->name, type, gCurrentKeyword, c, s_CurveName(gCurrentKeyword), "Model");
        break;
    }
    case KW_RAMP:
        if (m->Ramp != nullptr) RAMP_Fini(m->Ramp);
        break;
    case KW_RISING_WAVEFORM:
    case KW_FALLING_WAVEFORM:
        if (s_bSectionMade)
            WVFRM_Fini(gCurrentKeyword == KW_RISING_WAVEFORM ? "Rising" : "Falling",
                       WVFRM_KIND_WAVEFORM);
        break;
    case KW_MODEL_SPEC:
        if (m->ModelSpec != nullptr) MSPEC_Fini(m);
        break;
    case KW_RECEIVER_THRESHOLDS:
        if (m->RcvThresholds != nullptr) RCVTH_Fini(m);
        break;
    case KW_DRIVER_SCHEDULE:
        if (m->DriverSchedule != nullptr) DRVSH_Fini(m->DriverSchedule, m->name);
        break;
    case KW_SERIES_CURRENT:
        if (s_bSectionMade && gCurrentSeries != nullptr && gCurrentSeries->SeriesCurrent != nullptr)
            CRV_Fini(m->name, type, KW_SERIES_CURRENT, gCurrentSeries->SeriesCurrent,
                     "Series_Current", "Model");
        break;
    case KW_SERIES_MOSFET:
        if (gCurrentSeries != nullptr) SMOS_Fini(m, KW_SERIES_MOSFET);
        break;
    case KW_ALGORITHMIC_MODEL:
        if (nextCode != KW_END_ALGORITHMIC_MODEL) ERRLOG_LineErrorNew(259);
        // [Algorithmic Model] stand-in: ALGMOD_Fini once its module is part
        // of the library.
        break;
    case KW_COMPOSITE_CURRENT:
        if (gLastRiseFallParsed != nullptr) {
            WVFRM_Fini("Composite Current", WVFRM_KIND_COMPOSITE);
            gLastRiseFallParsed = nullptr;
        }
        break;
    case KW_BEGIN_EMI_MODEL:
        if (nextCode != KW_END_EMI_MODEL) ERRLOG_LineErrorNew(260);
        if (m->Emi != nullptr) MDLEMI_Fini(m);
        break;
    default:
        break;
    }
    return 1;
}

void MDL_Fini(int nextCode)
{
    if (gCurrentModel == nullptr) return;
    if (!s_CloseSection(nextCode)) return;
    s_bSectionMade = 0;
    if (nextCode == KW_END_EMI_MODEL) {
        if (gCurrentKeyword != KW_BEGIN_EMI_MODEL) ERRLOG_LineErrorNew(262);
        return;
    }
    if (nextCode == KW_END_ALGORITHMIC_MODEL) {
        if (gCurrentKeyword != KW_ALGORITHMIC_MODEL) ERRLOG_LineErrorNew(261);
        return;
    }
    if (nextCode >= KW_EXTERNAL_MODEL && nextCode <= KW_END_EMI_MODEL && nextCode != KW_MODEL)
        return;
    MDL_EndModel(gCurrentModel);
    gCurrentModel = nullptr;
    s_ClearSections();
}
