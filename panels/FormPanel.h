#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QPainter;
class TBitmapManager;
class TBoard;
class THost;

// Panel windows are as wide as their background and 20 pixels less tall.
inline constexpr int PANEL_HEIGHT_TRIM = 20;
// Every panel background is this size.
inline constexpr QSize PANEL_BACKGROUND_SIZE(387, 296);

// What every peripheral panel offers the main window: a board to work with between
// AttachBoard and DetachBoard, and a notification when one of its board commands failed.
// The panel draws its own background; it reports to the user through ShowInfo.
class TFormPanel : public QWidget
{
    Q_OBJECT

public:
    // Events carry the panel as sender; the owner binds them before use.
    using TNotifyEvent = std::function<void(TFormPanel* sender)>;
    using TInfoEvent = std::function<void(const QString& text, const QColor& colour)>;

    /// A hidden borderless child of owner, sized from the named background bitmap.
    TFormPanel(QWidget* owner, THost& host, const QString& backgroundName);
    ~TFormPanel() override;

    /// Starts working with board, which may be disconnected.
    virtual void AttachBoard(TBoard* board);
    /// Stops all work and forgets the board.
    virtual void DetachBoard();

    /// The attached board, nullptr while detached.
    TBoard* Board() const { return m_pBoard; }

    /// Fired with the panel when one of its board commands failed.
    TNotifyEvent OnLinkFailure;
    /// Writes the main window's information line; bound once by the main window.
    TInfoEvent OnShowInfo;

protected:
    /// Draws the background; panels override to draw their pictures and buttons after it.
    virtual void FormPaint(QPainter& canvas);
    /// Raises OnLinkFailure when it is bound.
    void FireLinkFailure();
    /// Writes the information line through OnShowInfo when it is bound.
    void ShowInfo(const QString& text, QRgb colour);

    THost& Host() const { return m_Host; }
    TBitmapManager& Bitmaps() const { return *m_pBitmapManager; }

    void paintEvent(QPaintEvent* event) override;

private:
    THost& m_Host;
    std::unique_ptr<TBitmapManager> m_pBitmapManager;
    TBoard* m_pBoard = nullptr;
};
