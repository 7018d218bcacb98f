// [Package] values of a component: R_pkg, L_pkg and C_pkg, each a
// typ/min/max line.
#include "pkg.h"

#include <stdlib.h>

#include "cmn.h"
#include "errlog.h"
#include "rng.h"

#define CMN_MODULE_PATH "IbisParser/pkg"

int PKG_New(PackageRecord** out)
{
    CMN_ASSERT(out != nullptr);
    *out = nullptr;
    if (!CMN_malloc((void**)out, sizeof(PackageRecord))) {
        ERRLOG_LineErrorNew(1200);
        return 0;
    }
    return 1;
}

void PKG_ReceiveLine(PackageRecord* pkg, char* text)
{
    CMN_ASSERT(pkg != nullptr && text != nullptr);
    if (CMN_IsWhitespace((unsigned char)*text)) {
        ERRLOG_LineErrorNew(1201);
        CMN_EatWhitespace(&text);
    }
    ARG_LIST args;
    if (!CMN_ArgParse(text, 1, &args)) {
        if (args.psArgs != nullptr) CMN_ArgFree(&args);
        return;
    }
    if (args.iTotal != 4) {
        ERRLOG_LineErrorNew(1202, 4, args.iTotal);
        CMN_ArgFree(&args);
        return;
    }
    static const struct {
        const char* name;
        int duplicateCode;
    } items[3] = {{"R_pkg", 1203}, {"L_pkg", 1204}, {"C_pkg", 1205}};
    TypMinMax** slots[3] = {&pkg->R_pkg, &pkg->L_pkg, &pkg->C_pkg};
    const char* name = args.psArgs[0];
    int i = 0;
    while (i < 3 && !CMN_StrSameIC(name, items[i].name)) i++;
    if (i == 3) {
        ERRLOG_LineErrorNew(1206);
    } else if (*slots[i] != nullptr) {
        ERRLOG_LineErrorNew(items[i].duplicateCode);
    } else {
        char* rest = text;
        CMN_EatNonWhitespace(&rest);
        TypMinMax* range = nullptr;
        if (!RNG_ParseRange(rest, name, &range)) {
            // A line that did not read leaves nothing behind.
            ERRLOG_LineErrorNew(1207, name);
            RNG_Free(range);
        } else if (range != nullptr) {
            *slots[i] = range;
            if (range->typ_state == RNG_ABSENT || range->typ_state == RNG_NA)
                ERRLOG_LineErrorNew(1209);
            if (range->min_state == RNG_ABSENT) ERRLOG_LineErrorNew(1210);
            if (range->max_state == RNG_ABSENT) ERRLOG_LineErrorNew(1211);
        }
    }
    CMN_ArgFree(&args);
}

void PKG_Test(PackageRecord* pkg, const char* componentName)
{
    CMN_ASSERT(pkg != nullptr && componentName != nullptr);
    if (pkg->R_pkg == nullptr) ERRLOG_ErrorNew(1213, componentName);
    if (pkg->L_pkg == nullptr) ERRLOG_ErrorNew(1215, componentName);
    if (pkg->C_pkg == nullptr) ERRLOG_ErrorNew(1217, componentName);
}

void PKG_Free(PackageRecord* pkg)
{
    CMN_ASSERT(pkg != nullptr);
    RNG_Free(pkg->R_pkg);
    RNG_Free(pkg->L_pkg);
    RNG_Free(pkg->C_pkg);
    free(pkg);
}
