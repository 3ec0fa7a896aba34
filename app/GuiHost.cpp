#include "app/GuiHost.h"

#include "skin/AppCursor.h"

#include <QApplication>
#include <QMessageBox>

TGuiHost::TGuiHost()
{
    m_Clock.start();
}

uint32_t TGuiHost::TickCount()
{
    return static_cast<uint32_t>(m_Clock.elapsed());
}

void TGuiHost::Beep()
{
    QApplication::beep();
}

void TGuiHost::ShowMessage(TMessageKind kind, const QString& text)
{
    if (m_MessageFunction)
    {
        m_MessageFunction(kind, text);
    }
    else
    {
        ShowMessageBox(kind, text);
    }
}

QString TGuiHost::ProgramFolder()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

void TGuiHost::SetMessageFunction(TMessageFunction function)
{
    m_MessageFunction = std::move(function);
}

void TGuiHost::ShowMessageBox(TMessageKind kind, const QString& text)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    QString title = QStringLiteral("Information");
    if (kind == mkError)
    {
        icon = QMessageBox::Critical;
        title = QStringLiteral("Error");
    }
    else if (kind == mkWarning)
    {
        icon = QMessageBox::Warning;
        title = QStringLiteral("Warning");
    }
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    // The hourglass of a running connect would otherwise sit over the OK button.
    const Qt::CursorShape shape = AppCursor();
    SetAppCursor(Qt::ArrowCursor);
    box.exec();
    SetAppCursor(shape);
}
