#include "panels/FormPanel.h"

#include "board/Board.h"
#include "skin/BitmapManager.h"
#include "skin/SkinWidgets.h"

#include <QHideEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

TFormPanel::TFormPanel(QWidget* owner, THost& host, const QString& backgroundName)
    : QWidget(owner), m_Host(host), m_pBitmapManager(std::make_unique<TBitmapManager>()),
      TimerPolling(new QTimer(this))
{
    QSize background = PANEL_BACKGROUND_SIZE;
    if (m_pBitmapManager->AddBitmap(0, backgroundName, false))
    {
        background = m_pBitmapManager->GetBitmapSize(0);
    }
    else
    {
        qWarning("The program's resources hold no %s bitmap", qPrintable(backgroundName));
    }
    setFixedSize(background.width(), background.height() - PANEL_HEIGHT_TRIM);
    // A panel is its own window inside the main one: its pointer events stay with it, so a
    // press on it never drags the main window.
    setAttribute(Qt::WA_NoMousePropagation);
    setMouseTracking(true);
    // One-shot, so that a poll never starts before the previous one has ended.
    TimerPolling->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; a poll interval is a minimum.
    TimerPolling->setTimerType(Qt::PreciseTimer);
    connect(TimerPolling, &QTimer::timeout, this, &TFormPanel::TimerPollingTimer);
    hide();
}

TFormPanel::~TFormPanel()
{
    TimerPolling->stop();
}

void TFormPanel::AttachBoard(TBoard* board)
{
    m_pBoard = board;
    m_bLinkLost = false;
    m_bFailurePending = false;
}

void TFormPanel::DetachBoard()
{
    StopPolling();
    m_pBoard = nullptr;
}

bool TFormPanel::IsLive() const
{
    return m_pBoard && m_pBoard->IsConnected() && !m_bLinkLost;
}

bool TFormPanel::IsPolling() const
{
    return TimerPolling->isActive();
}

