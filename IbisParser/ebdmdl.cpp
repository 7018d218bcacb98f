// Board descriptions: the keyword dispatch from [Begin Board Description] to
// [End Board Description], pin lines, path lines and map lines, the checks
// at the end of each board, and the board check that reads each file a
// board's map refers to.
#include "ebdmdl.h"

#include <ctype.h>
#include <stdio.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <deque>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "rowlist.h"
#include "cmn.h"
#include "cmpnt.h"
#include "errlog.h"
#include "hdr.h"
#include "ibis.h"
#include "nameidx.h"
#include "parse.h"
#include "pin.h"

#define CMN_MODULE_PATH "IbisParser/ebdmdl"

static BoardDescriptionRecord* gpEbdMdl;
static BoardPath* gpCurrEbdPath;
static SectionElement* gpCurrEbdElem;
static ForkStack top;
// The keyword codes of this module (hdr.h exports a variable of the plain name).
static int geEbdKeyword = KW_NOT_KEY, geEbdPrevKeyword = KW_NOT_KEY;
static int gbNumber_PinsFound, gbPin_ListFound, gbRef_DsmFound, gbEnd_Ebd_ModelFound,
    gbManufacturerFound;
static int gbAllowRefTesting = 1;
// Names of the current board's pins, paths and reference designators, each
// with how often it occurred, so that repeats are found without walking.
static NameCount s_pinNames, s_pathNames, s_refNames;

int EBDMDL_AllowRefTesting(int on) { return gbAllowRefTesting = on != 0; }

static void s_StartBoardState(void)
{
    gpCurrEbdPath = nullptr;
    gpCurrEbdElem = nullptr;
    PKGMDL_ForkClear(&top);
    s_pinNames.Clear();
    s_pathNames.Clear();
    s_refNames.Clear();
}

void EBDMDL_Reset(void)
{
    gpEbdMdl = nullptr;
    s_StartBoardState();
    geEbdKeyword = geEbdPrevKeyword = KW_NOT_KEY;
}

void EBDMDL_Init(void)
{
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_LineBugNew(4300, CMN_MODULE_PATH, __LINE__);
        return;
    }
    gpEbdMdl = nullptr;
    s_StartBoardState();
    gbNumber_PinsFound = gbPin_ListFound = gbRef_DsmFound = gbEnd_Ebd_ModelFound = 0;
    gbManufacturerFound = 0;
    BoardDescriptionRecord* rec = nullptr;
    if (!CMN_malloc((void**)&rec, sizeof(BoardDescriptionRecord))) {
        ERRLOG_LineErrorNew(4307);
        return;
    }
    IBIS_AddEbdMdl(ibis, rec);
    gpEbdMdl = rec;
}

void EBDMDL_AddLink(BoardDescriptionRecord* rec, BoardDescriptionRecord* next)
{
    CMN_ASSERT(rec != nullptr);
    rec->next = next;
}

int EBDMDL_GetLastLink(BoardDescriptionRecord** p)
{
    CMN_ASSERT(p != nullptr);
    if (*p == nullptr) return 0;
    while ((*p)->next != nullptr) *p = (*p)->next;
    return 1;
}

static const char* s_BoardName(const BoardDescriptionRecord* b) { return b->name; }

int EBDMDL_FindEbdModel(BoardDescriptionRecord* list, const char* name, BoardDescriptionRecord** found)
{
    CMN_ASSERT(name != nullptr);
    // The first board of the name along the list (the newest), through the
    // index of the container that holds the list.
    BoardDescriptionRecord* b = IBIS_FindInList(list, &IBIS::boardDescriptions, &IBIS_Names::boards,
                                                s_BoardName, name);
    if (b == nullptr) return 0;
    if (found != nullptr) *found = b;
    return 1;
}

// How often name occurred before in names; records this occurrence.
static int s_Earlier(NameCount& names, const char* name)
{
    try {
        return names.Add(name, nullptr);
    } catch (const std::bad_alloc&) {
        return 0;   // without memory for the table, repeats go unreported
    }
}

static int s_Known(const NameCount& names, const char* name) { return names.Has(name); }

// ---------------------------------------------------------------------------
// Keyword lines.

