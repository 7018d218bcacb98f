// A library with AMI_Close but no AMI_Init: not a model the host can run.
extern "C" __attribute__((visibility("default"))) long AMI_Close(void*) { return 1; }
