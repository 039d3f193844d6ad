#include "cuda_probe.h"

#include <optional>

bool gpuAvailable = false;
bool cufftMissing = false;

namespace {

// Tried in this order; the first is the library of the toolkit the program
// was built for.
constexpr const char* kCufftFileNames[] = {"libcufft.so.12", "libcufft.so"};

// Loaded once at start-up and kept open for the life of the process, exit
// included: never destroyed, so the library is never closed under a thread
// still using it.
std::optional<CufftLibrary>& loadedCufft()
{
    static auto* library = new std::optional<CufftLibrary>;
    return *library;
}

} // namespace

bool probeCuda(DeviceCountQuery query)
{
    int count = 0;
    return query(&count) == 0 && count > 0;
}

bool loadCufft()
{
    for (const char* fileName : kCufftFileNames) {
        if (auto library = CufftLibrary::open(fileName)) {
            loadedCufft() = std::move(library);
            return true;
        }
    }
    return false;
}

void probeGpuAtStartup()
{
    gpuAvailable = probeCuda();
    if (gpuAvailable)
        cufftMissing = !loadCufft();
}

const char* cufftLibraryName()
{
    return kCufftFileNames[0];
}

const CufftEntryPoints* cufftEntryPoints()
{
    const auto& library = loadedCufft();
    return library ? &library->entryPoints() : nullptr;
}
