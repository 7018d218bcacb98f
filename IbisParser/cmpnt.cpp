// [Component] and the keywords of a component: the record, its keyword
// lines, the hand-over of data lines to the row modules, the checks at the
// end of the component and the cross-checks after the file was read.
#include "cmpnt.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "errlog.h"
#include "ibis.h"
#include "mdl.h"
#include "msel.h"
#include "nameidx.h"
#include "parse.h"
#include "pkgmdl.h"

#include <functional>
#include <queue>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#define CMN_MODULE_PATH "IbisParser/cmpnt"

ComponentRecord* gpCmpnt;
int gbFoundManufacturer;
int giPinRlcOrder[3] = {0, 1, 2};

// Last component keyword, which routes data lines, and the last code given
// to CMPNT_Fini.
static int s_lastCode = KW_NOT_KEY;
static int s_finiCode = KW_NOT_KEY;
// [Node Declarations] was given in the current component.
static int s_nodesDeclared;

enum { LOC_NONE, LOC_BAD, LOC_DIE, LOC_PIN };

// ---------------------------------------------------------------------------
// Look-ups into the records of the model, model-selector and package-model
// modules: the one place where the component modules reach into them.

int CMPNT_NameLimit(void) { return geFileVersion < 4 ? 20 : 40; }

static IBIS* s_Top(void)
{
    IBIS* ibis = nullptr;
    return IBIS_GetIBIS(&ibis) ? ibis : nullptr;
}

ModelRecord* CMPNT_FindModel(const char* name)
{
    CMN_ASSERT(name != nullptr);
    IBIS* ibis = s_Top();
    if (ibis == nullptr || ibis->models == nullptr) return nullptr;
    if (!MDL_NameExists(name, ibis->models)) return nullptr;
    return MDL_FindModel(name, ibis->models);
}

int CMPNT_ModelType(ModelRecord* model)
{
    CMN_ASSERT(model != nullptr);
    return model->Model_type;
}

int CMPNT_ModelTypeOf(const char* name, int* type)
{
    CMN_ASSERT(name != nullptr && type != nullptr);
    IBIS* ibis = s_Top();
    if (ibis == nullptr || ibis->models == nullptr) return 0;
    return MDL_GetType(ibis->models, name, type);
}

int CMPNT_ModelIsDifferential(ModelRecord* model)
{
    CMN_ASSERT(model != nullptr);
    return model->singleEnded == 0;
}

static ModelRecord* s_FindModelUnmarked(const char* name, ModelRecord* models)
{
    return MDL_FindModel(name, models);
}

static int s_ModelHasExternalModel(ModelRecord* model) { return model->ExternalModel != nullptr; }

static const char* s_TypeName(int type)
{
    const char* name = nullptr;
    MDL_FindTypeName(type, &name);
    return name ? name : "";
}

ModelSelectorRecord* CMPNT_FindMsel(const char* name)
{
    CMN_ASSERT(name != nullptr);
    IBIS* ibis = s_Top();
    if (ibis == nullptr) return nullptr;
    return MSEL_FindMsel(name, ibis->modelSelectors);
}

int CMPNT_MselIsDifferential(ModelSelectorRecord* selector)
{
    CMN_ASSERT(selector != nullptr);
    return selector->singleEnded == 0;
}

const char* CMPNT_MselNextModel(ModelSelectorRecord* selector, ModelSelectorEntry** entry)
{
    CMN_ASSERT(selector != nullptr && entry != nullptr);
    *entry = *entry == nullptr ? selector->models : (*entry)->next;
    return *entry != nullptr ? (*entry)->name : nullptr;
}

static void s_SetMselDifferential(ModelSelectorRecord* selector) { selector->singleEnded = 0; }

static int s_PackageModelExists(const char* name)
{
    IBIS* ibis = s_Top();
    if (ibis == nullptr || ibis->packageModels == nullptr) return 0;
    return PKGMDL_FindPackageModel(ibis->packageModels, name, nullptr);
}

