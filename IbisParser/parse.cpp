// Reader frame: version detection, line rules, keyword recognition and the
// dispatch of every line to the keyword module that owns it.
#include "parse.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "cmpnt.h"
#include "errlog.h"
#include "ebdmdl.h"
#include "hdr.h"
#include "mdl.h"
#include "pkgmdl.h"
#include "msel.h"
#include "submdl.h"
#include "testdata.h"
#include "testload.h"

#define CMN_MODULE_PATH "IbisParser/parse"

char gsFileName[1025];
unsigned long gulLineNum;
int geCurrFileType;
int geCurrentKeyword = KW_NOT_KEY;
int geFileVersion;
char gpcComment = '|';
int gbIBIS_VerFound;
int gbEndFound;
int bTabFound;
int gbInSubModel;
int gbContinue;
int gbSuppressBanners;
char* gsBuffer;
const char* gpcBadCommChars =
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ[]._/=+-";

// ---------------------------------------------------------------------------
// Keyword tables.  Rows stand in code order, except that COMMENT_CHAR stands
// just before END, and from 4.x on the external-circuit pair follows
// TEST_LOAD.  A name that occurs more than once is always met at its lowest
// code first; recognition moves it to the code of its context.

// 50 rows
const KEYWORD_ENTRY keywords[] = {
    {"IBIS_VER", 0}, {"FILE_NAME", 2}, {"FILE_REV", 3}, {"DATE", 4}, {"SOURCE", 5}, {"NOTES", 6},
    {"DISCLAIMER", 7}, {"COPYRIGHT", 8}, {"COMPONENT", 9}, {"MANUFACTURER", 10}, {"PACKAGE", 11},
    {"PIN", 12}, {"PACKAGE_MODEL", 13}, {"PIN_MAPPING", 14}, {"DIFF_PIN", 15}, {"MODEL", 32},
    {"TEMPERATURE_RANGE", 33}, {"VOLTAGE_RANGE", 34}, {"PULLUP_REFERENCE", 35},
    {"PULLDOWN_REFERENCE", 36}, {"POWER_CLAMP_REFERENCE", 37}, {"GND_CLAMP_REFERENCE", 38},
    {"PULLDOWN", 40}, {"PULLUP", 41}, {"GND_CLAMP", 42}, {"POWER_CLAMP", 43}, {"RGND", 44},
    {"RPOWER", 45}, {"RAC", 46}, {"CAC", 47}, {"RAMP", 48}, {"RISING_WAVEFORM", 49},
    {"FALLING_WAVEFORM", 50}, {"DEFINE_PACKAGE_MODEL", 74}, {"MANUFACTURER", 75}, {"OEM", 76},
    {"DESCRIPTION", 77}, {"NUMBER_OF_PINS", 78}, {"PIN_NUMBERS", 79}, {"MODEL_DATA", 80},
    {"RESISTANCE_MATRIX", 81}, {"INDUCTANCE_MATRIX", 82}, {"CAPACITANCE_MATRIX", 83},
    {"BANDWIDTH", 84}, {"ROW", 85}, {"END_MODEL_DATA", 86}, {"END_PACKAGE_MODEL", 87},
    {"COMMENT_CHAR", 1}, {"END", 118}, {"NOT_KEY", 119},
};
// 88 rows
const KEYWORD_ENTRY keywords_Ver3[] = {
    {"IBIS_VER", 0}, {"FILE_NAME", 2}, {"FILE_REV", 3}, {"DATE", 4}, {"SOURCE", 5}, {"NOTES", 6},
    {"DISCLAIMER", 7}, {"COPYRIGHT", 8}, {"COMPONENT", 9}, {"MANUFACTURER", 10}, {"PACKAGE", 11},
    {"PIN", 12}, {"PACKAGE_MODEL", 13}, {"PIN_MAPPING", 14}, {"DIFF_PIN", 15},
    {"SERIES_SWITCH_GROUPS", 16}, {"SERIES_PIN_MAPPING", 17}, {"MODEL", 32},
    {"TEMPERATURE_RANGE", 33}, {"VOLTAGE_RANGE", 34}, {"PULLUP_REFERENCE", 35},
    {"PULLDOWN_REFERENCE", 36}, {"POWER_CLAMP_REFERENCE", 37}, {"GND_CLAMP_REFERENCE", 38},
    {"EXTERNAL_REFERENCE", 39}, {"PULLDOWN", 40}, {"PULLUP", 41}, {"GND_CLAMP", 42},
    {"POWER_CLAMP", 43}, {"RGND", 44}, {"RPOWER", 45}, {"RAC", 46}, {"CAC", 47}, {"RAMP", 48},
    {"RISING_WAVEFORM", 49}, {"FALLING_WAVEFORM", 50}, {"TTGND", 51}, {"TTPOWER", 52},
    {"MODEL_SPEC", 53}, {"DRIVER_SCHEDULE", 55}, {"ON", 56}, {"OFF", 57}, {"R_SERIES", 58},
    {"L_SERIES", 59}, {"RL_SERIES", 60}, {"C_SERIES", 61}, {"LC_SERIES", 62}, {"RC_SERIES", 63},
    {"SERIES_CURRENT", 64}, {"SERIES_MOSFET", 65}, {"ADD_SUBMODEL", 66},
    {"DEFINE_PACKAGE_MODEL", 74}, {"MANUFACTURER", 75}, {"OEM", 76}, {"DESCRIPTION", 77},
    {"NUMBER_OF_PINS", 78}, {"PIN_NUMBERS", 79}, {"MODEL_DATA", 80}, {"RESISTANCE_MATRIX", 81},
    {"INDUCTANCE_MATRIX", 82}, {"CAPACITANCE_MATRIX", 83}, {"BANDWIDTH", 84}, {"ROW", 85},
    {"END_MODEL_DATA", 86}, {"END_PACKAGE_MODEL", 87}, {"NUMBER_OF_SECTIONS", 88},
    {"BEGIN_BOARD_DESCRIPTION", 89}, {"MANUFACTURER", 90}, {"NUMBER_OF_PINS", 91},
    {"PIN_LIST", 92}, {"PATH_DESCRIPTION", 93}, {"REFERENCE_DESIGNATOR_MAP", 94},
    {"END_BOARD_DESCRIPTION", 95}, {"MODEL_SELECTOR", 96}, {"SUBMODEL", 97},
    {"SUBMODEL_SPEC", 98}, {"GND_PULSE_TABLE", 99}, {"POWER_PULSE_TABLE", 100}, {"PULLDOWN", 101},
    {"PULLUP", 102}, {"GND_CLAMP", 103}, {"POWER_CLAMP", 104}, {"RAMP", 105},
    {"RISING_WAVEFORM", 106}, {"FALLING_WAVEFORM", 107}, {"COMMENT_CHAR", 1}, {"END", 118},
    {"NOT_KEY", 119},
};
// 109 rows
const KEYWORD_ENTRY keywords_Ver4[] = {
    {"IBIS_VER", 0}, {"FILE_NAME", 2}, {"FILE_REV", 3}, {"DATE", 4}, {"SOURCE", 5}, {"NOTES", 6},
    {"DISCLAIMER", 7}, {"COPYRIGHT", 8}, {"COMPONENT", 9}, {"MANUFACTURER", 10}, {"PACKAGE", 11},
    {"PIN", 12}, {"PACKAGE_MODEL", 13}, {"PIN_MAPPING", 14}, {"DIFF_PIN", 15},
    {"SERIES_SWITCH_GROUPS", 16}, {"SERIES_PIN_MAPPING", 17}, {"ALTERNATE_PACKAGE_MODELS", 18},
    {"END_ALTERNATE_PACKAGE_MODELS", 19}, {"NODE_DECLARATIONS", 20},
    {"END_NODE_DECLARATIONS", 21}, {"CIRCUIT_CALL", 22}, {"END_CIRCUIT_CALL", 23},
    {"EXTERNAL_MODEL", 30}, {"END_EXTERNAL_MODEL", 31}, {"MODEL", 32}, {"TEMPERATURE_RANGE", 33},
    {"VOLTAGE_RANGE", 34}, {"PULLUP_REFERENCE", 35}, {"PULLDOWN_REFERENCE", 36},
    {"POWER_CLAMP_REFERENCE", 37}, {"GND_CLAMP_REFERENCE", 38}, {"EXTERNAL_REFERENCE", 39},
    {"PULLDOWN", 40}, {"PULLUP", 41}, {"GND_CLAMP", 42}, {"POWER_CLAMP", 43}, {"RGND", 44},
    {"RPOWER", 45}, {"RAC", 46}, {"CAC", 47}, {"RAMP", 48}, {"RISING_WAVEFORM", 49},
    {"FALLING_WAVEFORM", 50}, {"TTGND", 51}, {"TTPOWER", 52}, {"MODEL_SPEC", 53},
    {"RECEIVER_THRESHOLDS", 54}, {"DRIVER_SCHEDULE", 55}, {"ON", 56}, {"OFF", 57},
    {"R_SERIES", 58}, {"L_SERIES", 59}, {"RL_SERIES", 60}, {"C_SERIES", 61}, {"LC_SERIES", 62},
    {"RC_SERIES", 63}, {"SERIES_CURRENT", 64}, {"SERIES_MOSFET", 65}, {"ADD_SUBMODEL", 66},
    {"DEFINE_PACKAGE_MODEL", 74}, {"MANUFACTURER", 75}, {"OEM", 76}, {"DESCRIPTION", 77},
    {"NUMBER_OF_PINS", 78}, {"PIN_NUMBERS", 79}, {"MODEL_DATA", 80}, {"RESISTANCE_MATRIX", 81},
    {"INDUCTANCE_MATRIX", 82}, {"CAPACITANCE_MATRIX", 83}, {"BANDWIDTH", 84}, {"ROW", 85},
    {"END_MODEL_DATA", 86}, {"END_PACKAGE_MODEL", 87}, {"NUMBER_OF_SECTIONS", 88},
    {"BEGIN_BOARD_DESCRIPTION", 89}, {"MANUFACTURER", 90}, {"NUMBER_OF_PINS", 91},
    {"PIN_LIST", 92}, {"PATH_DESCRIPTION", 93}, {"REFERENCE_DESIGNATOR_MAP", 94},
    {"END_BOARD_DESCRIPTION", 95}, {"MODEL_SELECTOR", 96}, {"SUBMODEL", 97},
    {"SUBMODEL_SPEC", 98}, {"GND_PULSE_TABLE", 99}, {"POWER_PULSE_TABLE", 100}, {"PULLDOWN", 101},
    {"PULLUP", 102}, {"GND_CLAMP", 103}, {"POWER_CLAMP", 104}, {"RAMP", 105},
    {"RISING_WAVEFORM", 106}, {"FALLING_WAVEFORM", 107}, {"TEST_DATA", 108},
    {"RISING_WAVEFORM_NEAR", 109}, {"RISING_WAVEFORM_FAR", 110}, {"FALLING_WAVEFORM_NEAR", 111},
    {"FALLING_WAVEFORM_FAR", 112}, {"DIFF_RISING_WAVEFORM_NEAR", 113},
    {"DIFF_RISING_WAVEFORM_FAR", 114}, {"DIFF_FALLING_WAVEFORM_NEAR", 115},
    {"DIFF_FALLING_WAVEFORM_FAR", 116}, {"TEST_LOAD", 117}, {"EXTERNAL_CIRCUIT", 24},
    {"END_EXTERNAL_CIRCUIT", 25}, {"COMMENT_CHAR", 1}, {"END", 118}, {"NOT_KEY", 119},
};
// 120 rows
const KEYWORD_ENTRY keywords_Ver5[] = {
    {"IBIS_VER", 0}, {"FILE_NAME", 2}, {"FILE_REV", 3}, {"DATE", 4}, {"SOURCE", 5}, {"NOTES", 6},
    {"DISCLAIMER", 7}, {"COPYRIGHT", 8}, {"COMPONENT", 9}, {"MANUFACTURER", 10}, {"PACKAGE", 11},
    {"PIN", 12}, {"PACKAGE_MODEL", 13}, {"PIN_MAPPING", 14}, {"DIFF_PIN", 15},
    {"SERIES_SWITCH_GROUPS", 16}, {"SERIES_PIN_MAPPING", 17}, {"ALTERNATE_PACKAGE_MODELS", 18},
    {"END_ALTERNATE_PACKAGE_MODELS", 19}, {"NODE_DECLARATIONS", 20},
    {"END_NODE_DECLARATIONS", 21}, {"CIRCUIT_CALL", 22}, {"END_CIRCUIT_CALL", 23},
    {"BEGIN_EMI_COMPONENT", 26}, {"END_EMI_COMPONENT", 27}, {"PIN_EMI", 28},
    {"PIN_DOMAIN_EMI", 29}, {"EXTERNAL_MODEL", 30}, {"END_EXTERNAL_MODEL", 31}, {"MODEL", 32},
    {"TEMPERATURE_RANGE", 33}, {"VOLTAGE_RANGE", 34}, {"PULLUP_REFERENCE", 35},
    {"PULLDOWN_REFERENCE", 36}, {"POWER_CLAMP_REFERENCE", 37}, {"GND_CLAMP_REFERENCE", 38},
    {"EXTERNAL_REFERENCE", 39}, {"PULLDOWN", 40}, {"PULLUP", 41}, {"GND_CLAMP", 42},
    {"POWER_CLAMP", 43}, {"RGND", 44}, {"RPOWER", 45}, {"RAC", 46}, {"CAC", 47}, {"RAMP", 48},
    {"RISING_WAVEFORM", 49}, {"FALLING_WAVEFORM", 50}, {"TTGND", 51}, {"TTPOWER", 52},
    {"MODEL_SPEC", 53}, {"RECEIVER_THRESHOLDS", 54}, {"DRIVER_SCHEDULE", 55}, {"ON", 56},
    {"OFF", 57}, {"R_SERIES", 58}, {"L_SERIES", 59}, {"RL_SERIES", 60}, {"C_SERIES", 61},
    {"LC_SERIES", 62}, {"RC_SERIES", 63}, {"SERIES_CURRENT", 64}, {"SERIES_MOSFET", 65},
    {"ADD_SUBMODEL", 66}, {"ALGORITHMIC_MODEL", 67}, {"END_ALGORITHMIC_MODEL", 68},
    {"ISSO_PD", 69}, {"ISSO_PU", 70}, {"COMPOSITE_CURRENT", 71}, {"BEGIN_EMI_MODEL", 72},
    {"END_EMI_MODEL", 73}, {"DEFINE_PACKAGE_MODEL", 74}, {"MANUFACTURER", 75}, {"OEM", 76},
    {"DESCRIPTION", 77}, {"NUMBER_OF_PINS", 78}, {"PIN_NUMBERS", 79}, {"MODEL_DATA", 80},
    {"RESISTANCE_MATRIX", 81}, {"INDUCTANCE_MATRIX", 82}, {"CAPACITANCE_MATRIX", 83},
    {"BANDWIDTH", 84}, {"ROW", 85}, {"END_MODEL_DATA", 86}, {"END_PACKAGE_MODEL", 87},
    {"NUMBER_OF_SECTIONS", 88}, {"BEGIN_BOARD_DESCRIPTION", 89}, {"MANUFACTURER", 90},
    {"NUMBER_OF_PINS", 91}, {"PIN_LIST", 92}, {"PATH_DESCRIPTION", 93},
    {"REFERENCE_DESIGNATOR_MAP", 94}, {"END_BOARD_DESCRIPTION", 95}, {"MODEL_SELECTOR", 96},
    {"SUBMODEL", 97}, {"SUBMODEL_SPEC", 98}, {"GND_PULSE_TABLE", 99}, {"POWER_PULSE_TABLE", 100},
    {"PULLDOWN", 101}, {"PULLUP", 102}, {"GND_CLAMP", 103}, {"POWER_CLAMP", 104}, {"RAMP", 105},
    {"RISING_WAVEFORM", 106}, {"FALLING_WAVEFORM", 107}, {"TEST_DATA", 108},
    {"RISING_WAVEFORM_NEAR", 109}, {"RISING_WAVEFORM_FAR", 110}, {"FALLING_WAVEFORM_NEAR", 111},
    {"FALLING_WAVEFORM_FAR", 112}, {"DIFF_RISING_WAVEFORM_NEAR", 113},
    {"DIFF_RISING_WAVEFORM_FAR", 114}, {"DIFF_FALLING_WAVEFORM_NEAR", 115},
    {"DIFF_FALLING_WAVEFORM_FAR", 116}, {"TEST_LOAD", 117}, {"EXTERNAL_CIRCUIT", 24},
    {"END_EXTERNAL_CIRCUIT", 25}, {"COMMENT_CHAR", 1}, {"END", 118}, {"NOT_KEY", 119},
};

