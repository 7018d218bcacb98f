#include "rng.h"
#include <stdlib.h>
int RNG_ParseRange(const char*, const char*, TypMinMax** out) { *out = nullptr; return 0; }
void RNG_Free(TypMinMax* r) { free(r); }
