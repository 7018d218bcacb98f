#include "ramp.h"
#include <stdlib.h>
int RAMP_New(const char*, RampRecord**) { return 0; }
void RAMP_ReceiveLine(const char*, RampRecord*, const char*) {}
void RAMP_Fini(const RampRecord*) {}
void RAMP_Free(RampRecord* ramp) { if (ramp) { free(ramp->dVdt_r); free(ramp->dVdt_f); free(ramp); } }
