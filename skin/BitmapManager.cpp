#include "skin/BitmapManager.h"

#include <QDir>
#include <QFile>
#include <QPainter>

namespace
{

QString ResourcePath(const QString& fileName)
{
    return QString::fromLatin1(SKIN_RESOURCE_FOLDER) + QLatin1Char('/') + fileName;
}

// Callers may format a name in any case ("HEX_%x" gives "HEX_a"); the upper-case path hits
// at once, anything else is found by a case-blind scan of the folder.
QString FindResource(const QString& name)
{
    const QString direct = TBitmapManager::DirectResourcePath(name);
    if (QFile::exists(direct))
    {
        return direct;
    }
    const QString wanted = name + QString::fromLatin1(SKIN_BITMAP_SUFFIX);
    const QStringList entries = QDir(QString::fromLatin1(SKIN_RESOURCE_FOLDER)).entryList(QDir::Files);
    for (const QString& entry : entries)
    {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
        {
            return ResourcePath(entry);
        }
    }
    return {};
}

} // namespace

QString TBitmapManager::DirectResourcePath(const QString& name)
{
    return ResourcePath(name.toUpper() + QString::fromLatin1(SKIN_BITMAP_SUFFIX));
}

bool TBitmapManager::LoadBitmapResource(const QString& name, QImage& image)
{
    if (name.isEmpty())
    {
        return false;
    }
    const QString path = FindResource(name);
    if (path.isEmpty())
    {
        return false;
    }
    QImage loaded(path);
    if (loaded.isNull())
    {
        return false;
    }
    image = loaded.convertToFormat(QImage::Format_RGB32);
    return true;
}

QImage TBitmapManager::MaskLowerLeftColour(const QImage& image)
{
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    if (masked.isNull())
    {
        return masked;
    }
    const QRgb clear = masked.pixel(0, masked.height() - 1) & RGB_MASK;
    for (int y = 0; y < masked.height(); ++y)
    {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
        {
            if ((line[x] & RGB_MASK) == clear)
            {
                line[x] = 0;
            }
        }
    }
    return masked;
}

bool TBitmapManager::AddBitmap(int32_t key, const QString& resourceName, bool transparent)
{
    BITMAP_ITEM item;
    item.key = key;
    if (!LoadBitmapResource(resourceName, item.Bitmap))
    {
        return false;
    }
    item.DrawnBitmap = transparent ? MaskLowerLeftColour(item.Bitmap) : item.Bitmap;
    m_Items.push_back(std::move(item));
    return true;
}

const BITMAP_ITEM* TBitmapManager::Find(int32_t key) const
{
    for (const BITMAP_ITEM& item : m_Items)
    {
        if (item.key == key)
        {
            return &item;
        }
    }
    return nullptr;
}

void TBitmapManager::DrawBitmap(int32_t key, int x, int y, QPainter& canvas) const
{
    if (const BITMAP_ITEM* item = Find(key))
    {
        canvas.drawImage(x, y, item->DrawnBitmap);
    }
}

QSize TBitmapManager::GetBitmapSize(int32_t key) const
{
    const BITMAP_ITEM* item = Find(key);
    return item ? item->Bitmap.size() : QSize(0, 0);
}
