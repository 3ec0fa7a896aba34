#include "makerlibs/download/ProgrammerFolder.h"

#include <cstdlib>

#include <QSettings>
#include <QString>

#include <sys/stat.h>

namespace
{
// Tried in this order: the 64-bit tools win over the 32-bit ones.
constexpr const char* BIN_SUFFIXES[] = {"/bin", "/bin32"};

bool IsFolder(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string RootFromEnvironment()
{
    const char* root = std::getenv(TProgrammerFolder::ROOT_VARIABLE);
    return root == nullptr ? std::string() : std::string(root);
}

// The stand-in for the local-machine registry value: system-scope settings.
std::string RootFromSettings()
{
    const QSettings settings(QSettings::SystemScope, TProgrammerFolder::SETTINGS_ORGANIZATION,
                             TProgrammerFolder::SETTINGS_APPLICATION);
    return settings.value(TProgrammerFolder::SETTINGS_KEY).toString().toStdString();
}
} // namespace

std::string TProgrammerFolder::BinFolderOf(const std::string& root)
{
    if (root.empty())
        return {};
    for (const char* suffix : BIN_SUFFIXES)
    {
        // Joined as text, as the program does, without a separator check.
        const std::string folder = root + suffix;
        if (IsFolder(folder))
            return folder;
    }
    return {};
}

std::string TProgrammerFolder::Find()
{
    const std::string folder = BinFolderOf(RootFromEnvironment());
    return folder.empty() ? BinFolderOf(RootFromSettings()) : folder;
}
