// The EMI block of a component: [Begin EMI Component] and its sub-parameters
// Domain, Cpd, C_Heatsink_gnd and C_Heatsink_float, the keywords [Pin EMI]
// and [Pin Domain EMI], and [End EMI Component].
#include "cmpntemi.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "cmpnt.h"
#include "errlog.h"
#include "parse.h"
#include "rng.h"
#include "rowlist.h"

#define CMN_MODULE_PATH "IbisParser/cmpntemi"

static ComponentEmiRecord* gpCmpntEmi;
static int s_lastCode = KW_BEGIN_EMI_COMPONENT;
static int s_pinEmiSeen;
static RowAppender<PinDomainEntry> s_domainAppender(nullptr);
// The domain names of the list last appended to, so that a redefined name is
// found without a walk of the list.
static PinDomainEntry** s_domainsOf;
static NameCount s_domainNames;

static void s_ForgetDomains(void)
{
    s_domainAppender.Forget();
    s_domainsOf = nullptr;
    s_domainNames.Clear();
}

enum { SUB_DOMAIN = 1, SUB_CPD, SUB_C_HEATSINK_GND, SUB_C_HEATSINK_FLOAT };

// In id order: a sub-parameter's name, s_subParams[id - 1], is also its
// label in messages.
static const RNG_SUB_ENTRY s_subParams[] = {{"Domain", SUB_DOMAIN},
                                            {"Cpd", SUB_CPD},
                                            {"C_Heatsink_gnd", SUB_C_HEATSINK_GND},
                                            {"C_Heatsink_float", SUB_C_HEATSINK_FLOAT},
                                            {nullptr, 0}};

static const struct {
    const char* name;
    int id;
} s_domains[] = {{"Analog", 1}, {"Digital", 2}, {"Digital_Analog", 3}, {nullptr, 0}};

void CMPNTEMI_Reset(void)
{
    gpCmpntEmi = nullptr;
    s_lastCode = KW_BEGIN_EMI_COMPONENT;
    s_pinEmiSeen = 0;
    s_ForgetDomains();
}

int CMPNTEMI_InProgress(void) { return gpCmpntEmi != nullptr; }

static void s_FreeDomains(PinDomainEntry** head)
{
    if (head == nullptr) return;
    s_ForgetDomains();
    PinDomainEntry* d = *head;
    while (d != nullptr) {
        PinDomainEntry* next = d->next;
        free(d->percentage);
        free(d);
        d = next;
    }
    free(head);
}

void CMPNTEMI_Free(ComponentEmiRecord* emi)
{
    CMN_ASSERT(emi != nullptr);
    if (emi == gpCmpntEmi) gpCmpntEmi = nullptr;
    free(emi->Cpd);
    free(emi->C_Heatsink_gnd);
    free(emi->C_Heatsink_float);
    PINEMI_FreeList(emi->pinEmis);
    s_FreeDomains(emi->pinDomains);
    free(emi);
}

int CMPNTEMI_New(char* text, ComponentEmiRecord** slot)
{
    CMN_ASSERT(text != nullptr && slot != nullptr);
    if (*slot != nullptr) {
        ERRLOG_LineErrorNew(4703);
        ComponentEmiRecord* old = *slot;
        *slot = nullptr;
        CMPNTEMI_Free(old);
    }
    gpCmpntEmi = nullptr;
    s_pinEmiSeen = 0;
    ComponentEmiRecord* emi = nullptr;
    if (!CMN_malloc((void**)&emi, sizeof(ComponentEmiRecord))) {
        ERRLOG_LineErrorNew(4713);
        return 0;
    }
    *slot = emi;
    gpCmpntEmi = emi;
    if (*text != '\0') ERRLOG_LineErrorNew(4704, text);
    return 1;
}

void CMPNTEMI_Fini(int keywordCode)
{
    if (keywordCode == KW_PIN_EMI || keywordCode == KW_PIN_DOMAIN_EMI) return;
    if (keywordCode != KW_END_EMI_COMPONENT) ERRLOG_LineErrorNew(4711);
    ComponentEmiRecord* emi = gpCmpntEmi;
    if (emi == nullptr) return;
    if (emi->domain == 0 && emi->Cpd == nullptr && emi->C_Heatsink_gnd == nullptr &&
        emi->C_Heatsink_float == nullptr && emi->pinEmis == nullptr && emi->pinDomains == nullptr)
        ERRLOG_LineWarnNew(4712);
    gpCmpntEmi = nullptr;
}

