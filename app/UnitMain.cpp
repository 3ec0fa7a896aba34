#include "app/UnitMain.h"

#include "app/Gauge.h"
#include "app/Shape.h"
#include "app/UnitAbout.h"
#include "host/Host.h"
#include "panels/UnitADC.h"
#include "panels/UnitButton.h"
#include "panels/UnitHSMC.h"
#include "panels/UnitLED.h"
#include "panels/UnitMemory.h"
#include "panels/UnitRS232.h"
#include "panels/UnitSDCARD.h"
#include "panels/UnitSeg7.h"
#include "panels/UnitVGA.h"
#include "resources/SkinResources.h"
#include "skin/AppCursor.h"
#include "skin/BitmapManager.h"
#include "skin/ButtonManager.h"
#include "skin/SkinColours.h"
#include "skin/SkinWidgets.h"
#include "skin/StatusLabel.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

namespace
{

const QSize MAIN_CLIENT_SIZE(620, 600); // also the size of "MAIN_UI"
const char* const MAIN_BACKGROUND = "MAIN_UI";
const char* const WELCOME_CLIP = "WELCOME_AVI";

const char* const TAB_STRIP = "TAB_BUTTON";

template <class TPanel>
std::unique_ptr<TFormPanel> MakePanelOf(QWidget* owner, THost& host)
{
    return std::make_unique<TPanel>(owner, host);
}

// One row per tab: its caption and its panel. The panel itself says which parts of the
// board picture it outlines.
struct TTabEntry
{
    const char* Caption;
    std::unique_ptr<TFormPanel> (*MakePanel)(QWidget* owner, THost& host);
};
const TTabEntry TABS[TAB_COUNT] = {
    {"LED", &MakePanelOf<TFormLED>},       {"7-SEG", &MakePanelOf<TFormSeg7>},
    {"Switches", &MakePanelOf<TFormButton>}, {"Memory", &MakePanelOf<TFormMemory>},
    {"SD Card", &MakePanelOf<TFormSDCARD>},  {"ADC", &MakePanelOf<TFormADC>},
    {"UART-USB", &MakePanelOf<TFormRS232>},  {"HDMI-TX", &MakePanelOf<TFormVGA>},
    {"HSMC", &MakePanelOf<TFormHSMC>},
};
// Tabs 0-4 run down the first column, 5-8 down the second.
constexpr int TAB_LEFT = 8;
constexpr int TAB_TOP = 289;
constexpr int TAB_STEP_DOWN = 45;
constexpr int TAB_COLUMN_STEP = 98;
constexpr int TABS_PER_COLUMN = 5;

const char* const CLOSE_STRIP = "CLOSE_BTN";
const char* const MINI_STRIP = "MINI_BTN";
const char* const ABOUT_STRIP = "ABOUT_BTN";
const char* const CONNECT_STRIP = "CONNECT_BTN";
const char* const DISCONNECT_STRIP = "DISCONNECT_BTN";
const QPoint CONNECT_BUTTON_AT(124, 510);

const QRect LABEL_CAPTION_RECT(164, 8, 292, 16);
const QRect LABEL_CONNECT_STATUS_RECT(30, 540, 92, 22);
const QRect GAUGE_RECT(32, 538, 92, 21);
const QRect LABEL_INFO_RECT(245, 562, 329, 16);
const QRect IMAGE_INFO_RECT(227, 564, 15, 13);
const QRect WELCOME_RECT(204, 288, 387, 296);
const QPoint PANEL_AT(204, 288);
const QRect BUTTON_CLOSE_RECT(559, 19, 37, 12);
const QRect BUTTON_MINI_RECT(520, 19, 37, 12);
const QRect BUTTON_ABOUT_RECT(481, 19, 37, 12);
const QRect BUTTON_CONNECT_RECT(29, 568, 84, 17);

const QRect SHAPE_SEG_DISP_RECT(181, 203, 67, 27);
const QRect SHAPE_LED_RECT(180, 236, 253, 9);
const QRect SHAPE_BUTTON_SW_RECT(177, 247, 143, 26);
const QRect SHAPE_BUTTON_RECT(322, 247, 106, 25);
const QRect SHAPE_LPDDR2_RECT(350, 102, 31, 28);
const QRect SHAPE_HSMC_RECT(438, 107, 17, 124);
const QRect SHAPE_SDCARD_RECT(382, 51, 33, 32);
const QRect SHAPE_SRAM_RECT(282, 150, 39, 26);
const QRect SHAPE_ADC_RECT(292, 217, 48, 12);
const QRect SHAPE_RS232_RECT(239, 36, 30, 35);
const QRect SHAPE_VGA_RECT(276, 40, 35, 26);
const QColor SHAPE_COLOUR(255, 255, 0);
constexpr int SHAPE_PEN_WIDTH = 2;

const QColor CAPTION_LIME(0, 255, 0);
const char* const INFO_ICON = "INFO_ICON";
constexpr int WINDOW_FONT_PIXELS = 16;
constexpr int CAPTION_FONT_PIXELS = 13;
constexpr int STATUS_FONT_PIXELS = 13;
constexpr int INFO_FONT_PIXELS = 11;

const char* const TEXT_CONNECT = "Connect";
const char* const TEXT_DISCONNECT = "Disconnect";

// What screen readers call the system buttons, whose pictures say it to everyone else.
const char* const NAME_CLOSE = "Close";
const char* const NAME_MINI = "Minimize";
const char* const NAME_ABOUT = "About";

// The small mark in front of the information line; its lower-left colour is see-through.
QPixmap InfoIcon(qreal ratio)
{
    TSkinBitmap icon;
    if (!icon.Load(QString::fromLatin1(INFO_ICON)))
    {
        qWarning("The program's resources hold no %s bitmap", INFO_ICON);
        return {};
    }
    return QPixmap::fromImage(icon.Masked().For(ratio));
}

} // namespace

