#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets (or with nullopt removes) one environment variable for a test and restores it after.
class TScopedEnvironment
{
public:
    TScopedEnvironment(std::string name, const std::optional<std::string>& value)
        : m_sName(std::move(name))
    {
        if (const char* old = std::getenv(m_sName.c_str()))
            m_Old = old;
        Set(value);
    }
    ~TScopedEnvironment() { Set(m_Old); }
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;

    void Set(const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(m_sName.c_str(), value->c_str(), 1);
        else
            ::unsetenv(m_sName.c_str());
    }

private:
    std::string m_sName;
    std::optional<std::string> m_Old;
};
