#pragma once

#include <cstdint>
#include <string>

#include "makerlibs/jtag/KelvaroJtag.h"

// The JTAG access library as the program sees it: loaded from the program folder by path,
// its five functions looked up by name.
class TJtagLibrary
{
public:
    TJtagLibrary();
    ~TJtagLibrary();
    TJtagLibrary(const TJtagLibrary&) = delete;
    TJtagLibrary& operator=(const TJtagLibrary&) = delete;

    // True when the file loaded and every function was found.
    bool Loaded() const;
    // dlerror's text when loading failed.
    const std::string& Error() const { return m_sError; }

    decltype(&KELVARO_JtagOpen) Open = nullptr;
    decltype(&KELVARO_JtagClose) Close = nullptr;
    decltype(&KELVARO_JtagWrite) Write = nullptr;
    decltype(&KELVARO_JtagRead) Read = nullptr;
    decltype(&KELVARO_JtagGetInfo) GetInfo = nullptr;

private:
    void* m_pModule = nullptr;
    std::string m_sError;
};