static void s_PinEmiKeyword(char* text)
{
    if (s_pinEmiSeen) {
        ERRLOG_LineErrorNew(4729);
        return;
    }
    s_pinEmiSeen = 1;
    ARG_LIST args;
    if (!CMN_ArgParse(text, 3, &args)) {
        if (args.psArgs != nullptr) CMN_ArgFree(&args);
        ERRLOG_BugNew(4722, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (args.iCount == 0) {
        ERRLOG_LineErrorNew(4730);
    } else {
        if (!CMN_StrSameIC(args.psArgs[0], "domain_name")) ERRLOG_LineErrorNew(4731, "domain_name");
        if (args.iCount < 2 || !CMN_StrSameIC(args.psArgs[1], "clock_div"))
            ERRLOG_LineErrorNew(4731, "clock_div");
        if (args.iCount >= 3) ERRLOG_LineErrorNew(4704, args.psArgs[2]);
    }
    CMN_ArgFree(&args);
}

static void s_PinDomainKeyword(char* text)
{
    ComponentEmiRecord* emi = gpCmpntEmi;
    if (emi->pinDomains != nullptr) {
        ERRLOG_LineErrorNew(4724);
        PinDomainEntry** old = emi->pinDomains;
        emi->pinDomains = nullptr;
        s_FreeDomains(old);
    }
    if (!CMN_malloc((void**)&emi->pinDomains, sizeof(PinDomainEntry*)))
        ERRLOG_BugNew(4722, CMN_MODULE_PATH, __LINE__);
    ARG_LIST args;
    if (!CMN_ArgParse(text, 1, &args)) {
        if (args.psArgs != nullptr) CMN_ArgFree(&args);
        ERRLOG_BugNew(4722, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (args.iTotal == 0)
        ERRLOG_LineErrorNew(4725);
    else if (args.iTotal > 1)
        ERRLOG_LineErrorNew(4719, args.iTotal + 1, "Pin Domain EMI", 2);
    else if (strcmp(args.psArgs[0], "percentage") != 0)
        ERRLOG_LineErrorNew(4726, args.psArgs[0]);
    CMN_ArgFree(&args);
}

static void s_Domain(ComponentEmiRecord* emi, char* text)
{
    if (emi->domain != 0) {
        ERRLOG_LineErrorNew(4701, "Domain");
        emi->domain = 0;
    }
    ARG_LIST args;
    if (!CMN_ArgParse(text, 2, &args)) {
        if (args.psArgs != nullptr) CMN_ArgFree(&args);
        ERRLOG_BugNew(4722, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (args.iTotal == 1) {
        ERRLOG_LineErrorNew(4718, "Domain");
    } else if (args.iTotal != 2) {
        ERRLOG_LineErrorNew(4719, args.iTotal, "Domain", 2);
    } else {
        const char* value = args.psArgs[1];
        int i = 0;
        while (s_domains[i].name && strcmp(s_domains[i].name, value) != 0) i++;
        if (s_domains[i].name != nullptr) {
            emi->domain = s_domains[i].id;
        } else {
            i = 0;
            while (s_domains[i].name && !CMN_StrSameIC(s_domains[i].name, value)) i++;
            if (s_domains[i].name != nullptr)
                ERRLOG_LineErrorNew(4720, "Domain", value, s_domains[i].name);
            else
                ERRLOG_LineErrorNew(4721, "Domain", value);
        }
    }
    CMN_ArgFree(&args);
}

// One capacitance line, name = value.  The value is made before the line is
// examined, so a rejected line still counts as given.
static void s_Capacitance(ComponentEmiRecord* emi, int id, const char* name, char* text)
{
    if (id == SUB_C_HEATSINK_GND && emi->C_Heatsink_float != nullptr) ERRLOG_LineErrorNew(4714);
    if (id == SUB_C_HEATSINK_FLOAT && emi->C_Heatsink_gnd != nullptr) ERRLOG_LineErrorNew(4715);
    double** slot = id == SUB_CPD ? &emi->Cpd
                    : id == SUB_C_HEATSINK_GND ? &emi->C_Heatsink_gnd
                                               : &emi->C_Heatsink_float;
    if (*slot != nullptr) {
        ERRLOG_LineErrorNew(4701, name);
        return;
    }
    if (!CMN_malloc((void**)slot, sizeof(double))) {
        ERRLOG_BugNew(4722, CMN_MODULE_PATH, __LINE__);
        return;
    }
    ARG_LIST args;
    if (!CMN_ArgParsePlus(text, 3, '=', &args)) {
        if (args.psArgs != nullptr) CMN_ArgFree(&args);
        ERRLOG_BugNew(4722, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (args.iTotal < 3) {
        ERRLOG_LineErrorNew(4723, name);
    } else {
        if (args.iTotal > 3) ERRLOG_LineErrorNew(4719, args.iTotal, name, 3);
        if (strcmp(args.psArgs[1], "=") != 0)
            ERRLOG_LineErrorNew(4723, name);
        else if (!CMN_Get_Value(args.psArgs[2], *slot))
            ERRLOG_LineErrorNew(4721, name, args.psArgs[2]);
    }
    CMN_ArgFree(&args);
}

static void s_SubParameter(char* text)
{
    int id = RNG_FirstTokenId(text, s_subParams);
    if (id == 0) {
        ERRLOG_LineErrorNew(4716);
        return;
    }
    if (id == SUB_DOMAIN)
        s_Domain(gpCmpntEmi, text);
    else
        s_Capacitance(gpCmpntEmi, id, s_subParams[id - 1].name, text);
}

static void s_DomainLine(char* text)
{
    ComponentEmiRecord* emi = gpCmpntEmi;
    if (emi->pinDomains == nullptr) return;
    ARG_LIST args;
    if (!CMN_ArgParse(text, 2, &args)) {
        if (args.psArgs != nullptr) CMN_ArgFree(&args);
        ERRLOG_BugNew(4722, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (args.iTotal != 2) ERRLOG_LineErrorNew(4719, args.iTotal, "Pin Domain EMI", 2);
    if (args.iTotal < 2) {
        CMN_ArgFree(&args);
        return;
    }
    PinDomainEntry* entry = nullptr;
    if (!CMN_malloc((void**)&entry, sizeof(PinDomainEntry))) {
        CMN_ArgFree(&args);
        ERRLOG_BugNew(4722, CMN_MODULE_PATH, __LINE__);
        return;
    }
    char cut[21];
    CMN_strncpy(cut, args.psArgs[0], 20);
    if (emi->pinDomains != s_domainsOf) {
        s_ForgetDomains();
        for (PinDomainEntry* d = *emi->pinDomains; d != nullptr; d = d->next)
            s_domainNames.Add(d->domainName, d);
        s_domainsOf = emi->pinDomains;
    }
    if (s_domainNames.Has(cut)) {
        ERRLOG_LineErrorNew(4727, args.psArgs[0]);
        free(entry);
        CMN_ArgFree(&args);
        return;
    }
    CMN_SetStr(entry->domainName, args.psArgs[0], 20, "domain_name");
    const char* percent = args.psArgs[1];
    if (strlen(percent) > 5)
        ERRLOG_LineErrorNew(4728, percent, "Should be specified using at most 5 characters");
    double value = 0;
    if (!CMN_Get_Value(percent, &value)) {
        ERRLOG_LineErrorNew(4728, percent, "Invalid Number");
        free(entry);
        CMN_ArgFree(&args);
        return;
    }
    if (value <= 0 || value > 100)
        ERRLOG_LineErrorNew(4728, percent, "Should be greater than 0 and less than equal to 100");
    if (!CMN_malloc((void**)&entry->percentage, sizeof(double))) {
        free(entry);
        CMN_ArgFree(&args);
        ERRLOG_BugNew(4722, CMN_MODULE_PATH, __LINE__);
        return;
    }
    *entry->percentage = value;
    s_domainAppender.Append(emi->pinDomains, entry);
    s_domainNames.Add(entry->domainName, entry);
    CMN_ArgFree(&args);
}

void CMPNTEMI_ReceiveLine(int lineKind, int keywordCode, char* text, ComponentEmiRecord** slot)
{
    CMN_ASSERT(text != nullptr && slot != nullptr);
    if (lineKind != PARSE_LINE_KEYWORD && lineKind != PARSE_LINE_DATA) {
        ERRLOG_LineBugNew(4710, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (gpCmpntEmi == nullptr && (keywordCode != KW_BEGIN_EMI_COMPONENT ||
                                  lineKind == PARSE_LINE_DATA)) {
        // Data lines of a block that could not be made are dropped.
        if (keywordCode == KW_BEGIN_EMI_COMPONENT) return;
        if (lineKind == PARSE_LINE_KEYWORD) ERRLOG_LineErrorNew(4705);
        else ERRLOG_LineErrorNew(4706);
        return;
    }
    if (lineKind == PARSE_LINE_KEYWORD) {
        s_lastCode = keywordCode;
        switch (keywordCode) {
        case KW_BEGIN_EMI_COMPONENT: CMPNTEMI_New(text, slot); break;
        case KW_END_EMI_COMPONENT:
            if (*text != '\0') ERRLOG_LineErrorNew(4704, text);
            CMPNTEMI_Fini(KW_END_EMI_COMPONENT);
            break;
        case KW_PIN_EMI: s_PinEmiKeyword(text); break;
        case KW_PIN_DOMAIN_EMI: s_PinDomainKeyword(text); break;
        default: ERRLOG_LineBugNew(4707, CMN_MODULE_PATH, __LINE__); break;
        }
        return;
    }
    switch (s_lastCode) {
    case KW_BEGIN_EMI_COMPONENT: s_SubParameter(text); break;
    case KW_PIN_EMI: {
        PinEmiRecord* row = nullptr;
        if (PINEMI_ParseLine(text, &row)) PINEMI_LinkPinEmi(&gpCmpntEmi->pinEmis, row);
        else ERRLOG_LineErrorNew(4732);
        break;
    }
    case KW_PIN_DOMAIN_EMI: s_DomainLine(text); break;
    default: ERRLOG_LineBugNew(4709, CMN_MODULE_PATH, __LINE__); break;
    }
}

void CMPNTEMI_Test(ComponentRecord* component, ComponentEmiRecord* emi)
{
    CMN_ASSERT(component != nullptr && emi != nullptr);
    PINEMI_TestList(emi->pinEmis, emi->pinDomains, component->pins, component->name);
}
