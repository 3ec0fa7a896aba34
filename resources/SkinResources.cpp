#include "resources/SkinResources.h"

#include <QDir>

namespace
{

const QString FOLDER = QStringLiteral(":/skin/");
const QString DENSE_FOLDER = QStringLiteral(":/skin/2x/");
constexpr int DENSE_SCALE = 2;

QString FolderOf(int scale)
{
    return scale == DENSE_SCALE ? DENSE_FOLDER : FOLDER;
}

} // namespace

QString SkinBitmapPath(const QString& name, int scale)
{
    return FolderOf(scale) + name.toUpper() + QStringLiteral(".bmp");
}

QString SkinClipPath(const QString& name, int scale)
{
    return FolderOf(scale) + name.toUpper() + QStringLiteral(".gif");
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
