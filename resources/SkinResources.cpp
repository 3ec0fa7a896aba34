#include "resources/SkinResources.h"

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
