// The compiled-in skin: every bitmap the program asks for is there, 24-bit, at its size,
// and fits the places the windows draw it.

#include "resources/SkinResources.h"

#include <QFile>
#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>

#include <deque>
#include <set>

namespace
{

struct Expected
{
    const char* Name;
    int Width;
    int Height;
};

// Names and sizes as the windows use them (strips: four rows).
const std::vector<Expected> BITMAPS = {{"MAIN_UI", 620, 600},
                                       {"TAB_BUTTON", 93, 152},
                                       {"CLOSE_BTN", 37, 48},
                                       {"MINI_BTN", 37, 48},
                                       {"ABOUT_BTN", 37, 48},
                                       {"CONNECT_BTN", 79, 308},
                                       {"DISCONNECT_BTN", 79, 308},
                                       {"NORMAL_BTN", 64, 68},
                                       {"MIDDLE_BTN", 122, 68},
                                       {"LONG_BTN", 189, 68},
                                       {"LEFT_BTN", 20, 68},
                                       {"RIGHT_BTN", 20, 68},
                                       {"LEDG_LIGHT_BTN", 22, 144},
                                       {"LEDG_UNLIGHT_BTN", 22, 144},
                                       {"LEDR_LIGHT_BTN", 22, 144},
                                       {"LEDR_UNLIGHT_BTN", 22, 144},
                                       {"ABOUT_BK", 300, 300},
                                       {"TAB_DLG_BK", 387, 296},
                                       {"BT_DLG_BK", 387, 296},
                                       {"MEMORY_DLG_BK", 387, 296},
                                       {"SDCARD_DLG_BK", 387, 296},
                                       {"ADC_DLG_BK", 387, 296},
                                       {"HSMC_DLG_BK", 387, 296},
                                       {"COMPOSITE", 329, 169},
                                       {"SW_UP", 19, 63},
                                       {"SW_DOWN", 19, 63},
                                       {"BUTTON_UP", 44, 44},
                                       {"BUTTON_DOWN", 44, 44},
                                       {"INFO_ICON", 15, 13},
                                       {"HEX_0", 40, 59},
                                       {"HEX_1", 40, 59},
                                       {"HEX_2", 40, 59},
                                       {"HEX_3", 40, 59},
                                       {"HEX_4", 40, 59},
                                       {"HEX_5", 40, 59},
                                       {"HEX_6", 40, 59},
                                       {"HEX_7", 40, 59},
                                       {"HEX_8", 40, 59},
                                       {"HEX_9", 40, 59},
                                       {"HEX_A", 40, 59},
                                       {"HEX_B", 40, 59},
                                       {"HEX_C", 40, 59},
                                       {"HEX_D", 40, 59},
                                       {"HEX_E", 40, 59},
                                       {"HEX_F", 40, 59}};

const std::vector<const char*> STRIPS = {
    "TAB_BUTTON",     "CLOSE_BTN",      "MINI_BTN",         "ABOUT_BTN",      "CONNECT_BTN",
    "DISCONNECT_BTN", "NORMAL_BTN",     "MIDDLE_BTN",       "LONG_BTN",       "LEFT_BTN",
    "RIGHT_BTN",      "LEDG_LIGHT_BTN", "LEDG_UNLIGHT_BTN", "LEDR_LIGHT_BTN", "LEDR_UNLIGHT_BTN"};

// Drawn with the lower-left pixel's colour left out.
const std::vector<const char*> TRANSPARENT = {
    "SW_UP", "SW_DOWN", "BUTTON_UP", "BUTTON_DOWN", "HEX_0", "HEX_1", "HEX_2",
    "HEX_3", "HEX_4",   "HEX_5",     "HEX_6",       "HEX_7", "HEX_8", "HEX_9",
    "HEX_A", "HEX_B",   "HEX_C",     "HEX_D",       "HEX_E", "HEX_F"};

constexpr int ROWS = 4;
constexpr int PANEL_CLIENT_HEIGHT = 276;

QImage Load(const char* name)
{
    return QImage(SkinBitmapPath(QString::fromLatin1(name))).convertToFormat(QImage::Format_RGB32);
}

QImage Row(const QImage& strip, int row)
{
    const int h = strip.height() / ROWS;
    return strip.copy(0, row * h, strip.width(), h);
}

double MeanLuma(const QImage& image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
    {
        for (int x = 0; x < image.width(); ++x)
        {
            sum += qGray(image.pixel(x, y));
        }
    }
    return sum / (image.width() * image.height());
}

} // namespace

