#include "panels/UnitProgress.h"

#include "skin/AppCursor.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>

namespace
{

const QSize PROGRESS_CLIENT_SIZE(348, 152);
const QRect LABEL_STATUS_RECT(24, 16, 305, 49);
const QRect PROGRESS_BAR_RECT(24, 72, 300, 25);
const QRect BUTTON_ABORT_RECT(136, 112, 75, 25);
constexpr int STATUS_PIXELS = 13;
constexpr int PERCENT_MAX = 100;

} // namespace

TFormProgress::TFormProgress(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowStaysOnTopHint),
      LabelStatus(new QLabel(this)), ProgressBar(new QProgressBar(this)),
      ButtonAbort(new QPushButton(QStringLiteral("Abort"), this))
{
    setWindowTitle(QString::fromLatin1(PROGRESS_CAPTION));
    setFixedSize(PROGRESS_CLIENT_SIZE);
    setMouseTracking(true);

    QFont bold{QStringLiteral("MS Sans Serif")};
    bold.setPixelSize(STATUS_PIXELS);
    bold.setBold(true);
    LabelStatus->setFont(bold);
    LabelStatus->setGeometry(LABEL_STATUS_RECT);
    LabelStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelStatus->setWordWrap(true);
    LabelStatus->setAttribute(Qt::WA_TransparentForMouseEvents);

    ProgressBar->setGeometry(PROGRESS_BAR_RECT);
    ProgressBar->setRange(0, PERCENT_MAX);
    ProgressBar->setAttribute(Qt::WA_TransparentForMouseEvents);

    ButtonAbort->setGeometry(BUTTON_ABORT_RECT);
    ButtonAbort->setMouseTracking(true);
    ButtonAbort->installEventFilter(this);
    connect(ButtonAbort, &QPushButton::clicked, this, &TFormProgress::ButtonAbortClick);

    if (owner)
    {
        const QWidget* frame = owner->window();
        move(frame->geometry().center() - rect().center());
    }
}

// A window restored after minimising is shown again by the window system, in the middle of
// the transfer: only the program's show starts afresh.
void TFormProgress::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
    {
        LabelStatus->clear();
        ProgressBar->setValue(0);
    }
    QDialog::showEvent(event);
}

void TFormProgress::SetStatusText(const QString& text)
{
    LabelStatus->setText(text);
    repaint();
}

void TFormProgress::SetPercent(int value)
{
    ProgressBar->setValue(std::clamp(value, 0, PERCENT_MAX));
}

void TFormProgress::ButtonAbortClick()
{
    m_bAborted = true;
}

void TFormProgress::closeEvent(QCloseEvent* event)
{
    // Only the owner ends the dialog, by destroying it.
    event->ignore();
}

void TFormProgress::reject()
{
    // Escape does not close it either.
}

void TFormProgress::mouseMoveEvent(QMouseEvent*)
{
    SetAppCursor(Qt::WaitCursor);
}

bool TFormProgress::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ButtonAbort && event->type() == QEvent::MouseMove)
    {
        SetAppCursor(Qt::PointingHandCursor);
    }
    return QDialog::eventFilter(watched, event);
}