static void s_NewPath(const char* text)
{
    if (top.count != 0) {
        ERRLOG_LineErrorNew(4303);
        PKGMDL_ForkClear(&top);
    }
    gpCurrEbdPath = nullptr;
    gpCurrEbdElem = nullptr;
    BoardPath* path = nullptr;
    if (!CMN_malloc((void**)&path, sizeof(BoardPath))) {
        ERRLOG_LineErrorNew(4353);
        return;
    }
    CMN_SetStr(path->name, text, 40, "Path Description");
    CMN_ReservedWordErr(path->name);
    BoardDescriptionRecord* b = gpEbdMdl;
    if (b->lastPath == nullptr)
        b->paths = path;
    else
        b->lastPath->next = path;
    b->lastPath = path;
    // Once per repeated name, however many paths carried it before.
    if (s_Earlier(s_pathNames, path->name) > 0) ERRLOG_LineErrorNew(4354, path->name);
    gpCurrEbdPath = path;
}

static void s_PinListKeyword(char* text)
{
    if (gbPin_ListFound) {
        ERRLOG_LineErrorNew(4336);
        return;
    }
    gbPin_ListFound = 1;
    char* p = text;
    char* first = PKGMDL_NextToken(&p);
    if (first == nullptr) {
        ERRLOG_LineErrorNew(4337);
        return;
    }
    if (!CMN_StrSameIC(first, "signal_name")) ERRLOG_LineErrorNew(4338);
    if (PKGMDL_NextToken(&p) != nullptr) ERRLOG_LineErrorNew(4339);
}

static void s_KeywordLine(int code, char* text)
{
    if (gpEbdMdl == nullptr) {
        ERRLOG_LineErrorNew(4301);
        return;
    }
    CMN_EatKeyword(&text);
    geEbdPrevKeyword = geEbdKeyword;
    geEbdKeyword = code;
    BoardDescriptionRecord* b = gpEbdMdl;
    switch (code) {
    case KW_BEGIN_BOARD_DESCRIPTION:
        CMN_SetKeywordStr(b->name, text, 40, "Define Ebd Model");
        CMN_ReservedWordErr(b->name);
        break;
    case KW_EBD_MANUFACTURER:
        CMN_SetKeywordStr(b->Manufacturer, text, 40, "Manufacturer");
        gbManufacturerFound = 1;
        break;
    case KW_EBD_NUMBER_OF_PINS:
        if (gbNumber_PinsFound) ERRLOG_LineErrorNew(4309);
        gbNumber_PinsFound = 1;
        if (text[0] == '\0')
            ERRLOG_LineErrorNew(4310);
        else if (b->Number_of_Pins != 0)
            ERRLOG_LineErrorNew(4311);   // the first count stays
        else
            PKGMDL_ReadCount(text, &b->Number_of_Pins, 4312, 4313, 4314);
        break;
    case KW_PIN_LIST: s_PinListKeyword(text); break;
    case KW_PATH_DESCRIPTION: s_NewPath(text); break;
    case KW_REFERENCE_DESIGNATOR_MAP:
        PKGMDL_FlagKeyword(&gbRef_DsmFound, "Reference_Designator_Map", text, 4334, 4335);
        break;
    case KW_END_BOARD_DESCRIPTION:
        PKGMDL_FlagKeyword(&gbEnd_Ebd_ModelFound, "End_Board_Description", text, 4334, 4335);
        break;
    default: ERRLOG_LineBugNew(4304, CMN_MODULE_PATH, __LINE__); break;
    }
}

// ---------------------------------------------------------------------------
// Pin lines.

static int s_ReservePin(BoardDescriptionRecord* b)
{
    if (!PKGMDL_GrowSlots((void**)&b->pins, &b->uiPinCapacity, (uint64_t)b->uiPinCount + 1,
                          b->Number_of_Pins, sizeof(BoardPin*))) {
        ERRLOG_LineErrorNew(4319);
        return 0;
    }
    return 1;
}

