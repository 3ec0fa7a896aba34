#pragma once

// The real program on a private X screen against a programmed virtual board of its own, for
// tests that click through panels: tabs and panel points in client pixels, a screenshot of the
// panel area, waits on the screen or the board, and the polling figures of a shown panel.

#include "tests/e2e/Xvfb.h"
#include "tests/support/VirtualBoardProcess.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

inline const QPoint E2E_PANEL_AT(204, 288);
inline constexpr int E2E_STEP_LIMIT_MS = 10000;
inline constexpr int E2E_WAIT_STEP_MS = 50;

class PanelE2eTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Starts the program and waits until it shows "Connected"; false after the limit.
    bool StartConnected();
    /// Clicks the close button and expects the program to end with status 0.
    void Close();

    /// Polls until done() holds; false after the limit.
    template <class TDone> bool WaitFor(TDone done, int limitMs = E2E_STEP_LIMIT_MS)
    {
        const QDeadlineTimer deadline(limitMs);
        while (!deadline.hasExpired())
        {
            if (done())
                return true;
            QThread::msleep(E2E_WAIT_STEP_MS);
        }
        return false;
    }

    /// Clicks a point of the main window's client area.
    void ClickClient(QPoint at);
    /// Clicks a point of the panel.
    void ClickPanel(QPoint at) { ClickClient(E2E_PANEL_AT + at); }
    /// Clicks tab (0-8) and waits for its panel to replace the picture shown; the new picture.
    QImage ShowTab(int tab, const QImage& shown);
    /// The panel area as it is on the screen.
    QImage PanelShot() const;
    /// Waits until the panel area differs from before; the new picture.
    QImage WaitForPanelChange(const QImage& before);
    /// Saves a picture under the test artefacts.
    void Keep(const QImage& shot, const QString& name) const;

    /// Requests the board has answered so far; -1 when unknown.
    long Requests();
    /// Prints the mean time between the board's requests and the program's CPU share over a
    /// few seconds while the shown panel polls by itself; expects at least one poll.
    void MeasurePolling(const char* panel);

    TXvfb m_X;
    QTemporaryDir m_Temp;
    std::unique_ptr<hx9test::TVirtualBoardProcess> m_pBoard;
    QProcess m_Program;
    QPoint m_Window; // the main window's client origin on the screen
};