TFormMain::TFormMain(THost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_Host(host), m_Board(host),
      m_Connect(m_Board, host, *this)
{
    CreateControls();
    LabelCaption->setText(windowTitle());
    InitSkin();
    SetConnectStatus(QString::fromLatin1(TEXT_DISCONNECTED), TInfoColour::Red);
    LabelConnectStatus->setText(QString());
    CGaugeConfig->hide();
    CGaugeConfig->SetForeColor(QColor(LIGHT_GREEN));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
    {
        move(screen->availableGeometry().center() - rect().center());
    }
    FormCreate();
}

TFormMain::~TFormMain()
{
    TimerRun->stop();
    TimerProgress->stop();
    m_pBitmapManager.reset();
    m_pTabButtons.reset();
    m_pSysButtons.reset();
    DestroyPanels();
}

void TFormMain::CreateControls()
{
    setWindowTitle(QString::fromLatin1(MAIN_CAPTION));
    setFont(PixelFont(QStringLiteral("Arial"), WINDOW_FONT_PIXELS));
    setMouseTracking(true);

    LabelCaption = MakeLabel(this, LABEL_CAPTION_RECT, PixelFont(QStringLiteral("MS Sans Serif"), CAPTION_FONT_PIXELS),
                             Qt::AlignHCenter | Qt::AlignTop);
    SetLabelColour(LabelCaption, CAPTION_LIME);
    LabelConnectStatus = MakeLabel(this, LABEL_CONNECT_STATUS_RECT,
                                   PixelFont(QStringLiteral("Arial"), STATUS_FONT_PIXELS),
                                   Qt::AlignHCenter | Qt::AlignTop);
    CGaugeConfig = new TGauge(this);
    CGaugeConfig->setGeometry(GAUGE_RECT);
    CGaugeConfig->setFont(PixelFont(QStringLiteral("Arial"), STATUS_FONT_PIXELS));
    LabelInfo = new TStatusLabel(this);
    PlaceLabel(LabelInfo, LABEL_INFO_RECT, PixelFont(QStringLiteral("Arial"), INFO_FONT_PIXELS),
               Qt::AlignLeft | Qt::AlignTop);
    LabelInfo->hide();
    ImageInfo = MakeLabel(this, IMAGE_INFO_RECT, font(), Qt::AlignCenter);
    ImageInfo->setPixmap(InfoIcon(devicePixelRatio()));
    AnimateWelcome = new QLabel(this);
    AnimateWelcome->setGeometry(WELCOME_RECT);
    // The clip is a window of its own inside the main one, so no drag handle.
    AnimateWelcome->setAttribute(Qt::WA_NoMousePropagation);

    const QColor outline = SHAPE_COLOUR;
    ShapeSegDisp = new TShape(this, SHAPE_SEG_DISP_RECT, outline, SHAPE_PEN_WIDTH);
    ShapeLed = new TShape(this, SHAPE_LED_RECT, outline, SHAPE_PEN_WIDTH);
    ShapeButtonSw = new TShape(this, SHAPE_BUTTON_SW_RECT, outline, SHAPE_PEN_WIDTH);
    ShapeButton = new TShape(this, SHAPE_BUTTON_RECT, outline, SHAPE_PEN_WIDTH);
    ShapeLPDDR2 = new TShape(this, SHAPE_LPDDR2_RECT, outline, SHAPE_PEN_WIDTH);
    ShapeHSMC = new TShape(this, SHAPE_HSMC_RECT, outline, SHAPE_PEN_WIDTH);
    ShapeSDCARD = new TShape(this, SHAPE_SDCARD_RECT, outline, SHAPE_PEN_WIDTH);
    ShapeSRAM = new TShape(this, SHAPE_SRAM_RECT, outline, SHAPE_PEN_WIDTH);
    ShapeADC = new TShape(this, SHAPE_ADC_RECT, outline, SHAPE_PEN_WIDTH);
    ShapeRS232 = new TShape(this, SHAPE_RS232_RECT, outline, SHAPE_PEN_WIDTH);
    ShapeVGA = new TShape(this, SHAPE_VGA_RECT, outline, SHAPE_PEN_WIDTH);

    ButtonClose = MakeHiddenButton(this, BUTTON_CLOSE_RECT, QString());
    ButtonMini = MakeHiddenButton(this, BUTTON_MINI_RECT, QString());
    ButtonAbout = MakeHiddenButton(this, BUTTON_ABOUT_RECT, QString());
    ButtonClose->setAccessibleName(QString::fromLatin1(NAME_CLOSE));
    ButtonMini->setAccessibleName(QString::fromLatin1(NAME_MINI));
    ButtonAbout->setAccessibleName(QString::fromLatin1(NAME_ABOUT));
    ButtonConnect = MakeHiddenButton(this, BUTTON_CONNECT_RECT, QString::fromLatin1(TEXT_CONNECT));

    TimerRun = new QTimer(this);
    connect(TimerRun, &QTimer::timeout, this, &TFormMain::TimerRunTimer);
    TimerProgress = new QTimer(this);
    connect(TimerProgress, &QTimer::timeout, this, &TFormMain::TimerProgressTimer);
}

void TFormMain::InitSkin()
{
    SetLabelColour(LabelConnectStatus, QColor(LIGHT_GREEN));

    m_pBitmapManager = std::make_unique<TBitmapManager>();
    if (m_pBitmapManager->AddBitmap(0, QString::fromLatin1(MAIN_BACKGROUND), false))
    {
        setFixedSize(m_pBitmapManager->GetBitmapSize(0));
    }
    else
    {
        qWarning("The program's resources hold no %s bitmap", MAIN_BACKGROUND);
        setFixedSize(MAIN_CLIENT_SIZE);
    }

    m_pTabButtons = std::make_unique<TButtonManager>(this, bmRadio);
    for (int tab = 0; tab < TAB_COUNT; ++tab)
    {
        const int column = tab / TABS_PER_COLUMN;
        const int row = tab % TABS_PER_COLUMN;
        m_pTabButtons->AddButton(tab, QString::fromLatin1(TABS[tab].Caption),
                                 TAB_TOP + row * TAB_STEP_DOWN,
                                 TAB_LEFT + column * TAB_COLUMN_STEP, QString::fromLatin1(TAB_STRIP));
    }

    m_pSysButtons = std::make_unique<TButtonManager>(this, bmPush);
    m_pSysButtons->AddButton(ID_CLOSE, QString(), ButtonClose->y(), ButtonClose->x(),
                             QString::fromLatin1(CLOSE_STRIP));
    m_pSysButtons->AddButton(ID_MINI, QString(), ButtonMini->y(), ButtonMini->x(),
                             QString::fromLatin1(MINI_STRIP));
    m_pSysButtons->AddButton(ID_ABOUT, QString(), ButtonAbout->y(), ButtonAbout->x(),
                             QString::fromLatin1(ABOUT_STRIP));
    m_pSysButtons->AddButton(ID_CONNECT, QString(), CONNECT_BUTTON_AT.y(), CONNECT_BUTTON_AT.x(),
                             QString::fromLatin1(CONNECT_STRIP));
    m_pSysButtons->SetName(ID_CLOSE, ButtonClose->accessibleName());
    m_pSysButtons->SetName(ID_MINI, ButtonMini->accessibleName());
    m_pSysButtons->SetName(ID_ABOUT, ButtonAbout->accessibleName());
    m_pSysButtons->SetName(ID_CONNECT, ButtonConnect->text());
    m_pTabButtons->OnKeyPress = [this](int32_t tab) { FocusPanel(tab); };

    AnimateWelcome->move(WELCOME_RECT.topLeft());
    // Frames go to the label one by one, so that a denser clip shows at the layout's size.
    const QString clip = QString::fromLatin1(WELCOME_CLIP);
    const bool dense =
        devicePixelRatio() > 1.0 && QFile::exists(SkinClipPath(clip, SKIN_HIGH_SCALE));
    const int scale = dense ? SKIN_HIGH_SCALE : 1;
    m_WelcomeScale = scale;
    m_pWelcomeMovie = new QMovie(SkinClipPath(clip, scale), QByteArray(), AnimateWelcome);
    connect(m_pWelcomeMovie, &QMovie::frameChanged, this, &TFormMain::ShowWelcomeFrame);
    AnimateWelcome->show();
    m_pWelcomeMovie->start();
}

void TFormMain::ShowWelcomeFrame()
{
    QPixmap frame = m_pWelcomeMovie->currentPixmap();
    frame.setDevicePixelRatio(m_WelcomeScale);
    AnimateWelcome->setPixmap(frame);
}

void TFormMain::FormCreate()
{
    CreatePanels();
    OrderFocus();
    CreateShortcuts();
    // The information line is read over the clip and the panels.
    LabelInfo->raise();
    ImageInfo->raise();
    TimerRun->setInterval(AUTOCONNECT_DELAY_MS);
    TimerRun->start();
}

void TFormMain::CreatePanels()
{
    for (int tab = 0; tab < TAB_COUNT; ++tab)
    {
        std::unique_ptr<TFormPanel> panel = TABS[tab].MakePanel(this, m_Host);
        panel->move(PANEL_AT);
        panel->hide();
        panel->OnShowInfo = [this](const QString& text, TInfoColour colour)
        { SetInfo(text, colour); };
        panel->setAccessibleName(QString::fromLatin1(TABS[tab].Caption));
        m_pPanels[tab] = std::move(panel);
    }
}

// Tab runs through the shown panel's controls, then the tabs, Connect and the title bar's
// buttons from the left, and round again.
void TFormMain::OrderFocus()
{
    std::vector<QWidget*> order;
    for (int tab = 0; tab < TAB_COUNT; ++tab)
        order.push_back(m_pTabButtons->FocusWidget(tab));
    for (int32_t id : {ID_CONNECT, ID_ABOUT, ID_MINI, ID_CLOSE})
        order.push_back(m_pSysButtons->FocusWidget(id));
    ChainFocus(order);
}

void TFormMain::CreateShortcuts()
{
    for (int tab = 0; tab < TAB_COUNT; ++tab)
    {
        new QShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + tab)), this,
                      [this, tab] { TabKey(tab); });
    }
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this, [this] { StepTabKey(1); });
    // Shift turns Tab into Backtab on most keyboards.
    auto* back = new QShortcut(this);
    back->setKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)});
    connect(back, &QShortcut::activated, this, [this] { StepTabKey(-1); });
    // Where no window manager turns Alt+F4 into a close request.
    new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this,
                  [this] { m_pSysButtons->KeyPress(ID_CLOSE); });
}

