// [Pin Mapping] rows and their checks: supply and NC pins should carry only
// the fitting references, and every bus label of a signal pin must reach a
// supply pin of the fitting kind.
#include "pinmpg.h"

#include <stdlib.h>
#include <string.h>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "cmn.h"
#include "cmpnt.h"
#include "errlog.h"
#include "parse.h"
#include "rowlist.h"

#define CMN_MODULE_PATH "IbisParser/pinmpg"

static const char* s_NameOf(const PinMappingRecord* r) { return r->pinName; }
static RowAppender<PinMappingRecord> s_appender(s_NameOf);

int PINMPG_ParseLine(char* text, int headerColumns, PinMappingRecord** out)
{
    CMN_ASSERT(text != nullptr && out != nullptr);
    *out = nullptr;
    ARG_LIST args;
    PinMappingRecord* row = RowStart<PinMappingRecord>(text, 6, &args, {728});
    if (row == nullptr) return 0;
    if (args.iTotal > 6) ERRLOG_LineErrorNew(700);
    if (args.iCount < 1) ERRLOG_LineErrorNew(701);
    else CMN_SetStr(row->pinName, args.psArgs[0], 5, "Pin");
    static const char* const labels[5] = {"pulldown_ref", "pullup_ref", "gnd_clamp_ref",
                                          "power_clamp_ref", "ext_ref"};
    char* fields[5] = {row->pulldown_ref, row->pullup_ref, row->gnd_clamp_ref,
                       row->power_clamp_ref, row->ext_ref};
    for (int i = 0; i < 5 && i + 1 < args.iCount; i++) {
        const char* token = args.psArgs[i + 1];
        if (CMN_StrSameIC(token, "NA")) ERRLOG_LineErrorNew(729, token);
        CMN_SetStr(fields[i], token, 15, labels[i]);
    }
    if (args.iCount < 2) ERRLOG_LineErrorNew(702);
    if (args.iCount < 3) ERRLOG_LineErrorNew(703);
    int n = args.iCount;
    row->columns = n;
    if (geFileVersion < 4) {
        if (n != 3 && n != 5) ERRLOG_LineErrorNew(705);
    } else if (n != 3 && n != 5 && n != 6) {
        ERRLOG_LineErrorNew(704);
    }
    if (n == 5 && headerColumns == 3) ERRLOG_LineErrorNew(706);
    if (geFileVersion >= 4 && n == 6 && headerColumns != 6) ERRLOG_LineErrorNew(707);
    CMN_ArgFree(&args);
    *out = row;
    return 1;
}

void PINMPG_LinkPinMpg(PinMappingRecord** head, PinMappingRecord* row)
{
    CMN_ASSERT(head != nullptr && row != nullptr);
    // Once per repeated row, so that the messages stay as many as the rows.
    if (s_appender.Append(head, row) > 0) ERRLOG_LineErrorNew(708);
}

int PINMPG_TestPin(PinMappingRecord* rows, const char* pinName)
{
    CMN_ASSERT(rows != nullptr && pinName != nullptr);
    for (; rows != nullptr; rows = rows->next)
        if (strcmp(rows->pinName, pinName) == 0) return 1;
    return 0;
}

static int s_Used(const char* ref) { return ref[0] != '\0' && !CMN_StrSameIC(ref, "NC"); }

enum { KIND_OTHER, KIND_POWER, KIND_GND };

static void s_SupplyPins(PinMappingRecord* rows, PinRecord* pins, const char* component)
{
    int v4 = geFileVersion >= 4;
    NameIndex<PinMappingRecord> rowOf(rows, s_NameOf);
    for (PinRecord* pin = pins; pin != nullptr; pin = pin->next) {
        PinMappingRecord* r = rowOf.Find(pin->pinName);
        if (r == nullptr) continue;
        const char* model = pin->modelName;
        if (CMN_StrSameIC(model, "POWER")) {
            if (s_Used(r->pulldown_ref) || s_Used(r->gnd_clamp_ref) ||
                s_Used(r->power_clamp_ref) || !s_Used(r->pullup_ref)) {
                if (v4) ERRLOG_WarnNew(709, component, pin->pinName);
                else ERRLOG_WarnNew(710, pin->pinName);
            }
        } else if (CMN_StrSameIC(model, "GND")) {
            if (s_Used(r->pullup_ref) || s_Used(r->gnd_clamp_ref) ||
                s_Used(r->power_clamp_ref) || !s_Used(r->pulldown_ref)) {
                if (v4) ERRLOG_WarnNew(711, component, pin->pinName);
                else ERRLOG_WarnNew(712, pin->pinName);
            }
        } else if (CMN_StrSameIC(model, "NC")) {
            if (s_Used(r->pulldown_ref) || s_Used(r->pullup_ref) || s_Used(r->gnd_clamp_ref) ||
                s_Used(r->power_clamp_ref) || s_Used(r->ext_ref)) {
                if (v4) ERRLOG_WarnNew(713, component, pin->pinName);
                else ERRLOG_WarnNew(714, pin->pinName);
            }
        }
    }
}

