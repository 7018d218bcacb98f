// [Algorithmic Model]: the Executable lines of a model, the check that the
// code and parameter files they name lie beside the .ibs file, and the
// checker of AMI parameter (.ami) files.
#include "algmod.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "cmn.h"
#include "errlog.h"
#include "nameidx.h"
#include "parse.h"
#include "subparm.h"

#define CMN_MODULE_PATH "IbisParser/algmod"

enum {
    MSG_LEAF_IN_RESERVED = 4600,
    MSG_ALREADY_DEFINED = 4601,
    MSG_NO_MEMORY = 4602,
    MSG_NOT_HERE = 4603,
    MSG_KEYWORD_PARSE = 4604,
    MSG_ITEM_COUNT = 4605,
    MSG_BITS = 4606,
    MSG_DUPLICATE = 4607,
    MSG_LINE_PARSE = 4608,
    MSG_UNKNOWN_LINE = 4609,
    MSG_PLATFORM_SHAPE = 4610,
    MSG_PLATFORM_LONG = 4611,
    MSG_COMPILER_LONG = 4612,
    MSG_BITS_PARSE = 4613,
    MSG_FILENAME_LONG = 4614,
    MSG_EMPTY = 4615,
    MSG_NO_CODE_FILE = 4616,
    MSG_AMI_EXTENSION = 4617,
    MSG_NO_AMI_FILE = 4618,
    MSG_MISMATCHED = 4619,
    MSG_NO_PARENTHESIS = 4620,
    MSG_INTERNAL = 4621,
    MSG_NO_RESERVED = 4622,
    MSG_UNKNOWN_BRANCH = 4623,
    MSG_UNKNOWN_PARAMETER = 4624,
    MSG_MANDATORY = 4625,
    MSG_LEAF_FORMAT = 4626,
    MSG_ILLEGAL_VALUE = 4627,
    MSG_BRANCH_FOR_LEAF = 4628,
    MSG_UNEXPECTED = 4629,
    MSG_LEAF_MANDATORY = 4630,
    MSG_FORMAT_NUMBERS = 4632,
    MSG_EMPTY_GROUP = 4634,
    MSG_TOO_FEW_NODES = 4635
};

// The places the allocation and tokenising bugs name.
enum { AT_NEW_LIST = 119, AT_NO_BRACKET = 134, AT_KEYWORD_TOKENS = 139,
       AT_LINE_TOKENS = 303, AT_PLATFORM_TOKENS = 399, AT_NEW_ENTRY = 500 };

const ALGMOD_SUB algmod_subs[] = {{"Executable", 1}, {"NOT_ALGMOD", 0}};

// Line of the last [Algorithmic Model] keyword, quoted by the end checks.
static unsigned long gAlgmodBeginLine;

static ALGMOD_MODEL_VIEW s_view;

struct ALGMOD_TreeShare {
    PTREE tree;
    size_t refs;
};

// Drops one reference to a tree; the last one frees it.
static void s_Drop(ALGMOD_TreeShare* share)
{
    if (share != nullptr && --share->refs == 0) {
        FreeParsedTree(&share->tree);
        free(share);
    }
}

static void s_Release(AlgorithmicModelEntry* e)
{
    ALGMOD_TreeShare* share = e->share;
    e->share = nullptr;
    e->tree = nullptr;
    s_Drop(share);
}

// Makes the entry hold share's tree (none for a null share).
static void s_Hold(AlgorithmicModelEntry* e, ALGMOD_TreeShare* share)
{
    if (share != nullptr) share->refs++;
    s_Release(e);
    e->share = share;
    e->tree = share != nullptr ? share->tree : nullptr;
}

// ---------------------------------------------------------------------------
// The keyword and its lines.

void ALGMOD_Free(AlgorithmicModelEntry** head)
{
    if (head == nullptr) return;
    AlgorithmicModelEntry* e = *head;
    *head = nullptr;
    while (e != nullptr) {
        AlgorithmicModelEntry* older = e->next;
        s_Release(e);
        free(e);
        e = older;
    }
    free(head);
}

