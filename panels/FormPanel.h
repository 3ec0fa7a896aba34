#pragma once

#include "host/InfoColour.h"
#include "ops/OpResult.h"
#include "skin/ButtonManager.h"

#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPushButton;
class QTimer;
class TBitmapManager;
class TBoard;
class THost;

// Panel windows are as wide as their background and 20 pixels less tall.
inline constexpr int PANEL_HEIGHT_TRIM = 20;
// Every panel background is this size.
inline constexpr QSize PANEL_BACKGROUND_SIZE(387, 296);

// The parts of the board picture a panel can outline.
enum class TBoardArea
{
    SegDisp,
    Led,
    ButtonSw,
    Button,
    LPDDR2,
    HSMC,
    SDCARD,
    SRAM,
    ADC,
    RS232,
    VGA
};
inline constexpr int BOARD_AREA_COUNT = 11;
using TBoardAreas = std::vector<TBoardArea>;

// What every peripheral panel offers the main window, and what every panel is built from.
//
// Contract: a board to work with between AttachBoard and DetachBoard, OnLinkFailure when one
// of its board commands failed, ShowInfo for the information line.
//
// Kit: skinned button groups drawn over the background with the pointer routed to them, and
// Tab through every control, skinned or not, in reading order; a one-shot poll timer re-armed
// only after a poll that worked; Exchange, which runs one board operation and turns a lost link
// into exactly one OnLinkFailure, after which the panel leaves the board alone until the next
// attach.
class TFormPanel : public QWidget
{
    Q_OBJECT

public:
    // Events carry the panel as sender; the owner binds them before use.
    using TNotifyEvent = std::function<void(TFormPanel* sender)>;
    using TInfoEvent = std::function<void(const QString& text, TInfoColour colour)>;
    using TBusyEvent = std::function<void(TFormPanel* sender, bool busy)>;

    /// A hidden borderless child of owner, sized from the named background bitmap.
    TFormPanel(QWidget* owner, THost& host, const QString& backgroundName);
    ~TFormPanel() override;

    /// Starts working with board, which may be disconnected. Panels extend it and call it first.
    virtual void AttachBoard(TBoard* board);
    /// Stops all work (the poll included) and forgets the board. Panels extend it and call it
    /// last.
    virtual void DetachBoard();
    /// The parts of the board picture this panel drives, for the main window's outlines.
    virtual TBoardAreas BoardAreas() const = 0;

    /// The attached board, nullptr while detached.
    TBoard* Board() const { return m_pBoard; }
    /// True from a failed exchange until the next attach: the panel no longer uses the board.
    bool LinkLost() const { return m_bLinkLost; }
    /// True while a board is attached, connected, and its link not lost.
    bool IsLive() const;
    /// True while the poll timer is armed.
    bool IsPolling() const;
    /// Puts the keyboard focus on the panel's first control that takes it; false when none
    /// does (the panel only shows).
    bool FocusFirstControl();

    /// Fired with the panel when one of its board commands failed. A failure inside a click or
    /// a poll is told when that handler has finished (its texts and boxes come first); either
    /// way the board's lock is released, so the owner may disconnect at once.
    TNotifyEvent OnLinkFailure;
    /// Fired when the areas of BoardAreas changed (a new selection).
    TNotifyEvent OnUpdateTestArea;
    /// Fired when a long operation starts (true) and ends (false): while busy the panel lets
    /// window events run, and the board must stay where it is.
    TBusyEvent OnBusy;
    /// Writes the main window's information line; bound once by the main window.
    TInfoEvent OnShowInfo;

protected:
    // Whether a board command that the firmware refused counts as a lost link for this call.
    enum class TRefusal
    {
        Kept,      // only a failed exchange is a lost link
        LinkFailed // a non-zero status is one too
    };

    /// Runs op on the attached board. Without a board, or after the link was lost, nothing
    /// runs and the result is LinkFailed. A LinkFailed result (or a Refused one under
    /// TRefusal::LinkFailed) stops the poll and reports the link failure.
    TOpResult Exchange(const std::function<TOpResult(TBoard&)>& op,
                       TRefusal refusal = TRefusal::Kept);
    /// Marks the link lost and tells the main window, once per attach: at once, or inside a
    /// handler when the handler ends.
    void ReportLinkFailure();

    // Marks a handler of the panel's own (a click, a poll, a selection): a link failure inside
    // it is told to the main window when the outermost handler ends. Button clicks and polls
    // are marked by the kit; other handlers mark themselves.
    class THandlerScope
    {
    public:
        explicit THandlerScope(TFormPanel& panel);
        ~THandlerScope();
        THandlerScope(const THandlerScope&) = delete;
        THandlerScope& operator=(const THandlerScope&) = delete;

    private:
        TFormPanel& m_Panel;
    };

    /// A new group of skinned buttons, painted over the background in creation order and
    /// fed the panel's pointer events.
    TButtonManager& AddButtonGroup(TButtonMode mode);
    /// A skinned button of group at the place of the hidden platform button, with its caption.
    void AddSkinnedButton(TButtonManager& group, int32_t id, const QPushButton* hidden,
                          const QString& strip);
    /// A hidden platform button at rect; a skinned button takes its place.
    QPushButton* AddHiddenButton(const QRect& rect, const QString& caption);
    /// A release over button id of group (its checked flag already updated by the mode).
    virtual void ButtonClick(TButtonManager& group, int32_t id);

    /// Arms the one-shot poll: PollBoard runs intervalMs from now, and again intervalMs after
    /// every poll that returned true. A panel the program hides does not poll; a minimised
    /// one does.
    void StartPolling(int intervalMs);
    /// Disarms the poll.
    void StopPolling();
    /// One poll; true when it worked and the next one is wanted.
    virtual bool PollBoard();

    /// Writes the information line through OnShowInfo when it is bound.
    void ShowInfo(const QString& text, TInfoColour colour);
    /// Tells the main window that a long operation starts or ends.
    void SetBusy(bool busy);
    /// Fires OnUpdateTestArea when it is bound.
    void UpdateTestArea();

    /// Draws the background, then every button group; panels draw their pictures after.
    virtual void FormPaint(QPainter& canvas);
    /// Pointer handlers in client coordinates; they feed the button groups.
    virtual void FormMouseDown(int x, int y);
    virtual void FormMouseMove(int x, int y);
    virtual void FormMouseUp(int x, int y);

    THost& Host() const { return m_Host; }
    TBitmapManager& Bitmaps() const { return *m_pBitmapManager; }

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void TimerPollingTimer();
    void TellLinkFailure();

    THost& m_Host;
    std::unique_ptr<TBitmapManager> m_pBitmapManager;
    std::vector<std::unique_ptr<TButtonManager>> m_ButtonGroups;
    QTimer* TimerPolling;
    TBoard* m_pBoard = nullptr;
    bool m_bLinkLost = false;
    int m_HandlerDepth = 0;
    bool m_bFailurePending = false; // lost inside a handler, told when it ends
    int m_PollIntervalMs = 0;       // 0 while no poll is wanted
    bool m_bFocusOrdered = false;   // Tab follows the controls' places once the panel is built
};