int CMPNT_PackagePinNumber(const char* packageModel, int first, char** pinName)
{
    CMN_ASSERT(packageModel != nullptr && pinName != nullptr);
    IBIS* ibis = s_Top();
    if (ibis == nullptr || ibis->packageModels == nullptr) return 0;
    return PKGMDL_GetPin_Number(ibis->packageModels, packageModel, first, pinName);
}

// ---------------------------------------------------------------------------
// Record and frame operations.

void CMPNT_AddLink(ComponentRecord* rec, ComponentRecord* next)
{
    CMN_ASSERT(rec != nullptr);
    rec->next = next;
}

void CMPNT_Reset(void)
{
    gpCmpnt = nullptr;
    gbFoundManufacturer = 0;
    s_lastCode = KW_NOT_KEY;
    s_finiCode = KW_NOT_KEY;
    s_nodesDeclared = 0;
    CMPNTEMI_Reset();
    SSWCH_Reset();
}

void CMPNT_Init(void)
{
    IBIS* ibis = nullptr;
    CMPNT_Reset();
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_LineBugNew(500, CMN_MODULE_PATH, __LINE__);
        return;
    }
    ComponentRecord* rec = nullptr;
    if (!CMN_malloc((void**)&rec, sizeof(ComponentRecord))) {
        ERRLOG_LineErrorNew(512);
        return;
    }
    IBIS_AddCmpnt(ibis, rec);
    gpCmpnt = rec;
    giPinRlcOrder[0] = 0;
    giPinRlcOrder[1] = 1;
    giPinRlcOrder[2] = 2;
}

void CMPNT_Fini(int nextCode)
{
    int own = (nextCode >= KW_MANUFACTURER && nextCode <= KW_END_CIRCUIT_CALL) ||
              (nextCode >= KW_BEGIN_EMI_COMPONENT && nextCode <= KW_PIN_DOMAIN_EMI);
    s_finiCode = nextCode;
    if (own || gpCmpnt == nullptr) return;
    if (s_lastCode == KW_ALTERNATE_PACKAGE_MODELS) ERRLOG_LineErrorNew(504);
    if (CMPNTEMI_InProgress()) CMPNTEMI_Fini(nextCode);
    if (!gbFoundManufacturer) ERRLOG_ErrorNew(514, gpCmpnt->name);
    if (gpCmpnt->package == nullptr) ERRLOG_ErrorNew(519, gpCmpnt->name);
    else PKG_Test(gpCmpnt->package, gpCmpnt->name);
    gpCmpnt = nullptr;
    gbFoundManufacturer = 0;
    s_lastCode = KW_NOT_KEY;
}

// ---------------------------------------------------------------------------
// Column headings of the table keywords.

// Splits the headings; 0 after a message when they could not be split.
static int s_Headings(const char* text, int max, ARG_LIST* args)
{
    if (CMN_ArgParse(text, max, args)) return 1;
    if (args->psArgs != nullptr) CMN_ArgFree(args);
    ERRLOG_LineBugNew(534, "column headers", CMN_MODULE_PATH, __LINE__);
    return 0;
}

// The start that the table keywords share: a second keyword of its kind
// (duplicateCode, or 0 when the caller has dealt with it), the pin column,
// and the headings split into args.  0 when nothing more is to be examined.
static int s_BeginHeadings(int* columns, int duplicateCode, const char* label, const char* text,
                           int max, ARG_LIST* args)
{
    if (*columns != 0 && duplicateCode != 0) {
        ERRLOG_LineErrorNew(duplicateCode);
        return 0;
    }
    *columns = 1;
    if (*text == '\0') {
        ERRLOG_LineErrorNew(528, label);
        return 0;
    }
    return s_Headings(text, max, args);
}

// Heading i (from 0) must be expected, case ignored; a missing one is
// reported only when required.
static void s_ExpectHeading(const ARG_LIST* args, int i, const char* expected, int required)
{
    if (i >= args->iCount) {
        if (required) ERRLOG_LineErrorNew(529, expected);
    } else if (!CMN_StrSameIC(args->psArgs[i], expected)) {
        ERRLOG_LineErrorNew(529, expected);
    }
}

