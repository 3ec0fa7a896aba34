#pragma once

#include "session/ConnectSequence.h"
#include "board/Board.h"
#include "panels/FormPanel.h"
#include "skin/StatusLabel.h"

#include <QColor>
#include <QEvent>
#include <QPoint>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class QLabel;
class QMovie;
class QPushButton;
class QTimer;
class TBitmapManager;
class TButtonManager;
class TGauge;
class THost;
class TShape;

inline constexpr const char* MAIN_CAPTION = "Kelvaro - HX9 Control Panel V1.0.2";

// Tab ids are the panel indices; TAB_NONE shows the welcome clip instead of a panel.
inline constexpr int TAB_COUNT = 9;
inline constexpr int8_t TAB_NONE = 11;
inline constexpr int TAB_LED = 0;
inline constexpr int TAB_SEG7 = 1;
inline constexpr int TAB_BUTTON = 2;
inline constexpr int TAB_MEMORY = 3;
inline constexpr int TAB_SDCARD = 4;
inline constexpr int TAB_ADC = 5;
inline constexpr int TAB_RS232 = 6;
inline constexpr int TAB_VGA = 7;
inline constexpr int TAB_HSMC = 8;

// System button ids.
inline constexpr int32_t ID_CLOSE = 12;
inline constexpr int32_t ID_ABOUT = 13;
inline constexpr int32_t ID_MINI = 14;
inline constexpr int32_t ID_CONNECT = 15;

// Posted by the start-up timer; its handler connects as a click on the connect button would.
inline constexpr QEvent::Type WM_AUTOCONNECT = static_cast<QEvent::Type>(QEvent::User + 1);

inline constexpr int AUTOCONNECT_DELAY_MS = 300;
inline constexpr uint32_t GAUGE_STEPS = 100;

// The one main window: the board picture, tabs and system buttons, the information line,
// the welcome clip, the nine panels, the connect flow and the one board object.
class TFormMain : public QWidget, public TConnectView
{
    Q_OBJECT

public:
    /// Builds the window, its skin and its panels, and arms the automatic connect that runs
    /// AUTOCONNECT_DELAY_MS later through the event queue.
    explicit TFormMain(THost& host, QWidget* parent = nullptr);
    /// Destroys managers, panels and the board (which closes the link), without a disconnect.
    ~TFormMain() override;

    /// Writes the information line in the colour of that kind and repaints it at once; its
    /// icon shows only with text.
    void SetInfo(const QString& text, TInfoColour colour) override;
    /// Sets the status label's colour of that kind, then its text.
    void SetConnectStatus(const QString& text, TInfoColour colour) override;
    /// The connect button's caption and skinned strip.
    void SetConnectLook(bool connected) override;
    /// Disables the controls with the hourglass cursor, or puts both back.
    void SetBusy(bool busy) override;
    /// Lets the clip, the gauge and painting go on inside a connect's long waits; mouse and
    /// keyboard input waits until the connect has ended.
    void WhileWaiting() override;
    /// Shows or hides the welcome clip; it plays only while a connect runs.
    void ShowWelcome(bool show);
    /// True where no enabled skinned button is: there the pointer drags the window.
    bool IsDragArea(int x, int y) const;

    /// The connect button: disconnects when connected, else runs the connect sequence.
    void ButtonConnectClick();
    /// The whole connect sequence, configuring the FPGA when the first attempt fails.
    /// Returns whether the board is connected and answered "HX9".
    bool DoConnect();
    /// One attempt: opens the link and checks the board name; false closes the link again and
    /// puts the reason on the information line (and in a box when showError).
    bool ConnectBoard(bool showError);
    /// Loads the FPGA image through the download library; false after an error box.
    bool ConfigureFPGA();
    /// Closes the link and returns to the disconnected look; tabs stay disabled.
    void DisconnectBoard();
    /// Detaches the current panel and clears the information line.
    void DeactivateCurrentPanel();
    /// A panel's command failed: disconnect and leave the tabs disabled.
    void HandleLinkFailure(TFormPanel* sender);
    /// Enables or disables the connect and close buttons and every tab.
    void EnableUI(bool enable);

    /// Runs the gauge from `from` to `to` over duration ms of the host's clock.
    void StartProgress(uint32_t duration, int from, int to) override;
    /// Stops the gauge where it stands, still shown.
    void PauseProgress() override;
    /// Stops and hides the gauge.
    void StopProgress() override;
    /// One gauge step from the time since StartProgress.
    void TimerProgressTimer();

