#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

// Folder of the program's embedded skin bitmaps: ":/skin/<NAME>.bmp", the name in upper case.
inline constexpr const char* SKIN_RESOURCE_FOLDER = ":/skin";
// The same pictures drawn at twice the density, for screens that scale the layout up.
inline constexpr const char* SKIN_HIGH_RESOURCE_FOLDER = ":/skin/2x";
inline constexpr const char* SKIN_BITMAP_SUFFIX = ".bmp";
inline constexpr int SKIN_HIGH_SCALE = 2;

// One picture of the skin: as drawn for the layout's own screen and, where the skin has it, at
// twice the density. Sizes and places are always those of the layout; the denser picture only
// adds detail on a screen whose device pixel ratio is above 1.
class TSkinBitmap
{
public:
    /// Loads the named bitmap (letter case ignored) and its denser twin when the skin has one.
    /// False, leaving the picture as it was, when there is no such bitmap.
    bool Load(const QString& name);
    bool IsNull() const { return m_Normal.isNull(); }
    /// Size in layout pixels.
    QSize Size() const { return m_Normal.size(); }
    /// The picture for a device of ratio: the denser one, with device pixel ratio 2, where
    /// ratio is above 1 and the skin has one; the layout's picture otherwise.
    const QImage& For(qreal ratio) const;
    /// Draws source (layout pixels of the picture) with its top-left corner at at, from the
    /// picture that suits the canvas's device.
    void Draw(QPainter& canvas, const QPoint& at, const QRect& source) const;
    /// Draws the whole picture with its top-left corner at at.
    void Draw(QPainter& canvas, const QPoint& at) const;
    /// A copy in which every pixel of the lower-left pixel's colour is clear, at both densities.
    TSkinBitmap Masked() const;

    /// Loads a skin bitmap by resource name, letter case ignored, as 32-bit RGB; scale 2 takes
    /// the denser twin and marks it with that device pixel ratio. False when there is none.
    static bool LoadResource(const QString& name, int scale, QImage& image);
    /// Where a bitmap of name is stored when the resources follow their upper-case naming:
    /// the path tried before any scan of the folder.
    static QString DirectResourcePath(const QString& name, int scale = 1);
    /// A copy of image in which every pixel of the lower-left pixel's colour is clear.
    static QImage MaskLowerLeftColour(const QImage& image);
    /// The device pixel ratio of what canvas paints on; 1 without a device.
    static qreal DeviceRatio(const QPainter& canvas);

private:
    QImage m_Normal;
    QImage m_High; // null where the skin has no denser twin
};