void TFormMain::TabKey(int tab)
{
    m_pTabButtons->KeyPress(tab);
}

void TFormMain::StepTabKey(int step)
{
    int from = m_CurrentTab;
    if (from == TAB_NONE)
        from = step > 0 ? -1 : TAB_COUNT;
    TabKey((from + step + TAB_COUNT) % TAB_COUNT);
}

void TFormMain::FocusPanel(int tab)
{
    // A click that was refused chose nothing.
    if (tab != m_CurrentTab)
        return;
    if (TFormPanel* panel = Panel(tab); panel && panel->FocusFirstControl())
        return;
    if (QWidget* button = m_pTabButtons->FocusWidget(tab))
        button->setFocus(Qt::ShortcutFocusReason);
}

void TFormMain::DestroyPanels()
{
    for (auto& panel : m_pPanels)
    {
        panel.reset();
    }
}

TFormPanel* TFormMain::Panel(int tab) const
{
    return tab >= 0 && tab < TAB_COUNT ? m_pPanels[tab].get() : nullptr;
}

void TFormMain::SetConnectStatus(const QString& text, const QColor& colour)
{
    SetLabelColour(LabelConnectStatus, colour);
    LabelConnectStatus->setText(text);
    // Seen at once, also while a connect holds the event loop.
    LabelConnectStatus->repaint();
}