static void s_PinLine(char* text)
{
    BoardDescriptionRecord* b = gpEbdMdl;
    char* p = text;
    char* name = PKGMDL_NextToken(&p);
    if (name == nullptr) {
        ERRLOG_LineErrorNew(4316);
        return;
    }
    if (strlen(name) > 8) ERRLOG_LineErrorNew(4317);
    if (b->Number_of_Pins == 0) {
        ERRLOG_LineErrorNew(4318);
        return;
    }
    if (b->uiPinCount >= b->Number_of_Pins) {
        ERRLOG_LineErrorNew(4320);
        return;
    }
    if (!s_ReservePin(b)) return;
    BoardPin* pin = (BoardPin*)calloc(1, sizeof(BoardPin));
    if (pin == nullptr) {
        ERRLOG_LineErrorNew(4321);
        return;
    }
    CMN_strncpy(pin->name, name, 8);
    b->pins[b->uiPinCount++] = pin;
    if (s_Earlier(s_pinNames, pin->name) > 0) ERRLOG_LineErrorNew(4322, pin->name);
    char* signal = PKGMDL_NextToken(&p);
    if (signal == nullptr) {
        ERRLOG_LineErrorNew(4323);
        return;
    }
    if (strlen(signal) > 20) ERRLOG_LineErrorNew(4324);
    CMN_strncpy(pin->signal_name, signal, 20);
    if (PKGMDL_NextToken(&p) != nullptr) ERRLOG_LineErrorNew(4325);
}

// ---------------------------------------------------------------------------
// Map lines.

static int s_DosChar(char c)
{
    if (isalnum((unsigned char)c) || c == '.') return 1;
    return c != '\0' && strchr("_^$~!#%&-{})(@'`", c) != nullptr;
}

static void s_FileName(ReferenceDesignator* r, const char* file)
{
    unsigned limit = geFileVersion < 4 ? 24 : 44;
    if (strlen(file) > limit) ERRLOG_LineErrorNew(4375, file);
    r->fileValid = 1;
    const char* dot = strrchr(file, '.');
    if (dot == nullptr) {
        ERRLOG_LineErrorNew(4376, file);
        r->fileValid = 0;
    } else if (strcmp(dot, ".ibs") != 0 && strcmp(dot, ".ebd") != 0) {
        ERRLOG_LineErrorNew(4377, dot);
        r->fileValid = 0;
    }
    int periods = 0;
    for (const char* c = file; *c; c++) {
        if (isupper((unsigned char)*c)) {
            ERRLOG_LineErrorNew(4378, file, *c);
            r->fileValid = 0;
        } else if (!s_DosChar(*c)) {
            ERRLOG_LineErrorNew(4379, file, *c);
            r->fileValid = 0;
        }
        if (*c == '.' && ++periods > 1) {
            ERRLOG_LineErrorNew(4380, file);
            r->fileValid = 0;
        }
    }
    CMN_strncpy(r->file, file, limit);
}

static void s_MapLine(char* text)
{
    ReferenceDesignator* r = (ReferenceDesignator*)calloc(1, sizeof(ReferenceDesignator));
    if (r == nullptr) {
        ERRLOG_LineErrorNew(4370);
        return;
    }
    r->next = gpEbdMdl->refDesMap;
    gpEbdMdl->refDesMap = r;
    char* p = text;
    char* name = PKGMDL_NextToken(&p);
    if (name == nullptr) {
        ERRLOG_LineErrorNew(4371);
        return;
    }
    if (strlen(name) > 10) ERRLOG_LineErrorNew(4372, name);
    CMN_strncpy(r->name, name, 10);
    if (s_Earlier(s_refNames, r->name) > 0) ERRLOG_LineErrorNew(4373, r->name);
    char* file = PKGMDL_NextToken(&p);
    if (file == nullptr)
        ERRLOG_LineErrorNew(4374);
    else
        s_FileName(r, file);
    while (*p == ' ' || *p == '\t') p++;
    if (*p == '\0') {
        ERRLOG_LineErrorNew(4381);
        return;
    }
    if (strlen(p) > 40) ERRLOG_LineErrorNew(4382, p);
    CMN_strncpy(r->component, p, 40);
    r->componentValid = 1;
}

// ---------------------------------------------------------------------------
// Path lines.

static SectionElement* s_Append(unsigned kind, void* payload)
{
    SectionElement* e = (SectionElement*)calloc(1, sizeof(SectionElement));
    if (e == nullptr) return nullptr;
    e->kind = kind;
    e->payload = payload;
    PKGMDL_LinkElement(&gpCurrEbdPath->elements, &gpCurrEbdElem, &top, e);
    return e;
}