int ALGMOD_New(char* text, AlgorithmicModelEntry*** head)
{
    CMN_ASSERT(text != nullptr && head != nullptr);
    if (*head != nullptr) {
        ERRLOG_LineErrorNew(MSG_ALREADY_DEFINED);
        AlgorithmicModelEntry** old = *head;
        *head = nullptr;
        ALGMOD_Free(old);
    }
    AlgorithmicModelEntry** list = nullptr;
    if (!CMN_malloc((void**)&list, sizeof *list)) {
        ERRLOG_BugNew(MSG_NO_MEMORY, CMN_MODULE_PATH, AT_NEW_LIST);
        return 0;
    }
    *head = list;
    gAlgmodBeginLine = PARSE_GetLineNum();

    const char* bracket = strchr(text, ']');
    if (bracket == nullptr) {
        ERRLOG_BugNew(MSG_NOT_HERE, CMN_MODULE_PATH, AT_NO_BRACKET);
        return 1;
    }
    ARG_LIST args = {0, 0, 0, nullptr};
    if (!CMN_ArgParse(bracket + 1, 1, &args)) {
        ERRLOG_BugNew(MSG_KEYWORD_PARSE, "Algorithmic Model", CMN_MODULE_PATH, AT_KEYWORD_TOKENS);
    } else if (args.iTotal > 0) {
        ERRLOG_LineErrorNew(MSG_ITEM_COUNT, args.iTotal + 1, "Algorithmic Model", 1);
    }
    SUBPARM_Free(&args);
    return 1;
}

// Copies a name into a field of ALGMOD_NAME_LEN characters; a longer one is
// reported as written, then cut.
static void s_SetName(char* field, const char* name, int tooLongCode)
{
    if (strlen(name) > ALGMOD_NAME_LEN) ERRLOG_LineErrorNew(tooLongCode, name);
    CMN_strncpy(field, name, ALGMOD_NAME_LEN);
}

static int s_IsSub(const char* word)
{
    for (const ALGMOD_SUB* s = algmod_subs; s->code != 0; s++)
        if (strcmp(word, s->name) == 0) return 1;
    return 0;
}

// Platform, '_', compiler, '_', bits: five tokens with the underscores in
// their places and nowhere else.
static int s_PlatformShape(const ARG_LIST* parts)
{
    if (parts->iTotal != 5) return 0;
    for (int i = 0; i < 5; i++) {
        int underscore = strcmp(parts->psArgs[i], "_") == 0;
        if (underscore != (i % 2 == 1)) return 0;
    }
    return 1;
}

// Bits as a whole unsigned number; -1 otherwise.  More than nine digits
// would not survive the conversion unchanged, and no width has them.
static int s_Bits(const char* text)
{
    const char* digits = text;
    if (*digits == '+') digits++;
    while (*digits == '0') digits++;
    unsigned value = 0;
    if (strlen(digits) > 9 || CMN_StrToUI(text, &value) != 1) return -1;
    return (int)value;
}

static void s_AddEntry(ARG_LIST* line, AlgorithmicModelEntry** head)
{
    ARG_LIST parts = {0, 0, 0, nullptr};
    if (!CMN_ArgParsePlus(line->psArgs[1], 5, '_', &parts)) {
        ERRLOG_BugNew(MSG_LINE_PARSE, "Algorithmic Model Sub-Parameter", CMN_MODULE_PATH,
                      AT_PLATFORM_TOKENS);
        SUBPARM_Free(&parts);
        return;
    }
    if (!s_PlatformShape(&parts)) {
        ERRLOG_LineErrorNew(MSG_PLATFORM_SHAPE);
        SUBPARM_Free(&parts);
        return;
    }
    AlgorithmicModelEntry* e = nullptr;
    if (!CMN_malloc((void**)&e, sizeof *e)) {
        ERRLOG_BugNew(MSG_NO_MEMORY, CMN_MODULE_PATH, AT_NEW_ENTRY);
        SUBPARM_Free(&parts);
        return;
    }
    s_SetName(e->platform, parts.psArgs[0], MSG_PLATFORM_LONG);
    s_SetName(e->compiler, parts.psArgs[2], MSG_COMPILER_LONG);
    e->bits = s_Bits(parts.psArgs[4]);
    if (e->bits < 0) ERRLOG_LineErrorNew(MSG_BITS_PARSE, line->psArgs[1]);
    s_SetName(e->codeFile, line->psArgs[2], MSG_FILENAME_LONG);
    s_SetName(e->amiFile, line->psArgs[3], MSG_FILENAME_LONG);
    e->next = *head;
    *head = e;
    SUBPARM_Free(&parts);
}

