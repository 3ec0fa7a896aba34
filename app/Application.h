#pragma once

#include <QApplication>

class THost;

inline constexpr const char* ALREADY_RUNNING_TEXT = "The application is running.";

// The program's application object: an exception that escapes an event handler is shown as
// an error through the host and the event loop goes on.
class TApplication : public QApplication
{
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);

    /// Where escaped exceptions are shown; without a host they go to the log.
    void SetHost(THost* host) { m_pHost = host; }
    /// Delivers the event; an exception from its handler is shown and the event counts as
    /// not handled.
    bool notify(QObject* receiver, QEvent* event) override;
    /// Shows an escaped exception: its own text, or an empty error for an unknown type.
    void ShowException(const QString& text);

private:
    THost* m_pHost = nullptr;
};

/// Maps the skin's font names onto faces this system has.
void InstallFontSubstitutes();
/// Every window's icon (_NET_WM_ICON on X11): the application icon at each of its sizes.
void InstallApplicationIcon();
/// The program: takes the single-instance lock (or says "The application is running." on
/// standard error and in a box), shows the main window and runs the event loop until it
/// closes. Needs a QApplication. Returns the process exit code, 0.
int RunControlPanel(THost& host);