// ---------------------------------------------------------------------------
// Keyword groups.  Each entry is one keyword module; the frame opens it at its
// opening keyword, hands it every line of its keywords and closes it at each
// keyword line that follows.  The modules of the component, external circuit,
// model, package model, board description, model selector, submodel, test
// data and test load groups are added by their own modules: until then their
// operations stay null here and their lines are read and dropped without a
// message.  Plugging a module in is filling in its entry (a module whose
// close takes no keyword code is entered through a one-line wrapper).

enum {
    GRP_HEADER, GRP_COMPONENT, GRP_EXT_CIRCUIT, GRP_MODEL, GRP_PKGMDL, GRP_EBDMDL,
    GRP_MSEL, GRP_SUBMDL, GRP_TESTDATA, GRP_TESTLOAD, GRP_COUNT
};

// Modules whose operations take a const text or no closing code.
static void s_MselFini(int) { MSEL_Fini(); }
static void s_SubmdlLine(int kind, int code, char* text) { SUBMDL_ReceiveLine(kind, code, text); }
static void s_TestDataLine(int kind, int code, char* text) { TESTDATA_ReceiveLine(kind, code, text); }
static void s_TestLoadLine(int kind, int code, char* text) { TESTLOAD_ReceiveLine(kind, code, text); }
static void s_TestLoadFini(int) { TESTLOAD_Fini(); }