// The word at *p (up to a blank, tab, '=' or the end), copied into word;
// the cursor moves past it.  0 when there is none.
static size_t s_Word(const char** p, std::string& word, int skipBlanks)
{
    const char* q = *p;
    if (skipBlanks)
        while (*q == ' ' || *q == '\t') q++;
    const char* start = q;
    while (*q && *q != ' ' && *q != '\t' && *q != '=') q++;
    word.assign(start, (size_t)(q - start));
    *p = q;
    return word.size();
}

static void s_PinElement(const std::string& word)
{
    if (word.size() > 8) ERRLOG_LineErrorNew(4361);
    PKGMDL_NameWarnings(word.c_str(), 4363, 4362, 4364);
    char name[9];
    CMN_strncpy(name, word.c_str(), 8);
    char* payload = (char*)calloc(1, sizeof name);
    if (payload == nullptr) {
        ERRLOG_LineErrorNew(4366);
        return;
    }
    memcpy(payload, name, sizeof name);
    if (s_Append(EBD_ELEM_PIN, payload) == nullptr) {
        free(payload);
        ERRLOG_LineErrorNew(4365);
    }
}

static void s_NodeElement(const std::string& word)
{
    BoardNode* node = (BoardNode*)calloc(1, sizeof(BoardNode));
    if (node == nullptr) {
        ERRLOG_LineErrorNew(4383);
        return;
    }
    size_t dot = word.find('.');
    std::string refdes = word.substr(0, dot);
    std::string pin = dot == std::string::npos ? std::string() : word.substr(dot + 1);
    if (dot == std::string::npos) ERRLOG_LineErrorNew(4368);
    if (refdes.size() > 10) ERRLOG_LineErrorNew(4369);
    if (pin.size() > 8) ERRLOG_LineErrorNew(4384);
    CMN_strncpy(node->refdes, refdes.c_str(), 10);
    CMN_strncpy(node->pin, pin.c_str(), 8);
    PKGMDL_NameWarnings(refdes.c_str(), 4385, 4386, 4387);
    if (s_Append(EBD_ELEM_NODE, node) == nullptr) {
        free(node);
        ERRLOG_LineErrorNew(4365);
    }
}

static void s_PathLine(const char* text)
{
    std::string word, arg;
    const char* p = text;
    while (*p) {
        if (*p == ' ' || *p == '\t') {
            p++;
            continue;
        }
        if (*p == '=' || *p == '/') {
            ERRLOG_LineErrorNew(*p == '=' ? 4340 : 4341);
            p++;
            continue;
        }
        const char* start = p;
        s_Word(&p, word, 0);
        if (word == "Pin") {
            if (s_Word(&p, arg, 1) == 0) {
                ERRLOG_LineErrorNew(4349);
                return;
            }
            s_PinElement(arg);
        } else if (word == "Len") {
            if (gpCurrEbdElem == nullptr) {
                ERRLOG_LineErrorNew(4342);
                return;
            }
            RlcSection* s = nullptr;
            char* next = nullptr;
            if (!SECT_ParseSection(start, &next, &s)) return;
            p = next;
            if (s != nullptr && s_Append(EBD_ELEM_SECTION, s) == nullptr) {
                SECT_Free(s);
                ERRLOG_LineErrorNew(4360);
            }
        } else if (word == "NC") {
            if (gpCurrEbdElem == nullptr)
                ERRLOG_LineErrorNew(4344);
            else if (s_Append(EBD_ELEM_NC, nullptr) == nullptr)
                ERRLOG_LineErrorNew(4360);
        } else if (word == "Fork") {
            SectionElement* f = nullptr;
            if (gpCurrEbdElem == nullptr)
                ERRLOG_LineErrorNew(4345);
            else if ((f = s_Append(EBD_ELEM_FORK, nullptr)) == nullptr)
                ERRLOG_LineErrorNew(4360);
            else
                PKGMDL_ForkPush(&top, f);
        } else if (word == "Endfork") {
            if (gpCurrEbdElem == nullptr) {
                ERRLOG_LineErrorNew(4346);
                continue;
            }
            SectionElement* f = PKGMDL_ForkPop(&top);
            if (f == nullptr) {
                ERRLOG_LineErrorNew(4348);
                continue;
            }
            gpCurrEbdElem = f;
            if (f->payload == nullptr) ERRLOG_LineErrorNew(4347);
        } else if (word == "Node") {
            if (s_Word(&p, arg, 1) == 0) {
                ERRLOG_LineErrorNew(4350);
                return;
            }
            if (gpCurrEbdElem == nullptr)
                ERRLOG_LineErrorNew(4351);
            else
                s_NodeElement(arg);
        } else {
            ERRLOG_LineErrorNew(4352, word.c_str());
        }
    }
}

