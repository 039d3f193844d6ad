#include "cufft_library.h"

#include <dlfcn.h>

namespace {

template <typename Function>
bool resolve(void* handle, const char* name, Function& slot)
{
    slot = reinterpret_cast<Function>(dlsym(handle, name));
    return slot != nullptr;
}

} // namespace

void CufftLibrary::Close::operator()(void* handle) const
{
    dlclose(handle);
}

std::optional<CufftLibrary> CufftLibrary::open(const char* fileName)
{
    CufftLibrary library;
    library.handle_.reset(dlopen(fileName, RTLD_NOW | RTLD_LOCAL));
    if (!library.handle_)
        return std::nullopt;
    void* handle = library.handle_.get();
    CufftEntryPoints& slots = library.entryPoints_;
    if (!resolve(handle, "cufftPlan1d", slots.plan1d) || !resolve(handle, "cufftPlan2d", slots.plan2d) ||
        !resolve(handle, "cufftDestroy", slots.destroy) || !resolve(handle, "cufftExecC2C", slots.execC2C))
        return std::nullopt;
    return library;
}
