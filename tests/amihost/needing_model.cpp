// A stand-in model that needs another shared library of its own (listed in
// its dynamic section, found through its run path, $ORIGIN): the loader maps
// both. It passes the waveform through, scaled by what that library gives.
extern "C" double quenrix_needed_gain();

extern "C" {

__attribute__((visibility("default"))) long AMI_Init(double*, long, long, double, double, char*,
                                                     char**, void** handle, char** msg)
{
    static char text[] = "stand-in that needs a library";
    *handle = text;
    *msg = text;
    return 1;
}

__attribute__((visibility("default"))) long AMI_GetWave(double* wave, long size, double* clock_times,
                                                        char**, void*)
{
    for (long i = 0; i < size; ++i)
        wave[i] *= quenrix_needed_gain();
    clock_times[0] = -1.0;
    return 1;
}

__attribute__((visibility("default"))) long AMI_Close(void*) { return 1; }
}