void ALGMOD_ReceiveLine(char* text, AlgorithmicModelEntry** head)
{
    CMN_ASSERT(text != nullptr && head != nullptr);
    ARG_LIST line = {0, 0, 0, nullptr};
    if (!CMN_ArgParse(text, 4, &line)) {
        ERRLOG_BugNew(MSG_LINE_PARSE, "Algorithmic Model Sub-Parameter", CMN_MODULE_PATH,
                      AT_LINE_TOKENS);
    } else if (line.iTotal != 4) {
        ERRLOG_LineErrorNew(MSG_ITEM_COUNT, line.iTotal, "Algorithmic Model", 4);
    } else if (!s_IsSub(line.psArgs[0])) {
        ERRLOG_LineErrorNew(MSG_UNKNOWN_LINE);
    } else {
        s_AddEntry(&line, head);
    }
    SUBPARM_Free(&line);
}

// Platform, compiler and bits as one name; each part's length in front of
// it keeps two different entries from making the same name.
static std::string s_EntryKey(const AlgorithmicModelEntry* e)
{
    std::string key = std::to_string(strlen(e->platform)) + ':' + e->platform;
    key += std::to_string(strlen(e->compiler)) + ':' + e->compiler;
    key += std::to_string(e->bits);
    return key;
}

void ALGMOD_Fini(AlgorithmicModelEntry** head)
{
    if (head == nullptr || *head == nullptr) return;
    int line = (int)gAlgmodBeginLine;
    for (AlgorithmicModelEntry* e = *head; e != nullptr; e = e->next)
        if (e->bits != 32 && e->bits != 64) ERRLOG_ErrorNew(MSG_BITS, e->platform, e->compiler, line);
    // An entry that an older one repeats (platform and compiler blind to
    // case, equal bits) is reported once, in list order.  The older entries
    // are noted first, walking the list from its oldest end.
    std::vector<AlgorithmicModelEntry*> entries;
    for (AlgorithmicModelEntry* e = *head; e != nullptr; e = e->next) entries.push_back(e);
    std::vector<char> repeated(entries.size(), 0);
    NameCount older(NAME_CASE_BLIND);
    for (size_t i = entries.size(); i-- > 0;) {
        std::string key = s_EntryKey(entries[i]);
        repeated[i] = older.Has(key.c_str());
        older.Add(key.c_str(), nullptr);
    }
    for (size_t i = 0; i < entries.size(); i++) {
        const AlgorithmicModelEntry* e = entries[i];
        if (repeated[i]) ERRLOG_ErrorNew(MSG_DUPLICATE, e->platform, e->compiler, e->bits, line);
    }
}

// ---------------------------------------------------------------------------
// The file checks.

void ALGMOD_SetModelView(const ALGMOD_MODEL_VIEW* view)
{
    if (view == nullptr) {
        memset(&s_view, 0, sizeof s_view);
        return;
    }
    CMN_ASSERT(view->Next != nullptr && view->Name != nullptr && view->List != nullptr);
    s_view = *view;
}

// The directory of the .ibs file and a name from an Executable line; the
// file services take paths of 1024 characters.
enum { ALGMOD_PATH_ROOM = 1024 + 1 };

// 1 when path names a file that opens for reading.  A directory may open,
// but its first read fails.
static int s_checkFileExists(const char* path)
{
    FILE* fp = CMN_fopen(path, "r");
    if (fp == nullptr) return 0;
    int c = getc(fp);
    int isFile = !(c == EOF && ferror(fp));
    fclose(fp);
    return isFile;
}

static PTREE s_AmiTest(void);

namespace {

// What one read and check of a parameter file left: its tree, what it
// printed to the log and counted, and where the reader stood after it.
struct AmiRead {
    ALGMOD_TreeShare* share = nullptr;   // one reference is this record's
    bool replayable = false;             // output holds everything printed
    std::string output;
    unsigned long bugs = 0, errors = 0, warns = 0, cautions = 0;
    unsigned long lineNum = 0;
    std::string fileName;
    int tabFound = 0;
    char comment = '|';
    int fileType = FILE_AMI;
};

// The files of one run of ALGMOD_Test: each code and parameter file is
// looked for once and each parameter file read and checked once, however
// many entries name it.  An entry after the first gets the same output
// again, the same counts and the same reader position, as if it had read
// the file itself.
class FilePass {
public:
    ~FilePass()
    {
        for (auto& f : reads_) s_Drop(f.second.share);
    }

