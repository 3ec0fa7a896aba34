#pragma once

#include <QString>
#include <QStringList>

// The skin compiled into the program (library hx9_resources): every bitmap lives at
// ":/skin/<NAME>.bmp" with NAME in upper case, the welcome clip at ":/skin/WELCOME_AVI.gif";
// their twins at twice the density under ":/skin/2x/"; the application icon at
// ":/skin/APP_ICON_<size>.png".
// Linking the library is enough; no initialisation call is needed.

/// Resource path of the bitmap called name, matched without regard to letter case; scale 2
/// for its denser twin.
QString SkinBitmapPath(const QString& name, int scale = 1);

/// Resource path of the clip called name ("WELCOME_AVI"), letter case ignored; scale 2 for its
/// denser twin.
QString SkinClipPath(const QString& name, int scale = 1);

/// Resource paths of the application icon, one file per size.
QStringList AppIconPaths();
