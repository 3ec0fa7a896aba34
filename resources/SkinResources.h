#pragma once

#include <QString>
#include <QStringList>

// The skin compiled into the program (library hx9_resources): every bitmap lives at
// ":/skin/<NAME>.bmp" with NAME in upper case, the welcome clip at ":/skin/WELCOME_AVI.gif",
// the application icon at ":/skin/APP_ICON_<size>.png".
// Linking the library is enough; no initialisation call is needed.

/// Resource path of the bitmap called name, matched without regard to letter case.
QString SkinBitmapPath(const QString& name);

/// Resource path of the clip called name ("WELCOME_AVI"), letter case ignored.
QString SkinClipPath(const QString& name);

/// Resource paths of the application icon, one file per size.
QStringList AppIconPaths();