void TFormMain::SetInfo(const QString& text, const QColor& colour)
{
    const bool withText = !text.isEmpty();
    ImageInfo->setVisible(withText);
    LabelInfo->show();
    QFont font = LabelInfo->font();
    font.setFamily(QStringLiteral("Arial"));
    LabelInfo->setFont(font);
    SetLabelColour(LabelInfo, colour);
    LabelInfo->setText(text);
    LabelInfo->repaint();
    if (withText)
    {
        ImageInfo->repaint();
    }
    else
    {
        repaint(ImageInfo->geometry());
    }
}

void TFormMain::SetConnectStatus(const QString& text, TInfoColour colour)
{
    SetConnectStatus(text, InfoColourOf(colour));
}

void TFormMain::SetInfo(const QString& text, TInfoColour colour)
{
    SetInfo(text, InfoColourOf(colour));
}

void TFormMain::ShowWelcome(bool show)
{
    AnimateWelcome->setVisible(show);
    const bool play = show && m_bConnecting;
    if (play)
    {
        if (m_pWelcomeMovie->state() == QMovie::NotRunning)
        {
            m_pWelcomeMovie->start();
        }
        else
        {
            m_pWelcomeMovie->setPaused(false);
        }
    }
    else if (m_pWelcomeMovie->state() == QMovie::Running)
    {
        m_pWelcomeMovie->setPaused(true);
    }
}

