#include "rcvth.h"
int RCVTH_New(const char*, ReceiverThresholdsRecord**) { return 0; }
void RCVTH_ReceiveLine(const char*, ReceiverThresholdsRecord*, const char*) {}
void RCVTH_FiniCore(const ReceiverThresholdsRecord*, const char*) {}
void RCVTH_CheckOne(const ReceiverThresholdsRecord*, const char*, const char*) {}
void RCVTH_Free(ReceiverThresholdsRecord*) {}