void EBDMDL_ReceiveLine(int lineType, int keywordCode, char* text)
{
    CMN_ASSERT(text != nullptr);
    if (lineType == PARSE_LINE_KEYWORD) {
        s_KeywordLine(keywordCode, text);
        return;
    }
    if (lineType != PARSE_LINE_DATA) {
        ERRLOG_LineBugNew(4305, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (gpEbdMdl == nullptr) {
        ERRLOG_LineErrorNew(4302);
        return;
    }
    switch (geEbdKeyword) {
    case KW_PATH_DESCRIPTION:
        if (gpCurrEbdPath != nullptr) s_PathLine(text);
        break;
    case KW_REFERENCE_DESIGNATOR_MAP: s_MapLine(text); break;
    case KW_PIN_LIST: s_PinLine(text); break;
    default: ERRLOG_LineErrorNew(4302); break;
    }
}

// ---------------------------------------------------------------------------
// End of a board.

static int s_CountPinRef(SectionElement* e, void* ctx)
{
    if (e->kind == EBD_ELEM_PIN) s_Earlier(*(NameCount*)ctx, (const char*)e->payload);
    return 1;
}

static int s_PowerOrGnd(const char* signal)
{
    return strncmp(signal, "POWER", 5) == 0 || strncmp(signal, "GND", 3) == 0;
}

static void s_PinReferences(BoardDescriptionRecord* b)
{
    NameCount refs;
    for (BoardPath* path = b->paths; path != nullptr; path = path->next)
        PKGMDL_WalkChain(path->elements, s_CountPinRef, &refs);
    for (unsigned i = 0; i < b->uiPinCount; i++) {
        const BoardPin* pin = b->pins[i];
        int n = refs.Count(pin->name);
        if (b->paths != nullptr && n >= 1 && s_PowerOrGnd(pin->signal_name))
            ERRLOG_WarnNew(4329, pin->name);
        else if (b->paths != nullptr && n > 1)
            ERRLOG_ErrorNew(4330, pin->name, n);
        else if (n == 0 && CMN_ReservedWord(pin->signal_name) != 0 && !s_PowerOrGnd(pin->signal_name))
            ERRLOG_ErrorNew(4328, pin->name);
    }
    if (b->uiPinCount < b->Number_of_Pins) ERRLOG_ErrorNew(4331, b->Number_of_Pins, b->uiPinCount);
}

static int s_CheckPathElement(SectionElement* e, void* ctx)
{
    const char* path = (const char*)ctx;
    if (e->kind == EBD_ELEM_NODE) {
        const BoardNode* node = (const BoardNode*)e->payload;
        if (!s_Known(s_refNames, node->refdes)) ERRLOG_ErrorNew(4359, node->refdes, path);
    } else if (e->kind == EBD_ELEM_PIN) {
        if (!s_Known(s_pinNames, (const char*)e->payload))
            ERRLOG_ErrorNew(4358, (const char*)e->payload, path);
    } else if (e->kind == EBD_ELEM_NC && e->next != nullptr) {
        ERRLOG_ErrorNew(4357, path);
    }
    return 1;
}

static void s_EndChecks(BoardDescriptionRecord* b)
{
    if (b->name[0] == '\0') ERRLOG_ErrorNew(4308);
    if (b->Manufacturer[0] == '\0') ERRLOG_ErrorNew(4333, "Manufacturer", b->name);
    if (b->Number_of_Pins == 0) ERRLOG_ErrorNew(4315, b->name);
    if (!gbPin_ListFound)
        ERRLOG_ErrorNew(4326);
    else if (b->Number_of_Pins != 0 && b->uiPinCount == 0)
        ERRLOG_ErrorNew(4327);
    else if (b->Number_of_Pins != 0)
        s_PinReferences(b);
    if (top.count != 0) {
        ERRLOG_LineErrorNew(4303);
        PKGMDL_ForkClear(&top);
    }
    for (BoardPath* path = b->paths; path != nullptr; path = path->next) {
        if (path->elements == nullptr)
            ERRLOG_ErrorNew(4356, path->name);
        else
            PKGMDL_WalkChain(path->elements, s_CheckPathElement, path->name);
    }
    if (b->paths == nullptr) ERRLOG_ErrorNew(4355, b->name);
    if (!gbEnd_Ebd_ModelFound) ERRLOG_ErrorNew(4332);
}

void EBDMDL_Fini(int nextKeywordCode)
{
    if (nextKeywordCode >= KW_EBD_MANUFACTURER && nextKeywordCode <= KW_END_BOARD_DESCRIPTION) return;
    if (gpEbdMdl != nullptr) s_EndChecks(gpEbdMdl);
    gpEbdMdl = nullptr;
    s_StartBoardState();
}

static void s_FreePayload(SectionElement* e)
{
    if (e->kind == EBD_ELEM_SECTION)
        SECT_Free((RlcSection*)e->payload);
    else
        free(e->payload);
}

int EBDMDL_FreeList(BoardDescriptionRecord* list)
{
    while (list != nullptr) {
        BoardDescriptionRecord* next = list->next;
        if (list == gpEbdMdl) EBDMDL_Reset();
        for (unsigned i = 0; i < list->uiPinCount; i++) free(list->pins[i]);
        free(list->pins);
        for (BoardPath* path = list->paths; path != nullptr;) {
            BoardPath* after = path->next;
            PKGMDL_FreeChain(path->elements, s_FreePayload);
            free(path);
            path = after;
        }
        FreeChain(list->refDesMap);
        free(list);
        list = next;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// The board check: duplicate boards and the references of every node.

// One node's reference into another file: the map entry's component, the
// board whose path holds the node and the node's pin.  The texts are those
// of the boards being checked, which outlive the check.
struct PinRef {
    const char* component;
    const char* board;
    const char* pin;
};

// A referenced file with its references in the order they were met.
struct FileRef {
    const char* file;
    std::vector<PinRef> refs;
};

// The stored pins of a board: its first Number_of_Pins slots at most.
static unsigned s_StoredPins(const BoardDescriptionRecord* b)
{
    return b->uiPinCount < b->Number_of_Pins ? b->uiPinCount : b->Number_of_Pins;
}

static void s_NotePins(const BoardDescriptionRecord* b, NameCount* names)
{
    for (unsigned i = 0, n = s_StoredPins(b); i < n; i++) names->Add(b->pins[i]->name, nullptr);
}

static void s_NotePins(const ComponentRecord* c, NameCount* names)
{
    for (const PinRecord* p = c->pins; p != nullptr; p = p->next) names->Add(p->pinName, nullptr);
}

static bool s_WalkPins(const BoardDescriptionRecord* b, const char* pin)
{
    for (unsigned i = 0, n = s_StoredPins(b); i < n; i++)
        if (strcmp(b->pins[i]->name, pin) == 0) return true;
    return false;
}

static bool s_WalkPins(const ComponentRecord* c, const char* pin)
{
    return PIN_PinExists(c->pins, pin) != 0;
}

// The pin names of each board or component that one check looks pins up on,
// noted at its first look-up, so that many nodes onto one part do not walk
// its pins per node.
template <class R>
class PinNames {
public:
    bool Has(const R* owner, const char* pin)
    {
        try {
            auto it = names_.find(owner);
            if (it == names_.end()) {
                it = names_.emplace(owner, NameCount()).first;
                s_NotePins(owner, &it->second);
            }
            return it->second.Has(pin);
        } catch (const std::bad_alloc&) {
            names_.erase(owner);
            return s_WalkPins(owner, pin);   // no room for an index
        }
    }

private:
    std::unordered_map<const R*, NameCount> names_;
};

// The gathering of one check: its own, so that the nested pass's own check
// cannot touch it.
struct RefWalk {
    BoardDescriptionRecord* board = nullptr;
    // The board's map: the newest entry of each name, as a walk from the
    // head finds it; null when there was no room for it.
    NameIndex<ReferenceDesignator>* map = nullptr;
    std::deque<FileRef> files;   // in the order first met
    NameIndex<FileRef> fileIndex;
    const char* ownFile = "";
    BoardDescriptionRecord* ownBoards = nullptr;   // the boards of the file checked
    PinNames<BoardDescriptionRecord> ownPins;
};

// The [File Name] of the file being checked (its only header); "" without one.
static void s_OwnFileName(char* out)
{
    out[0] = '\0';
    IBIS* ibis = nullptr;
    HeaderRecord* hdr = nullptr;
    char* name = nullptr;
    if (IBIS_GetIBIS(&ibis) && IBIS_GetHdrs(ibis, &hdr) && HDR_GetFile_name(hdr, &name))
        CMN_strncpy(out, name, 1024);
}

// Looks up a component's pin among the boards of list (4391, 4392).
static void s_LookUpBoardPin(BoardDescriptionRecord* list, const char* component, const char* pin,
                             const char* file, PinNames<BoardDescriptionRecord>* pins)
{
    BoardDescriptionRecord* b = nullptr;
    if (list == nullptr || !EBDMDL_FindEbdModel(list, component, &b) || b->pins == nullptr)
        ERRLOG_ErrorNew(4391, component, file);
    else if (!pins->Has(b, pin))
        ERRLOG_ErrorNew(4392, pin, component, file);
}

static FileRef* s_FileRef(RefWalk* w, const char* file)
{
    FileRef* f = w->fileIndex.Find(file);
    if (f != nullptr) return f;
    w->files.push_back(FileRef{file, {}});
    f = &w->files.back();
    w->fileIndex.Add(file, f);
    return f;
}

static void s_collectFileRef(RefWalk* w, ReferenceDesignator* entry, const char* pin)
{
    if (!entry->fileValid || !entry->componentValid) return;
    const char* boardName = w->board->name;
    if (strcmp(entry->file, w->ownFile) != 0) {
        FileRef* f = nullptr;
        try {
            f = s_FileRef(w, entry->file);
        } catch (const std::bad_alloc&) {
            ERRLOG_ErrorNew(4388);
            return;
        }
        try {
            f->refs.push_back(PinRef{entry->component, boardName, pin});
        } catch (const std::bad_alloc&) {
            ERRLOG_ErrorNew(4389);
        }
        return;
    }
    if (strcmp(entry->component, boardName) == 0) {
        ERRLOG_ErrorNew(4390, entry->name, entry->component);
        entry->componentValid = 0;
        return;
    }
    s_LookUpBoardPin(w->ownBoards, entry->component, pin, entry->file, &w->ownPins);
}

static ReferenceDesignator* s_MapEntry(const RefWalk* w, const char* name)
{
    if (w->map != nullptr) return w->map->Find(name);
    for (ReferenceDesignator* r = w->board->refDesMap; r != nullptr; r = r->next)
        if (strcmp(r->name, name) == 0) return r;
    return nullptr;
}

static int s_CollectNode(SectionElement* e, void* ctx)
{
    if (e->kind != EBD_ELEM_NODE) return 1;
    RefWalk* w = (RefWalk*)ctx;
    const BoardNode* node = (const BoardNode*)e->payload;
    ReferenceDesignator* r = s_MapEntry(w, node->refdes);
    if (r != nullptr) s_collectFileRef(w, r, node->pin);
    return 1;
}

static const char* s_ComponentName(const ComponentRecord* c) { return c->name; }

// A component's pin in a referenced .ibs file: 0 no such component, 1 the
// component lacks the pin, 2 found.
static int s_FindComponentPin(IBIS* ibis, const char* component, const char* pin,
                              PinNames<ComponentRecord>* pins)
{
    ComponentRecord* c = nullptr;
    if (ibis == nullptr || !IBIS_GetCmpnts(ibis, &c)) return 0;
    c = IBIS_FindInList(c, &IBIS::components, &IBIS_Names::components, s_ComponentName, component);
    if (c == nullptr) return 0;
    return c->pins != nullptr && pins->Has(c, pin) ? 2 : 1;
}

static void s_testRefDsm(const FileRef& f, const char* ownFile)
{
    const char* dot = strrchr(f.file, '.');
    int isIbs = dot != nullptr && strcmp(dot, ".ibs") == 0;
    int kind = isIbs ? FILE_IBS : FILE_EBD;
    // Room for the longest directory, a separator and the longest name.
    char dir[1025];
    char path[sizeof dir + 1 + sizeof(ReferenceDesignator::file)];
    CMN_GetIbsPath(dir);
    CMN_JoinDir(dir, f.file, path, sizeof path);

    // A nested pass without its own container would fill and free the
    // container being checked.
    if (!INIT()) return;
    if (PARSE(path, kind)) {
        (TEST)(kind, 1);
        IBIS* nested = nullptr;
        IBIS_GetIBIS(&nested);
        // References newest first.
        if (isIbs) {
            PinNames<ComponentRecord> pins;
            for (auto r = f.refs.rbegin(); r != f.refs.rend(); ++r) {
                if (strlen(r->pin) >= 6) {
                    ERRLOG_ErrorNew(4393, r->pin, r->component);
                    continue;
                }
                int found = s_FindComponentPin(nested, r->component, r->pin, &pins);
                if (found == 0)
                    ERRLOG_ErrorNew(4391, r->component, f.file);
                else if (found == 1)
                    ERRLOG_ErrorNew(4392, r->pin, r->component, f.file);
            }
        } else {
            BoardDescriptionRecord* boards = nullptr;
            if (nested != nullptr) IBIS_GetEbdMdls(nested, &boards);
            if (boards != nullptr && !f.refs.empty()) {
                const char* board = f.refs.back().board;
                for (const ReferenceDesignator* e = boards->refDesMap; e != nullptr; e = e->next)
                    if (strcmp(e->file, ownFile) == 0 && strcmp(e->component, board) == 0)
                        ERRLOG_ErrorNew(4394, f.file, board, ownFile);
            }
            PinNames<BoardDescriptionRecord> pins;
            for (auto r = f.refs.rbegin(); r != f.refs.rend(); ++r)
                s_LookUpBoardPin(boards, r->component, r->pin, f.file, &pins);
        }
    }
    FINI();
}

static const char* s_RefName(const ReferenceDesignator* r) { return r->name; }

// Each board that a later board of the list shares its name with, once, in
// list order: n boards of one name give n - 1 messages.
static void s_DuplicateBoards(BoardDescriptionRecord* list)
{
    std::vector<const BoardDescriptionRecord*> boards;
    std::vector<char> repeated;
    try {
        for (const BoardDescriptionRecord* b = list; b != nullptr; b = b->next) boards.push_back(b);
        repeated.resize(boards.size());
        NameCount later;
        for (size_t i = boards.size(); i-- > 0;) repeated[i] = later.Add(boards[i]->name, nullptr) > 0;
    } catch (const std::bad_alloc&) {
        // No room to count: compare with the later boards.
        for (const BoardDescriptionRecord* a = list; a != nullptr; a = a->next)
            for (const BoardDescriptionRecord* b = a->next; b != nullptr; b = b->next)
                if (strcmp(a->name, b->name) == 0) {
                    ERRLOG_ErrorNew(4306, a->name);
                    break;
                }
        return;
    }
    for (size_t i = 0; i < boards.size(); i++)
        if (repeated[i]) ERRLOG_ErrorNew(4306, boards[i]->name);
}

void EBDMDL_TestList(BoardDescriptionRecord* list, int noRefTest)
{
    CMN_ASSERT(list != nullptr);
    s_DuplicateBoards(list);
    if (!gbAllowRefTesting) return;

    char ownFile[1025];
    s_OwnFileName(ownFile);
    RefWalk w;
    w.ownFile = ownFile;
    IBIS* ibis = nullptr;
    if (IBIS_GetIBIS(&ibis)) IBIS_GetEbdMdls(ibis, &w.ownBoards);
    for (BoardDescriptionRecord* b = list; b != nullptr; b = b->next) {
        // A fresh index per board: emptying one would cost its largest size.
        NameIndex<ReferenceDesignator> map;
        w.board = b;
        w.map = nullptr;
        try {
            map.AddList(b->refDesMap, s_RefName);
            w.map = &map;
        } catch (const std::bad_alloc&) {
        }
        for (BoardPath* path = b->paths; path != nullptr; path = path->next)
            PKGMDL_WalkChain(path->elements, s_CollectNode, &w);
        w.map = nullptr;
    }
    if (noRefTest) return;
    // Files newest first.
    for (auto f = w.files.rbegin(); f != w.files.rend(); ++f) s_testRefDsm(*f, ownFile);
}