static PARSE_GROUP s_groups[GRP_COUNT] = {
    {"hdr", KW_IBIS_VER, HDR_Init, HDR_ReceiveLine, HDR_Fini, HDR_Reset},
    {"cmpnt", KW_COMPONENT, CMPNT_Init, CMPNT_ReceiveLine, CMPNT_Fini, CMPNT_Reset},
    {"extern", KW_EXTERNAL_CIRCUIT, EXT_CIR_Init, EXT_ReceiveLine, nullptr, EXT_Reset},
    {"mdl", KW_MODEL, MDL_Init, MDL_ReceiveLine, MDL_Fini, MDL_Reset},
    {"pkgmdl", KW_DEFINE_PACKAGE_MODEL, PKGMDL_Init, PKGMDL_ReceiveLine, PKGMDL_Fini, PKGMDL_Reset},
    {"ebdmdl", KW_BEGIN_BOARD_DESCRIPTION, EBDMDL_Init, EBDMDL_ReceiveLine, EBDMDL_Fini, EBDMDL_Reset},
    {"msel", KW_MODEL_SELECTOR, MSEL_Init, MSEL_ReceiveLine, s_MselFini, MSEL_Reset},
    {"submdl", KW_SUBMODEL, SUBMDL_Init, s_SubmdlLine, SUBMDL_Fini, SUBMDL_Reset},
    {"testdata", KW_TEST_DATA, TESTDATA_Init, s_TestDataLine, TESTDATA_Fini, TESTDATA_Reset},
    {"testload", KW_TEST_LOAD, TESTLOAD_Init, s_TestLoadLine, s_TestLoadFini, TESTLOAD_Reset},
};

