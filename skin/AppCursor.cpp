#include "skin/AppCursor.h"

#include <QCursor>
#include <QGuiApplication>

void SetAppCursor(Qt::CursorShape shape)
{
    if (shape == Qt::ArrowCursor)
    {
        while (QGuiApplication::overrideCursor())
        {
            QGuiApplication::restoreOverrideCursor();
        }
        return;
    }
    const QCursor* current = QGuiApplication::overrideCursor();
    if (!current)
    {
        QGuiApplication::setOverrideCursor(QCursor(shape));
    }
    else if (current->shape() != shape)
    {
        QGuiApplication::changeOverrideCursor(QCursor(shape));
    }
}

Qt::CursorShape AppCursor()
{
    const QCursor* current = QGuiApplication::overrideCursor();
    return current ? current->shape() : Qt::ArrowCursor;
}
