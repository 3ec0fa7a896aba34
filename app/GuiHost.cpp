#include "app/GuiHost.h"

#include "skin/AppCursor.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace
{
/// Runs a modal dialog with the normal pointer: the hourglass of a running connect would
/// otherwise sit over its buttons.
int ExecWithArrow(QDialog& dialog)
{
    const Qt::CursorShape shape = AppCursor();
    SetAppCursor(Qt::ArrowCursor);
    const int result = dialog.exec();
    SetAppCursor(shape);
    return result;
}
} // namespace

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

QString TGuiHost::AskOpenFileName(const QString& filter, const QString& defaultSuffix)
{
    return AskFileName(false, filter, defaultSuffix);
}

QString TGuiHost::AskSaveFileName(const QString& filter, const QString& defaultSuffix)
{
    return AskFileName(true, filter, defaultSuffix);
}

QString TGuiHost::AskFileName(bool save, const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(QApplication::activeWindow(), QString(), QString(), filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The caller decides what replacing a file means.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, save);
    dialog.setDefaultSuffix(defaultSuffix);
    const bool accepted = ExecWithArrow(dialog) == QDialog::Accepted;
    if (!accepted || dialog.selectedFiles().isEmpty())
    {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
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
    ExecWithArrow(box);
}