static int s_GroupIndex(int code)
{
    if (code == KW_IBIS_VER || (code >= KW_FILE_NAME && code <= KW_COPYRIGHT)) return GRP_HEADER;
    if ((code >= KW_COMPONENT && code <= KW_END_CIRCUIT_CALL) ||
        (code >= KW_BEGIN_EMI_COMPONENT && code <= KW_PIN_DOMAIN_EMI))
        return GRP_COMPONENT;
    if (code == KW_EXTERNAL_CIRCUIT || code == KW_END_EXTERNAL_CIRCUIT) return GRP_EXT_CIRCUIT;
    if (code >= KW_EXTERNAL_MODEL && code <= KW_END_EMI_MODEL) return GRP_MODEL;
    if (code >= KW_DEFINE_PACKAGE_MODEL && code <= KW_NUMBER_OF_SECTIONS) return GRP_PKGMDL;
    if (code >= KW_BEGIN_BOARD_DESCRIPTION && code <= KW_END_BOARD_DESCRIPTION) return GRP_EBDMDL;
    if (code == KW_MODEL_SELECTOR) return GRP_MSEL;
    if (code >= KW_SUBMODEL && code <= KW_SUB_FALLING_WAVEFORM) return GRP_SUBMDL;
    if (code >= KW_TEST_DATA && code <= KW_DIFF_FALLING_WAVEFORM_FAR) return GRP_TESTDATA;
    if (code == KW_TEST_LOAD) return GRP_TESTLOAD;
    return -1;
}

