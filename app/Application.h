#pragma once

class THost;

inline constexpr const char* ALREADY_RUNNING_TEXT = "The application is running.";

/// Maps the skin's font names onto faces this system has.
void InstallFontSubstitutes();
/// The program: takes the single-instance lock (or says "The application is running."),
/// shows the main window and runs the event loop until it closes. Needs a QApplication.
/// Returns the process exit code, 0.
int RunControlPanel(THost& host);