// One pass of the connection check: a reference of a signal pin's row is
// decided by the first supply row (in file order) whose supply column holds
// the same label.
struct Pass {
    int refColumn;      // index into a row's five references
    int supplyColumns;  // bit 0: pulldown_ref, bit 1: pullup_ref
    int missingCode;
    int wrongCode;
    int wrongKind;
};

static const char* s_Ref(PinMappingRecord* r, int column)
{
    switch (column) {
    case 0: return r->pulldown_ref;
    case 1: return r->pullup_ref;
    case 2: return r->gnd_clamp_ref;
    case 3: return r->power_clamp_ref;
    default: return r->ext_ref;
    }
}

void PINMPG_TestList(PinMappingRecord* rows, PinRecord* pins, const char* componentName)
{
    CMN_ASSERT(componentName != nullptr);
    if (pins == nullptr || rows == nullptr) return;
    s_SupplyPins(rows, pins, componentName);
    std::vector<int> kinds;
    NameIndex<PinRecord> pinOf(pins, PIN_NameOf);
    for (PinMappingRecord* r = rows; r != nullptr; r = r->next) {
        PinRecord* pin = pinOf.Find(r->pinName);
        if (pin == nullptr) ERRLOG_ErrorNew(715, componentName, r->pinName);
        int kind = KIND_OTHER;
        if (pin != nullptr && CMN_StrSameIC(pin->modelName, "POWER")) kind = KIND_POWER;
        else if (pin != nullptr && CMN_StrSameIC(pin->modelName, "GND")) kind = KIND_GND;
        kinds.push_back(kind);
    }
    static const Pass passes[] = {
        {0, 1, 716, 717, KIND_POWER}, {1, 2, 720, 721, KIND_GND}, {2, 1, 722, 723, KIND_POWER},
        {3, 2, 724, 725, KIND_GND},   {4, 3, 726, 727, KIND_GND},
    };
    std::unordered_set<std::string> pullups;
    for (PinMappingRecord* r = rows; r != nullptr; r = r->next) pullups.insert(r->pullup_ref);
    for (const Pass& pass : passes) {
        if (pass.refColumn == 4 && geFileVersion < 4) continue;
        std::unordered_map<std::string, int> decider;
        size_t i = 0;
        for (PinMappingRecord* s = rows; s != nullptr; s = s->next, i++) {
            if (kinds[i] == KIND_OTHER) continue;
            if (pass.supplyColumns & 1) decider.emplace(s->pulldown_ref, kinds[i]);
            if (pass.supplyColumns & 2) decider.emplace(s->pullup_ref, kinds[i]);
        }
        i = 0;
        for (PinMappingRecord* r = rows; r != nullptr; r = r->next, i++) {
            const char* ref = s_Ref(r, pass.refColumn);
            if (!s_Used(ref)) continue;
            if (kinds[i] != KIND_OTHER) {
                if (pass.refColumn == 0 && pullups.count(ref) != 0) {
                    if (geFileVersion >= 4) ERRLOG_WarnNew(718, componentName, ref);
                    else ERRLOG_WarnNew(719, ref);
                }
                continue;
            }
            auto found = decider.find(ref);
            if (found == decider.end())
                ERRLOG_ErrorNew(pass.missingCode, componentName, ref);
            else if (found->second == pass.wrongKind)
                ERRLOG_WarnNew(pass.wrongCode, componentName, ref);
        }
    }
}

void PINMPG_FreeList(PinMappingRecord* rows) { s_appender.FreeList(rows); }
