// [Pin] rows: reading, look-ups by pin name and the checks of the list after
// the file was read.
#include "pin.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "cmpnt.h"
#include "difpin.h"
#include "errlog.h"
#include "ibis.h"
#include "parse.h"
#include "pinmpg.h"
#include "rowlist.h"

#include <string>
#include <unordered_set>

#define CMN_MODULE_PATH "IbisParser/pin"

const char* PIN_NameOf(const PinRecord* pin) { return pin->pinName; }
static RowAppender<PinRecord> s_appender(PIN_NameOf);

int PIN_ParseLine(char* text, int headerColumns, PinRecord** out, const int rlcOrder[3])
{
    CMN_ASSERT(text != nullptr && out != nullptr && rlcOrder != nullptr);
    *out = nullptr;
    ARG_LIST args;
    PinRecord* pin = RowStart<PinRecord>(text, 6, &args, {614, 600});
    if (pin == nullptr) return 0;
    unsigned limit = (unsigned)CMPNT_NameLimit();
    char** tok = args.psArgs;
    if (args.iCount < 1) ERRLOG_LineErrorNew(601);
    else CMN_SetStr(pin->pinName, tok[0], 5, "Pin");
    if (args.iCount < 2) ERRLOG_LineErrorNew(602);
    else CMN_SetStr(pin->signalName, tok[1], limit, "Signal name");
    if (args.iCount < 3) ERRLOG_LineErrorNew(603);
    else CMN_SetStr(pin->modelName, tok[2], limit, "Model name");
    static const char* const columnNames[3] = {"R_pin", "L_pin", "C_pin"};
    double* values[3] = {&pin->R_pin, &pin->L_pin, &pin->C_pin};
    int* states[3] = {&pin->R_pinState, &pin->L_pinState, &pin->C_pinState};
    for (int i = 0; i < 3; i++) {
        int at = 3 + rlcOrder[i];
        if (at < args.iCount)
            CMN_GetColValue(tok[at], "Pin", columnNames[i], values[i], states[i]);
    }
    pin->columns = args.iCount;
    if (pin->columns != 3 && pin->columns != 6) ERRLOG_LineErrorNew(604);
    else if (pin->columns == 6 && headerColumns < 6) ERRLOG_LineErrorNew(605);
    CMN_ArgFree(&args);
    *out = pin;
    return 1;
}

void PIN_LinkPin(PinRecord** head, PinRecord* pin)
{
    CMN_ASSERT(head != nullptr && pin != nullptr);
    // Once per repeated row, so that the messages stay as many as the rows.
    if (s_appender.Append(head, pin) > 0) ERRLOG_LineErrorNew(606, pin->pinName);
}

PinRecord* PIN_FindPin(PinRecord* list, const char* name)
{
    CMN_ASSERT(list != nullptr && name != nullptr);
    for (; list != nullptr; list = list->next)
        if (strcmp(list->pinName, name) == 0) return list;
    return nullptr;
}

int PIN_PinExists(PinRecord* list, const char* name) { return PIN_FindPin(list, name) != nullptr; }

char* PIN_GetModel(PinRecord* list, const char* name)
{
    PinRecord* pin = PIN_FindPin(list, name);
    return pin ? pin->modelName : nullptr;
}

static int s_ModelIs(PinRecord* list, const char* name, const char* word1, const char* word2)
{
    PinRecord* pin = PIN_FindPin(list, name);
    if (pin == nullptr) return 0;
    return CMN_StrSameIC(pin->modelName, word1) || CMN_StrSameIC(pin->modelName, word2);
}

int PIN_ModelNameIsPOWER(PinRecord* list, const char* name)
{
    return s_ModelIs(list, name, "POWER", "POWER");
}

int PIN_ModelNameIsGND(PinRecord* list, const char* name) { return s_ModelIs(list, name, "GND", "GND"); }

int PIN_ModelNameIsPOWEROrGND(PinRecord* list, const char* name)
{
    return s_ModelIs(list, name, "POWER", "GND");
}

