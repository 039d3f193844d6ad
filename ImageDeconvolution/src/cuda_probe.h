#pragma once

// Whether the GPU path can be offered, decided once at start-up.
extern bool gpuAvailable; // a CUDA device answered (cleared when cuFFT is missing)
extern bool cufftMissing; // a device answered but the cuFFT library did not load

// True when the CUDA runtime reports at least one device.
bool probeCuda();
// Loads the cuFFT library and its entry points; false when it or one of them is missing.
bool loadCufft();
// gpuAvailable = probeCuda(); and only then cufftMissing = !loadCufft().
void probeGpuAtStartup();
// The file name of the cuFFT library looked for, for the warning shown when it is missing.
const char* cufftLibraryName();
