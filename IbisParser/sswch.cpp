// [Series Switch Groups]: each group begins with On or Off and ends with '/';
// a group may go on over several lines, which the frame's gbContinue flag
// carries from one data line to the next.
#include "sswch.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "errlog.h"
#include "parse.h"
#include "rowlist.h"
#include "spinmpg.h"

#include <string>
#include <unordered_set>

#define CMN_MODULE_PATH "IbisParser/sswch"

static RowAppender<SwitchGroupRecord> s_appender(nullptr);
// The group whose line may go on; only touched while gbContinue is set.
static SwitchGroupRecord* s_group;
// The group last linked and the list it went to: a group continued over
// lines is linked at its first line only.
static SwitchGroupRecord* s_lastLinked;
static SwitchGroupRecord** s_lastList;
// The names of the group last added to, so that a repeated name is found
// without a walk of the group.
static const SwitchGroupRecord* s_namesOf;
static NameCount s_names;

static void s_ForgetNames(void)
{
    s_namesOf = nullptr;
    s_names.Clear();
}

void SSWCH_Reset(void)
{
    s_group = nullptr;
    gbContinue = 0;
    s_lastLinked = nullptr;
    s_lastList = nullptr;
    s_ForgetNames();
}

// The names array grows to the next power of two when it is full, so that a
// group of many names is not copied once per name.
static int s_Room(SwitchGroupRecord* group)
{
    int n = group->nameCount;
    if (n != 0 && (n & (n - 1)) != 0) return 1;
    size_t room = n == 0 ? 1 : 2 * (size_t)n;
    char** names = (char**)realloc(group->names, room * sizeof(char*));
    if (names == nullptr) return 0;
    group->names = names;
    return 1;
}

static int s_AddName(SwitchGroupRecord* group, const char* token)
{
    if (!s_Room(group)) {
        ERRLOG_LineErrorNew(2503);
        return 0;
    }
    char** names = group->names;
    size_t len = strlen(token);
    if (len > 20) ERRLOG_LineErrorNew(2504, token, 20);
    char* name = CMN_StrMakeN(token, len > 20 ? 20 : (int)len);
    if (name == nullptr) {
        ERRLOG_LineErrorNew(2503);
        return 0;
    }
    if (strcmp(name, "On") == 0 || strcmp(name, "Off") == 0) ERRLOG_LineErrorNew(2505);
    if (group != s_namesOf) {
        s_ForgetNames();
        for (int i = 0; i < group->nameCount; i++) s_names.Add(group->names[i], group);
        s_namesOf = group;
    }
    // Once per repeated name, so that a long group cannot multiply messages.
    if (s_names.Add(name, group) > 0) ERRLOG_LineErrorNew(2506, name);
    names[group->nameCount++] = name;
    CMN_ReservedWordErr(name);
    return 1;
}

int SSWCH_ParseLine(char* text, SwitchGroupRecord** out)
{
    CMN_ASSERT(text != nullptr && out != nullptr);
    *out = nullptr;
    char* p = text;
    char token[1024];
    // Copies the next word of the line into token; 0 at the end of the line.
    auto next = [&p, &token]() {
        CMN_EatWhitespace(&p);
        if (*p == '\0') return 0;
        char* start = p;
        CMN_EatNonWhitespace(&p);
        size_t n = (size_t)(p - start);
        if (n >= sizeof token) n = sizeof token - 1;
        memcpy(token, start, n);
        token[n] = '\0';
        return 1;
    };
    SwitchGroupRecord* group;
    if (gbContinue && s_group != nullptr) {
        gbContinue = 0;
        group = s_group;
    } else {
        gbContinue = 0;
        s_group = nullptr;
        if (!next()) return 0;
        if (strcmp(token, "On") != 0 && strcmp(token, "Off") != 0) {
            ERRLOG_LineErrorNew(2500, token);
            return 0;
        }
        group = nullptr;
        if (!CMN_malloc((void**)&group, sizeof(SwitchGroupRecord))) {
            ERRLOG_LineErrorNew(2508);
            ERRLOG_LineErrorNew(2501);
            return 0;
        }
        CMN_strncpy(group->state, token, 3);
        *out = group;
        if (*(p + strspn(p, " \t\r\n\v\f")) == '\0') {
            ERRLOG_LineErrorNew(2502);
            return 1;
        }
        s_group = group;
    }
    *out = group;
    while (next()) {
        if (strcmp(token, "/") == 0) {
            s_group = nullptr;
            return 1;
        }
        if (!s_AddName(group, token)) {
            s_group = nullptr;
            return 0;
        }
    }
    gbContinue = 1;
    return 1;
}

void SSWCH_LinkSswch(SwitchGroupRecord** head, SwitchGroupRecord* group)
{
    CMN_ASSERT(head != nullptr && group != nullptr);
    s_appender.Append(head, group);
    s_lastLinked = group;
    s_lastList = head;
}

void SSWCH_LinkOnce(SwitchGroupRecord** head, SwitchGroupRecord* group)
{
    CMN_ASSERT(head != nullptr && group != nullptr);
    // A group read on from an earlier line is the last one linked: a new
    // one was made by this line, and the line before ended any other.
    if (group == s_lastLinked && head == s_lastList) return;
    SSWCH_LinkSswch(head, group);
}

int SSWCH_isLinked(SwitchGroupRecord* list, SwitchGroupRecord* group)
{
    CMN_ASSERT(group != nullptr);
    for (; list != nullptr; list = list->next)
        if (list == group) return 1;
    return 0;
}

int SSWCH_HasFunction(SwitchGroupRecord* list, const char* name)
{
    CMN_ASSERT(name != nullptr);
    for (; list != nullptr; list = list->next)
        for (int i = 0; i < list->nameCount; i++)
            if (strcmp(list->names[i], name) == 0) return 1;
    return 0;
}

void SSWCH_TestList(SwitchGroupRecord* groups, SeriesPinMappingRecord* rows,
                    const char* componentName)
{
    CMN_ASSERT(componentName != nullptr);
    std::unordered_set<std::string> used;
    for (; rows != nullptr; rows = rows->next) used.insert(rows->functionGroup);
    for (SwitchGroupRecord* g = groups; g != nullptr; g = g->next)
        for (int i = 0; i < g->nameCount; i++)
            if (used.count(g->names[i]) == 0) ERRLOG_WarnNew(2507, componentName, g->names[i]);
}

void SSWCH_FreeList(SwitchGroupRecord* list)
{
    s_appender.Forget();
    s_group = nullptr;
    s_lastLinked = nullptr;
    s_lastList = nullptr;
    s_ForgetNames();
    while (list != nullptr) {
        SwitchGroupRecord* next = list->next;
        for (int i = 0; i < list->nameCount; i++) free(list->names[i]);
        free(list->names);
        free(list);
        list = next;
    }
}
