// [External Model] and [External Circuit]: a model or circuit described by a
// netlist in another language.  The model module reads both.
#ifndef IBISPARSER_EXTERN_H
#define IBISPARSER_EXTERN_H

#ifdef __cplusplus
extern "C" {
#endif

// Language codes.
enum { EXT_LANG_NONE = 0, EXT_LANG_ANALOG = 27, EXT_LANG_VHDL_AMS = 28, EXT_LANG_VERILOG_AMS = 29 };

// One D_to_A line.
typedef struct D2AEntry {
    char* d_port;
    char* port1;
    char* port2;
    double vlow;
    double vhigh;
    double trise;
    double tfall;
    int line;
    struct D2AEntry* next;   // newest first
} D2AEntry;

// One A_to_D line.
typedef struct A2DEntry {
    char* d_port;
    char* port1;
    char* port2;
    double vlow;
    double vhigh;
    int line;
    struct A2DEntry* next;   // newest first
} A2DEntry;

// One Corner line with the converters of that corner.
typedef struct ExternalCorner {
    char* fileName;
    char* circuitName;
    D2AEntry* D_to_A;
    A2DEntry* A_to_D;
} ExternalCorner;

typedef struct PortName {
    char* name;
    struct PortName* next;
} PortName;

// Port type bits, as the [Circuit Call] port types use them.
enum {
    EXT_PORT_DIGITAL_DRIVER = 8, EXT_PORT_DIGITAL_RECEIVER = 16, EXT_PORT_DIGITAL_BI = 24,
    EXT_PORT_ANALOG_DRIVER = 512, EXT_PORT_OTHER = 2048, EXT_PORT_ANALOG_RECEIVER = 4096,
    EXT_PORT_ANALOG_BI = 4608
};

typedef struct PortTypeEntry {
    char* portName;
    int type;
    struct PortTypeEntry* next;   // newest first
} PortTypeEntry;

// The body that an [External Model] and an [External Circuit] share.
typedef struct ExternalModelData {
    int Language;             // EXT_LANG_*
    ExternalCorner* Typ;
    ExternalCorner* Min;
    ExternalCorner* Max;
    PortName* DigitalPorts;   // digital ports of an [External Circuit]'s converters
    PortName* Parameters;     // file order
    PortName* Ports;          // newest first
    PortTypeEntry* PortTypes; // newest first
    struct EXT_ReadState* reading;   // the reader's indexes of the lists (mdl)
} ExternalModelData;

// One [External Circuit]; the container keeps them newest first.
typedef struct ExternalCircuitRecord {
    char name[41];
    ExternalModelData* data;
    int line;
    struct ExternalCircuitRecord* next;
} ExternalCircuitRecord;

extern ExternalCircuitRecord* gCurrentExt;
// Port_type lines are read only while this is set; nothing in the reader
// sets it.
extern int gbEtcFlag;

int EXT_CIR_New(ExternalCircuitRecord** out);
void EXT_CIR_Init(void);
void EXT_ReceiveLine(int lineKind, int keywordCode, char* text);
void EXT_AddLink(ExternalCircuitRecord* rec, ExternalCircuitRecord* next);
// Forgets the circuit being read.
void EXT_Reset(void);
void EXT_FreeList(ExternalCircuitRecord* list);

int MDL_isReservedAnalogPort(const char* name);
int MDL_isReservedDigitalPort(const char* name);
// Each converter of corner without a Typ converter of the same three ports
// logs 226 (A_to_D) or 227 (D_to_A) with owner and label; returns their count.
int MDL_CnrMustMatchTyp(const char* ownerName, const ExternalCorner* corner,
                        const ExternalCorner* typ, const char* label);

// Releases the record with everything it holds; null is ignored.
void EXTERN_FreeData(ExternalModelData* data);
// Releases what the reader kept of a record while reading it (mdl).
void EXT_FreeReadState(struct EXT_ReadState* state);

#ifndef _WIN32
// Closes the current model as its [Model] section's end would (kept for
// embedding programs; the reader itself never calls it).
void EXTERN_Fini(void);
#endif

#ifdef __cplusplus
}
#endif

#endif
