// A stand-in impulse-only model (no AMI_GetWave) for the host program's
// test: AMI_Init halves the impulse response in place.
extern "C" {

__attribute__((visibility("default"))) long AMI_Init(double* impulse_matrix, long row_size,
                                                     long aggressors, double, double, char*, char**,
                                                     void** AMI_memory_handle, char** msg)
{
    static char text[] = "impulse-only stand-in";
    for (long k = 0; k < row_size * (aggressors + 1); ++k)
        impulse_matrix[k] *= 0.5;
    *AMI_memory_handle = text;
    *msg = text;
    return 1;
}

__attribute__((visibility("default"))) long AMI_Close(void*) { return 1; }
}
