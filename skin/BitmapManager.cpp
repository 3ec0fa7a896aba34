#include "skin/BitmapManager.h"

#include <QPainter>

bool TBitmapManager::AddBitmap(int32_t key, const QString& resourceName, bool transparent)
{
    BITMAP_ITEM item;
    item.key = key;
    if (!item.Bitmap.Load(resourceName))
        return false;
    item.DrawnBitmap = transparent ? item.Bitmap.Masked() : item.Bitmap;
    m_Items.push_back(std::move(item));
    return true;
}

const BITMAP_ITEM* TBitmapManager::Find(int32_t key) const
{
    for (const BITMAP_ITEM& item : m_Items)
    {
        if (item.key == key)
            return &item;
    }
    return nullptr;
}

void TBitmapManager::DrawBitmap(int32_t key, int x, int y, QPainter& canvas) const
{
    if (const BITMAP_ITEM* item = Find(key))
        item->DrawnBitmap.Draw(canvas, QPoint(x, y));
}

QSize TBitmapManager::GetBitmapSize(int32_t key) const
{
    const BITMAP_ITEM* item = Find(key);
    return item ? item->Bitmap.Size() : QSize(0, 0);
}

QImage TBitmapManager::Picture(int32_t key, qreal ratio) const
{
    const BITMAP_ITEM* item = Find(key);
    return item ? item->DrawnBitmap.For(ratio) : QImage();
}
