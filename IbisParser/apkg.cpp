// [Alternate Package Models]: one package model name per data line, up to
// [End Alternate Package Models].
#include "apkg.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "errlog.h"
#include "rowlist.h"

#define CMN_MODULE_PATH "IbisParser/apkg"

static const char* s_NameOf(const AltPackageEntry* e) { return e->name; }
static RowAppender<AltPackageEntry> s_appender(s_NameOf);

int APKG_ReceiveLine(AltPackageEntry** head, char* text)
{
    CMN_ASSERT(head != nullptr && text != nullptr);
    size_t len = strlen(text);
    if (len > 40) ERRLOG_LineErrorNew(1600, text);
    if (len == 0) {
        ERRLOG_LineErrorNew(1601);
        return 0;
    }
    AltPackageEntry* entry = nullptr;
    if (!CMN_malloc((void**)&entry, sizeof(AltPackageEntry))) {
        ERRLOG_LineErrorNew(1602);
        return 0;
    }
    CMN_strncpy(entry->name, text, 40);
    if (s_appender.Append(head, entry) > 0) ERRLOG_LineErrorNew(1605, entry->name);
    return 1;
}

void APKG_Fini(AltPackageEntry* list)
{
    if (list == nullptr) ERRLOG_LineErrorNew(1603);
    else if (list->next == nullptr) ERRLOG_LineWarnNew(1604);
}

int APKG_FreeList(AltPackageEntry* list)
{
    s_appender.FreeList(list);
    return 1;
}

void APKG_TestList(AltPackageEntry* list)
{
    for (; list != nullptr; list = list->next) {
    }
}