const PARSE_GROUP* PARSE_GroupOf(int code)
{
    int g = s_GroupIndex(code);
    return g < 0 ? nullptr : &s_groups[g];
}

// File types as bits, for the open and receive rules.
#define FT(t) (1u << (t))
#define FT_IBS FT(FILE_IBS)
#define FT_PKG FT(FILE_PKG)
#define FT_EBD FT(FILE_EBD)
#define FT_ALL (FT_IBS | FT_PKG | FT_EBD)

// The four senders differ in their table, in the continuation check and in
// the file types of the package-model group and the wrong-type message.
typedef struct {
    const KEYWORD_ENTRY* table;
    int checkContinue;   // 909 for an unfinished series switch group line
    int oldStyle;        // IBIS 1.x/2.x rules
} SENDER;

static const SENDER s_sender12 = {keywords, 0, 1};
static const SENDER s_sender3 = {keywords_Ver3, 1, 0};
static const SENDER s_sender4 = {keywords_Ver4, 1, 0};
static const SENDER s_sender5 = {keywords_Ver5, 1, 0};

static unsigned s_OpenTypes(const SENDER* s, int g)
{
    switch (g) {
    case GRP_HEADER: return FT_ALL;
    case GRP_PKGMDL: return s->oldStyle ? FT_ALL : (FT_IBS | FT_PKG);
    case GRP_EBDMDL: return FT_EBD;
    default: return FT_IBS;
    }
}

// Types whose lines a group receives are those in which it may be opened.
static unsigned s_ReceiveTypes(const SENDER* s, int g) { return s_OpenTypes(s, g); }

// The group whose keyword was recognised last, closed at the next recognised
// keyword line, also when keyword lines that failed recognition came between.
static int s_iOpenGroup = -1;

static void s_ResetModules(void)
{
    for (int g = 0; g < GRP_COUNT; g++)
        if (s_groups[g].Reset) s_groups[g].Reset();
}

// ---------------------------------------------------------------------------
// Keyword recognition.

