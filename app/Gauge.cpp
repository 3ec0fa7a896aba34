#include "app/Gauge.h"

#include <QPainter>

namespace
{

constexpr int GAUGE_MIN = 0;
constexpr int GAUGE_MAX = 100;

} // namespace

TGauge::TGauge(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TGauge::SetProgress(int value)
{
    value = std::clamp(value, GAUGE_MIN, GAUGE_MAX);
    if (value != m_Progress)
    {
        m_Progress = value;
        update();
    }
}

void TGauge::SetForeColor(const QColor& colour)
{
    m_ForeColor = colour;
    update();
}

void TGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int filled = width() * m_Progress / GAUGE_MAX;
    const QRect bar(0, 0, filled, height());
    const QRect rest(filled, 0, width() - filled, height());
    painter.fillRect(bar, m_ForeColor);

    // The text is dark over the bar and light over the picture, so it reads on both.
    const QString text = QString::number(m_Progress) + QLatin1Char('%');
    painter.setFont(font());
    painter.setClipRect(bar);
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignCenter, text);
    painter.setClipRect(rest);
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, text);
}
