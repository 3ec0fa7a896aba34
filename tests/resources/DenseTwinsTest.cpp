// The skin at twice the density: every bitmap and the welcome clip have a twin of twice their
// size that shows the same picture, so a dense screen sees the layout unchanged, only sharper.

#include "PictureMath.h"
#include "resources/SkinResources.h"

#include <QImageReader>
#include <gtest/gtest.h>

namespace
{

constexpr int SCALE = 2;
// Shrunk back to 1x the twin differs from the 1x picture only along antialiased edges.
constexpr double MOST_MEAN_DIFFERENCE = 12.0;

const char* const BITMAPS[] = {"MAIN_UI",        "TAB_BUTTON",
                               "CLOSE_BTN",      "MINI_BTN",
                               "ABOUT_BTN",      "CONNECT_BTN",
                               "DISCONNECT_BTN", "NORMAL_BTN",
                               "MIDDLE_BTN",     "LONG_BTN",
                               "LEFT_BTN",       "RIGHT_BTN",
                               "LEDG_LIGHT_BTN", "LEDG_UNLIGHT_BTN",
                               "LEDR_LIGHT_BTN", "LEDR_UNLIGHT_BTN",
                               "ABOUT_BK",       "TAB_DLG_BK",
                               "BT_DLG_BK",      "MEMORY_DLG_BK",
                               "SDCARD_DLG_BK",  "ADC_DLG_BK",
                               "HSMC_DLG_BK",    "COMPOSITE",
                               "SW_UP",          "SW_DOWN",
                               "BUTTON_UP",      "BUTTON_DOWN",
                               "INFO_ICON",      "HEX_0",
                               "HEX_7",          "HEX_F"};

QImage Shrunk(const QImage& twin, const QSize& size)
{
    return twin.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(DenseTwins, EveryBitmapHasATwinOfTwiceItsSizeShowingTheSamePicture)
{
    for (const char* name : BITMAPS)
    {
        SCOPED_TRACE(name);
        const QImage normal(SkinBitmapPath(QString::fromLatin1(name)));
        const QImage twin(SkinBitmapPath(QString::fromLatin1(name), SCALE));
        ASSERT_FALSE(twin.isNull());
        ASSERT_EQ(twin.size(), normal.size() * SCALE);
        EXPECT_LT(MeanDifference(Shrunk(twin, normal.size()),
                                 normal.convertToFormat(QImage::Format_RGB32)),
                  MOST_MEAN_DIFFERENCE);
    }
}

TEST(DenseTwins, TheWelcomeClipHasATwinFrameForEveryFrame)
{
    QImageReader normal(SkinClipPath(QStringLiteral("WELCOME_AVI")));
    QImageReader twin(SkinClipPath(QStringLiteral("WELCOME_AVI"), SCALE));
    ASSERT_EQ(twin.imageCount(), normal.imageCount());
    QImage a;
    QImage b;
    while (normal.read(&a))
    {
        ASSERT_TRUE(twin.read(&b));
        ASSERT_EQ(b.size(), a.size() * SCALE);
        EXPECT_LT(MeanDifference(Shrunk(b, a.size()), a.convertToFormat(QImage::Format_RGB32)),
                  MOST_MEAN_DIFFERENCE);
    }
}
