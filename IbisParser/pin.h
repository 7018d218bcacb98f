// [Pin] rows of a component: reading, look-ups by pin name and the checks
// after the file was read.
#ifndef IBISPARSER_PIN_H
#define IBISPARSER_PIN_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct PinMappingRecord PinMappingRecord;
typedef struct DiffPinRecord DiffPinRecord;

// Value states of a column: 0 absent or bad, 1 a number, 2 NA.
typedef struct PinRecord {
    struct PinRecord* next;
    int columns;
    char pinName[6];
    char signalName[41];
    char modelName[41];
    double R_pin;
    int R_pinState;
    double L_pin;
    int L_pinState;
    double C_pin;
    int C_pinState;
} PinRecord;

int PIN_ParseLine(char* text, int headerColumns, PinRecord** out, const int rlcOrder[3]);
void PIN_LinkPin(PinRecord** head, PinRecord* pin);
// The row's pin name, for indexes over a pin list.
const char* PIN_NameOf(const PinRecord* pin);
int PIN_PinExists(PinRecord* list, const char* name);
PinRecord* PIN_FindPin(PinRecord* list, const char* name);
char* PIN_GetModel(PinRecord* list, const char* name);
int PIN_ModelNameIsPOWER(PinRecord* list, const char* name);
int PIN_ModelNameIsGND(PinRecord* list, const char* name);
int PIN_ModelNameIsPOWEROrGND(PinRecord* list, const char* name);
// 1 when the pin is the pin or the inv_pin of some [Diff Pin] row.
int PIN_IsDiffPin(PinRecord* list, DiffPinRecord* diffPins, PinRecord* pin);
void PIN_TestList(PinRecord* pins, PinMappingRecord* pinMappings, DiffPinRecord* diffPins,
                  const char* componentName, const char* packageModelName);
void PIN_FreeList(PinRecord* list);

#ifdef __cplusplus
}
#endif

#endif