// A row names a pin through the first pin of the list with that name, so
// only that pin can be on a row.
int PIN_IsDiffPin(PinRecord* list, DiffPinRecord* diffPins, PinRecord* pin)
{
    CMN_ASSERT(list != nullptr && pin != nullptr);
    if (diffPins == nullptr || PIN_FindPin(list, pin->pinName) != pin) return 0;
    for (DiffPinRecord* row = diffPins; row != nullptr; row = row->next)
        if (strcmp(row->pinName, pin->pinName) == 0 || strcmp(row->invPinName, pin->pinName) == 0)
            return 1;
    return 0;
}

static int s_NoModel(const char* modelName)
{
    return CMN_StrSameIC(modelName, "POWER") || CMN_StrSameIC(modelName, "GND") ||
           CMN_StrSameIC(modelName, "CIRCUITCALL") || CMN_StrSameIC(modelName, "NC");
}

// What the checks of one pin list look up: the first pin of each name, and
// the names that [Pin Mapping] and [Diff Pin] rows use.
struct PinListIndex {
    NameIndex<PinRecord> first;
    std::unordered_set<std::string> mapped, onDiffRows;
    PinListIndex(PinRecord* pins, PinMappingRecord* mappings, DiffPinRecord* diffPins)
        : first(pins, PIN_NameOf)
    {
        for (; mappings != nullptr; mappings = mappings->next) mapped.insert(mappings->pinName);
        for (; diffPins != nullptr; diffPins = diffPins->next) {
            onDiffRows.insert(diffPins->pinName);
            onDiffRows.insert(diffPins->invPinName);
        }
    }
    // As PIN_IsDiffPin: a row names a pin through the first pin of its name.
    bool IsDiffPin(PinRecord* pin) const
    {
        return first.Find(pin->pinName) == pin && onDiffRows.count(pin->pinName) != 0;
    }
};

static void s_TestModel(PinRecord* pin, const PinListIndex& index, const char* componentName)
{
    const char* name = pin->modelName;
    if (geFileVersion < 3) {
        if (CMPNT_FindModel(name) == nullptr) ERRLOG_ErrorNew(608, componentName, name, pin->pinName);
        return;
    }
    ModelRecord* model = CMPNT_FindModel(name);
    if (model != nullptr) {
        int type = CMPNT_ModelType(model);
        if (type == CMPNT_TYPE_SERIES || type == CMPNT_TYPE_SERIES_SWITCH)
            ERRLOG_ErrorNew(610, componentName, pin->pinName, name);
        if (CMPNT_ModelIsDifferential(model) && !index.IsDiffPin(pin))
            ERRLOG_CautionNew(611, pin->pinName, name);
        return;
    }
    ModelSelectorRecord* selector = CMPNT_FindMsel(name);
    if (selector != nullptr) {
        if (CMPNT_MselIsDifferential(selector) && !index.IsDiffPin(pin))
            ERRLOG_CautionNew(609, pin->pinName, name);
        return;
    }
    ERRLOG_ErrorNew(608, componentName, name, pin->pinName);
}

void PIN_TestList(PinRecord* pins, PinMappingRecord* pinMappings, DiffPinRecord* diffPins,
                  const char* componentName, const char* packageModelName)
{
    CMN_ASSERT(pins != nullptr && componentName != nullptr && packageModelName != nullptr);
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_BugNew(607, CMN_MODULE_PATH, __LINE__);
        return;
    }
    PinListIndex index(pins, pinMappings, diffPins);
    for (PinRecord* pin = pins; pin != nullptr; pin = pin->next) {
        if (!s_NoModel(pin->modelName)) s_TestModel(pin, index, componentName);
        if (pinMappings != nullptr && index.mapped.count(pin->pinName) == 0)
            ERRLOG_ErrorNew(612, componentName, pin->pinName);
    }
    if (packageModelName[0] == '\0') return;
    char* number = nullptr;
    for (int first = 1; CMPNT_PackagePinNumber(packageModelName, first, &number); first = 0)
        if (index.first.Find(number) == nullptr)
            ERRLOG_ErrorNew(613, number, packageModelName, componentName);
}

void PIN_FreeList(PinRecord* list) { s_appender.FreeList(list); }
