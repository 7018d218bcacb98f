// [Model]: one ModelRecord per model with its sub-parameter values, its
// single-line keywords and the hand-over of every other model keyword to the
// module that reads it; the end-of-model rules and the model look-ups.
#include "mdl.h"

#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "nameidx.h"
#include "rowlist.h"
#include "cmn.h"
#include "cmpnt.h"
#include "errlog.h"
#include "ibis.h"
#include "parse.h"
#include "smos.h"
#include "submdl.h"
#include "algmod.h"

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

static const RNG_SUB_ENTRY model_subs[] = {
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

// The [External Model] and [External Circuit] reader, at the end of the file.
static void s_SetExtMdlSubParms(char* text, ExternalModelData* data, int isCircuit);
static void s_EndExternalModel(const ModelRecord* m);

// ---------------------------------------------------------------------------
// [Algorithmic Model]: the algmod module owns the list; the model keeps its
// head.  A keyword whose list could not be made leaves the field null and
// the section's lines are dropped.

static void s_AlgmodNew(ModelRecord* m, char* text, int previous)
{
    (void)previous;
    ALGMOD_New(text, &m->AlgorithmicModel);
}

static void s_AlgmodLine(ModelRecord* m, char* text)
{
    if (m->AlgorithmicModel != nullptr) ALGMOD_ReceiveLine(text, m->AlgorithmicModel);
}

static void s_AlgmodFini(ModelRecord* m)
{
    if (m->AlgorithmicModel != nullptr) ALGMOD_Fini(m->AlgorithmicModel);
}

static void s_AlgmodFree(ModelRecord* m)
{
    ALGMOD_Free(m->AlgorithmicModel);
    m->AlgorithmicModel = nullptr;
}

// What the algmod module's file checks read of a model.
static ModelRecord* s_ViewNext(ModelRecord* m) { return m->next; }
static const char* s_ViewName(ModelRecord* m) { return m->name; }
static AlgorithmicModelEntry** s_ViewList(ModelRecord* m) { return m->AlgorithmicModel; }
static const ALGMOD_MODEL_VIEW s_algmodView = {s_ViewNext, s_ViewName, s_ViewList};

const ALGMOD_MODEL_VIEW* MDL_AlgmodView(void) { return &s_algmodView; }

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
    FreeChain(m->AddSubmodel);
    RAMP_Free(m->Ramp);
    WVFRM_Free(m->RisingWaveform);
    WVFRM_Free(m->FallingWaveform);
    EXTERN_FreeData(m->ExternalModel);
    s_AlgmodFree(m);
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

// ---------------------------------------------------------------------------
// The index by name: pins, selectors, schedules and [Model] lines look models
// up by name, and a walk of the list for each would grow with the square of
// the models.  The container's index notes each model when its [Model] line
// has been read (with the name it keeps, empty when the line gave none), the
// newest of a name being the one found, as a walk from the head finds it.

// The container whose whole model list is list, or null.
static IBIS* s_ContainerOf(const ModelRecord* list)
{
    for (IBIS* c = gpIbis; c != nullptr && list != nullptr; c = c->next)
        if (c->models == list) return c;
    return nullptr;
}

// Notes a model whose [Model] line was read; its name is final.
static void s_IndexName(ModelRecord* m)
{
    IBIS* c = s_ContainerOf(m);
    if (c != nullptr) IBIS_NamesOf(c)->models.Put(m->name, m);
}

ModelRecord* MDL_FindModel(const char* name, ModelRecord* list)
{
    CMN_ASSERT(name != nullptr);
    if (list == nullptr) return nullptr;
    IBIS* c = s_ContainerOf(list);
    if (c == nullptr) {
        // A list that no container holds (one built by hand).
        for (ModelRecord* m = list; m != nullptr; m = m->next)
            if (strcmp(m->name, name) == 0) return m;
        return nullptr;
    }
    // Only the head can still wait for its [Model] line; every other model
    // of the list is in the index.
    if (strcmp(list->name, name) == 0) return list;
    return IBIS_NamesOf(c)->models.Find(name);
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
    for (const AddSubmodelEntry* e = m->AddSubmodel; e != nullptr; e = e->next)
        if (strcmp(e->name, s->name) == 0) return 1;
    return 0;
}

static const char* s_SubmodelName(const SubmodelRecord* s) { return s->name; }

void MDL_TestSubMdls(ModelRecord* models, SubmodelRecord* submodels)
{
    for (ModelRecord* m = models; m != nullptr; m = m->next)
        for (AddSubmodelEntry* e = m->AddSubmodel; e != nullptr; e = e->next)
            if (IBIS_FindInList(submodels, &IBIS::submodels, &IBIS_Names::submodels, s_SubmodelName,
                                e->name) == nullptr)
                ERRLOG_ErrorNew(218, e->name, m->name);
}

void MDL_TestSubMdlReferences(ModelRecord* models, SubmodelRecord* submodels)
{
    // The names that any model adds, gathered once.
    NameCount added;
    for (const ModelRecord* m = models; m != nullptr; m = m->next)
        for (const AddSubmodelEntry* e = m->AddSubmodel; e != nullptr; e = e->next)
            added.Add(e->name, e);
    for (SubmodelRecord* s = submodels; s != nullptr; s = s->next)
        if (!added.Has(s->name)) ERRLOG_WarnNew(220, s->name);
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

// The receiver-threshold entry points over the record-level checks; a model
// on a differential pin pair is checked with that pin's name.
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
    double value = 0.0;
    if (!RNG_ReadAssignment(text, word, 134, 176, 137, 149, 0, nullptr, nullptr, &value)) return;
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
    int id = RNG_FirstTokenId(text, model_subs);
    if (id == 0) {
        ERRLOG_LineErrorNew(174);
        return;
    }
    const char* word = model_subs[id - 1].name;
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

// Whether a model read before m carries name (m heads its container's list
// and is not noted in the index yet).
static int s_NamedBefore(const char* name, ModelRecord* m)
{
    IBIS* c = s_ContainerOf(m);
    if (c == nullptr) return MDL_FindModel(name, m->next) != nullptr;
    return IBIS_NamesOf(c)->models.Has(name);
}

static void s_ReadModelName(ModelRecord* m, char* text)
{
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
        } else if (s_NamedBefore(name, m)) {
            ERRLOG_LineErrorNew(131, name);
        }
        CMN_strncpy(m->name, name, limit);
    }
    CMN_ArgFree(&a);
}

