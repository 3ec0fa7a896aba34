// Each picture shows what its name says: the digit its segments spell, a lit lamp of the
// right colour, a switch knob at the right end, the colour bars in order.

#include "resources/SkinResources.h"

#include <QImage>
#include <gtest/gtest.h>

#include <array>

namespace
{

QImage Load(const QString& name)
{
    return QImage(SkinBitmapPath(name)).convertToFormat(QImage::Format_RGB32);
}

bool LitRed(QRgb c)
{
    return qRed(c) > 180 && qRed(c) > qGreen(c) + 90;
}

// Segment order a b c d e f g; centres in the 40 x 59 digit (segments lean forward).
const std::array<QPoint, 7> SEGMENT_CENTRES = {QPoint(23, 8),  QPoint(31, 18), QPoint(30, 39),
                                               QPoint(20, 49), QPoint(12, 39), QPoint(13, 18),
                                               QPoint(21, 28)};

// Which segments a seven-segment display lights for 0-9, A, b, C, d, E, F.
const std::array<const char*, 16> SPELLING = {
    "abcdef",  "bc",     "abdeg",  "abcdg", "bcfg", "acdfg", "acdefg", "abc",
    "abcdefg", "abcdfg", "abcefg", "cdefg", "adef", "bcdeg", "adefg",  "aefg"};

double MeanY(const QImage& image, bool (*pick)(QRgb))
{
    double sum = 0;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
    {
        for (int x = 0; x < image.width(); ++x)
        {
            if (pick(image.pixel(x, y)))
            {
                sum += y;
                ++n;
            }
        }
    }
    return n > 0 ? sum / n : -1;
}

} // namespace

TEST(PictureContent, DigitsLightTheSegmentsOfTheirValue)
{
    for (int value = 0; value < 16; ++value)
    {
        const QString name = QStringLiteral("HEX_%1").arg(value, 0, 16).toUpper();
        SCOPED_TRACE(name.toStdString());
        const QImage digit = Load(name);
        const std::string lit = SPELLING[static_cast<size_t>(value)];
        for (int s = 0; s < 7; ++s)
        {
            const char segment = static_cast<char>('a' + s);
            const bool expected = lit.find(segment) != std::string::npos;
            EXPECT_EQ(LitRed(digit.pixel(SEGMENT_CENTRES[static_cast<size_t>(s)])), expected)
                << "segment " << segment;
        }
    }
}

TEST(PictureContent, LampsAreTheirColourAndLitOnesShine)
{
    struct Lamp
    {
        const char* Lit;
        const char* Dark;
        bool Green;
    };
    for (const Lamp& lamp : {Lamp{"LEDG_LIGHT_BTN", "LEDG_UNLIGHT_BTN", true},
                             Lamp{"LEDR_LIGHT_BTN", "LEDR_UNLIGHT_BTN", false}})
    {
        SCOPED_TRACE(lamp.Lit);
        const QImage lit = Load(QString::fromLatin1(lamp.Lit));
        const QImage dark = Load(QString::fromLatin1(lamp.Dark));
        // the dome's middle, in the normal row
        const QRgb on = lit.pixel(11, 16);
        const QRgb off = dark.pixel(11, 16);
        EXPECT_GT(qGray(on), qGray(off) + 60);
        if (lamp.Green)
        {
            EXPECT_GT(qGreen(on), qRed(on) + 60);
            EXPECT_GT(qGreen(off), qRed(off));
        }
        else
        {
            EXPECT_GT(qRed(on), qGreen(on) + 60);
            EXPECT_GT(qRed(off), qGreen(off));
        }
    }
}

TEST(PictureContent, SwitchKnobsSitAtTheirEnd)
{
    auto knob = [](QRgb c) { return qGray(c) > 170; };
    const QImage up = Load(QStringLiteral("SW_UP"));
    const QImage down = Load(QStringLiteral("SW_DOWN"));
    const double middle = up.height() / 2.0;
    EXPECT_GT(MeanY(up, knob), 0);
    EXPECT_LT(MeanY(up, knob), middle);
    EXPECT_GT(MeanY(down, knob), middle);

    // a held key shows its cap pushed in: darker in the middle than a released one
    const QImage released = Load(QStringLiteral("BUTTON_UP"));
    const QImage held = Load(QStringLiteral("BUTTON_DOWN"));
    EXPECT_LT(qGray(held.pixel(19, 18)), qGray(released.pixel(19, 18)));
}

TEST(PictureContent, ColourBarsRunInBroadcastOrder)
{
    const QImage bars = Load(QStringLiteral("COMPOSITE"));
    // grey, yellow, cyan, green, magenta, red, blue across the upper part
    const std::array<std::array<bool, 3>, 7> lit = {{{true, true, true},
                                                     {true, true, false},
                                                     {false, true, true},
                                                     {false, true, false},
                                                     {true, false, true},
                                                     {true, false, false},
                                                     {false, false, true}}};
    const int y = bars.height() / 4;
    for (int i = 0; i < 7; ++i)
    {
        SCOPED_TRACE(i);
        const QRgb c = bars.pixel(bars.width() * (2 * i + 1) / 14, y);
        EXPECT_EQ(qRed(c) > 128, lit[static_cast<size_t>(i)][0]);
        EXPECT_EQ(qGreen(c) > 128, lit[static_cast<size_t>(i)][1]);
        EXPECT_EQ(qBlue(c) > 128, lit[static_cast<size_t>(i)][2]);
    }
}
