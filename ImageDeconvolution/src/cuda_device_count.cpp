#include <cuda_runtime_api.h>

#include "cuda_probe.h"

bool probeCuda()
{
    return probeCuda([](int* count) { return static_cast<int>(cudaGetDeviceCount(count)); });
}
