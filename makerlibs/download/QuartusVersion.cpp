#include "makerlibs/download/QuartusVersion.h"

#include <charconv>

namespace
{
constexpr std::string_view VERSION_WORD = "Version ";

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

double ParseQuartusVersion(std::string_view text)
{
    // "Version 18.1.0 Build 625 ..." gives 18.1: major and minor, the rest is build detail.
    for (size_t at = text.find(VERSION_WORD); at != std::string_view::npos;
         at = text.find(VERSION_WORD, at + 1))
    {
        const std::string_view rest = text.substr(at + VERSION_WORD.size());
        size_t end = 0;
        while (end < rest.size() && IsDigit(rest[end]))
            ++end;
        if (end == 0)
            continue;
        if (end + 1 < rest.size() && rest[end] == '.' && IsDigit(rest[end + 1]))
        {
            ++end;
            while (end < rest.size() && IsDigit(rest[end]))
                ++end;
        }
        // from_chars ignores the locale, which a Qt program sets from the user's environment.
        double version = 0;
        if (std::from_chars(rest.data(), rest.data() + end, version).ec == std::errc())
            return version;
    }
    return 0;
}
