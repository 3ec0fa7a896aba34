#include "config/ProgrammerLocation.h"

#include "host/Host.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace
{
#ifdef _WIN32
const char* const BIN_SUFFIX = "\\bin";
const char* const BIN32_SUFFIX = "\\bin32";
#else
const char* const BIN_SUFFIX = "/bin";
const char* const BIN32_SUFFIX = "/bin32";
#endif

// "installatino" is misspelt on purpose: the board's users know the text so.
const char* const NOT_FOUND_TEXT = "Failed to find Quartus installatino folder!";

// root + bin, else root + bin32, else empty; suffixes are joined as text.
QString ProgramFolderUnder(const QString& root)
{
    if (root.isEmpty())
        return QString();
    for (const char* suffix : {BIN_SUFFIX, BIN32_SUFFIX})
    {
        const QString folder = root + QLatin1String(suffix);
        if (QFileInfo(folder).isDir())
            return folder;
    }
    return QString();
}
} // namespace

QString QuartusRootFromEnvironment()
{
    return qEnvironmentVariable(QUARTUS_ROOT_ENV);
}

QString QuartusRootFromRegistry()
{
    QSettings settings(QSettings::SystemScope, QLatin1String(QUARTUS_REGISTRY_ORGANIZATION),
                       QLatin1String(QUARTUS_REGISTRY_APPLICATION));
    // One value of one key: never the organisation's key or another scope in its place.
    settings.setFallbacksEnabled(false);
    return settings.value(QLatin1String(QUARTUS_REGISTRY_VALUE)).toString();
}

void SelectWorkingFolder(THost& host, bool toProgrammer)
{
    if (!toProgrammer)
    {
        QDir::setCurrent(host.ProgramFolder());
        return;
    }
    QString folder = ProgramFolderUnder(QuartusRootFromEnvironment());
    if (folder.isEmpty())
        folder = ProgramFolderUnder(QuartusRootFromRegistry());
    if (folder.isEmpty())
    {
        host.ShowMessage(THost::mkWarning, QLatin1String(NOT_FOUND_TEXT));
        return;
    }
    QDir::setCurrent(folder);
}
