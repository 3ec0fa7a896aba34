#include "resources/SkinResources.h"

#include <QDir>

namespace
{

const QString FOLDER = QStringLiteral(":/skin/");

} // namespace

QString SkinBitmapPath(const QString& name)
{
    return FOLDER + name.toUpper() + QStringLiteral(".bmp");
}

QString SkinClipPath(const QString& name)
{
    return FOLDER + name.toUpper() + QStringLiteral(".gif");
}

QStringList AppIconPaths()
{
    QStringList paths;
    const QStringList names =
        QDir(FOLDER).entryList({QStringLiteral("APP_ICON_*.png")}, QDir::Files);
    for (const QString& name : names)
        paths << FOLDER + name;
    return paths;
}
