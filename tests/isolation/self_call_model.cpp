// A stand-in model whose AMI_Init calls the version record it also exports,
// the call made from another object file than the callee's, so that only the
// link decides where it goes. Linked once through quenrix_model_exports and
// once with a bare version script, it shows what the helper's binding guards.
#include "Version.h"

extern "C" long AMI_Init(double*, long, long, double, double, char*, char**, void**, char**)
{
    QuenrixCodeGen::version();
    return 1;
}

extern "C" long AMI_Close(void*) { return 1; }
