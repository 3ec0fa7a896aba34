#pragma once

#include "skin/SkinBitmap.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

class QPainter;

// One picture of a window's skin under the key the window chose.
struct BITMAP_ITEM
{
    int32_t key = 0;
    TSkinBitmap Bitmap;      // as loaded from the resources
    TSkinBitmap DrawnBitmap; // Bitmap, or a copy with its lower-left colour made clear
};

// A window's pictures, loaded once from the program's resources and drawn by key.
// Lookup runs in insertion order and the first entry with a key wins.
class TBitmapManager
{
public:
    TBitmapManager() = default;
    TBitmapManager(const TBitmapManager&) = delete;
    TBitmapManager& operator=(const TBitmapManager&) = delete;

    /// Loads the named bitmap resource (letter case ignored), with its denser twin where the
    /// skin has one, and appends it under key. Returns false, leaving the manager unchanged,
    /// when there is no such resource.
    bool AddBitmap(int32_t key, const QString& resourceName, bool transparent);
    /// Draws the first picture with key at x, y (layout pixels), the denser twin on a screen
    /// that scales the layout up; a transparent one leaves out every pixel of its lower-left
    /// pixel's colour. Draws nothing when no entry has the key.
    void DrawBitmap(int32_t key, int x, int y, QPainter& canvas) const;
    /// Size in layout pixels of the first picture with key; (0, 0) when no entry has it.
    QSize GetBitmapSize(int32_t key) const;
    /// The first picture with key as it is drawn on a device of ratio: at twice the density,
    /// with device pixel ratio 2, where ratio is above 1 and the skin has it. Null when no
    /// entry has the key.
    QImage Picture(int32_t key, qreal ratio) const;
    /// Number of entries, duplicates of a key included.
    int Count() const { return static_cast<int>(m_Items.size()); }

private:
    const BITMAP_ITEM* Find(int32_t key) const;

    std::vector<BITMAP_ITEM> m_Items;
};