    int Exists(const char* path)
    {
        auto found = exists_.find(path);
        if (found != exists_.end()) return found->second;
        int here = s_checkFileExists(path);
        exists_.emplace(path, here);
        return here;
    }

    // Reads and checks the parameter file at path for entry e, or gives what
    // its first read gave.
    void Check(AlgorithmicModelEntry* e, const char* path, const char* dir)
    {
        auto found = reads_.find(path);
        if (found != reads_.end() && found->second.replayable) {
            s_Replay(found->second, path, dir);
            s_Hold(e, found->second.share);
            return;
        }
        AmiRead read;
        PTREE tree = s_ReadAndCheck(path, dir, found == reads_.end(), &read);
        if (found != reads_.end()) {
            // Read again (nothing to replay): the tree already kept stands.
            FreeParsedTree(&tree);
            s_Hold(e, found->second.share);
            return;
        }
        read.share = s_NewShare(tree);
        s_Hold(e, read.share);
        reads_.emplace(path, std::move(read));
    }

private:
    static ALGMOD_TreeShare* s_NewShare(PTREE tree)
    {
        if (tree == nullptr) return nullptr;
        ALGMOD_TreeShare* share = (ALGMOD_TreeShare*)malloc(sizeof *share);
        if (share == nullptr) {
            // Without a holder no entry keeps the tree; its checks are done.
            FreeParsedTree(&tree);
            return nullptr;
        }
        share->tree = tree;
        share->refs = 1;
        return share;
    }

    // The read and the check; with keep, a copy of what they printed is
    // kept for the entries that name the file again (without room for it,
    // each of them reads the file again).
    static PTREE s_ReadAndCheck(const char* path, const char* dir, bool keep, AmiRead* out)
    {
        unsigned long bugs = gulBug_cnt, errors = gulError_cnt, warns = gulWarn_cnt,
                      cautions = gulCaution_cnt;
        if (keep) ERRLOG_BeginCapture();
        // The read takes the directory of the path it opens; every later
        // model, and the checks after this one, look beside the .ibs file
        // again.
        int ok = PARSE(path, FILE_AMI);
        CMN_strncpy(gsFilePath_ibs, dir, sizeof gsFilePath_ibs - 1);
        PTREE tree = nullptr;
        if (ok) {
            tree = s_AmiTest();
        } else if (gsBuffer != nullptr) {
            free(gsBuffer);
            gsBuffer = nullptr;
        }
        if (keep) {
            char* text = ERRLOG_EndCapture();
            out->replayable = text != nullptr;
            if (text != nullptr) out->output = text;
            free(text);
        }
        out->bugs = gulBug_cnt - bugs;
        out->errors = gulError_cnt - errors;
        out->warns = gulWarn_cnt - warns;
        out->cautions = gulCaution_cnt - cautions;
        out->lineNum = gulLineNum;
        out->fileName = gsFileName;
        out->tabFound = bTabFound;
        out->comment = gpcComment;
        out->fileType = geCurrFileType;
        return tree;
    }

    // What a read of the file prints and leaves, without reading it: the
    // reader's banner, the kept log text, the counts, and the reader's state.
    static void s_Replay(const AmiRead& r, const char* path, const char* dir)
    {
        PARSE_Banner(5, path);
        if (gsBuffer != nullptr) {
            free(gsBuffer);
            gsBuffer = nullptr;
        }
        ERRLOG_PrintText(r.output.c_str());
        gulBug_cnt += r.bugs;
        gulError_cnt += r.errors;
        gulWarn_cnt += r.warns;
        gulCaution_cnt += r.cautions;
        PARSE_SetPosition(r.fileName.c_str(), r.lineNum);
        bTabFound = r.tabFound;
        gpcComment = r.comment;
        geCurrFileType = r.fileType;
        CMN_strncpy(gsFilePath_ibs, dir, sizeof gsFilePath_ibs - 1);
    }

    std::unordered_map<std::string, int> exists_;
    std::unordered_map<std::string, AmiRead> reads_;
};

}  // namespace