    /// Shows the panel of index (0..8) or the welcome clip (TAB_NONE); nothing when current.
    void SelectTab(int8_t index);
    /// Outlines the tab's parts, binds its events, then attaches or detaches the board.
    void SetPanelActive(int tab, bool active);
    /// Shows only the outlines of the tab's parts.
    void HighlightBoardArea(int tab);
    /// The memory panel changed its memory type: move the outline.
    void UpdateTestArea(TFormPanel* sender);
    /// A panel's long operation starts or ends: tabs, connect and close wait for it.
    void PanelBusy(TFormPanel* sender, bool busy);

    /// Minimises the window to the task bar.
    void ButtonMiniClick();
    /// Shows the About box modally.
    void ButtonAboutClick();
    /// A later start asked for this window: shown again if minimised, raised and activated.
    void BringToFront();
    /// The start-up timer fired: stop it and post WM_AUTOCONNECT.
    void TimerRunTimer();

    /// Ctrl+1 to Ctrl+9: what a click on that tab does, refused where the click would be.
    void TabKey(int tab);
    /// Ctrl+Tab (step 1) and Ctrl+Shift+Tab (step -1): the next or previous tab, in a ring.
    void StepTabKey(int step);
    /// A tab chosen from the keyboard: the focus goes to its panel's first control, or stays
    /// on the tab when the panel has none.
    void FocusPanel(int tab);

    /// Index of the shown panel, or TAB_NONE.
    int8_t CurrentTab() const { return m_CurrentTab; }
    /// True while a connect started by the connect button runs.
    bool IsConnecting() const { return m_bConnecting; }
    /// The panel of a tab (0..8); nullptr for any other index.
    TFormPanel* Panel(int tab) const;
    /// The nine tab buttons.
    TButtonManager& TabButtons() const { return *m_pTabButtons; }
    /// Close, minimise, about and connect.
    TButtonManager& SysButtons() const { return *m_pSysButtons; }
    /// The one board object.
    TBoard& Board() { return m_Board; }
    /// The welcome clip's player.
    QMovie* WelcomeMovie() const { return m_pWelcomeMovie; }

    // Controls, at their fixed places on the picture.
    QLabel* LabelCaption;
    QLabel* LabelConnectStatus;
    TGauge* CGaugeConfig;
    TStatusLabel* LabelInfo;
    QLabel* ImageInfo;
    QLabel* AnimateWelcome;
    TShape* ShapeSegDisp;
    TShape* ShapeLed;
    TShape* ShapeButtonSw;
    TShape* ShapeButton;
    TShape* ShapeLPDDR2;
    TShape* ShapeHSMC;
    TShape* ShapeSDCARD;
    TShape* ShapeSRAM;
    TShape* ShapeADC;
    TShape* ShapeRS232;
    TShape* ShapeVGA;
    QPushButton* ButtonClose;
    QPushButton* ButtonMini;
    QPushButton* ButtonAbout;
    QPushButton* ButtonConnect;
    QTimer* TimerRun;
    QTimer* TimerProgress;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetConnectStatus(const QString& text, const QColor& colour);
    void SetInfo(const QString& text, const QColor& colour);
    void CreateControls();
    void InitSkin();
    void FormCreate();
    void CreatePanels();
    void DestroyPanels();
    void OrderFocus();
    void CreateShortcuts();
    void ShowWelcomeFrame();
    void FormPaint(QPainter& canvas);
    void FormMouseDown(int x, int y);
    void FormMouseMove(int x, int y);
    void FormMouseUp(int x, int y);
    std::array<TShape*, BOARD_AREA_COUNT> Outlines() const;

    THost& m_Host;
    std::unique_ptr<TButtonManager> m_pTabButtons;
    std::unique_ptr<TButtonManager> m_pSysButtons;
    std::unique_ptr<TBitmapManager> m_pBitmapManager;
    std::array<std::unique_ptr<TFormPanel>, TAB_COUNT> m_pPanels;
    int8_t m_CurrentTab = TAB_NONE;
    uint32_t m_ProgressFrom = 0;
    uint32_t m_ProgressTo = 0;
    uint32_t m_ProgressDuration = 0;
    uint32_t m_ProgressStartTick = 0;
    TBoard m_Board;
    TConnectSequence m_Connect;
    bool m_bConnecting = false;
    bool m_bInConnectClick = false; // the connect button's action runs (it lets events through)

    QMovie* m_pWelcomeMovie = nullptr;
    qreal m_WelcomeScale = 1; // the clip's frames are drawn at this density
    // Manual move where the window system offers none (no window manager).
    bool m_bDragging = false;
    QPoint m_DragOffset;
};
