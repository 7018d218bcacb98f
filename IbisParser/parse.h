// Reader frame of the IBIS reader: reads one .ibs, .pkg, .ebd or .ami file
// line by line, applies the line rules of the format, recognises keyword
// lines and hands every line to the keyword module that owns it.
#ifndef IBISPARSER_PARSE_H
#define IBISPARSER_PARSE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Keyword codes: one enumeration for every IBIS version.  The names are the
// keywords as the tables spell them; codes 75, 90, 91 and 101-107 are the
// context variants that recognition moves a name to.
enum KEYWORD_CODE {
    KW_IBIS_VER = 0, KW_COMMENT_CHAR = 1, KW_FILE_NAME = 2, KW_FILE_REV = 3, KW_DATE = 4,
    KW_SOURCE = 5, KW_NOTES = 6, KW_DISCLAIMER = 7, KW_COPYRIGHT = 8,
    KW_COMPONENT = 9, KW_MANUFACTURER = 10, KW_PACKAGE = 11, KW_PIN = 12,
    KW_PACKAGE_MODEL = 13, KW_PIN_MAPPING = 14, KW_DIFF_PIN = 15,
    KW_SERIES_SWITCH_GROUPS = 16, KW_SERIES_PIN_MAPPING = 17,
    KW_ALTERNATE_PACKAGE_MODELS = 18, KW_END_ALTERNATE_PACKAGE_MODELS = 19,
    KW_NODE_DECLARATIONS = 20, KW_END_NODE_DECLARATIONS = 21, KW_CIRCUIT_CALL = 22,
    KW_END_CIRCUIT_CALL = 23, KW_EXTERNAL_CIRCUIT = 24, KW_END_EXTERNAL_CIRCUIT = 25,
    KW_BEGIN_EMI_COMPONENT = 26, KW_END_EMI_COMPONENT = 27, KW_PIN_EMI = 28,
    KW_PIN_DOMAIN_EMI = 29,
    KW_EXTERNAL_MODEL = 30, KW_END_EXTERNAL_MODEL = 31, KW_MODEL = 32,
    KW_TEMPERATURE_RANGE = 33, KW_VOLTAGE_RANGE = 34, KW_PULLUP_REFERENCE = 35,
    KW_PULLDOWN_REFERENCE = 36, KW_POWER_CLAMP_REFERENCE = 37, KW_GND_CLAMP_REFERENCE = 38,
    KW_EXTERNAL_REFERENCE = 39, KW_PULLDOWN = 40, KW_PULLUP = 41, KW_GND_CLAMP = 42,
    KW_POWER_CLAMP = 43, KW_RGND = 44, KW_RPOWER = 45, KW_RAC = 46, KW_CAC = 47, KW_RAMP = 48,
    KW_RISING_WAVEFORM = 49, KW_FALLING_WAVEFORM = 50, KW_TTGND = 51, KW_TTPOWER = 52,
    KW_MODEL_SPEC = 53, KW_RECEIVER_THRESHOLDS = 54, KW_DRIVER_SCHEDULE = 55, KW_ON = 56,
    KW_OFF = 57, KW_R_SERIES = 58, KW_L_SERIES = 59, KW_RL_SERIES = 60, KW_C_SERIES = 61,
    KW_LC_SERIES = 62, KW_RC_SERIES = 63, KW_SERIES_CURRENT = 64, KW_SERIES_MOSFET = 65,
    KW_ADD_SUBMODEL = 66, KW_ALGORITHMIC_MODEL = 67, KW_END_ALGORITHMIC_MODEL = 68,
    KW_ISSO_PD = 69, KW_ISSO_PU = 70, KW_COMPOSITE_CURRENT = 71, KW_BEGIN_EMI_MODEL = 72,
    KW_END_EMI_MODEL = 73,
    KW_DEFINE_PACKAGE_MODEL = 74, KW_PKG_MANUFACTURER = 75, KW_OEM = 76, KW_DESCRIPTION = 77,
    KW_NUMBER_OF_PINS = 78, KW_PIN_NUMBERS = 79, KW_MODEL_DATA = 80,
    KW_RESISTANCE_MATRIX = 81, KW_INDUCTANCE_MATRIX = 82, KW_CAPACITANCE_MATRIX = 83,
    KW_BANDWIDTH = 84, KW_ROW = 85, KW_END_MODEL_DATA = 86, KW_END_PACKAGE_MODEL = 87,
    KW_NUMBER_OF_SECTIONS = 88,
    KW_BEGIN_BOARD_DESCRIPTION = 89, KW_EBD_MANUFACTURER = 90, KW_EBD_NUMBER_OF_PINS = 91,
    KW_PIN_LIST = 92, KW_PATH_DESCRIPTION = 93, KW_REFERENCE_DESIGNATOR_MAP = 94,
    KW_END_BOARD_DESCRIPTION = 95,
    KW_MODEL_SELECTOR = 96,
    KW_SUBMODEL = 97, KW_SUBMODEL_SPEC = 98, KW_GND_PULSE_TABLE = 99,
    KW_POWER_PULSE_TABLE = 100, KW_SUB_PULLDOWN = 101, KW_SUB_PULLUP = 102,
    KW_SUB_GND_CLAMP = 103, KW_SUB_POWER_CLAMP = 104, KW_SUB_RAMP = 105,
    KW_SUB_RISING_WAVEFORM = 106, KW_SUB_FALLING_WAVEFORM = 107,
    KW_TEST_DATA = 108, KW_RISING_WAVEFORM_NEAR = 109, KW_RISING_WAVEFORM_FAR = 110,
    KW_FALLING_WAVEFORM_NEAR = 111, KW_FALLING_WAVEFORM_FAR = 112,
    KW_DIFF_RISING_WAVEFORM_NEAR = 113, KW_DIFF_RISING_WAVEFORM_FAR = 114,
    KW_DIFF_FALLING_WAVEFORM_NEAR = 115, KW_DIFF_FALLING_WAVEFORM_FAR = 116,
    KW_TEST_LOAD = 117, KW_END = 118, KW_NOT_KEY = 119
};