bool TFormMain::IsDragArea(int x, int y) const
{
    return !m_pSysButtons->HitTest(x, y) && !m_pTabButtons->HitTest(x, y);
}

void TFormMain::FormPaint(QPainter& canvas)
{
    m_pBitmapManager->DrawBitmap(0, 0, 0, canvas);
    m_pTabButtons->PaintAll(canvas);
    m_pSysButtons->PaintAll(canvas);
}

void TFormMain::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    FormPaint(canvas);
}

bool TFormMain::event(QEvent* event)
{
    if (event->type() == WM_AUTOCONNECT)
    {
        // A connect already running lets events through in its waits; it is the one that counts.
        if (!m_bInConnectClick)
        {
            ButtonConnectClick();
        }
        return true;
    }
    return QWidget::event(event);
}

// The window system's close (Alt+F4, the task bar) obeys the close button: while a
// transfer or a connect runs that button is disabled, and the work must end first.
void TFormMain::closeEvent(QCloseEvent* event)
{
    if (!m_pSysButtons->IsEnabled(ID_CLOSE))
    {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TFormMain::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && IsDragArea(at.x(), at.y()))
    {
        SetAppCursor(Qt::PointingHandCursor);
        if (windowHandle() && windowHandle()->startSystemMove())
        {
            return;
        }
        m_bDragging = true;
        m_DragOffset = event->globalPosition().toPoint() - pos();
        return;
    }
    FormMouseDown(at.x(), at.y());
}

void TFormMain::mouseMoveEvent(QMouseEvent* event)
{
    if (m_bDragging)
    {
        move(event->globalPosition().toPoint() - m_DragOffset);
        return;
    }
    const QPoint at = event->position().toPoint();
    FormMouseMove(at.x(), at.y());
    if (IsDragArea(at.x(), at.y()))
    {
        SetAppCursor(Qt::PointingHandCursor);
    }
}

void TFormMain::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_bDragging)
    {
        m_bDragging = false;
        return;
    }
    const QPoint at = event->position().toPoint();
    FormMouseUp(at.x(), at.y());
}

void TFormMain::FormMouseDown(int x, int y)
{
    if (!m_pTabButtons->MouseDown(x, y))
    {
        m_pSysButtons->MouseDown(x, y);
    }
}

