// [External Model] and [External Circuit]: a model or circuit described by a
// netlist in another language.  The model module reads both.
#ifndef IBISPARSER_EXTERN_H
#define IBISPARSER_EXTERN_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ExternalCorner ExternalCorner;
typedef struct PortName PortName;
typedef struct PortTypeEntry PortTypeEntry;

// The body that an [External Model] and an [External Circuit] share.
typedef struct ExternalModelData {
    int Language;             // 0 not given, 27 analog only, 28 VHDL-AMS, 29 Verilog-AMS
    ExternalCorner* Typ;
    ExternalCorner* Min;
    ExternalCorner* Max;
    PortName* DigitalPorts;   // digital ports of an [External Circuit]'s converters
    PortName* Parameters;     // file order
    PortName* Ports;          // newest first
    PortTypeEntry* PortTypes; // newest first
} ExternalModelData;

// Releases the record with everything it holds; null is ignored.
void EXTERN_FreeData(ExternalModelData* data);

#ifndef _WIN32
// Closes the current model as its [Model] section's end would (kept for
// embedding programs; the reader itself never calls it).
void EXTERN_Fini(void);
#endif

#ifdef __cplusplus
}
#endif

#endif
