#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

class QPainter;

// Folder of the program's embedded skin bitmaps: ":/skin/<NAME>.bmp", the name in upper case.
inline constexpr const char* SKIN_RESOURCE_FOLDER = ":/skin";
inline constexpr const char* SKIN_BITMAP_SUFFIX = ".bmp";

// One picture of a window's skin under the key the window chose.
struct BITMAP_ITEM
{
    int32_t key = 0;
    QImage Bitmap;       // as loaded from the resources
    QImage DrawnBitmap;  // Bitmap, or a copy with its lower-left colour made clear
};

// A window's pictures, loaded once from the program's resources and drawn by key.
// Lookup runs in insertion order and the first entry with a key wins.
class TBitmapManager
{
public:
    TBitmapManager() = default;
    TBitmapManager(const TBitmapManager&) = delete;
    TBitmapManager& operator=(const TBitmapManager&) = delete;

    /// Loads the named bitmap resource (letter case ignored) and appends it under key.
    /// Returns false, leaving the manager unchanged, when there is no such resource.
    bool AddBitmap(int32_t key, const QString& resourceName, bool transparent);
    /// Draws the first picture with key at x, y; a transparent one leaves out every pixel of
    /// its lower-left pixel's colour. Draws nothing when no entry has the key.
    void DrawBitmap(int32_t key, int x, int y, QPainter& canvas) const;
    /// Size of the first picture with key; (0, 0) when no entry has it.
    QSize GetBitmapSize(int32_t key) const;
    /// Number of entries, duplicates of a key included.
    int Count() const { return static_cast<int>(m_Items.size()); }

    /// Loads a skin bitmap by resource name, letter case ignored, as 32-bit RGB.
    /// False when no such resource exists or it is not a readable picture.
    static bool LoadBitmapResource(const QString& name, QImage& image);
    /// Where a bitmap of name is stored when the resources follow their upper-case naming:
    /// the path tried before any scan of the folder.
    static QString DirectResourcePath(const QString& name);
    /// A copy of image in which every pixel of the lower-left pixel's colour is clear.
    static QImage MaskLowerLeftColour(const QImage& image);

private:
    const BITMAP_ITEM* Find(int32_t key) const;

    std::vector<BITMAP_ITEM> m_Items;
};
