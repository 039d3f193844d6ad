#pragma once

#include "cufft_library.h"

// Whether the GPU path can be offered, decided once at start-up.
extern bool gpuAvailable; // a CUDA device answered (cleared when cuFFT is missing)
extern bool cufftMissing; // a device answered but the cuFFT library did not load

// The CUDA runtime's device-count query: returns its status (0 = success)
// and writes the number of devices.
using DeviceCountQuery = int (*)(int* count);

// True when the query succeeds and reports at least one device: a runtime
// that answers "0 devices" offers no GPU to run on.
bool probeCuda(DeviceCountQuery query);
// probeCuda with the CUDA runtime's query; false in a build without CUDA.
bool probeCuda();
// Loads the cuFFT library and its entry points; false when it or one of them is missing.
bool loadCufft();
// gpuAvailable = probeCuda(); and only then cufftMissing = !loadCufft().
void probeGpuAtStartup();
// The file name of the cuFFT library looked for, for the warning shown when it is missing.
const char* cufftLibraryName();
// The entry points of the library loadCufft loaded; null before it succeeded.
const CufftEntryPoints* cufftEntryPoints();
