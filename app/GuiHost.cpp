#include "app/GuiHost.h"

#include "skin/AppCursor.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
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

/// The name to save to: as typed when it exists (a file, a device, a FIFO) or has a suffix,
/// else with the default suffix.
QString SaveName(const QString& typed, const QString& defaultSuffix)
{
    const QFileInfo info(typed);
    if (defaultSuffix.isEmpty() || info.exists() || info.isSymLink() || !info.suffix().isEmpty())
    {
        return typed;
    }
    return typed + QLatin1Char('.') + defaultSuffix;
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
    // The dialog would add the suffix to every name without one: /dev/null, a FIFO or an
    // existing file would become a new file beside it. A save adds it here instead.
    if (!save)
    {
        dialog.setDefaultSuffix(defaultSuffix);
    }
    const bool accepted = ExecWithArrow(dialog) == QDialog::Accepted;
    if (!accepted || dialog.selectedFiles().isEmpty())
    {
        return QString();
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    return save ? SaveName(chosen, defaultSuffix) : chosen;
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
