// The skin at twice the density: every bitmap and every frame of the welcome clip has a twin
// of twice its size showing the same picture, so a dense screen sees the layout unchanged,
// only sharper.

#include "PictureMath.h"

#include <QDir>
#include <QImageReader>
#include <gtest/gtest.h>

namespace
{

constexpr int SCALE = 2;
// Shrunk back to 1x a twin differs from its picture only along antialiased edges.
constexpr double MOST_MEAN_DIFFERENCE = 12.0;

QImage Shrunk(const QImage& twin, const QSize& size)
{
    return twin.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(DenseTwins, EveryPictureAndClipFrameHasATwinOfTwiceItsSizeShowingTheSame)
{
    const QDir normal(QStringLiteral(":/skin"));
    const QDir dense(QStringLiteral(":/skin/2x"));
    // Bitmaps and the clip; icon sets bring their own sizes.
    const QStringList pictures{QStringLiteral("*.bmp"), QStringLiteral("*.gif")};
    const QStringList files = normal.entryList(pictures, QDir::Files);
    EXPECT_EQ(dense.entryList(pictures, QDir::Files), files);
    for (const QString& file : files)
    {
        SCOPED_TRACE(file.toStdString());
        QImageReader picture(normal.filePath(file));
        QImageReader twin(dense.filePath(file));
        ASSERT_EQ(twin.imageCount(), picture.imageCount());
        QImage a;
        QImage b;
        while (picture.read(&a))
        {
            ASSERT_TRUE(twin.read(&b));
            ASSERT_EQ(b.size(), a.size() * SCALE);
            EXPECT_LT(MeanDifference(Shrunk(b, a.size()), a.convertToFormat(QImage::Format_RGB32)),
                      MOST_MEAN_DIFFERENCE);
        }
    }
}