TEST(SkinBitmaps, EveryNameIsA24BitBitmapOfItsSize)
{
    for (const Expected& e : BITMAPS)
    {
        SCOPED_TRACE(e.Name);
        QFile file(SkinBitmapPath(QString::fromLatin1(e.Name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_GE(bytes.size(), 54);
        const auto* header = reinterpret_cast<const uchar*>(bytes.constData());
        EXPECT_EQ(bytes.left(2), QByteArray("BM"));
        EXPECT_EQ(qFromLittleEndian<qint32>(header + 18), e.Width);
        // positive height: rows stored bottom-up, the usual form
        EXPECT_EQ(qFromLittleEndian<qint32>(header + 22), e.Height);
        EXPECT_EQ(qFromLittleEndian<quint16>(header + 28), 24);
        EXPECT_EQ(qFromLittleEndian<quint32>(header + 30), 0u); // not compressed

        const QImage image = Load(e.Name);
        EXPECT_EQ(image.size(), QSize(e.Width, e.Height));
    }
}

TEST(SkinBitmaps, NamesAreFoundWhateverTheirCase)
{
    // the seven-segment panel formats "HEX_%x", which gives lower-case letters
    EXPECT_EQ(SkinBitmapPath(QStringLiteral("hex_a")), QStringLiteral(":/skin/HEX_A.bmp"));
    EXPECT_FALSE(QImage(SkinBitmapPath(QStringLiteral("hex_f"))).isNull());
    EXPECT_FALSE(QImage(SkinBitmapPath(QStringLiteral("Main_Ui"))).isNull());
    EXPECT_TRUE(QImage(SkinBitmapPath(QStringLiteral("NO_SUCH_BITMAP"))).isNull());
}

TEST(SkinBitmaps, StripRowsAreFourDistinctLooks)
{
    for (const char* name : STRIPS)
    {
        SCOPED_TRACE(name);
        const QImage strip = Load(name);
        ASSERT_EQ(strip.height() % ROWS, 0);
        std::array<QImage, ROWS> rows;
        for (int r = 0; r < ROWS; ++r)
        {
            rows[static_cast<size_t>(r)] = Row(strip, r);
        }
        for (int a = 0; a < ROWS; ++a)
        {
            for (int b = a + 1; b < ROWS; ++b)
            {
                EXPECT_NE(rows[static_cast<size_t>(a)], rows[static_cast<size_t>(b)])
                    << "rows " << a << " and " << b;
            }
        }
        // disabled reads dimmer than normal and hover
        EXPECT_LT(MeanLuma(rows[1]), MeanLuma(rows[0]));
        EXPECT_LT(MeanLuma(rows[1]), MeanLuma(rows[2]));
    }
}

TEST(SkinBitmaps, TransparentColourOnlySurroundsThePicture)
{
    for (const char* name : TRANSPARENT)
    {
        SCOPED_TRACE(name);
        const QImage image = Load(name);
        const QRgb key = image.pixel(0, image.height() - 1);
        const int w = image.width();
        const int h = image.height();
        // flood the key colour in from the border; none may be left over inside
        std::vector<bool> reached(static_cast<size_t>(w * h), false);
        std::deque<QPoint> todo;
        for (int x = 0; x < w; ++x)
        {
            todo.emplace_back(x, 0);
            todo.emplace_back(x, h - 1);
        }
        for (int y = 0; y < h; ++y)
        {
            todo.emplace_back(0, y);
            todo.emplace_back(w - 1, y);
        }
        while (!todo.empty())
        {
            const QPoint pt = todo.front();
            todo.pop_front();
            if (pt.x() < 0 || pt.y() < 0 || pt.x() >= w || pt.y() >= h)
            {
                continue;
            }
            const size_t at = static_cast<size_t>(pt.y() * w + pt.x());
            if (reached[at] || image.pixel(pt) != key)
            {
                continue;
            }
            reached[at] = true;
            todo.emplace_back(pt.x() + 1, pt.y());
            todo.emplace_back(pt.x() - 1, pt.y());
            todo.emplace_back(pt.x(), pt.y() + 1);
            todo.emplace_back(pt.x(), pt.y() - 1);
        }
        int keyed = 0;
        int strays = 0;
        for (int y = 0; y < h; ++y)
        {
            for (int x = 0; x < w; ++x)
            {
                if (image.pixel(x, y) == key)
                {
                    ++keyed;
                    strays += reached[static_cast<size_t>(y * w + x)] ? 0 : 1;
                }
            }
        }
        EXPECT_EQ(strays, 0);
        EXPECT_LT(keyed, w * h / 2) << "mostly see-through";
    }
}

TEST(SkinBitmaps, MainWindowButtonsSitOnTheirOwnColour)
{
    // Strips are copied opaque: their corners must match the background under them.
    const QImage main = Load("MAIN_UI");
    struct Place
    {
        const char* Strip;
        int X;
        int Y;
    };
    std::vector<Place> places = {{"CLOSE_BTN", 559, 19},
                                 {"MINI_BTN", 520, 19},
                                 {"ABOUT_BTN", 481, 19},
                                 {"CONNECT_BTN", 124, 510},
                                 {"DISCONNECT_BTN", 124, 510}};
    for (int k = 0; k < 5; ++k)
    {
        places.push_back({"TAB_BUTTON", 8, 289 + 45 * k});
    }
    for (int k = 0; k < 4; ++k)
    {
        places.push_back({"TAB_BUTTON", 106, 289 + 45 * k});
    }
    for (const Place& place : places)
    {
        SCOPED_TRACE(std::string(place.Strip) + " at " + std::to_string(place.X) + "," +
                     std::to_string(place.Y));
        const QImage face = Row(Load(place.Strip), 0);
        const int r = face.width() - 1;
        const int b = face.height() - 1;
        EXPECT_EQ(face.pixel(0, 0), main.pixel(place.X, place.Y));
        EXPECT_EQ(face.pixel(r, 0), main.pixel(place.X + r, place.Y));
        EXPECT_EQ(face.pixel(0, b), main.pixel(place.X, place.Y + b));
        EXPECT_EQ(face.pixel(r, b), main.pixel(place.X + r, place.Y + b));
    }
    // the info icon blends into the strip it stands on, drawn opaque or keyed
    const QImage icon = Load("INFO_ICON");
    EXPECT_EQ(icon.pixel(0, icon.height() - 1), main.pixel(227, 564 + icon.height() - 1));
}

TEST(SkinBitmaps, PanelButtonsSitOnTheirOwnColour)
{
    struct Place
    {
        const char* Panel;
        const char* Strip;
        int X;
        int Y;
    };
    std::vector<Place> places = {
        {"TAB_DLG_BK", "NORMAL_BTN", 106, 243},   {"TAB_DLG_BK", "NORMAL_BTN", 218, 243},
        {"TAB_DLG_BK", "NORMAL_BTN", 289, 242},   {"TAB_DLG_BK", "NORMAL_BTN", 289, 138},
        {"MEMORY_DLG_BK", "NORMAL_BTN", 306, 89}, {"MEMORY_DLG_BK", "NORMAL_BTN", 189, 89},
        {"MEMORY_DLG_BK", "MIDDLE_BTN", 13, 89},  {"MEMORY_DLG_BK", "LONG_BTN", 187, 162},
        {"MEMORY_DLG_BK", "LONG_BTN", 187, 236},  {"SDCARD_DLG_BK", "NORMAL_BTN", 288, 226},
        {"HSMC_DLG_BK", "NORMAL_BTN", 292, 234},  {"ABOUT_BK", "NORMAL_BTN", 118, 277}};
    for (int i = 0; i < 8; ++i)
    {
        places.push_back({"TAB_DLG_BK", "LEDG_LIGHT_BTN", 332 - 33 * i, 60});
    }
    for (int j = 0; j < 10; ++j)
    {
        places.push_back({"TAB_DLG_BK", "LEDR_LIGHT_BTN", 332 - 33 * j, 145});
    }
    for (int k = 0; k < 4; ++k)
    {
        places.push_back({"TAB_DLG_BK", "RIGHT_BTN", 300 - 70 * k, 170});
        places.push_back({"TAB_DLG_BK", "LEFT_BTN", 278 - 70 * k, 170});
    }
    for (const Place& place : places)
    {
        SCOPED_TRACE(std::string(place.Strip) + " on " + place.Panel + " at " +
                     std::to_string(place.X) + "," + std::to_string(place.Y));
        const QImage panel = Load(place.Panel);
        const QImage face = Row(Load(place.Strip), 0);
        const int r = face.width() - 1;
        const int b = face.height() - 1;
        ASSERT_LE(place.Y + b, PANEL_CLIENT_HEIGHT + 24) << "inside the picture";
        EXPECT_EQ(face.pixel(0, 0), panel.pixel(place.X, place.Y));
        EXPECT_EQ(face.pixel(r, 0), panel.pixel(place.X + r, place.Y));
        EXPECT_EQ(face.pixel(0, b), panel.pixel(place.X, place.Y + b));
        EXPECT_EQ(face.pixel(r, b), panel.pixel(place.X + r, place.Y + b));
    }
}

TEST(SkinBitmaps, BoardPartsLieUnderTheirOutlines)
{
    // Each outline the main window draws marks a part: most of its inside is not bare board.
    const QImage main = Load("MAIN_UI");
    const QImage bare = main.copy(QRect(400, 200, 20, 10)); // open board by the HSMC fan-in
    std::set<QRgb> boardColours;
    for (int y = 0; y < bare.height(); ++y)
    {
        for (int x = 0; x < bare.width(); ++x)
        {
            boardColours.insert(bare.pixel(x, y));
        }
    }
    auto isBareBoard = [&](QRgb c)
    {
        // the mask is blue; traces and pours only shift its shade
        return qBlue(c) > qRed(c) + 40 && qBlue(c) > qGreen(c) + 20 && qGray(c) < 110;
    };
    for (QRgb c : boardColours)
    {
        ASSERT_TRUE(isBareBoard(c)) << "sample area is not bare board";
    }
    const std::vector<std::pair<const char*, QRect>> outlines = {
        {"ShapeSegDisp", QRect(181, 203, 67, 27)},   {"ShapeLed", QRect(180, 236, 253, 9)},
        {"ShapeButtonSw", QRect(177, 247, 143, 26)}, {"ShapeButton", QRect(322, 247, 106, 25)},
        {"ShapeLPDDR2", QRect(350, 102, 31, 28)},    {"ShapeSRAM", QRect(282, 150, 39, 26)},
        {"ShapeSDCARD", QRect(382, 51, 33, 32)},     {"ShapeADC", QRect(292, 217, 48, 12)},
        {"ShapeRS232", QRect(239, 36, 30, 35)},      {"ShapeVGA", QRect(276, 40, 35, 26)},
        {"ShapeHSMC", QRect(438, 107, 17, 124)}};
    for (const auto& [name, box] : outlines)
    {
        SCOPED_TRACE(name);
        int part = 0;
        // inside the 2 px pen
        const QRect inside = box.adjusted(2, 2, -2, -2);
        for (int y = inside.top(); y <= inside.bottom(); ++y)
        {
            for (int x = inside.left(); x <= inside.right(); ++x)
            {
                part += isBareBoard(main.pixel(x, y)) ? 0 : 1;
            }
        }
        EXPECT_GT(part, inside.width() * inside.height() / 2);
    }
}
