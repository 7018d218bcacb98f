// [Pin EMI] rows of a component's EMI block, and the checks of the block's
// pins and domains after the file was read.
#include "pinemi.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "errlog.h"
#include "ibis.h"
#include "rowlist.h"

#include <string>
#include <unordered_set>

#define CMN_MODULE_PATH "IbisParser/pinemi"

static const char* s_NameOf(const PinEmiRecord* r) { return r->pinName; }
static RowAppender<PinEmiRecord> s_appender(s_NameOf);

int PINEMI_ParseLine(char* text, PinEmiRecord** out)
{
    CMN_ASSERT(text != nullptr && out != nullptr);
    *out = nullptr;
    ARG_LIST args;
    PinEmiRecord* row = RowStart<PinEmiRecord>(text, 4, &args, {4910, 4900});
    if (row == nullptr) return 0;
    char** tok = args.psArgs;
    int n = args.iCount;
    if (n < 1) {
        ERRLOG_LineErrorNew(4901);
    } else {
        CMN_SetStr(row->pinName, tok[0], 5, "pin_name");
    }
    if (n < 2) {
        ERRLOG_LineErrorNew(4902);
    } else {
        if (!CMN_StrSameIC(tok[1], "NA")) CMN_ReservedWordErr(tok[1]);
        CMN_SetStr(row->domainName, tok[1], 20, "domain_name");
    }
    if (n < 3) {
        ERRLOG_LineErrorNew(4903);
    } else {
        if (strlen(tok[2]) > 5) ERRLOG_LineErrorNew(4904, 5);
        CMN_GetColValue(tok[2], "Pin EMI", "clock_div", &row->clock_div, &row->clock_divState);
    }
    if (n >= 4) ERRLOG_LineErrorNew(4905, tok[3]);
    CMN_ArgFree(&args);
    *out = row;
    return 1;
}

void PINEMI_LinkPinEmi(PinEmiRecord** head, PinEmiRecord* row)
{
    CMN_ASSERT(head != nullptr && row != nullptr);
    // Once per repeated row, so that the messages stay as many as the rows.
    if (s_appender.Append(head, row) > 0) ERRLOG_LineErrorNew(4906, row->pinName);
}

PinEmiRecord* PINEMI_FindPin(PinEmiRecord* rows, const char* name)
{
    CMN_ASSERT(name != nullptr);
    for (; rows != nullptr; rows = rows->next)
        if (strcmp(rows->pinName, name) == 0) return rows;
    return nullptr;
}

int PINEMI_PinExists(PinEmiRecord* rows, const char* name)
{
    return PINEMI_FindPin(rows, name) != nullptr;
}

void PINEMI_TestList(PinEmiRecord* rows, PinDomainEntry** domains, PinRecord* pins,
                     const char* componentName)
{
    CMN_ASSERT(componentName != nullptr);
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_BugNew(4907, CMN_MODULE_PATH, __LINE__);
        return;
    }
    std::unordered_set<std::string> used;
    for (PinEmiRecord* r = rows; r != nullptr; r = r->next) used.insert(r->domainName);
    for (PinDomainEntry* d = domains ? *domains : nullptr; d != nullptr; d = d->next)
        if (used.count(d->domainName) == 0) ERRLOG_ErrorNew(4908, componentName, d->domainName);
    NameIndex<PinRecord> pinOf(pins, PIN_NameOf);
    for (PinEmiRecord* r = rows; r != nullptr; r = r->next) {
        PinRecord* pin = pinOf.Find(r->pinName);
        if (pin == nullptr)
            ERRLOG_ErrorNew(4909, componentName, r->pinName);
        else if (CMN_ReservedWord(pin->modelName) == 0)
            ERRLOG_ErrorNew(4911, componentName, r->pinName, pin->modelName);
    }
}

void PINEMI_FreeList(PinEmiRecord* rows) { s_appender.FreeList(rows); }