static void s_TestEntry(AlgorithmicModelEntry* e, const char* dir, const char* model, FilePass* pass)
{
    char path[ALGMOD_PATH_ROOM];
    if (e->codeFile[0] != '\0' && !(CMN_JoinDir(dir, e->codeFile, path, sizeof path) && pass->Exists(path)))
        ERRLOG_ErrorNew(MSG_NO_CODE_FILE, e->codeFile, model);
    if (e->amiFile[0] == '\0') return;
    if (strchr(e->amiFile, '.') == nullptr) {
        ERRLOG_ErrorNew(MSG_AMI_EXTENSION, e->amiFile, model);
        return;
    }
    if (!(CMN_JoinDir(dir, e->amiFile, path, sizeof path) && pass->Exists(path))) {
        ERRLOG_ErrorNew(MSG_NO_AMI_FILE, e->amiFile, model);
        return;
    }
    pass->Check(e, path, dir);
}

void ALGMOD_Test(ModelRecord* models)
{
    if (s_view.Next == nullptr) return;
    char dir[1025];
    CMN_GetIbsPath(dir);
    FilePass pass;
    for (ModelRecord* m = models; m != nullptr; m = s_view.Next(m)) {
        AlgorithmicModelEntry** head = s_view.List(m);
        if (head == nullptr) continue;
        const char* name = s_view.Name(m);
        if (*head == nullptr) {
            ERRLOG_ErrorNew(MSG_EMPTY, name);
            continue;
        }
        for (AlgorithmicModelEntry* e = *head; e != nullptr; e = e->next) s_TestEntry(e, dir, name, &pass);
    }
}

// ---------------------------------------------------------------------------
// The AMI parameter-file checker.

#define WORD(w) (1u << (w))

static int s_HasWord(uint32_t words, int stringType)
{
    return stringType >= 0 && stringType < 32 && (words & WORD(stringType)) != 0;
}

static int s_IsNumber(const VALUE_STRUCT* v)
{
    return v->eValueType == VALUE_INTEGER || v->eValueType == VALUE_FLOAT;
}

static const uint32_t kUsageWords = WORD(STRING_IN) | WORD(STRING_OUT) | WORD(STRING_INFO) | WORD(STRING_INOUT);
static const uint32_t kTypeWords = WORD(STRING_FLOAT) | WORD(STRING_INTEGER) | WORD(STRING_STRING) |
                                   WORD(STRING_BOOLEAN) | WORD(STRING_TAP) | WORD(STRING_UI);

// The value counts of each Format word.
typedef struct {
    int word;        // STRING_TYPE
    int minValues;   // the format word included
    int maxValues;   // -1: no limit
    int numbers;     // values after the word must be numbers
    int quoted;      // the count that 4632 names
    int checked;     // 0: the values are not looked at
} FormatRule;

static const FormatRule kFormats[] = {
    {STRING_VALUE, 2, 2, 1, 1, 1},      {STRING_RANGE, 4, 4, 1, 3, 1},
    {STRING_CORNER, 4, 4, 1, 3, 1},     {STRING_INCREMENT, 5, 5, 1, 4, 1},
    {STRING_STEPS, 5, 5, 1, 4, 1},      {STRING_GAUSSIAN, 3, 3, 1, 2, 1},
    {STRING_DUAL_DIRAC, 4, 4, 1, 3, 1}, {STRING_DJRJ, 4, 4, 1, 3, 1},
    {STRING_LIST, 2, -1, 0, 1, 1},      {STRING_TABLE, 0, -1, 0, 0, 0},
};

static const FormatRule* s_FormatRule(int stringType)
{
    for (const FormatRule& f : kFormats)
        if (f.word == stringType) return &f;
    return nullptr;
}

// 1 when the leaf's values fit its Format word; else 4632 and 0.
static int s_checkFormatValues(const LEAF_STRUCT* leaf, const char* parent, const FormatRule* rule)
{
    if (!rule->checked) return 1;
    int n = leaf->iValueCount;
    int ok = n >= rule->minValues && (rule->maxValues < 0 || n <= rule->maxValues);
    for (int i = 1; ok && rule->numbers && i < n; i++) ok = s_IsNumber(&leaf->pValues[i]);
    if (!ok) ERRLOG_ErrorNew(MSG_FORMAT_NUMBERS, leaf->pValues[0].sValue, parent, rule->quoted);
    return ok;
}

// The first value of a leaf; a leaf without values is reported (and counts
// as not given).
static const VALUE_STRUCT* s_FirstValue(const LEAF_STRUCT* leaf, const char* parentName)
{
    if (leaf->iValueCount > 0) return &leaf->pValues[0];
    ERRLOG_ErrorNew(MSG_LEAF_FORMAT, leaf->sName, parentName);
    return nullptr;
}