static void s_PinHeadings(const char* text)
{
    ComponentRecord* c = gpCmpnt;
    ARG_LIST args;
    if (!s_BeginHeadings(&c->pinColumns, 523, "Pin", text, 5, &args)) return;
    c->pinColumns += args.iTotal;
    if (c->pinColumns != 3 && c->pinColumns != 6) ERRLOG_LineErrorNew(532, "Pin", 3, 6, c->pinColumns);
    s_ExpectHeading(&args, 0, "signal_name", 1);
    s_ExpectHeading(&args, 1, "model_name", 1);
    static const char* const rlc[3] = {"R_pin", "L_pin", "C_pin"};
    int seen[3] = {0, 0, 0};
    for (int k = 2; k < args.iCount; k++) {
        int which = 0;
        while (which < 3 && !CMN_StrSameIC(args.psArgs[k], rlc[which])) which++;
        if (which == 3) {
            ERRLOG_LineErrorNew(530, args.psArgs[k]);
        } else if (seen[which]) {
            ERRLOG_LineErrorNew(531, args.psArgs[k]);
        } else {
            seen[which] = 1;
            giPinRlcOrder[which] = k - 2;
        }
    }
    CMN_ArgFree(&args);
}

static void s_PinMappingHeadings(const char* text)
{
    ComponentRecord* c = gpCmpnt;
    ARG_LIST args;
    if (!s_BeginHeadings(&c->pinMappingColumns, 525, "Pin_Mapping", text, 5, &args)) return;
    int n = c->pinMappingColumns += args.iTotal;
    if (geFileVersion < 4) {
        if (n != 3 && n != 5) ERRLOG_LineErrorNew(532, "Pin_Mappings", 3, 5, n);
    } else if (n != 3 && n != 5 && n != 6) {
        ERRLOG_LineErrorNew(526, "Pin_Mappings", 3, 5, 6, n);
    }
    static const char* const names[5] = {"pulldown_ref", "pullup_ref", "gnd_clamp_ref",
                                         "power_clamp_ref", "ext_ref"};
    for (int i = 0; i < 5; i++) s_ExpectHeading(&args, i, names[i], i < 2);
    CMN_ArgFree(&args);
}

static void s_DiffPinHeadings(const char* text)
{
    ComponentRecord* c = gpCmpnt;
    ARG_LIST args;
    if (!s_BeginHeadings(&c->diffPinColumns, 527, "Diff_Pins", text, 6, &args)) return;
    int n = c->diffPinColumns += args.iCount;
    if (n != 4 && n != 6) ERRLOG_LineErrorNew(532, "Diff_Pins", 4, 6, n);
    static const char* const names[5] = {"inv_pin", "vdiff", "tdelay_typ", "tdelay_min",
                                         "tdelay_max"};
    for (int i = 0; i < 5; i++) s_ExpectHeading(&args, i, names[i], i == 0);
    CMN_ArgFree(&args);
}

static void s_SeriesPinMappingHeadings(const char* text)
{
    ComponentRecord* c = gpCmpnt;
    if (c->seriesPinMappingColumns != 0) {
        // The second keyword's rows replace the first's.
        ERRLOG_LineErrorNew(542);
        SeriesPinMappingRecord* old = c->seriesPinMappings;
        c->seriesPinMappings = nullptr;
        SPINMPG_FreeList(old);
    }
    ARG_LIST args;
    if (!s_BeginHeadings(&c->seriesPinMappingColumns, 0, "Series_Pin_Mapping", text, 3, &args))
        return;
    if (args.iTotal > 3) ERRLOG_LineErrorNew(543);
    int n = c->seriesPinMappingColumns += args.iCount;
    if (n != 3 && n != 4) ERRLOG_LineErrorNew(532, "Series_Pin_Mappings", 3, 4, n);
    s_ExpectHeading(&args, 0, "pin_2", 1);
    s_ExpectHeading(&args, 1, "model_name", 1);
    s_ExpectHeading(&args, 2, "function_table_group", 0);
    CMN_ArgFree(&args);
}

// ---------------------------------------------------------------------------
// Keyword lines.