bool TFormPanel::FocusFirstControl()
{
    for (QWidget* control = nextInFocusChain(); control != this && isAncestorOf(control);
         control = control->nextInFocusChain())
    {
        if ((control->focusPolicy() & Qt::TabFocus) && control->isEnabled() && control->isVisible())
        {
            control->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
    }
    return false;
}

TOpResult TFormPanel::Exchange(const std::function<TOpResult(TBoard&)>& op, TRefusal refusal)
{
    if (!m_pBoard || m_bLinkLost)
        return TOpResult::LinkFailed;
    const TOpResult result = op(*m_pBoard);
    if (result == TOpResult::LinkFailed ||
        (result == TOpResult::Refused && refusal == TRefusal::LinkFailed))
    {
        ReportLinkFailure();
    }
    return result;
}

void TFormPanel::ReportLinkFailure()
{
    if (m_bLinkLost)
        return;
    m_bLinkLost = true;
    StopPolling();
    if (m_HandlerDepth > 0)
        m_bFailurePending = true;
    else
        TellLinkFailure();
}

void TFormPanel::TellLinkFailure()
{
    if (OnLinkFailure)
        OnLinkFailure(this);
}

TFormPanel::THandlerScope::THandlerScope(TFormPanel& panel) : m_Panel(panel)
{
    ++m_Panel.m_HandlerDepth;
}

TFormPanel::THandlerScope::~THandlerScope()
{
    if (--m_Panel.m_HandlerDepth > 0 || !m_Panel.m_bFailurePending)
        return;
    m_Panel.m_bFailurePending = false;
    m_Panel.TellLinkFailure();
}

TButtonManager& TFormPanel::AddButtonGroup(TButtonMode mode)
{
    m_ButtonGroups.push_back(std::make_unique<TButtonManager>(this, mode));
    return *m_ButtonGroups.back();
}

void TFormPanel::AddSkinnedButton(TButtonManager& group, int32_t id, const QPushButton* hidden,
                                  const QString& strip)
{
    if (!group.AddButton(id, hidden->text(), hidden->y(), hidden->x(), strip))
        qWarning("The program's resources hold no %s bitmap", qPrintable(strip));
}

QPushButton* TFormPanel::AddHiddenButton(const QRect& rect, const QString& caption)
{
    return MakeHiddenButton(this, rect, caption);
}

void TFormPanel::ButtonClick(TButtonManager&, int32_t) {}

void TFormPanel::StartPolling(int intervalMs)
{
    m_PollIntervalMs = intervalMs;
    TimerPolling->start(intervalMs);
}

void TFormPanel::StopPolling()
{
    m_PollIntervalMs = 0;
    TimerPolling->stop();
}

bool TFormPanel::PollBoard()
{
    return false;
}

void TFormPanel::TimerPollingTimer()
{
    if (!m_pBoard || m_bLinkLost)
        return;
    const THandlerScope handler(*this);
    // Re-armed only after a poll that worked, and only while the panel still has its board.
    if (PollBoard() && m_pBoard && !m_bLinkLost && m_PollIntervalMs > 0)
        TimerPolling->start(m_PollIntervalMs);
    else
        StopPolling();
}

void TFormPanel::ShowInfo(const QString& text, TInfoColour colour)
{
    if (OnShowInfo)
        OnShowInfo(text, colour);
}

void TFormPanel::SetBusy(bool busy)
{
    if (OnBusy)
        OnBusy(this, busy);
}

void TFormPanel::UpdateTestArea()
{
    if (OnUpdateTestArea)
        OnUpdateTestArea(this);
}

void TFormPanel::FormPaint(QPainter& canvas)
{
    m_pBitmapManager->DrawBitmap(0, 0, 0, canvas);
    for (const auto& group : m_ButtonGroups)
        group->PaintAll(canvas);
}

void TFormPanel::FormMouseDown(int x, int y)
{
    for (const auto& group : m_ButtonGroups)
    {
        if (group->MouseDown(x, y))
            return;
    }
}

void TFormPanel::FormMouseMove(int x, int y)
{
    // The groups missed first, so that the one under the pointer has the last word on the
    // cursor and the capture.
    TButtonManager* hit = nullptr;
    for (const auto& group : m_ButtonGroups)
    {
        if (group->HitTest(x, y))
            hit = group.get();
        else
            group->MouseMove(x, y, false);
    }
    if (hit)
        hit->MouseMove(x, y, false);
    else if (!m_ButtonGroups.empty())
        m_ButtonGroups.back()->MouseMove(x, y, true);
}

void TFormPanel::FormMouseUp(int x, int y)
{
    // Every group ends its press; at most one has a button under the pointer.
    TButtonManager* clicked = nullptr;
    int32_t clickedId = NO_BUTTON_ID;
    for (const auto& group : m_ButtonGroups)
    {
        const int32_t id = group->MouseUp(x, y);
        if (id != NO_BUTTON_ID && !clicked)
        {
            clicked = group.get();
            clickedId = id;
        }
    }
    if (clicked)
    {
        const THandlerScope handler(*this);
        ButtonClick(*clicked, clickedId);
    }
}

void TFormPanel::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    FormPaint(canvas);
}

void TFormPanel::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    FormMouseDown(at.x(), at.y());
}

void TFormPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    FormMouseMove(at.x(), at.y());
}

void TFormPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    FormMouseUp(at.x(), at.y());
}

// A panel hidden by the program does not poll; shown again it goes on. A minimised window
// (a hide from the window system) keeps polling: the board's UART does not wait for it.
void TFormPanel::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        TimerPolling->stop();
    QWidget::hideEvent(event);
}

void TFormPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Every panel has made its controls by its first showing.
    if (!m_bFocusOrdered)
    {
        OrderFocusByPlace(this);
        m_bFocusOrdered = true;
    }
    if (m_PollIntervalMs > 0 && m_pBoard && !m_bLinkLost && !TimerPolling->isActive())
        TimerPolling->start(m_PollIntervalMs);
}
