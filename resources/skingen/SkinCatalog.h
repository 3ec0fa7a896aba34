#pragma once

#include <QImage>
#include <QSize>

#include <functional>
#include <vector>

// Every bitmap of the skin: its resource name, its size and how to draw it.
struct SkinPicture
{
    const char* Name; // resource name, upper case, without extension
    QSize Size;       // width by height in layout pixels (strips: all four rows)
    std::function<QImage(int scale)> Draw; // at scale device pixels per layout pixel
};

/// The skin's bitmaps in a fixed order.
std::vector<SkinPicture> SkinPictures();
