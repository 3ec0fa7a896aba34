#include "panels/FormPanel.h"

#include "skin/BitmapManager.h"

#include <QPainter>

TFormPanel::TFormPanel(QWidget* owner, THost& host, const QString& backgroundName)
    : QWidget(owner), m_Host(host), m_pBitmapManager(std::make_unique<TBitmapManager>())
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
    hide();
}

TFormPanel::~TFormPanel() = default;

void TFormPanel::AttachBoard(TBoard* board)
{
    m_pBoard = board;
}

void TFormPanel::DetachBoard()
{
    m_pBoard = nullptr;
}

void TFormPanel::FormPaint(QPainter& canvas)
{
    m_pBitmapManager->DrawBitmap(0, 0, 0, canvas);
}

void TFormPanel::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    FormPaint(canvas);
}

void TFormPanel::FireLinkFailure()
{
    if (OnLinkFailure)
    {
        OnLinkFailure(this);
    }
}

void TFormPanel::ShowInfo(const QString& text, QRgb colour)
{
    if (OnShowInfo)
    {
        OnShowInfo(text, QColor(colour));
    }
}