static void s_checkGeneralLeaf(LEAF_STRUCT* leaf, const char* parentName)
{
    const VALUE_STRUCT* first = s_FirstValue(leaf, parentName);
    if (first == nullptr) return;
    switch (leaf->eLeafKeyword) {
    case LEAF_USAGE:
        if (!s_HasWord(kUsageWords, first->eStringType))
            ERRLOG_ErrorNew(MSG_ILLEGAL_VALUE, "Usage", first->sValue, parentName);
        break;
    case LEAF_TYPE:
        if (!s_HasWord(kTypeWords, first->eStringType))
            ERRLOG_ErrorNew(MSG_ILLEGAL_VALUE, "Type", first->sValue, parentName);
        break;
    case LEAF_FORMAT: {
        const FormatRule* rule = s_FormatRule(first->eStringType);
        if (rule == nullptr)
            ERRLOG_ErrorNew(MSG_ILLEGAL_VALUE, "Format", first->sValue, parentName);
        else
            s_checkFormatValues(leaf, parentName, rule);
        break;
    }
    default:
        break;
    }
}

// Every leaf below branch, at any depth, gets the general leaf rule with its
// own branch as parent.  Walked with a stack of its own: a file may nest
// groups far deeper than the machine stack would allow.
static void s_checkGeneralBranch(BRANCH_STRUCT* branch)
{
    typedef struct {
        BRANCH_STRUCT* branch;
        int next;
    } Frame;
    size_t capacity = 16, depth = 0;
    Frame* stack = nullptr;
    if (!CMN_malloc((void**)&stack, capacity * sizeof *stack)) return;
    stack[depth++] = Frame{branch, 0};
    while (depth > 0) {
        Frame* top = &stack[depth - 1];
        if (top->next >= top->branch->iChildCount) {
            depth--;
            continue;
        }
        const NODE_STRUCT* child = &top->branch->pChildren[top->next++];
        if (child->pRecord == nullptr) continue;
        if (child->eKind == NODE_LEAF) {
            s_checkGeneralLeaf((LEAF_STRUCT*)child->pRecord, top->branch->sName);
            continue;
        }
        if (depth == capacity) {
            capacity *= 2;
            if (!CMN_realloc((void**)&stack, capacity * sizeof *stack)) return;
        }
        stack[depth++] = Frame{(BRANCH_STRUCT*)child->pRecord, 0};
    }
    free(stack);
}

// What a reserved parameter's Default must be.
enum { DEFAULT_ANY, DEFAULT_INTEGER, DEFAULT_BOOLEAN, DEFAULT_NUMBER };

typedef struct {
    const char* name;
    uint32_t usage;       // words allowed as Usage
    uint32_t type;        // words allowed as Type
    uint32_t formats;     // words allowed as Format; 0: Format not allowed
    int tableAccepted;    // Format Table: no message, but not given either
    int defaultRule;      // DEFAULT_NUMBER: Default optional, else required
} ReservedParameterRule;

#define INFO WORD(STRING_INFO)
#define OUT_INFO (WORD(STRING_OUT) | WORD(STRING_INFO))
#define UI_FLOAT (WORD(STRING_UI) | WORD(STRING_FLOAT))
#define JITTER_FORMATS (WORD(STRING_GAUSSIAN) | WORD(STRING_DUAL_DIRAC) | WORD(STRING_DJRJ))
#define DCD_FORMATS (WORD(STRING_VALUE) | WORD(STRING_RANGE) | WORD(STRING_CORNER))

static const ReservedParameterRule kReserved[] = {
    {"Init_Returns_Impulse", INFO, WORD(STRING_BOOLEAN), 0, 0, DEFAULT_ANY},
    {"GetWave_Exists", INFO, WORD(STRING_BOOLEAN), 0, 0, DEFAULT_ANY},
    {"Max_Init_Aggressors", INFO, WORD(STRING_INTEGER), 0, 0, DEFAULT_INTEGER},
    {"Ignore_Bits", OUT_INFO, WORD(STRING_INTEGER), 0, 0, DEFAULT_INTEGER},
    {"Tx_Jitter", OUT_INFO, UI_FLOAT, JITTER_FORMATS, 1, DEFAULT_NUMBER},
    {"Rx_Clock_PDF", OUT_INFO, UI_FLOAT, JITTER_FORMATS, 1, DEFAULT_NUMBER},
    {"Tx_DCD", OUT_INFO, UI_FLOAT, DCD_FORMATS, 0, DEFAULT_NUMBER},
    {"Rx_Receiver_Sensitivity", OUT_INFO, WORD(STRING_FLOAT), DCD_FORMATS, 0, DEFAULT_NUMBER},
    {"Use_Init_Output", INFO, WORD(STRING_BOOLEAN), 0, 0, DEFAULT_BOOLEAN},
};