void TFormMain::FormMouseMove(int x, int y)
{
    if (!m_pTabButtons->MouseMove(x, y, false))
    {
        m_pSysButtons->MouseMove(x, y, true);
    }
}

void TFormMain::FormMouseUp(int x, int y)
{
    const int32_t tab = m_pTabButtons->MouseUp(x, y);
    if (tab == NO_BUTTON_ID)
    {
        switch (m_pSysButtons->MouseUp(x, y))
        {
        case ID_CLOSE:
            close();
            break;
        case ID_ABOUT:
            ButtonAboutClick();
            break;
        case ID_MINI:
            ButtonMiniClick();
            break;
        case ID_CONNECT:
            ButtonConnectClick();
            break;
        default:
            break;
        }
        return;
    }
    if (tab != m_CurrentTab)
    {
        SelectTab(static_cast<int8_t>(tab));
    }
}

void TFormMain::TimerRunTimer()
{
    TimerRun->stop();
    QCoreApplication::postEvent(this, new QEvent(WM_AUTOCONNECT));
}

void TFormMain::ButtonMiniClick()
{
    showMinimized();
}

void TFormMain::BringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void TFormMain::ButtonAboutClick()
{
    TFormAbout about(this);
    about.exec();
}

void TFormMain::SetConnectLook(bool connected)
{
    ButtonConnect->setText(QString::fromLatin1(connected ? TEXT_DISCONNECT : TEXT_CONNECT));
    m_pSysButtons->SetName(ID_CONNECT, ButtonConnect->text());
    m_pSysButtons->SetBitmap(ID_CONNECT,
                             QString::fromLatin1(connected ? DISCONNECT_STRIP : CONNECT_STRIP));
}

void TFormMain::SetBusy(bool busy)
{
    if (busy)
    {
        EnableUI(false);
        SetAppCursor(Qt::WaitCursor);
        return;
    }
    // Clicks the connect's waits held back meet the disabled controls now, not the enabled
    // ones after.
    QCoreApplication::processEvents();
    SetAppCursor(Qt::ArrowCursor);
    EnableUI(true);
}

void TFormMain::EnableUI(bool enable)
{
    ButtonConnect->setEnabled(enable);
    m_pSysButtons->SetEnabled(ID_CONNECT, enable);
    m_pSysButtons->SetEnabled(ID_CLOSE, enable);
    for (int tab = 0; tab < TAB_COUNT; ++tab)
    {
        m_pTabButtons->SetEnabled(tab, enable);
    }
}

void TFormMain::ButtonConnectClick()
{
    if (m_bInConnectClick)
    {
        return;
    }
    m_bInConnectClick = true;
    TimerRun->stop();
    EnableUI(false);
    SetAppCursor(Qt::WaitCursor);
    if (m_Board.IsConnected())
    {
        DeactivateCurrentPanel();
        DisconnectBoard();
        SetConnectLook(false);
    }
    else
    {
        m_bConnecting = true;
        if (m_CurrentTab != TAB_NONE)
        {
            m_pTabButtons->SetChecked(m_CurrentTab, false);
        }
        SelectTab(TAB_NONE);
        const bool ok = DoConnect();
        m_bConnecting = false;
        if (ok)
        {
            m_pTabButtons->SetChecked(TAB_LED, true);
            SelectTab(TAB_LED);
        }
        else
        {
            ShowWelcome(true);
        }
    }
    SetAppCursor(Qt::ArrowCursor);
    EnableUI(true);
    m_bInConnectClick = false;
}

void TFormMain::WhileWaiting()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool TFormMain::DoConnect()
{
    return m_Connect.DoConnect();
}

bool TFormMain::ConnectBoard(bool showError)
{
    return m_Connect.ConnectBoard(showError);
}

bool TFormMain::ConfigureFPGA()
{
    return m_Connect.ConfigureFPGA();
}

void TFormMain::DisconnectBoard()
{
    m_Board.Disconnect();
    SetConnectLook(false);
    SetInfo(QString(), TInfoColour::Yellow);
    SetConnectStatus(QString::fromLatin1(TEXT_DISCONNECTED), TInfoColour::Red);
    EnableUI(false);
    m_pSysButtons->SetEnabled(ID_CLOSE, true);
    ButtonConnect->setEnabled(true);
    m_pSysButtons->SetEnabled(ID_CONNECT, true);
}