int s_getKeyword(const char* line, int previousCode, const KEYWORD_ENTRY* table)
{
    CMN_ASSERT(line != nullptr && line[0] == '[' && table != nullptr);
    const char* close = strchr(line, ']');
    if (close == nullptr) {
        ERRLOG_LineErrorNew(914);
        return 0;
    }
    size_t n = (size_t)(close - line - 1);
    if (n < 1 || n > 117) {
        ERRLOG_LineErrorNew(915);
        return 0;
    }
    char name[118];
    memcpy(name, line + 1, n);
    name[n] = '\0';
    int code = KW_NOT_KEY;
    // The first row's match turns the blanks of the name into underscores;
    // after it, a row whose first letter differs cannot match.
    for (const KEYWORD_ENTRY* row = table; row->code != KW_NOT_KEY; row++) {
        if (row != table && toupper((unsigned char)row->name[0]) != toupper((unsigned char)name[0]))
            continue;
        if (CMN_MatchKeyword(row->name, name)) {
            code = row->code;
            break;
        }
    }
    if (code == KW_NOT_KEY) {
        // The blanks of the name have become underscores by now.
        for (size_t i = 0; i < n; i++)
            if (name[i] == ' ') name[i] = '_';
        ERRLOG_LineErrorNew(916, name);
        geCurrentKeyword = KW_NOT_KEY;
        return 0;
    }
    if (code == KW_MANUFACTURER) {
        if (previousCode >= KW_DEFINE_PACKAGE_MODEL && previousCode <= KW_DESCRIPTION)
            code = KW_PKG_MANUFACTURER;
        else if (previousCode == KW_BEGIN_BOARD_DESCRIPTION ||
                 previousCode == KW_EBD_MANUFACTURER)
            code = KW_EBD_MANUFACTURER;
    } else if (code == KW_NUMBER_OF_PINS && geCurrFileType == FILE_EBD) {
        code = KW_EBD_NUMBER_OF_PINS;
    } else if (gbInSubModel) {
        switch (code) {
        case KW_PULLDOWN: code = KW_SUB_PULLDOWN; break;
        case KW_PULLUP: code = KW_SUB_PULLUP; break;
        case KW_GND_CLAMP: code = KW_SUB_GND_CLAMP; break;
        case KW_POWER_CLAMP: code = KW_SUB_POWER_CLAMP; break;
        case KW_RAMP: code = KW_SUB_RAMP; break;
        case KW_RISING_WAVEFORM: code = KW_SUB_RISING_WAVEFORM; break;
        case KW_FALLING_WAVEFORM: code = KW_SUB_FALLING_WAVEFORM; break;
        default: break;
        }
    }
    geCurrentKeyword = code;
    return 1;
}

char* PARSE_GetKeywordStr(int code, char* buffer)
{
    CMN_ASSERT(buffer != nullptr);
    for (const KEYWORD_ENTRY* row = keywords;; row++) {
        if (row->code == code) {
            CMN_strncpy(buffer, row->name, 117);
            return buffer;
        }
        if (row->code == KW_NOT_KEY) break;
    }
    ERRLOG_LineBugNew(904);
    CMN_strncpy(buffer, "Unknown enumerated keyword code", 117);
    return buffer;
}

// ---------------------------------------------------------------------------
// Dispatch of one line through the sender of the file's version.

static const SENDER* s_SenderOfVersion(int version)
{
    if (version < 3) return &s_sender12;
    if (version == 3) return &s_sender3;
    if (version == 4) return &s_sender4;
    return &s_sender5;
}

static void s_WrongFileType(const SENDER* s)
{
    if (s->oldStyle || geCurrFileType == FILE_PKG)
        ERRLOG_LineErrorNew(911);
    else if (geCurrFileType == FILE_EBD)
        ERRLOG_LineErrorNew(912);
    else
        ERRLOG_LineErrorNew(913);
}

