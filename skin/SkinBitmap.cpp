#include "skin/SkinBitmap.h"

#include <QDir>
#include <QFile>
#include <QPaintDevice>
#include <QPainter>

namespace
{

QString FolderOf(int scale)
{
    return QString::fromLatin1(scale == SKIN_HIGH_SCALE ? SKIN_HIGH_RESOURCE_FOLDER
                                                        : SKIN_RESOURCE_FOLDER);
}

// Callers may format a name in any case ("HEX_%x" gives "HEX_a"); the upper-case path hits
// at once, anything else is found by a case-blind scan of the folder.
QString FindResource(const QString& name, int scale)
{
    const QString direct = TSkinBitmap::DirectResourcePath(name, scale);
    if (QFile::exists(direct))
        return direct;
    const QString wanted = name + QString::fromLatin1(SKIN_BITMAP_SUFFIX);
    const QDir folder(FolderOf(scale));
    for (const QString& entry : folder.entryList(QDir::Files))
    {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    }
    return {};
}

} // namespace

QString TSkinBitmap::DirectResourcePath(const QString& name, int scale)
{
    return FolderOf(scale) + QLatin1Char('/') + name.toUpper() +
           QString::fromLatin1(SKIN_BITMAP_SUFFIX);
}

bool TSkinBitmap::LoadResource(const QString& name, int scale, QImage& image)
{
    if (name.isEmpty())
        return false;
    const QString path = FindResource(name, scale);
    if (path.isEmpty())
        return false;
    QImage loaded(path);
    if (loaded.isNull())
        return false;
    image = loaded.convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    return true;
}

QImage TSkinBitmap::MaskLowerLeftColour(const QImage& image)
{
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    if (masked.isNull())
        return masked;
    const QRgb clear = masked.pixel(0, masked.height() - 1) & RGB_MASK;
    for (int y = 0; y < masked.height(); ++y)
    {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
        {
            if ((line[x] & RGB_MASK) == clear)
                line[x] = 0;
        }
    }
    return masked;
}

qreal TSkinBitmap::DeviceRatio(const QPainter& canvas)
{
    const QPaintDevice* device = canvas.device();
    return device ? device->devicePixelRatio() : 1.0;
}

bool TSkinBitmap::Load(const QString& name)
{
    QImage normal;
    if (!LoadResource(name, 1, normal))
        return false;
    QImage high;
    // A twin of any other size would put the layout out of place; the layout's picture wins.
    if (!LoadResource(name, SKIN_HIGH_SCALE, high) ||
        high.size() != normal.size() * SKIN_HIGH_SCALE)
        high = QImage();
    m_Normal = normal;
    m_High = high;
    return true;
}

const QImage& TSkinBitmap::For(qreal ratio) const
{
    return ratio > 1.0 && !m_High.isNull() ? m_High : m_Normal;
}

void TSkinBitmap::Draw(QPainter& canvas, const QPoint& at, const QRect& source) const
{
    const qreal ratio = DeviceRatio(canvas);
    const QImage& image = For(ratio);
    const qreal scale = image.devicePixelRatio();
    const QRectF from(source.x() * scale, source.y() * scale, source.width() * scale,
                      source.height() * scale);
    // On a device between the two densities the picture is resampled, not picked pixel by pixel.
    const bool resampled = !qFuzzyCompare(scale, ratio);
    if (resampled)
    {
        canvas.save();
        canvas.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    canvas.drawImage(QRectF(at, source.size()), image, from);
    if (resampled)
        canvas.restore();
}

void TSkinBitmap::Draw(QPainter& canvas, const QPoint& at) const
{
    Draw(canvas, at, QRect(QPoint(0, 0), Size()));
}

TSkinBitmap TSkinBitmap::Masked() const
{
    TSkinBitmap masked;
    masked.m_Normal = MaskLowerLeftColour(m_Normal);
    if (!m_High.isNull())
        masked.m_High = MaskLowerLeftColour(m_High);
    return masked;
}