static const ReservedParameterRule* s_ReservedRule(const char* name)
{
    for (const ReservedParameterRule& r : kReserved)
        if (strcmp(r.name, name) == 0) return &r;
    return nullptr;
}

// 1 when a reserved parameter's Default is what its row asks for.
static int s_DefaultFits(const ReservedParameterRule* row, const VALUE_STRUCT* v)
{
    switch (row->defaultRule) {
    case DEFAULT_INTEGER: return v->eValueType == VALUE_INTEGER;
    case DEFAULT_BOOLEAN: return v->eValueType == VALUE_BOOLEAN;
    case DEFAULT_NUMBER: return s_IsNumber(v);
    default: return 1;
    }
}

static void s_checkReservedParameter(BRANCH_STRUCT* param, const ReservedParameterRule* row)
{
    const char* P = param->sName;
    int usage = 0, type = 0, format = 0, formatSeen = 0, dflt = 0, description = 0;
    for (int i = 0; i < param->iChildCount; i++) {
        const NODE_STRUCT* child = &param->pChildren[i];
        if (child->pRecord == nullptr) continue;
        if (child->eKind == NODE_BRANCH) {
            ERRLOG_ErrorNew(MSG_BRANCH_FOR_LEAF, ((BRANCH_STRUCT*)child->pRecord)->sName, P);
            continue;
        }
        const LEAF_STRUCT* leaf = (const LEAF_STRUCT*)child->pRecord;
        const VALUE_STRUCT* first = s_FirstValue(leaf, P);
        if (first == nullptr) continue;
        switch (leaf->eLeafKeyword) {
        case LEAF_USAGE:
            usage = 1;
            if (!s_HasWord(row->usage, first->eStringType))
                ERRLOG_ErrorNew(MSG_ILLEGAL_VALUE, "Usage", first->sValue, P);
            break;
        case LEAF_TYPE:
            type = 1;
            if (!s_HasWord(row->type, first->eStringType))
                ERRLOG_ErrorNew(MSG_ILLEGAL_VALUE, "Type", first->sValue, P);
            break;
        case LEAF_FORMAT:
            if (row->formats == 0) {
                formatSeen = 1;
            } else if (row->tableAccepted && first->eStringType == STRING_TABLE) {
                // Accepted without a message, yet not a Format that counts.
            } else if (!s_HasWord(row->formats, first->eStringType)) {
                ERRLOG_ErrorNew(MSG_ILLEGAL_VALUE, "Format", first->sValue, P);
            } else if (s_checkFormatValues(leaf, P, s_FormatRule(first->eStringType))) {
                format = 1;
            }
            break;
        case LEAF_DEFAULT:
            if (s_DefaultFits(row, first))
                dflt = 1;
            else
                ERRLOG_ErrorNew(MSG_ILLEGAL_VALUE, "Default", first->sValue, P);
            break;
        case LEAF_DESCRIPTION:
            description = 1;
            break;
        default:
            ERRLOG_ErrorNew(MSG_UNKNOWN_PARAMETER, leaf->sName, P);
            break;
        }
    }
    if (!usage) ERRLOG_ErrorNew(MSG_LEAF_MANDATORY, "Usage", P);
    if (!type) ERRLOG_ErrorNew(MSG_LEAF_MANDATORY, "Type", P);
    if (row->formats == 0 && formatSeen) ERRLOG_ErrorNew(MSG_UNEXPECTED, "Format", P);
    if (row->formats != 0 && !format) ERRLOG_ErrorNew(MSG_LEAF_MANDATORY, "Format", P);
    if (row->defaultRule != DEFAULT_NUMBER && !dflt) ERRLOG_ErrorNew(MSG_LEAF_MANDATORY, "Default", P);
    if (!description) ERRLOG_ErrorNew(MSG_LEAF_MANDATORY, "Description", P);
}