static void s_Send(const SENDER* s, int lineKind, char* text)
{
    CMN_ASSERT(text != nullptr);
    CMN_ASSERT(lineKind == PARSE_LINE_KEYWORD || lineKind == PARSE_LINE_DATA);
    int code;
    if (lineKind == PARSE_LINE_KEYWORD) {
        if (s->checkContinue && gbContinue) {
            ERRLOG_LineErrorNew(909);
            gbContinue = 0;
        }
        if (!s_getKeyword(text, geCurrentKeyword, s->table)) {
            geCurrentKeyword = KW_NOT_KEY;
            return;
        }
        code = geCurrentKeyword;
        if (s_iOpenGroup >= 0) {
            int last = s_iOpenGroup;
            if (s_groups[last].Fini && (s_ReceiveTypes(s, last) & FT(geCurrFileType)))
                s_groups[last].Fini(code);
        }
        int g = s_GroupIndex(code);
        s_iOpenGroup = g;
        if (code == KW_END) {
            char* rest = text;
            CMN_EatKeyword(&rest);
            if (*rest != '\0') ERRLOG_LineErrorNew(920);
            gbEndFound = 1;
            s_iOpenGroup = -1;
            s_ResetModules();
            return;
        }
        if (g >= 0 && code == s_groups[g].openCode) {
            if (code == KW_IBIS_VER) {
                if (gbIBIS_VerFound) {
                    ERRLOG_LineErrorNew(910);
                } else {
                    gbIBIS_VerFound = 1;
                    if (s_groups[g].Init) s_groups[g].Init();
                }
            } else if (s_OpenTypes(s, g) & FT(geCurrFileType)) {
                if (code == KW_MODEL) gbInSubModel = 0;
                if (code == KW_SUBMODEL) gbInSubModel = 1;
                if (s_groups[g].Init) s_groups[g].Init();
            } else {
                s_WrongFileType(s);
            }
        }
    } else {
        code = geCurrentKeyword;
        if (code == KW_NOT_KEY) {
            ERRLOG_LineErrorNew(907, text);
            return;
        }
    }
    int g = s_GroupIndex(code);
    if (g < 0) {
        ERRLOG_LineBugNew(908, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (s_groups[g].ReceiveLine && (s_ReceiveTypes(s, g) & FT(geCurrFileType)))
        s_groups[g].ReceiveLine(lineKind, code, text);
}

// ---------------------------------------------------------------------------
// Line rules.

static int s_IsBlank(char c) { return isspace((unsigned char)c) != 0; }

static char* s_SkipBlanks(char* p)
{
    while (*p && s_IsBlank(*p)) p++;
    return p;
}

static void s_CutTrailing(char* p)
{
    size_t n = strlen(p);
    while (n > 0 && s_IsBlank(p[n - 1])) p[--n] = '\0';
}

static int s_IsCommentCharLine(const char* p)
{
    return strlen(p) >= 14 &&
           (CMN_StrSameICn(p, "[COMMENT_CHAR]", 14) || CMN_StrSameICn(p, "[COMMENT CHAR]", 14));
}

static void s_CommentChar(char* line)
{
    char* q = s_SkipBlanks(line + 14);
    if (q[0] == '\0' || strncmp(q + 1, "_char", 5) != 0) {
        ERRLOG_LineErrorNew(917);
        return;
    }
    char c = q[0];
    if (strchr(gpcBadCommChars, c) != nullptr) {
        ERRLOG_LineErrorNew(918, c);
        return;
    }
    gpcComment = c;
    char* r = s_SkipBlanks(q + 6);
    if (*r != '\0' && *r != c) ERRLOG_LineErrorNew(919);
}

static void s_ResetReader(int fileType)
{
    // Until its [IBIS Ver] is read, a file is read as one of no known
    // version, whatever file was read before it.
    geFileVersion = 0;
    gulLineNum = 0;
    geCurrFileType = fileType;
    geCurrentKeyword = KW_NOT_KEY;
    gpcComment = '|';
    gbIBIS_VerFound = 0;
    gbEndFound = 0;
    bTabFound = 0;
    gbInSubModel = 0;
    gbContinue = 0;
    s_iOpenGroup = -1;
    s_ResetModules();
}

static const char* const s_banners[] = {
    "\nChecking %s for IBIS 2.1 Compatibility...\n\n",
    "\nChecking %s for IBIS 3.2 Compatibility...\n\n",
    "\nChecking %s for IBIS 4.2 Compatibility...\n\n",
    "\nChecking %s for IBIS 5.0 Compatibility...\n\n",
};

static void s_Banner(int version, const char* path)
{
    if (gbSuppressBanners) return;
    fprintf(stdout, s_banners[version - 2], path);
}

void PARSE_Banner(int version, const char* path)
{
    CMN_ASSERT(version >= 2 && version <= 5 && path != nullptr);
    s_Banner(version, path);
}

static int s_ParseAmi(const char* path);

int PARSE(const char* path, int fileType)
{
    CMN_ASSERT(path != nullptr);
    if (fileType == FILE_AMI) return s_ParseAmi(path);
    CMN_ASSERT(fileType >= FILE_IBS && fileType <= FILE_EBD);

    unsigned long probed = 0;
    int version = CMN_getIbisVer(path, &probed, fileType);
    if (version < 2 || version > 5) {
        ERRLOG_ErrorNew(900, path);
        return 0;
    }
    s_Banner(version, path);

    s_ResetReader(fileType);
    FILE* fp = nullptr;
    if (!CMN_OpenFile(path, fileType, &fp, gsFileName)) return 0;
    if (CMN_AnyUpper(gsFileName)) ERRLOG_WarnNew(901, gsFileName);

    // The counter names the line being read while it is read, so that the
    // line reader's own messages carry its number.
    char line[1024];
    for (;;) {
        gulLineNum++;
        if (CMN_GetLine(line, sizeof line, fp) == nullptr) {
            gulLineNum--;
            break;
        }
        size_t len = strlen(line);
        if (len > 0 && line[len - 1] == '\n') line[--len] = '\0';

        if (!gbAllowAnyLineLength) {
            int limit = geFileVersion < 4 ? 80 : 120;
            if (len > (size_t)limit) ERRLOG_LineErrorNew(905, limit);
        }
        if (!bTabFound && memchr(line, '\t', len) != nullptr) {
            ERRLOG_LineWarnNew(921);
            bTabFound = 1;
        }

        char* p = s_SkipBlanks(line);
        int kind;
        if (*p == '[') {
            kind = PARSE_LINE_KEYWORD;
            if (p != line) {
                if (geCurrentKeyword >= KW_SOURCE && geCurrentKeyword <= KW_COPYRIGHT)
                    kind = PARSE_LINE_DATA;
                else
                    ERRLOG_LineErrorNew(906);
            }
        } else if (*p == '\0' || *p == gpcComment) {
            continue;
        } else {
            kind = PARSE_LINE_DATA;
        }
        if (gbEndFound) {
            ERRLOG_LineErrorNew(902);
            continue;
        }
        if (kind == PARSE_LINE_KEYWORD && s_IsCommentCharLine(p)) {
            s_CommentChar(p);
            continue;
        }

        char* comment = strchr(p, gpcComment);
        if (comment != nullptr) *comment = '\0';
        s_CutTrailing(p);
        s_Send(s_SenderOfVersion(geFileVersion), kind, p);
    }

    if (!gbEndFound) {
        ERRLOG_ErrorNew(903);
        char end[] = "[END]";
        s_Send(s_SenderOfVersion(geFileVersion), PARSE_LINE_KEYWORD, end);
    }
    fclose(fp);
    return 1;
}

// ---------------------------------------------------------------------------
// .ami parameter files: the lines are joined into gsBuffer, one blank between
// two lines, for the AMI parameter-file checker to parse.

static int s_IsDescriptionStart(const char* p)
{
    if (*p != '(') return 0;
    p++;
    while (*p && s_IsBlank(*p)) p++;
    if (strncmp(p, "Description", 11) != 0) return 0;
    char c = p[11];
    return !(isalnum((unsigned char)c) || c == '_');
}

static int s_ReadAmi(FILE* fp)
{
    size_t used = 0, capacity = 0;
    int inDescription = 0;
    unsigned len = 0;
    char* line;
    for (;;) {
        gulLineNum++;
        if ((line = CMN_GetInfiniteLine(&len, fp)) == nullptr) {
            gulLineNum--;
            break;
        }
        size_t n = strlen(line);
        if (n > 0 && line[n - 1] == '\n') line[--n] = '\0';
        if (!bTabFound && memchr(line, '\t', n) != nullptr) {
            ERRLOG_LineWarnNew(921);
            bTabFound = 1;
        }
        char* p = s_SkipBlanks(line);
        if (*p == '\0' || *p == '|') {
            free(line);
            continue;
        }
        if (*p == '(') inDescription = s_IsDescriptionStart(p);
        if (inDescription && n > 120) ERRLOG_LineErrorNew(923, (int)gulLineNum, 120);

        char* bar = strchr(p, '|');
        if (bar != nullptr) *bar = '\0';
        s_CutTrailing(p);
        size_t add = strlen(p);
        size_t need = used + (used > 0 ? 1 : 0) + add + 1;
        if (need > capacity) {
            size_t grow = capacity < 256 ? 256 : capacity * 2;
            while (grow < need) grow *= 2;
            char* bigger = (char*)realloc(gsBuffer, grow);
            if (bigger == nullptr) {
                ERRLOG_ErrorNew(922, CMN_MODULE_PATH, __LINE__);
                free(line);
                return 0;
            }
            gsBuffer = bigger;
            capacity = grow;
        }
        if (used > 0) gsBuffer[used++] = ' ';
        memcpy(gsBuffer + used, p, add);
        used += add;
        gsBuffer[used] = '\0';
        free(line);
    }
    return 1;
}

static int s_ParseAmi(const char* path)
{
    s_Banner(5, path);
    gulLineNum = 0;
    bTabFound = 0;
    gpcComment = '|';
    // A text that no checker took over is released here rather than lost.
    if (gsBuffer != nullptr) {
        free(gsBuffer);
        gsBuffer = nullptr;
    }
    geCurrFileType = FILE_AMI;
    int saved = gbAllowAnyLineLength;
    gbAllowAnyLineLength = 1;

    FILE* fp = nullptr;
    if (!CMN_OpenFile(path, FILE_AMI, &fp, gsFileName)) {
        gbAllowAnyLineLength = saved;
        return 0;
    }
    if (CMN_AnyUpper(gsFileName)) ERRLOG_WarnNew(901, gsFileName);
    s_ReadAmi(fp);
    fclose(fp);
    // A file without text reads as an empty text, which the checker reports;
    // null is left for a file that could not be read.
    if (gsBuffer == nullptr) gsBuffer = CMN_StrMake("");
    gbAllowAnyLineLength = saved;
    return 1;
}

// ---------------------------------------------------------------------------
// Reader position and switches.

unsigned long PARSE_GetLineNum(void) { return gulLineNum; }

char* PARSE_GetFileName(char* buffer)
{
    CMN_ASSERT(buffer != nullptr);
    CMN_strncpy(buffer, gsFileName, 1024);
    return buffer;
}

void PARSE_SetPosition(const char* fileName, unsigned long lineNum)
{
    if (fileName != nullptr) CMN_strncpy(gsFileName, fileName, sizeof gsFileName - 1);
    gulLineNum = lineNum;
}

void PARSE_AllowAnyLineLength(int on) { gbAllowAnyLineLength = on != 0; }

void PARSE_SuppressBanners(int on) { gbSuppressBanners = on != 0; }