static void s_ComponentName(const char* text)
{
    ComponentRecord* c = gpCmpnt;
    if (!CMN_SetKeywordStr(c->name, text, 40, "Component")) return;
    for (const char* p = c->name; *p; p++) {
        if (CMN_IsWhitespace((unsigned char)*p)) {
            ERRLOG_LineWarnNew(513, c->name);
            break;
        }
    }
    CMN_ReservedWordErr(c->name);
}

static void s_CircuitCall(const char* text)
{
    CircuitCallRecord* call = CCALL_New((unsigned)PARSE_GetLineNum(), text);
    if (call == nullptr) {
        ERRLOG_LineErrorNew(550);
        return;
    }
    call->next = gpCmpnt->circuitCalls;
    gpCmpnt->circuitCalls = call;
}

static void s_KeywordLine(int code, char* text)
{
    ComponentRecord* c = gpCmpnt;
    if (code == KW_END_ALTERNATE_PACKAGE_MODELS && s_lastCode != KW_ALTERNATE_PACKAGE_MODELS)
        ERRLOG_LineErrorNew(503);
    if (code != KW_END_ALTERNATE_PACKAGE_MODELS && s_lastCode == KW_ALTERNATE_PACKAGE_MODELS)
        ERRLOG_LineErrorNew(504);
    if (CMPNTEMI_InProgress() && code != KW_PIN_EMI && code != KW_PIN_DOMAIN_EMI) {
        if (code == KW_END_EMI_COMPONENT) {
            CMN_EatKeyword(&text);
            CMPNTEMI_ReceiveLine(PARSE_LINE_KEYWORD, code, text, &c->emi);
            return;
        }
        ERRLOG_LineErrorNew(553);
    }
    CMN_EatKeyword(&text);
    s_lastCode = code;
    switch (code) {
    case KW_COMPONENT: s_ComponentName(text); break;
    case KW_MANUFACTURER:
        CMN_SetKeywordStr(c->manufacturer, text, 40, "Manufacturer");
        gbFoundManufacturer = 1;
        break;
    case KW_PACKAGE:
        if (c->package != nullptr) {
            ERRLOG_LineErrorNew(517);
            break;
        }
        if (*text != '\0') ERRLOG_LineErrorNew(518);
        if (!PKG_New(&c->package)) ERRLOG_LineErrorNew(533, "Package");
        break;
    case KW_PIN: s_PinHeadings(text); break;
    case KW_PACKAGE_MODEL:
        if (CMN_SetKeywordStr(c->packageModel, text, 40, "Package_Model"))
            CMN_ReservedWordErr(c->packageModel);
        break;
    case KW_PIN_MAPPING: s_PinMappingHeadings(text); break;
    case KW_DIFF_PIN: s_DiffPinHeadings(text); break;
    case KW_SERIES_SWITCH_GROUPS:
        if (c->switchGroups != nullptr) ERRLOG_LineErrorNew(546);
        if (*text != '\0') {
            ARG_LIST args;
            if (s_Headings(text, 1, &args)) {
                ERRLOG_LineErrorNew(539, args.iTotal + 1, "Series_Switch_Groups", 1);
                CMN_ArgFree(&args);
            }
        }
        break;
    case KW_SERIES_PIN_MAPPING: s_SeriesPinMappingHeadings(text); break;
    case KW_ALTERNATE_PACKAGE_MODELS:
        if (c->altPackages != nullptr) {
            ERRLOG_LineErrorNew(520);
            break;
        }
        if (*text != '\0') ERRLOG_LineErrorNew(521);
        break;
    case KW_END_ALTERNATE_PACKAGE_MODELS:
        if (*text != '\0') ERRLOG_LineErrorNew(522);
        APKG_Fini(c->altPackages);
        break;
    case KW_NODE_DECLARATIONS:
        // Names are made per name, so the keyword itself allocates nothing.
        if (s_nodesDeclared) ERRLOG_LineErrorNew(548);
        s_nodesDeclared = 1;
        break;
    case KW_END_NODE_DECLARATIONS: TestNodeErrors(); break;
    case KW_CIRCUIT_CALL: s_CircuitCall(text); break;
    case KW_END_CIRCUIT_CALL: break;
    case KW_BEGIN_EMI_COMPONENT:
    case KW_END_EMI_COMPONENT:
    case KW_PIN_EMI:
    case KW_PIN_DOMAIN_EMI: CMPNTEMI_ReceiveLine(PARSE_LINE_KEYWORD, code, text, &c->emi); break;
    default: ERRLOG_LineBugNew(505, CMN_MODULE_PATH, __LINE__); break;
    }
}

