#include "app/UnitAbout.h"

#include "skin/BitmapManager.h"
#include "skin/ButtonManager.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace
{

const char* const ABOUT_BACKGROUND = "ABOUT_BK";
const QSize ABOUT_CLIENT_SIZE(300, 300); // also the size of "ABOUT_BK"
const char* const CLOSE_STRIP = "NORMAL_BTN";
const QRect BUTTON_EXIT_RECT(118, 277, 64, 17);
constexpr int TEXT_PIXELS = 13;

struct TAboutLine
{
    const char* Text;
    int Left;
    int Top;
    const char* Family;
    bool Bold;
};

const TAboutLine ABOUT_LINES[] = {
    {"HX9 Control Panel", 96, 196, "MS Sans Serif", true},
    {"Software Version V 1.0.2", 96, 223, "Times New Roman", false},
    {"Made by Kelvaro", 96, 240, "Times New Roman", false},
    {"for the Velmora Starter Board", 96, 258, "Times New Roman", false},
};

} // namespace

TFormAbout::TFormAbout(QWidget* owner)
    : QDialog(owner), // framed, so that its caption shows
      ButtonExit(new QPushButton(QStringLiteral("Close"), this))
{
    setWindowTitle(QString::fromLatin1(ABOUT_CAPTION));
    setMouseTracking(true);
    ButtonExit->setGeometry(BUTTON_EXIT_RECT);
    ButtonExit->hide();

    m_pBitmapManager = std::make_unique<TBitmapManager>();
    if (m_pBitmapManager->AddBitmap(0, QString::fromLatin1(ABOUT_BACKGROUND), false))
    {
        setFixedSize(m_pBitmapManager->GetBitmapSize(0));
    }
    else
    {
        setFixedSize(ABOUT_CLIENT_SIZE);
    }
    m_pButtonManager = std::make_unique<TButtonManager>(this, bmPush);
    m_pButtonManager->AddButton(ABOUT_CLOSE_ID, QStringLiteral("Close"), ButtonExit->y(),
                                ButtonExit->x(), QString::fromLatin1(CLOSE_STRIP));

    for (const TAboutLine& line : ABOUT_LINES)
    {
        auto* label = new QLabel(QString::fromLatin1(line.Text), this);
        QFont font{QString::fromLatin1(line.Family)};
        font.setPixelSize(TEXT_PIXELS);
        font.setBold(line.Bold);
        label->setFont(font);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(palette);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->adjustSize();
        label->move(line.Left, line.Top);
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
    {
        move(screen->availableGeometry().center() - rect().center());
    }
}

TFormAbout::~TFormAbout() = default;

void TFormAbout::ButtonExitClick()
{
    close();
}

void TFormAbout::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    m_pBitmapManager->DrawBitmap(0, 0, 0, canvas);
    m_pButtonManager->PaintAll(canvas);
}

void TFormAbout::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    m_pButtonManager->MouseDown(at.x(), at.y());
}

void TFormAbout::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    m_pButtonManager->MouseMove(at.x(), at.y(), true);
}

void TFormAbout::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (m_pButtonManager->MouseUp(at.x(), at.y()) == ABOUT_CLOSE_ID)
    {
        ButtonExitClick();
    }
}