static void s_checkReserved(BRANCH_STRUCT* reserved)
{
    const char* name = reserved->sName;
    int initReturnsImpulse = 0, getWaveExists = 0;
    for (int i = 0; i < reserved->iChildCount; i++) {
        const NODE_STRUCT* child = &reserved->pChildren[i];
        if (child->pRecord == nullptr) continue;
        if (child->eKind == NODE_LEAF) {
            LEAF_STRUCT* leaf = (LEAF_STRUCT*)child->pRecord;
            ERRLOG_ErrorNew(MSG_LEAF_IN_RESERVED, leaf->sName, name);
            s_checkGeneralLeaf(leaf, name);
            continue;
        }
        BRANCH_STRUCT* param = (BRANCH_STRUCT*)child->pRecord;
        const ReservedParameterRule* row = s_ReservedRule(param->sName);
        if (row == nullptr) {
            ERRLOG_ErrorNew(MSG_UNKNOWN_PARAMETER, param->sName, name);
            s_checkGeneralBranch(param);
            continue;
        }
        s_checkReservedParameter(param, row);
        if (row == &kReserved[0]) initReturnsImpulse = 1;
        if (row == &kReserved[1]) getWaveExists = 1;
    }
    if (!initReturnsImpulse) ERRLOG_ErrorNew(MSG_MANDATORY, kReserved[0].name);
    if (!getWaveExists) ERRLOG_ErrorNew(MSG_MANDATORY, kReserved[1].name);
}

static void s_checkTree(PTREE tree)
{
    const NODE_STRUCT* first = tree->iNodeCount > 0 ? &tree->pNodes[0] : nullptr;
    if (first == nullptr || first->eKind != NODE_BRANCH || first->pRecord == nullptr ||
        ((BRANCH_STRUCT*)first->pRecord)->iChildCount == 0) {
        ERRLOG_ErrorNew(MSG_NO_RESERVED);
        return;
    }
    BRANCH_STRUCT* root = (BRANCH_STRUCT*)first->pRecord;
    int reservedFound = 0;
    for (int i = 0; i < root->iChildCount; i++) {
        const NODE_STRUCT* child = &root->pChildren[i];
        if (child->pRecord == nullptr) continue;
        if (child->eKind == NODE_LEAF) {
            s_checkGeneralLeaf((LEAF_STRUCT*)child->pRecord, root->sName);
            continue;
        }
        BRANCH_STRUCT* branch = (BRANCH_STRUCT*)child->pRecord;
        if (strcmp(branch->sName, "Reserved_Parameters") == 0) {
            reservedFound = 1;
            s_checkReserved(branch);
        } else if (strcmp(branch->sName, "Model_Specific") == 0) {
            s_checkGeneralBranch(branch);
        } else {
            ERRLOG_ErrorNew(MSG_UNKNOWN_BRANCH, branch->sName);
        }
    }
    if (!reservedFound) ERRLOG_ErrorNew(MSG_NO_RESERVED);
}

// Parses and checks gsBuffer, which is released and cleared on every path
// (a second read of the same file must not find a freed text there).
// Returns the tree, which the caller owns, or null.
static PTREE s_AmiTest(void)
{
    if (gsBuffer == nullptr) return nullptr;
    PTREE tree = nullptr;
    int rc = GetParsedTree(gsBuffer, &tree);
    free(gsBuffer);
    gsBuffer = nullptr;
    switch (rc) {
    case AMI_TREE_OK:
        s_checkTree(tree);
        return tree;
    case AMI_TREE_UNBALANCED: ERRLOG_ErrorNew(MSG_MISMATCHED); break;
    case AMI_TREE_NO_OPEN: ERRLOG_ErrorNew(MSG_NO_PARENTHESIS); break;
    case AMI_TREE_NO_PARENT:
    case AMI_TREE_EXTRA_CLOSE: ERRLOG_ErrorNew(MSG_TOO_FEW_NODES); break;
    case AMI_TREE_BAD_TOKEN: ERRLOG_ErrorNew(MSG_EMPTY_GROUP); break;
    // Faults of the file's layout (two outermost groups), not of the program.
    case AMI_TREE_NO_LEVEL:
    case AMI_TREE_TOO_MANY: ERRLOG_ErrorNew(MSG_INTERNAL); break;
    default: ERRLOG_BugNew(MSG_INTERNAL); break;
    }
    return nullptr;
}

void AMI_Test(void)
{
    PTREE tree = s_AmiTest();
    FreeParsedTree(&tree);
}
