#include "tests/makerlibs/JtagLibrary.h"

#include <dlfcn.h>

namespace
{
template <typename T> void Find(void* module, const char* name, T& function)
{
    function = reinterpret_cast<T>(::dlsym(module, name));
}
} // namespace

TJtagLibrary::TJtagLibrary()
{
    m_pModule = ::dlopen(HX9_PROGRAM_DIR "/KELVARO_JTAG.so", RTLD_NOW | RTLD_LOCAL);
    if (m_pModule == nullptr)
    {
        m_sError = ::dlerror();
        return;
    }
    Find(m_pModule, "KELVARO_JtagOpen", Open);
    Find(m_pModule, "KELVARO_JtagClose", Close);
    Find(m_pModule, "KELVARO_JtagWrite", Write);
    Find(m_pModule, "KELVARO_JtagRead", Read);
    Find(m_pModule, "KELVARO_JtagGetInfo", GetInfo);
}

TJtagLibrary::~TJtagLibrary()
{
    if (m_pModule != nullptr)
        ::dlclose(m_pModule);
}

bool TJtagLibrary::Loaded() const
{
    return m_pModule != nullptr && Open != nullptr && Close != nullptr && Write != nullptr &&
           Read != nullptr && GetInfo != nullptr;
}