static void s_ModelName(char* text)
{
    ModelRecord* m = gCurrentModel;
    s_ReadModelName(m, text);
    // Noted whatever the line gave: a model without a name is found by the
    // empty name, as along the list.
    s_IndexName(m);
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
    WaveformRecord** list = previous == KW_RISING_WAVEFORM    ? &m->RisingWaveform
                            : previous == KW_FALLING_WAVEFORM ? &m->FallingWaveform
                                                              : nullptr;
    WaveformRecord* w = list != nullptr ? WVFRM_Last(list) : nullptr;
    if (w == nullptr) return;
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
        s_AlgmodNew(m, text, previous);
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
        if (m->ExternalModel != nullptr) s_SetExtMdlSubParms(text, m->ExternalModel, 0);
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
        s_AlgmodLine(m, text);
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
        if (nextCode == KW_END_EXTERNAL_MODEL)
            s_EndExternalModel(m);
        else
            ERRLOG_LineErrorNew(123);
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
        s_AlgmodFini(m);
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

// ---------------------------------------------------------------------------
// [External Model] and [External Circuit]: one sub-parameter reader for both.

ExternalCircuitRecord* gCurrentExt;
int gbEtcFlag;

enum { EXT_SUB_LANGUAGE = 17, EXT_SUB_CORNER, EXT_SUB_PORTS, EXT_SUB_D_TO_A, EXT_SUB_A_TO_D,
       EXT_SUB_PARAMETERS, EXT_SUB_PORT_TYPE };

static const RNG_SUB_ENTRY extmodel_subs[] = {
    {"Language", 17}, {"Corner", 18}, {"Ports", 19}, {"D_to_A", 20}, {"A_to_D", 21},
    {"Parameters", 22}, {"Port_type", 23}, {"NOT_SUB", 0},
};
static const MDL_WORD extlanguage_subs[] = {
    {"SPICE", 27}, {"VHDL-AMS", 28}, {"VHDL-A(MS)", 27}, {"Verilog-AMS", 29},
    {"Verilog-A(MS)", 27}, {"", 0},
};
static const char* const ANALOG_PORTS[] = {"A_puref", "A_pcref", "A_pdref", "A_gcref",
                                           "A_signal", "A_extref", "A_gnd", "A_pos",
                                           "A_neg", "A_signal_pos", "A_signal_neg", "END"};
static const char* const DIGITAL_PORTS[] = {"D_drive", "D_enable", "D_receive", "D_switch", "END"};

static int s_InWords(const char* const* words, const char* name)
{
    for (; strcmp(*words, "END") != 0; words++)
        if (strcmp(*words, name) == 0) return 1;
    return 0;
}

int MDL_isReservedAnalogPort(const char* name)
{
    CMN_ASSERT(name != nullptr);
    return s_InWords(ANALOG_PORTS, name);
}

int MDL_isReservedDigitalPort(const char* name)
{
    CMN_ASSERT(name != nullptr);
    return s_InWords(DIGITAL_PORTS, name);
}

static PortName* s_NewName(const char* name)
{
    PortName* p = nullptr;
    if (!CMN_malloc((void**)&p, sizeof(PortName))) {
        ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        return nullptr;
    }
    p->name = CMN_StrMake(name);
    if (p->name == nullptr) {
        free(p);
        ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        return nullptr;
    }
    return p;
}

// What the reader keeps of one external body while its lines arrive, so that
// no line walks a list: the reserved digital ports each port list holds, the
// tails of the lists kept in file order, and, made at their first look-up,
// the names of the Ports list and the d_ports of each corner's A_to_D lines.
// Made on first use from what the lists already hold; freed with the body.
struct EXT_ReadState {
    int hasSwitch[2] = {0, 0};   // Ports, digital ports: D_switch
    int hasOther[2] = {0, 0};    // D_drive, D_receive or D_enable
    PortName* parameterTail = nullptr;
    PortName* digitalTail = nullptr;
    std::unique_ptr<NameCount> ports;
    std::unique_ptr<NameCount> a2dPorts[3];   // Typ, Min, Max
};

void EXT_FreeReadState(EXT_ReadState* state) { delete state; }

static void s_NoteReserved(EXT_ReadState* st, int which, const char* name)
{
    if (strcmp(name, "D_switch") == 0)
        st->hasSwitch[which] = 1;
    else if (MDL_isReservedDigitalPort(name))
        st->hasOther[which] = 1;
}

static EXT_ReadState* s_StateOf(ExternalModelData* d)
{
    if (d->reading != nullptr) return d->reading;
    EXT_ReadState* st = new EXT_ReadState;
    for (const PortName* p = d->Ports; p != nullptr; p = p->next) s_NoteReserved(st, 0, p->name);
    for (PortName* p = d->DigitalPorts; p != nullptr; p = p->next) {
        s_NoteReserved(st, 1, p->name);
        st->digitalTail = p;
    }
    for (PortName* p = d->Parameters; p != nullptr; p = p->next) st->parameterTail = p;
    d->reading = st;
    return st;
}

// Whether name is a word of the Ports list.
static int s_InPorts(ExternalModelData* d, const char* name)
{
    EXT_ReadState* st = s_StateOf(d);
    if (!st->ports) {
        st->ports.reset(new NameCount);
        for (const PortName* p = d->Ports; p != nullptr; p = p->next) st->ports->Add(p->name, p);
    }
    return st->ports->Has(name);
}

// How many A_to_D lines of corner c carry d_port; notes one more.
static int s_NoteA2DPort(ExternalModelData* d, const ExternalCorner* c, const A2DEntry* e)
{
    EXT_ReadState* st = s_StateOf(d);
    std::unique_ptr<NameCount>& seen = st->a2dPorts[c == d->Typ ? 0 : c == d->Min ? 1 : 2];
    if (!seen) {
        seen.reset(new NameCount);
        for (const A2DEntry* o = c->A_to_D; o != nullptr; o = o->next) seen->Add(o->d_port, o);
    }
    return seen->Add(e->d_port, e);
}

// Pushes a name at the head of a port list (0: Ports, 1: the digital ports)
// and notes it.
static int s_PushPort(ExternalModelData* d, EXT_ReadState* st, int which, const char* name)
{
    PortName* p = s_NewName(name);
    if (p == nullptr) return 0;
    PortName** list = which ? &d->DigitalPorts : &d->Ports;
    if (*list == nullptr && which) st->digitalTail = p;
    p->next = *list;
    *list = p;
    if (!which && st->ports) st->ports->Add(name, p);
    s_NoteReserved(st, which, name);
    return 1;
}

// Stores a name at the head of a port list (isDigitalList 0: Ports, 1: the
// digital ports of a circuit) under the rules of D_switch.
static void s_AddPort(ExternalModelData* d, const char* name, int isDigitalList)
{
    EXT_ReadState* st = s_StateOf(d);
    if (!isDigitalList && d->Language == EXT_LANG_ANALOG && MDL_isReservedDigitalPort(name)) {
        ERRLOG_LineErrorNew(103, name);
        s_PushPort(d, st, 0, name);
        return;
    }
    int isSwitch = strcmp(name, "D_switch") == 0;
    int isOther = !isSwitch && MDL_isReservedDigitalPort(name);
    // What the older names of the list hold.
    int hadSwitch = st->hasSwitch[isDigitalList], hadOther = st->hasOther[isDigitalList];
    if (!s_PushPort(d, st, isDigitalList, name)) return;
    if (isSwitch && hadOther) ERRLOG_LineErrorNew(104);
    if (isOther && hadSwitch) ERRLOG_LineErrorNew(105, name);
}

// Appends a name to a list kept in file order (toDigital 0: Parameters, 1:
// the digital ports, whose reserved names are pushed at the head instead).
static void s_AppendName(ExternalModelData* d, int toDigital, const char* name)
{
    EXT_ReadState* st = s_StateOf(d);
    PortName* p = s_NewName(name);
    if (p == nullptr) return;
    PortName** list = toDigital ? &d->DigitalPorts : &d->Parameters;
    PortName*& tail = toDigital ? st->digitalTail : st->parameterTail;
    if (*list == nullptr) {
        *list = p;
    } else {
        if (tail == nullptr) tail = *list;
        while (tail->next != nullptr) tail = tail->next;
        tail->next = p;
    }
    tail = p;
}

static ExternalCorner** s_CornerSlot(ExternalModelData* d, const char* word)
{
    if (strcmp(word, "Typ") == 0) return &d->Typ;
    if (strcmp(word, "Min") == 0) return &d->Min;
    if (strcmp(word, "Max") == 0) return &d->Max;
    return nullptr;
}

static ExternalCorner* s_NewCorner(const char* file, const char* circuit)
{
    ExternalCorner* c = nullptr;
    if (!CMN_malloc((void**)&c, sizeof(ExternalCorner))) {
        ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        return nullptr;
    }
    c->fileName = CMN_StrMake(file);
    c->circuitName = CMN_StrMake(circuit);
    if (c->fileName == nullptr || c->circuitName == nullptr) {
        free(c->fileName);
        free(c->circuitName);
        free(c);
        ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        return nullptr;
    }
    return c;
}

static void s_ExtLanguage(ExternalModelData* d, const ARG_LIST* a)
{
    if (d->Language != EXT_LANG_NONE) {
        ERRLOG_LineErrorNew(135);
        return;
    }
    if (a->iTotal < 2) {
        ERRLOG_LineErrorNew(137, a->iTotal, "Language", 2);
        return;
    }
    for (const MDL_WORD* row = extlanguage_subs; row->code != 0; row++) {
        if (strcmp(row->word, a->psArgs[1]) == 0) {
            d->Language = row->code;
            return;
        }
    }
    ERRLOG_LineErrorNew(136, "Language", a->psArgs[1],
                        "SPICE, VHDL-AMS, VHDL-A(MS), Verilog-AMS, Verilog-A(MS)");
}

static void s_ExtCorner(ExternalModelData* d, const ARG_LIST* a)
{
    // The three words are kept whole, at any length.
    if (a->iTotal < 4) {
        ERRLOG_LineErrorNew(137, a->iTotal - 1, "Corner", 3);
        return;
    }
    if (d->Language == EXT_LANG_NONE) ERRLOG_LineErrorNew(138);
    ExternalCorner** slot = s_CornerSlot(d, a->psArgs[1]);
    if (slot == nullptr) {
        ERRLOG_LineErrorNew(136, "Corner", a->psArgs[1], "Typ,Min,Max");
        return;
    }
    if (*slot != nullptr) {
        ERRLOG_LineErrorNew(slot == &d->Typ ? 139 : slot == &d->Min ? 141 : 140);
        return;
    }
    *slot = s_NewCorner(a->psArgs[2], a->psArgs[3]);
}

// The corner a converter line names: Typ must exist; a Min or Max corner is
// made from the Typ corner's names.  Null after a message.
static ExternalCorner* s_ConverterCorner(ExternalModelData* d, const char* word, int noTypCode)
{
    ExternalCorner** slot = s_CornerSlot(d, word);
    if (slot == nullptr) {
        ERRLOG_LineErrorNew(149, "Corner", word);
        return nullptr;
    }
    if (d->Typ == nullptr) {
        ERRLOG_LineErrorNew(noTypCode);
        return nullptr;
    }
    if (*slot == nullptr) *slot = s_NewCorner(d->Typ->fileName, d->Typ->circuitName);
    return *slot;
}

static int s_PortKnown(ExternalModelData* d, const char* name)
{
    return strcmp(name, "A_gnd") == 0 || s_InPorts(d, name);
}

// The value of a converter column; 149 when it cannot be read.
static int s_ConverterValue(const char* token, const char* column, double* value)
{
    if (CMN_Get_Value(token, value) != 0) return 1;
    ERRLOG_LineErrorNew(149, column, token);
    return 0;
}

// Checks of the three port names shared by both converter kinds.  Returns 0
// when the line is dropped (an analog port outside the Ports list).
static int s_ConverterPorts(ExternalModelData* d, char* const* t, int isD2A, int isCircuit,
                            int reported[2])
{
    for (int i = 1; i <= 2; i++) {
        if (!s_PortKnown(d, t[i])) {
            ERRLOG_LineErrorNew(153, t[i]);
            return 0;
        }
    }
    const char* dport = t[0];
    if (!isCircuit) {
        if (isD2A && strcmp(dport, "D_drive") != 0 && strcmp(dport, "D_enable") != 0 &&
            strcmp(dport, "D_switch") != 0)
            ERRLOG_LineErrorNew(239, dport);
        if (!isD2A && strcmp(dport, "D_receive") != 0) ERRLOG_LineErrorNew(240, dport);
        return 1;
    }
    if (isD2A && strcmp(dport, "D_receive") == 0) ERRLOG_LineErrorNew(239, dport);
    if (MDL_isReservedAnalogPort(dport)) ERRLOG_LineErrorNew(237, dport);
    for (int i = 1; i <= 2; i++) {
        if (MDL_isReservedDigitalPort(t[i])) {
            ERRLOG_LineErrorNew(106, t[i]);
            reported[i - 1] = 1;
        }
    }
    if (MDL_isReservedDigitalPort(dport)) {
        s_AddPort(d, dport, 1);
        if (!isD2A && (strcmp(dport, "D_switch") == 0 || strcmp(dport, "D_drive") == 0 ||
                       strcmp(dport, "D_enable") == 0))
            ERRLOG_LineErrorNew(241, dport);
    } else if (!MDL_isReservedAnalogPort(dport)) {
        s_AppendName(d, 1, dport);
    }
    return 1;
}

// The last port check of a converter: reserved digital ports used as analog
// ones, and for a model names neither listed nor reserved.
static void s_CheckPorts(ExternalModelData* d, char* const* t, int isCircuit,
                         const int reported[2], const char* label)
{
    for (int i = 1; i <= 2; i++) {
        if (MDL_isReservedDigitalPort(t[i])) {
            if (!reported[i - 1]) ERRLOG_LineErrorNew(106, t[i]);
        } else if (!isCircuit && !s_InPorts(d, t[i]) && !MDL_isReservedAnalogPort(t[i])) {
            ERRLOG_LineErrorNew(236, t[i], label);
        }
    }
}

// The three port names of a converter entry; 0 (names freed) when one
// cannot be copied.
static int s_CopyNames(char** d, char** p1, char** p2, char* const* t)
{
    *d = CMN_StrMake(t[0]);
    *p1 = CMN_StrMake(t[1]);
    *p2 = CMN_StrMake(t[2]);
    if (*d && *p1 && *p2) return 1;
    free(*d);
    free(*p1);
    free(*p2);
    ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
    return 0;
}

// What tells the two converter kinds apart before their values are read.
typedef struct {
    int isD2A;
    int noLanguageCode;   // 144 / 154
    int notSpiceCode;     // 145 / 256
    const char* word;     // "D_to_A" / "A_to_D"
    int tokens;           // with the corner word: 9 / 7
    int noTypCode;        // 146 / 155
} CONVERTER_KIND;

static const CONVERTER_KIND kD2A = {1, 144, 145, "D_to_A", 9, 146};
static const CONVERTER_KIND kA2D = {0, 154, 256, "A_to_D", 7, 155};

// Language, item count, corner and port checks of a converter line: its
// corner, or null when the line is dropped.
static ExternalCorner* s_ConverterStart(ExternalModelData* d, const ARG_LIST* a,
                                        const CONVERTER_KIND* k, int isCircuit, int reported[2])
{
    if (d->Language == EXT_LANG_NONE) {
        ERRLOG_LineErrorNew(k->noLanguageCode);
        return nullptr;
    }
    if (d->Language != EXT_LANG_ANALOG) {
        ERRLOG_LineErrorNew(k->notSpiceCode);
        return nullptr;
    }
    if (a->iTotal != k->tokens && a->iTotal != k->tokens - 1) {
        ERRLOG_LineErrorNew(137, a->iTotal, k->word, k->tokens);
        return nullptr;
    }
    char* const* t = a->psArgs + 1;
    ExternalCorner* c = s_ConverterCorner(d, a->iTotal == k->tokens ? t[k->tokens - 2] : "Typ",
                                          k->noTypCode);
    if (c == nullptr || !s_ConverterPorts(d, t, k->isD2A, isCircuit, reported)) return nullptr;
    return c;
}

static void s_ExtD2A(ExternalModelData* d, const ARG_LIST* a, int isCircuit)
{
    int reported[2] = {0, 0};
    ExternalCorner* c = s_ConverterStart(d, a, &kD2A, isCircuit, reported);
    if (c == nullptr) return;
    char* const* t = a->psArgs + 1;
    D2AEntry* e = nullptr;
    if (!CMN_malloc((void**)&e, sizeof(D2AEntry))) {
        ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (!s_CopyNames(&e->d_port, &e->port1, &e->port2, t)) {
        free(e);
        return;
    }
    e->line = (int)PARSE_GetLineNum();
    int lowOk = s_ConverterValue(t[3], "vlow", &e->vlow);
    int highOk = s_ConverterValue(t[4], "vhigh", &e->vhigh);
    int riseOk = s_ConverterValue(t[5], "trise", &e->trise);
    int fallOk = s_ConverterValue(t[6], "tfall", &e->tfall);
    if (riseOk && e->trise <= 0) ERRLOG_LineErrorNew(150, t[5]);
    if (fallOk && e->tfall <= 0) ERRLOG_LineErrorNew(151, t[6]);
    if (lowOk && highOk && e->vlow >= e->vhigh) ERRLOG_LineErrorNew(152, t[3], t[4]);
    s_CheckPorts(d, t, isCircuit, reported, "D2A");
    e->next = c->D_to_A;
    c->D_to_A = e;
}

static void s_ExtA2D(ExternalModelData* d, const ARG_LIST* a, int isCircuit)
{
    int reported[2] = {0, 0};
    ExternalCorner* c = s_ConverterStart(d, a, &kA2D, isCircuit, reported);
    if (c == nullptr) return;
    char* const* t = a->psArgs + 1;
    double vlow = 0.0, vhigh = 0.0;
    int lowOk = s_ConverterValue(t[3], "vlow", &vlow);
    int highOk = s_ConverterValue(t[4], "vhigh", &vhigh);
    if (!lowOk || !highOk) return;
    if (vlow > vhigh) {
        ERRLOG_LineErrorNew(242, t[3], t[4]);
        return;
    }
    s_CheckPorts(d, t, isCircuit, reported, "A2D");
    A2DEntry* e = nullptr;
    if (!CMN_malloc((void**)&e, sizeof(A2DEntry))) {
        ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (!s_CopyNames(&e->d_port, &e->port1, &e->port2, t)) {
        free(e);
        return;
    }
    e->vlow = vlow;
    e->vhigh = vhigh;
    e->line = (int)PARSE_GetLineNum();
    if (s_NoteA2DPort(d, c, e) > 0) ERRLOG_LineErrorNew(133, e->d_port);
    e->next = c->A_to_D;
    c->A_to_D = e;
}

static int s_PortType(const char* word)
{
    static const MDL_WORD types[] = {
        {"DIGITAL_BI", EXT_PORT_DIGITAL_BI}, {"DIGITAL_DRIVER", EXT_PORT_DIGITAL_DRIVER},
        {"DIGITAL_RECEIVER", EXT_PORT_DIGITAL_RECEIVER}, {"ANALOG_DRIVER", EXT_PORT_ANALOG_DRIVER},
        {"ANALOG_BI", EXT_PORT_ANALOG_BI}, {"ANALOG_RECEIVER", EXT_PORT_ANALOG_RECEIVER}};
    for (const MDL_WORD& t : types)
        if (strcmp(t.word, word) == 0) return t.code;
    return EXT_PORT_OTHER;
}

static void s_ExtPortType(ExternalModelData* d, const ARG_LIST* a)
{
    if (!gbEtcFlag) {
        ERRLOG_LineErrorNew(143);
        return;
    }
    if (a->iTotal != 3) {
        ERRLOG_LineErrorNew(142);
        return;
    }
    PortTypeEntry* e = nullptr;
    if (!CMN_malloc((void**)&e, sizeof(PortTypeEntry)) ||
        (e->portName = CMN_StrMake(a->psArgs[1])) == nullptr) {
        free(e);
        ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        return;
    }
    e->type = s_PortType(a->psArgs[2]);
    e->next = d->PortTypes;
    d->PortTypes = e;
}

static void s_SetExtMdlSubParms(char* text, ExternalModelData* data, int isCircuit)
{
    CMN_ASSERT(text != nullptr && data != nullptr);
    ARG_LIST a;
    if (!CMN_ArgParsePlus(text, 30, ' ', &a)) {
        ERRLOG_LineBugNew(134, "External Model Sub-Parameter", CMN_MODULE_PATH, __LINE__);
        return;
    }
    int id = 0;
    if (a.iCount > 0)
        for (const RNG_SUB_ENTRY* row = extmodel_subs; row->id != 0 && id == 0; row++)
            if (strcmp(row->name, a.psArgs[0]) == 0) id = row->id;
    switch (id) {
    case EXT_SUB_LANGUAGE: s_ExtLanguage(data, &a); break;
    case EXT_SUB_CORNER: s_ExtCorner(data, &a); break;
    case EXT_SUB_PORTS:
        for (int i = 1; i < a.iCount; i++) s_AddPort(data, a.psArgs[i], 0);
        break;
    case EXT_SUB_D_TO_A: s_ExtD2A(data, &a, isCircuit); break;
    case EXT_SUB_A_TO_D: s_ExtA2D(data, &a, isCircuit); break;
    case EXT_SUB_PARAMETERS:
        for (int i = 1; i < a.iCount; i++) s_AppendName(data, 0, a.psArgs[i]);
        break;
    case EXT_SUB_PORT_TYPE: s_ExtPortType(data, &a); break;
    default:
        ERRLOG_LineErrorNew(158, "[External Model] subparameter", a.iCount > 0 ? a.psArgs[0] : "");
        break;
    }
    CMN_ArgFree(&a);
}

// ---------------------------------------------------------------------------
// End checks of an [External Model] or [External Circuit].

// The three port names of a converter as one key.
static std::string s_ConverterKey(const char* d, const char* p1, const char* p2)
{
    std::string key(d);
    key += '\0';
    key += p1;
    key += '\0';
    key += p2;
    return key;
}

int MDL_CnrMustMatchTyp(const char* ownerName, const ExternalCorner* corner,
                        const ExternalCorner* typ, const char* label)
{
    CMN_ASSERT(ownerName != nullptr && corner != nullptr && label != nullptr);
    // The Typ converters, gathered once.
    std::unordered_set<std::string> typA2D, typD2A;
    for (const A2DEntry* t = typ ? typ->A_to_D : nullptr; t != nullptr; t = t->next)
        typA2D.insert(s_ConverterKey(t->d_port, t->port1, t->port2));
    for (const D2AEntry* t = typ ? typ->D_to_A : nullptr; t != nullptr; t = t->next)
        typD2A.insert(s_ConverterKey(t->d_port, t->port1, t->port2));
    int n = 0;
    for (const A2DEntry* e = corner->A_to_D; e != nullptr; e = e->next) {
        if (typA2D.count(s_ConverterKey(e->d_port, e->port1, e->port2))) continue;
        ERRLOG_ErrorNew(226, ownerName, label, e->line, e->d_port, e->port1, e->port2);
        n++;
    }
    for (const D2AEntry* e = corner->D_to_A; e != nullptr; e = e->next) {
        if (typD2A.count(s_ConverterKey(e->d_port, e->port1, e->port2))) continue;
        ERRLOG_ErrorNew(227, ownerName, label, e->line, e->d_port, e->port1, e->port2);
        n++;
    }
    return n;
}

static int s_HasConverters(const ExternalCorner* c)
{
    return c != nullptr && (c->A_to_D != nullptr || c->D_to_A != nullptr);
}

static int s_CountPorts(const ExternalModelData* d)
{
    int n = 0;
    for (const PortName* p = d->Ports; p != nullptr; p = p->next) n++;
    return n;
}

// 255: a D_to_A whose two analog ports are both used by other D_to_A lines
// of the corner.  Any number of port names is counted.
static void s_D2AConnections(const ExternalCorner* c)
{
    if (c == nullptr) return;
    std::unordered_map<std::string, int> uses;
    for (const D2AEntry* e = c->D_to_A; e != nullptr; e = e->next) {
        uses[e->port1]++;
        uses[e->port2]++;
    }
    for (const D2AEntry* e = c->D_to_A; e != nullptr; e = e->next)
        if (uses[e->port1] > 1 && uses[e->port2] > 1)
            ERRLOG_ErrorNew(255, e->line, e->port1, e->port2);
}

static void s_CornersAgainstTyp(const char* owner, const ExternalModelData* d)
{
    if (s_HasConverters(d->Min)) MDL_CnrMustMatchTyp(owner, d->Min, d->Typ, "Min");
    if (s_HasConverters(d->Max)) MDL_CnrMustMatchTyp(owner, d->Max, d->Typ, "Max");
}

// The reserved ports each model type needs.
static const char* const* s_RequiredPorts(int type)
{
    static const char* const none[] = {"END"};
    static const char* const input[] = {"D_receive", "A_signal", "END"};
    static const char* const output[] = {"D_drive", "A_signal", "END"};
    static const char* const io[] = {"D_drive", "D_enable", "D_receive", "A_signal", "END"};
    static const char* const tristate[] = {"D_drive", "D_enable", "A_signal", "END"};
    static const char* const terminator[] = {"A_signal", "END"};
    static const char* const series[] = {"A_pos", "A_neg", "END"};
    static const char* const seriesSwitch[] = {"D_switch", "A_pos", "A_neg", "END"};
    static const char* const ioDiff[] = {"D_drive", "D_enable", "D_receive", "A_signal_pos",
                                         "A_signal_neg", "END"};
    static const char* const outDiff[] = {"D_drive", "A_signal_pos", "A_signal_neg", "END"};
    static const char* const triDiff[] = {"D_drive", "D_enable", "A_signal_pos", "A_signal_neg",
                                          "END"};
    static const char* const inDiff[] = {"D_receive", "A_signal_pos", "A_signal_neg", "END"};
    switch (type) {
    case MDL_INPUT: case MDL_INPUT_ECL: return input;
    case MDL_OUTPUT: case MDL_OPEN_DRAIN: case MDL_OPEN_SINK: case MDL_OPEN_SOURCE:
    case MDL_OUTPUT_ECL: return output;
    case MDL_IO: case MDL_IO_OPEN_DRAIN: case MDL_IO_OPEN_SINK: case MDL_IO_OPEN_SOURCE:
    case MDL_IO_ECL: return io;
    case MDL_3STATE: case MDL_3STATE_ECL: return tristate;
    case MDL_TERMINATOR: return terminator;
    case MDL_SERIES: return series;
    case MDL_SERIES_SWITCH: return seriesSwitch;
    case MDL_IO_DIFF: return ioDiff;
    case MDL_OUTPUT_DIFF: return outDiff;
    case MDL_3STATE_DIFF: return triDiff;
    case MDL_INPUT_DIFF: return inDiff;
    default: return none;
    }
}

static void s_AddDistinct(std::vector<std::string>& names, std::unordered_set<std::string>& seen,
                          const char* name)
{
    if (seen.insert(name).second) names.push_back(name);
}

static void s_TypePortCheck(const char* model, int type, const std::vector<std::string>& names,
                            const char* label)
{
    const char* word = nullptr;
    MDL_FindTypeName(type, &word);
    if (word == nullptr) word = "Unknown";
    if (type > MDL_INPUT_DIFF) ERRLOG_ErrorNew(224, word);
    const char* const* required = s_RequiredPorts(type);
    std::unordered_set<std::string> have(names.begin(), names.end());
    for (const char* const* r = required; strcmp(*r, "END") != 0; r++)
        if (!have.count(*r)) ERRLOG_ErrorNew(222, model, label, word, *r);
    static const char* const extra[] = {"A_gnd", "A_puref", "A_pcref", "A_pdref", "A_gcref",
                                        "A_extref", "END"};
    for (const std::string& n : names) {
        const char* name = n.c_str();
        if (!MDL_isReservedAnalogPort(name) && !MDL_isReservedDigitalPort(name)) continue;
        if (s_InWords(required, name) || s_InWords(extra, name)) continue;
        ERRLOG_ErrorNew(223, model, label, word, name);
    }
}

static void s_ModelPortsAgainstType(const ModelRecord* m, const ExternalModelData* d)
{
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    if (d->Language != EXT_LANG_ANALOG) {
        for (const PortName* p = d->Ports; p != nullptr; p = p->next)
            s_AddDistinct(names, seen, p->name);
        s_TypePortCheck(m->name, m->Model_type, names, "ALL");
        return;
    }
    if (d->Typ == nullptr) return;
    for (const A2DEntry* e = d->Typ->A_to_D; e != nullptr; e = e->next) {
        s_AddDistinct(names, seen, e->d_port);
        s_AddDistinct(names, seen, e->port1);
        s_AddDistinct(names, seen, e->port2);
    }
    for (const D2AEntry* e = d->Typ->D_to_A; e != nullptr; e = e->next) {
        s_AddDistinct(names, seen, e->d_port);
        s_AddDistinct(names, seen, e->port1);
        s_AddDistinct(names, seen, e->port2);
    }
    for (const PortName* p = d->Ports; p != nullptr; p = p->next) s_AddDistinct(names, seen, p->name);
    s_TypePortCheck(m->name, m->Model_type, names, "TYP");
}

static void s_EndExternalModel(const ModelRecord* m)
{
    const ExternalModelData* d = m->ExternalModel;
    if (d == nullptr) {
        ERRLOG_LineErrorNew(230);
        return;
    }
    if (d->Typ == nullptr) ERRLOG_LineErrorNew(231);
    s_CornersAgainstTyp(m->name, d);
    int ports = s_CountPorts(d);
    if (ports < 2) ERRLOG_WarnNew(232, m->name, ports);
    s_D2AConnections(d->Typ);
    s_D2AConnections(d->Max);
    s_D2AConnections(d->Min);
    if (m->Model_type != MDL_TYPE_NONE) s_ModelPortsAgainstType(m, d);
}

// 225: a name used both as a digital and as an analog port of one corner.
static void s_MixedPorts(const char* circuit, const ExternalCorner* c, const char* label)
{
    if (c == nullptr) return;
    std::unordered_set<std::string> analog;
    for (const D2AEntry* e = c->D_to_A; e != nullptr; e = e->next) {
        analog.insert(e->port1);
        analog.insert(e->port2);
    }
    for (const A2DEntry* e = c->A_to_D; e != nullptr; e = e->next) {
        analog.insert(e->port1);
        analog.insert(e->port2);
    }
    std::unordered_set<std::string> reported;
    for (const D2AEntry* e = c->D_to_A; e != nullptr; e = e->next)
        if (analog.count(e->d_port) && reported.insert(e->d_port).second)
            ERRLOG_ErrorNew(225, circuit, label, e->d_port);
    for (const A2DEntry* e = c->A_to_D; e != nullptr; e = e->next)
        if (analog.count(e->d_port) && reported.insert(e->d_port).second)
            ERRLOG_ErrorNew(225, circuit, label, e->d_port);
}

static void s_EndExternalCircuit(void)
{
    ExternalCircuitRecord* r = gCurrentExt;
    const ExternalModelData* d = r->data;
    if (d->Typ == nullptr) ERRLOG_LineErrorNew(231);
    s_CornersAgainstTyp(r->name, d);
    int ports = s_CountPorts(d);
    if (ports < 2) ERRLOG_WarnNew(245, r->name, ports);
    if (d->Language == EXT_LANG_ANALOG) {
        s_D2AConnections(d->Typ);
        s_MixedPorts(r->name, d->Typ, "Typ");
        s_MixedPorts(r->name, d->Min, "Min");
        s_MixedPorts(r->name, d->Max, "Max");
    }
    gCurrentExt = nullptr;
}

// ---------------------------------------------------------------------------
// [External Circuit] records and lines.

int EXT_CIR_New(ExternalCircuitRecord** out)
{
    CMN_ASSERT(out != nullptr);
    *out = nullptr;
    ExternalCircuitRecord* r = nullptr;
    if (!CMN_malloc((void**)&r, sizeof(ExternalCircuitRecord))) {
        ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    // A circuit without its body is not made at all.
    if (!CMN_malloc((void**)&r->data, sizeof(ExternalModelData))) {
        free(r);
        ERRLOG_BugNew(100, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    r->line = (int)PARSE_GetLineNum();
    *out = r;
    return 1;
}

void EXT_AddLink(ExternalCircuitRecord* rec, ExternalCircuitRecord* next)
{
    CMN_ASSERT(rec != nullptr);
    rec->next = next;
}

void EXT_CIR_Init(void)
{
    IBIS* ibis = nullptr;
    gCurrentExt = nullptr;
    gCurrentSeries = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_BugNew(101);
        return;
    }
    ExternalCircuitRecord* r = nullptr;
    if (!EXT_CIR_New(&r)) return;
    gCurrentExt = r;
    IBIS_AddExt(ibis, r);
}

void EXT_Reset(void)
{
    gCurrentExt = nullptr;
}

static const char* s_CircuitNameOf(const ExternalCircuitRecord* r) { return r->name; }

static void s_CircuitName(char* text)
{
    ExternalCircuitRecord* r = gCurrentExt;
    char* rest = text;
    if (!CMN_EatKeyword(&rest)) {
        ERRLOG_LineBugNew(125, "External Circuit", CMN_MODULE_PATH, __LINE__);
        return;
    }
    ARG_LIST a;
    if (!CMN_ArgParse(rest, 1, &a)) {
        ERRLOG_ErrorNew(250);
        return;
    }
    if (a.iTotal == 0) ERRLOG_LineErrorNew(251);
    if (a.iTotal > 1) ERRLOG_LineErrorNew(128, a.iTotal, "External Circuit", 1);
    if (a.iCount > 0) {
        const char* name = a.psArgs[0];
        size_t limit = geFileVersion < 4 ? 20 : 40;
        if (strlen(name) > limit) {
            ERRLOG_LineErrorNew(252, (int)limit);
        } else if (!CMN_ReservedWord(name)) {
            ERRLOG_LineErrorNew(253, name);
        } else if (IBIS_NamedBefore(r, &IBIS::externalCircuits, &IBIS_Names::externalCircuits,
                                    s_CircuitNameOf, name)) {
            ERRLOG_LineErrorNew(254, name);
        }
        CMN_strncpy(r->name, name, limit);
    }
    CMN_ArgFree(&a);
}

void EXT_ReceiveLine(int lineKind, int keywordCode, char* text)
{
    CMN_ASSERT(text != nullptr);
    if (gCurrentExt == nullptr) {
        ERRLOG_LineErrorNew(lineKind == PARSE_LINE_KEYWORD ? 249 : 107);
        return;
    }
    if (lineKind != PARSE_LINE_KEYWORD) {
        if (keywordCode == KW_EXTERNAL_CIRCUIT)
            s_SetExtMdlSubParms(text, gCurrentExt->data, 1);
        else
            ERRLOG_LineErrorNew(122, CMN_MODULE_PATH, __LINE__);
        return;
    }
    gCurrentKeyword = keywordCode;
    if (keywordCode == KW_EXTERNAL_CIRCUIT)
        s_CircuitName(text);
    else if (keywordCode == KW_END_EXTERNAL_CIRCUIT)
        s_EndExternalCircuit();
}