// Line kinds handed to a keyword module's ReceiveLine.
enum { PARSE_LINE_KEYWORD = 1, PARSE_LINE_DATA = 4 };

// One row of a keyword table; a table ends with the row "NOT_KEY" (119).
typedef struct {
    const char* name;
    int32_t code;
} KEYWORD_ENTRY;

extern const KEYWORD_ENTRY keywords[];       // IBIS 1.x and 2.x
extern const KEYWORD_ENTRY keywords_Ver3[];  // IBIS 3.x
extern const KEYWORD_ENTRY keywords_Ver4[];  // IBIS 4.x
extern const KEYWORD_ENTRY keywords_Ver5[];  // IBIS 5.x

// One keyword group of the reader: the module that owns a range of keyword
// codes and the three (four) operations through which the frame drives it.
// A group whose module is not part of the library yet has null operations:
// its lines are read and dropped without a message.
typedef struct {
    const char* name;                          // module name, for diagnostics
    int openCode;                              // keyword that starts a record
    void (*Init)(void);                        // at the opening keyword
    void (*ReceiveLine)(int lineKind, int code, char* text);
    void (*Fini)(int nextCode);                // at each following keyword line
    void (*Reset)(void);                       // drop the "current record" pointers
} PARSE_GROUP;

// Module state of the reader.
extern char gsFileName[1025];
extern unsigned long gulLineNum;
extern int geCurrFileType;
extern int geCurrentKeyword;
extern int geFileVersion;
extern char gpcComment;
extern int gbIBIS_VerFound;
extern int gbEndFound;
extern int bTabFound;
extern int gbInSubModel;
extern int gbContinue;
// gbAllowAnyLineLength (cmn.h) is set while an .ami file is read.
extern int gbSuppressBanners;
extern char* gsBuffer;
extern const char* gpcBadCommChars;

// Reads one file into the container on top of the stack; 1 when the file was
// read to its end, 0 when its version is unknown or it could not be opened.
int PARSE(const char* path, int fileType);

unsigned long PARSE_GetLineNum(void);
char* PARSE_GetFileName(char* buffer);
// Sets the reader's position, for programs and tests that raise line
// messages outside a read.  A null name keeps the current one.
void PARSE_SetPosition(const char* fileName, unsigned long lineNum);
char* PARSE_GetKeywordStr(int code, char* buffer);
void PARSE_AllowAnyLineLength(int on);
void PARSE_SuppressBanners(int on);
// The banner a read of a file of that IBIS major version prints.
void PARSE_Banner(int version, const char* path);

// Keyword recognition: 1 and the code in geCurrentKeyword, or 0 after a
// message.  line must begin with '['.
int s_getKeyword(const char* line, int previousCode, const KEYWORD_ENTRY* table);

// The keyword group that owns a code, or null (119, [Comment Char], [End]).
const PARSE_GROUP* PARSE_GroupOf(int code);

#ifdef __cplusplus
}
#endif

#endif