// ---------------------------------------------------------------------------
// Data lines.

static void s_SubParameter(char* text)
{
    ComponentRecord* c = gpCmpnt;
    ARG_LIST args;
    if (!CMN_ArgParse(text, 2, &args)) {
        if (args.psArgs != nullptr) CMN_ArgFree(&args);
        ERRLOG_LineBugNew(534, "Component Sub-Parameter", CMN_MODULE_PATH, __LINE__);
        return;
    }
    const char* name = args.psArgs[0];
    int* field = nullptr;
    if (strcmp(name, "Si_location") == 0) field = &c->siLocation;
    else if (strcmp(name, "Timing_location") == 0) field = &c->timingLocation;
    if (field == nullptr) {
        ERRLOG_LineErrorNew(535);
        CMN_ArgFree(&args);
        return;
    }
    if (*field != LOC_NONE) ERRLOG_LineErrorNew(537, name, c->name);
    *field = LOC_BAD;
    if (args.iTotal == 1) {
        ERRLOG_LineErrorNew(538, name);
    } else if (args.iTotal != 2) {
        ERRLOG_LineErrorNew(539, args.iTotal, name, 2);
    } else {
        const char* value = args.psArgs[1];
        if (strcmp(value, "Pin") == 0) *field = LOC_PIN;
        else if (strcmp(value, "Die") == 0) *field = LOC_DIE;
        else if (CMN_StrSameIC(value, "Pin")) ERRLOG_LineErrorNew(540, name, value, "Pin");
        else if (CMN_StrSameIC(value, "Die")) ERRLOG_LineErrorNew(540, name, value, "Die");
        else ERRLOG_LineErrorNew(541, name, value);
    }
    CMN_ArgFree(&args);
}

static void s_DataLine(char* text)
{
    ComponentRecord* c = gpCmpnt;
    switch (s_lastCode) {
    case KW_COMPONENT:
        if (geFileVersion <= 2) ERRLOG_LineErrorNew(506);
        else s_SubParameter(text);
        break;
    case KW_MANUFACTURER: ERRLOG_LineErrorNew(507); break;
    case KW_PACKAGE:
        // Without a record (its allocation failed) the line has nowhere to go.
        if (c->package != nullptr) PKG_ReceiveLine(c->package, text);
        break;
    case KW_PIN: {
        PinRecord* pin = nullptr;
        if (PIN_ParseLine(text, c->pinColumns, &pin, giPinRlcOrder)) PIN_LinkPin(&c->pins, pin);
        else ERRLOG_LineErrorNew(533, "Pin");
        break;
    }
    case KW_PACKAGE_MODEL: ERRLOG_LineErrorNew(508); break;
    case KW_PIN_MAPPING: {
        PinMappingRecord* row = nullptr;
        if (PINMPG_ParseLine(text, c->pinMappingColumns, &row))
            PINMPG_LinkPinMpg(&c->pinMappings, row);
        else ERRLOG_LineErrorNew(533, "Pin_Mapping");
        break;
    }
    case KW_DIFF_PIN: {
        DiffPinRecord* row = nullptr;
        if (DIFPIN_ParseLine(text, c->diffPinColumns, &row)) DIFPIN_LinkDIFPIN(&c->diffPins, row);
        else ERRLOG_LineErrorNew(533, "Diff_Pin");
        break;
    }
    case KW_SERIES_SWITCH_GROUPS: {
        SwitchGroupRecord* group = nullptr;
        if (!SSWCH_ParseLine(text, &group)) ERRLOG_LineErrorNew(533, "Series_Switch_Group");
        // A group keeps the names read before a failure; one read on from
        // an earlier line was linked there.
        if (group != nullptr) SSWCH_LinkOnce(&c->switchGroups, group);
        break;
    }
    case KW_SERIES_PIN_MAPPING: {
        SeriesPinMappingRecord* row = nullptr;
        if (SPINMPG_ParseLine(text, c->seriesPinMappingColumns, &row))
            SPINMPG_LinkSpinMpg(&c->seriesPinMappings, row);
        else ERRLOG_LineErrorNew(533, "Series_Pin_Mapping");
        break;
    }
    case KW_ALTERNATE_PACKAGE_MODELS: APKG_ReceiveLine(&c->altPackages, text); break;
    case KW_NODE_DECLARATIONS: NODE_ParseLine(text, &c->nodes); break;
    case KW_CIRCUIT_CALL:
        if (c->circuitCalls != nullptr) CCALL_ParseLine(text, &c->circuitCalls);
        break;
    case KW_BEGIN_EMI_COMPONENT:
    case KW_END_EMI_COMPONENT:
    case KW_PIN_EMI:
    case KW_PIN_DOMAIN_EMI: CMPNTEMI_ReceiveLine(PARSE_LINE_DATA, s_lastCode, text, &c->emi); break;
    case KW_END_ALTERNATE_PACKAGE_MODELS:
    case KW_END_NODE_DECLARATIONS:
    case KW_END_CIRCUIT_CALL:
        // A data line after a closing keyword is a fault of the file.
        ERRLOG_LineErrorNew(509, CMN_MODULE_PATH, __LINE__);
        break;
    default: ERRLOG_LineBugNew(509, CMN_MODULE_PATH, __LINE__); break;
    }
}