void TFormMain::DeactivateCurrentPanel()
{
    if (m_CurrentTab != TAB_NONE)
    {
        SetPanelActive(m_CurrentTab, false);
    }
    SetInfo(QString(), TInfoColour::Yellow);
}

void TFormMain::HandleLinkFailure(TFormPanel*)
{
    DisconnectBoard();
    SetConnectStatus(QString::fromLatin1(TEXT_DISCONNECTED), TInfoColour::Red);
}

void TFormMain::StartProgress(uint32_t duration, int from, int to)
{
    m_ProgressFrom = static_cast<uint32_t>(from);
    m_ProgressTo = static_cast<uint32_t>(to);
    m_ProgressDuration = duration;
    m_ProgressStartTick = m_Host.TickCount();
    SetInfo(QString(), TInfoColour::Yellow);
    CGaugeConfig->SetProgress(0);
    CGaugeConfig->show();
    CGaugeConfig->repaint();
    TimerProgress->stop();
    TimerProgress->setInterval(static_cast<int>(duration / GAUGE_STEPS));
    TimerProgress->start();
}

void TFormMain::TimerProgressTimer()
{
    TimerProgress->stop();
    const uint32_t elapsed = m_Host.TickCount() - m_ProgressStartTick;
    uint32_t value = m_ProgressTo;
    if (m_ProgressDuration != 0)
    {
        value = elapsed * (m_ProgressTo - m_ProgressFrom) / m_ProgressDuration + m_ProgressFrom;
    }
    if (value > m_ProgressTo)
    {
        value = m_ProgressTo;
    }
    CGaugeConfig->SetProgress(static_cast<int>(value));
    TimerProgress->start();
}

void TFormMain::PauseProgress()
{
    TimerProgress->stop();
}

void TFormMain::StopProgress()
{
    TimerProgress->stop();
    CGaugeConfig->hide();
}

void TFormMain::SelectTab(int8_t index)
{
    if (index == m_CurrentTab || (index != TAB_NONE && (index < 0 || index >= TAB_COUNT)))
    {
        return;
    }
    if (m_CurrentTab == TAB_NONE)
    {
        ShowWelcome(false);
    }
    else
    {
        SetPanelActive(m_CurrentTab, false);
        m_pPanels[m_CurrentTab]->hide();
    }
    m_CurrentTab = index;
    if (index == TAB_NONE)
    {
        ShowWelcome(true);
        return;
    }
    m_pPanels[index]->show();
    SetPanelActive(index, true);
}

void TFormMain::SetPanelActive(int tab, bool active)
{
    TFormPanel* panel = Panel(tab);
    if (!panel)
    {
        return;
    }
    HighlightBoardArea(tab);
    panel->OnLinkFailure = [this](TFormPanel* sender) { HandleLinkFailure(sender); };
    panel->OnUpdateTestArea = [this](TFormPanel* sender) { UpdateTestArea(sender); };
    panel->OnBusy = [this](TFormPanel* sender, bool busy) { PanelBusy(sender, busy); };
    if (active)
    {
        panel->AttachBoard(&m_Board);
    }
    else
    {
        panel->DetachBoard();
    }
}

std::array<TShape*, BOARD_AREA_COUNT> TFormMain::Outlines() const
{
    // In the order of TBoardArea.
    return {ShapeSegDisp, ShapeLed,  ShapeButtonSw, ShapeButton, ShapeLPDDR2, ShapeHSMC,
            ShapeSDCARD,  ShapeSRAM, ShapeADC,      ShapeRS232,  ShapeVGA};
}

void TFormMain::HighlightBoardArea(int tab)
{
    const std::array<TShape*, BOARD_AREA_COUNT> outlines = Outlines();
    for (TShape* shape : outlines)
    {
        shape->hide();
    }
    if (const TFormPanel* panel = Panel(tab))
    {
        for (TBoardArea area : panel->BoardAreas())
        {
            outlines[static_cast<std::size_t>(area)]->show();
        }
    }
}

void TFormMain::PanelBusy(TFormPanel*, bool busy)
{
    // While a panel lets window events run inside its work, nothing may take its board away.
    EnableUI(!busy);
}

void TFormMain::UpdateTestArea(TFormPanel*)
{
    HighlightBoardArea(m_CurrentTab);
}
