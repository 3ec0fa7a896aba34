#pragma once

#include "host/Host.h"

#include <QElapsedTimer>
#include <functional>

// How a message reaches the user; tests put in one that records and answers at once.
using TMessageFunction = std::function<void(THost::TMessageKind kind, const QString& text)>;

// THost for the windowed program: steady clock, the system beep, modal message boxes and the
// folder of the running program. Every message box of the program goes through ShowMessage,
// every file dialog through AskOpenFileName and AskSaveFileName.
class TGuiHost : public THost
{
public:
    TGuiHost();

    /// Milliseconds since the host was made, as a wrapping 32-bit counter.
    uint32_t TickCount() override;
    /// The system's alert beep.
    void Beep() override;
    /// Shows the message through the message function (a modal box with one OK button by
    /// default) and returns when it is dismissed.
    void ShowMessage(TMessageKind kind, const QString& text) override;
    /// The running program's folder with a trailing '/'.
    QString ProgramFolder() override;
    /// A modal file dialog for one existing file; "" when cancelled.
    QString AskOpenFileName(const QString& filter, const QString& defaultSuffix) override;
    /// A modal file dialog for a file to write, without asking before replacing; "" when
    /// cancelled. The default suffix is added only to a new name without a suffix.
    QString AskSaveFileName(const QString& filter, const QString& defaultSuffix) override;

    /// Replaces how messages are shown; an empty function restores the message box.
    void SetMessageFunction(TMessageFunction function);

    /// A modal box with the kind's icon and title and one OK button, over the active window,
    /// with the normal pointer while it is up.
    static void ShowMessageBox(TMessageKind kind, const QString& text);

private:
    static QString AskFileName(bool save, const QString& filter, const QString& defaultSuffix);

    QElapsedTimer m_Clock;
    TMessageFunction m_MessageFunction;
};