void CMPNT_ReceiveLine(int lineKind, int keywordCode, char* text)
{
    CMN_ASSERT(text != nullptr);
    CMPNT_ForgetIndexes();
    if (lineKind != PARSE_LINE_KEYWORD && lineKind != PARSE_LINE_DATA) {
        ERRLOG_LineBugNew(510, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (gpCmpnt == nullptr) {
        if (lineKind == PARSE_LINE_KEYWORD) ERRLOG_LineErrorNew(501);
        else ERRLOG_LineErrorNew(502);
        return;
    }
    if (lineKind == PARSE_LINE_KEYWORD) s_KeywordLine(keywordCode, text);
    else s_DataLine(text);
}

// ---------------------------------------------------------------------------
// Cross-checks after the file was read.

// Finds a package model in the container, searching the .pkg files beside
// the .ibs file when it is not there; 516 when it is found nowhere.
static void s_TestPackageModel(const char* name, const char* componentName)
{
    if (s_Top() == nullptr) {
        ERRLOG_BugNew(515, CMN_MODULE_PATH, __LINE__);
        return;
    }
    int version = geFileVersion;
    int found = s_PackageModelExists(name);
    if (!found && PKGMDL_FindPkgFile(name)) found = s_PackageModelExists(name);
    geFileVersion = version;
    if (!found) ERRLOG_ErrorNew(516, name, componentName);
}

// Pins whose model is differential need an [External Model] and a [Diff Pin]
// row.  Pins without a defined model (POWER, GND, NC, undefined names) are
// passed over, and the walk goes on.
static void s_TestDiffModels(ComponentRecord* c, ModelRecord* models)
{
    std::unordered_set<std::string> onDiffRows;
    for (DiffPinRecord* row = c->diffPins; row != nullptr; row = row->next) {
        onDiffRows.insert(row->pinName);
        onDiffRows.insert(row->invPinName);
    }
    for (PinRecord* pin = c->pins; pin != nullptr; pin = pin->next) {
        ModelRecord* m = s_FindModelUnmarked(pin->modelName, models);
        if (m == nullptr) continue;
        int type = CMPNT_ModelType(m);
        if (type < 19 || type > 22) continue;
        if (!s_ModelHasExternalModel(m)) ERRLOG_ErrorNew(544);
        if (onDiffRows.count(pin->pinName) == 0)
            ERRLOG_ErrorNew(545, c->name, pin->pinName, pin->modelName, s_TypeName(type));
    }
}

void CMPNT_TestList(ComponentRecord* components, ExternalCircuitRecord* externalCircuits,
                    ModelRecord* models)
{
    PKGMDL_ResetPkgSearch();
    // Each later component of a name once, against the first of that name,
    // in the order of the first ones.
    std::unordered_map<std::string, int> count;
    for (ComponentRecord* c = components; c != nullptr; c = c->next) count[c->name]++;
    for (ComponentRecord* c = components; c != nullptr; c = c->next) {
        int& n = count[c->name];
        for (; n > 1; n--) ERRLOG_ErrorNew(511, c->name);
        n = 0;
    }
    SPINMPG_BeginChecks();
    for (ComponentRecord* c = components; c != nullptr; c = c->next) {
        if (c->packageModel[0] != '\0') s_TestPackageModel(c->packageModel, c->name);
        if (c->pins != nullptr)
            PIN_TestList(c->pins, c->pinMappings, c->diffPins, c->name, c->packageModel);
        else
            ERRLOG_ErrorNew(524, c->name);
        if (c->pinMappings != nullptr) PINMPG_TestList(c->pinMappings, c->pins, c->name);
        if (c->diffPins != nullptr) DIFPIN_TestList(c->diffPins, c->pins, c->name);
        if (c->seriesPinMappings != nullptr)
            SPINMPG_TestList(c->seriesPinMappings, c->pins, c->name, c->switchGroups);
        if (c->switchGroups != nullptr)
            SSWCH_TestList(c->switchGroups, c->seriesPinMappings, c->name);
        CCALL_checkPortNode(c, externalCircuits);
        if (models != nullptr && c->pins != nullptr) s_TestDiffModels(c, models);
        for (AltPackageEntry* alt = c->altPackages; alt != nullptr; alt = alt->next)
            s_TestPackageModel(alt->name, c->name);
        if (c->emi != nullptr) CMPNTEMI_Test(c, c->emi);
    }
    SPINMPG_EndChecks();
}

int CMPNT_FreeList(ComponentRecord* list)
{
    CMPNT_ForgetIndexes();
    while (list != nullptr) {
        ComponentRecord* next = list->next;
        if (list == gpCmpnt) gpCmpnt = nullptr;
        if (list->package != nullptr) PKG_Free(list->package);
        PIN_FreeList(list->pins);
        PINMPG_FreeList(list->pinMappings);
        DIFPIN_FreeList(list->diffPins);
        SPINMPG_FreeList(list->seriesPinMappings);
        SSWCH_FreeList(list->switchGroups);
        APKG_FreeList(list->altPackages);
        NODE_FreeList(list->nodes);
        CCALL_FreeList(list->circuitCalls);
        if (list->emi != nullptr) CMPNTEMI_Free(list->emi);
        free(list);
        list = next;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Which models the [Diff Pin] rows use.
//
// The look-up visits the components in list order, their rows in file order,
// the pin column before the inv_pin column.  Each name that finds a pin (the
// first of its name) is a slot: the pin, whose model name is a model or a
// model selector, and the selector of that name.  A model's answer is the
// first slot whose pin names it, directly or through the slot's selector;
// the index keeps that first slot for every name, so an answer walks nothing.
//
// On its way to the answer, the walk marks every selector it meets as
// differential: the selectors of the slots before the answer's, and the
// answer's own when the match came through it (of every slot when nothing
// matches).  Marks only stay or are undone by the model-selector check, so
// the slots walked once are remembered, and only the selectors that check
// set single-ended since are marked again, when an answer reaches their
// first slot.

namespace {

struct DiffSlot {
    PinRecord* pin;
    ModelSelectorRecord* selector;
};

struct DiffHit {
    size_t slot;
    bool throughSelector;
};

typedef std::pair<size_t, ModelSelectorRecord*> SlotSelector;

struct DiffIndex {
    IBIS* container = nullptr;   // null while nothing is built
    // The heads of its lists when built: a component or selector added
    // since comes first in the walk.
    ComponentRecord* components = nullptr;
    ModelSelectorRecord* selectors = nullptr;
    std::vector<DiffSlot> slots;
    std::unordered_map<std::string, DiffHit> first;
    std::unordered_map<const ModelSelectorRecord*, size_t> firstSlot;
    size_t walked = 0;   // the slots whose selectors are marked
    // Selectors set single-ended while within the walked slots, by first slot.
    std::priority_queue<SlotSelector, std::vector<SlotSelector>, std::greater<SlotSelector>>
        unmarked;
};

}   // namespace

static DiffIndex s_diff;

static const char* s_ModelName(ModelRecord* model) { return model->name; }

static void s_SetModelDifferential(ModelRecord* model) { model->singleEnded = 0; }

void CMPNT_ForgetIndexes(void)
{
    if (s_diff.container != nullptr) s_diff = DiffIndex();
}

static void s_BuildDiffIndex(IBIS* ibis)
{
    s_diff = DiffIndex();
    s_diff.container = ibis;
    s_diff.components = ibis->components;
    s_diff.selectors = ibis->modelSelectors;
    for (ComponentRecord* c = ibis->components; c != nullptr; c = c->next) {
        if (c->pins == nullptr || c->diffPins == nullptr) continue;
        NameIndex<PinRecord> pinOf(c->pins, PIN_NameOf);
        for (DiffPinRecord* row = c->diffPins; row != nullptr; row = row->next) {
            const char* names[2] = {row->pinName, row->invPinName};
            for (const char* pinName : names) {
                PinRecord* pin = pinOf.Find(pinName);
                if (pin == nullptr) continue;
                size_t k = s_diff.slots.size();
                ModelSelectorRecord* selector = CMPNT_FindMsel(pin->modelName);
                s_diff.slots.push_back(DiffSlot{pin, selector});
                // The pin's own model name is tried before its selector's list.
                s_diff.first.emplace(pin->modelName, DiffHit{k, false});
                // A selector met before has given its models an earlier slot.
                if (selector == nullptr || !s_diff.firstSlot.emplace(selector, k).second) continue;
                for (ModelSelectorEntry* e = selector->models; e != nullptr; e = e->next)
                    s_diff.first.emplace(e->name, DiffHit{k, true});
            }
        }
    }
}

// Marks the selectors of the slots before upTo, as a walk up to there does.
static void s_MarkWalked(size_t upTo)
{
    for (; s_diff.walked < upTo; s_diff.walked++) {
        ModelSelectorRecord* selector = s_diff.slots[s_diff.walked].selector;
        if (selector != nullptr) s_SetMselDifferential(selector);
    }
    while (!s_diff.unmarked.empty() && s_diff.unmarked.top().first < upTo) {
        s_SetMselDifferential(s_diff.unmarked.top().second);
        s_diff.unmarked.pop();
    }
}

void CMPNT_SetMselSingleEnded(ModelSelectorRecord* selector, int singleEnded)
{
    CMN_ASSERT(selector != nullptr);
    selector->singleEnded = singleEnded;
    if (singleEnded == 0 || s_diff.container == nullptr) return;
    auto it = s_diff.firstSlot.find(selector);
    if (it != s_diff.firstSlot.end() && it->second < s_diff.walked)
        s_diff.unmarked.emplace(it->second, selector);
}

int CMPNT_IsDifferentialPinModel(ModelRecord* model, PinRecord** pinOut)
{
    CMN_ASSERT(model != nullptr);
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_LineBugNew(500, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    if (s_diff.container != ibis || s_diff.components != ibis->components ||
        s_diff.selectors != ibis->modelSelectors)
        s_BuildDiffIndex(ibis);
    auto it = s_diff.first.find(s_ModelName(model));
    if (it == s_diff.first.end()) {
        s_MarkWalked(s_diff.slots.size());
        return 0;
    }
    DiffHit hit = it->second;
    s_MarkWalked(hit.throughSelector ? hit.slot + 1 : hit.slot);
    s_SetModelDifferential(model);
    if (pinOut != nullptr) *pinOut = s_diff.slots[hit.slot].pin;
    return 1;
}
