#include "skin/BitmapManager.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <gtest/gtest.h>

namespace
{

const QRgb BACKDROP = qRgb(17, 34, 51);
const QRgb PIC_CORE = qRgb(200, 0, 0);
const QRgb PIC_KEY = qRgb(255, 0, 255);
const QRgb PIC2_CORE = qRgb(0, 200, 0);

QImage Backdrop()
{
    QImage canvas(20, 20, QImage::Format_RGB32);
    canvas.fill(BACKDROP);
    return canvas;
}

QImage DrawOnBackdrop(const TBitmapManager& manager, int32_t key)
{
    QImage canvas = Backdrop();
    QPainter painter(&canvas);
    manager.DrawBitmap(key, 4, 4, painter);
    return canvas;
}

} // namespace

TEST(BitmapManager, FindsResourcesWhateverTheLetterCase)
{
    TBitmapManager manager;
    EXPECT_TRUE(manager.AddBitmap(0, "test_bk", false));
    EXPECT_TRUE(manager.AddBitmap(1, "HEX_a", true));
    EXPECT_EQ(manager.GetBitmapSize(0), QSize(110, 50));
    EXPECT_EQ(manager.GetBitmapSize(1), QSize(4, 4));

    // Every stored bitmap is found without a scan of the folder, however its name is typed.
    const QStringList stored = QDir(SKIN_RESOURCE_FOLDER).entryList(QDir::Files);
    ASSERT_FALSE(stored.isEmpty());
    for (const QString& entry : stored)
    {
        const QString name = QFileInfo(entry).completeBaseName().toLower();
        EXPECT_TRUE(QFile::exists(TSkinBitmap::DirectResourcePath(name))) << name.toStdString();
    }
}

TEST(BitmapManager, MissingResourceLeavesManagerUnchanged)
{
    TBitmapManager manager;
    ASSERT_TRUE(manager.AddBitmap(3, "TEST_PIC", false));
    EXPECT_FALSE(manager.AddBitmap(4, "NO_SUCH_BITMAP", false));
    EXPECT_FALSE(manager.AddBitmap(4, "", false));
    EXPECT_EQ(manager.Count(), 1);
    EXPECT_EQ(manager.GetBitmapSize(4), QSize(0, 0));
    EXPECT_EQ(DrawOnBackdrop(manager, 4), Backdrop()) << "an unknown key draws nothing";
}

TEST(BitmapManager, FirstEntryUnderAKeyWins)
{
    TBitmapManager manager;
    ASSERT_TRUE(manager.AddBitmap(7, "TEST_PIC", false));
    ASSERT_TRUE(manager.AddBitmap(7, "TEST_PIC2", false));
    EXPECT_EQ(manager.Count(), 2);
    EXPECT_EQ(manager.GetBitmapSize(7), QSize(8, 8));
    const QImage drawn = DrawOnBackdrop(manager, 7);
    EXPECT_EQ(drawn.pixel(4 + 3, 4 + 3), PIC_CORE);
    EXPECT_NE(drawn.pixel(4 + 3, 4 + 3), PIC2_CORE);
}

TEST(BitmapManager, TransparentPictureLeavesBackgroundWhereItHasItsLowerLeftColour)
{
    TBitmapManager manager;
    ASSERT_TRUE(manager.AddBitmap(1, "TEST_PIC", true));
    ASSERT_TRUE(manager.AddBitmap(2, "TEST_PIC", false));

    const QImage clear = DrawOnBackdrop(manager, 1);
    const QImage opaque = DrawOnBackdrop(manager, 2);
    for (int y = 0; y < 8; ++y)
    {
        for (int x = 0; x < 8; ++x)
        {
            const bool core = x >= 2 && x < 6 && y >= 2 && y < 6;
            EXPECT_EQ(clear.pixel(4 + x, 4 + y), core ? PIC_CORE : BACKDROP) << x << "," << y;
            EXPECT_EQ(opaque.pixel(4 + x, 4 + y), core ? PIC_CORE : PIC_KEY) << x << "," << y;
        }
    }
    EXPECT_EQ(clear.pixel(3, 3), BACKDROP) << "nothing is drawn outside the picture";
}

// TEST_PIC has a twin at 2x: 16 x 16, its core 8 x 8, and one pixel of detail no 1x picture has.
TEST(BitmapManager, HandsOutTheTwinAtTwiceTheDensityWhereTheScreenScalesUp)
{
    TBitmapManager manager;
    ASSERT_TRUE(manager.AddBitmap(1, "TEST_PIC", true));
    ASSERT_TRUE(manager.AddBitmap(2, "TEST_BK", false)); // no twin
    const struct
    {
        int32_t Key;
        qreal Ratio;
        QSize Pixels;
        qreal PictureRatio;
    } cases[] = {
        {1, 1.0, {8, 8}, 1.0},   {1, 1.5, {16, 16}, 2.0},  {1, 2.0, {16, 16}, 2.0},
        {1, 3.0, {16, 16}, 2.0}, {2, 2.0, {110, 50}, 1.0},
    };
    for (const auto& c : cases)
    {
        const QImage picture = manager.Picture(c.Key, c.Ratio);
        EXPECT_EQ(picture.size(), c.Pixels) << c.Key << " at " << c.Ratio;
        EXPECT_EQ(picture.devicePixelRatio(), c.PictureRatio) << c.Key << " at " << c.Ratio;
    }
    EXPECT_EQ(manager.GetBitmapSize(1), QSize(8, 8)) << "sizes stay those of the layout";
    EXPECT_TRUE(manager.Picture(9, 2.0).isNull());

    // Drawn at layout point (4, 4) of a canvas at ratio 2: pixel for pixel from the twin,
    // its lower-left colour still left out.
    QImage canvas(40, 40, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(2);
    canvas.fill(BACKDROP);
    {
        QPainter painter(&canvas);
        manager.DrawBitmap(1, 4, 4, painter);
    }
    const QRgb DETAIL = qRgb(0, 0, 200);
    EXPECT_EQ(canvas.pixel(8 + 5, 8 + 5), DETAIL);
    EXPECT_EQ(canvas.pixel(8 + 4, 8 + 4), PIC_CORE);
    EXPECT_EQ(canvas.pixel(8 + 11, 8 + 11), PIC_CORE);
    EXPECT_EQ(canvas.pixel(8 + 3, 8 + 3), BACKDROP);
    EXPECT_EQ(canvas.pixel(8 + 12, 8 + 12), BACKDROP);
}
