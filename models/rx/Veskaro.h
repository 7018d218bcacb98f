// The receiver's IBIS-AMI entry points and the handle object behind them.
#pragma once

#include "usb3_rx.h"

#include <string>
#include <vector>

#ifdef _WIN32
#define VESKARO_EXPORT __declspec(dllexport)
#else
#define VESKARO_EXPORT __attribute__((visibility("default")))
#endif

// One model instance, created by AMI_Init and freed by AMI_Close.
struct AMIContainer {
    usb3_rx cMarlowindModel;
    std::string sMessage;
    std::vector<double> vClockTimes;
    int iSamplesPerBit = 0;

    // Sample memory of the model's eight external ports, in port order.
    double* m_pPortMemory[8] = {};
    // Setup and Initialize both succeeded: only then may samples run.
    bool m_bReady = false;

    AMIContainer() = default;
    AMIContainer(const AMIContainer&) = delete;
    AMIContainer& operator=(const AMIContainer&) = delete;
    ~AMIContainer()
    {
        for (double*& p : m_pPortMemory) {
            delete[] p;
            p = nullptr;
        }
    }
};

extern "C" {
VESKARO_EXPORT long AMI_Init(double* impulse_matrix, long row_size, long aggressors,
                             double sample_interval, double bit_time, char* AMI_parameters_in,
                             char** AMI_parameters_out, void** AMI_memory_handle, char** msg);
VESKARO_EXPORT long AMI_GetWave(double* wave, long wave_size, double* clock_times,
                                char** AMI_parameters_out, void* AMI_memory);
VESKARO_EXPORT long AMI_Close(void* AMI_memory);
}
