// The application icon compiled into the program: one picture per size of the icon theme,
// exactly that size (the theme files by size), rounded with transparent corners.

#include "resources/SkinResources.h"
#include "resources/skingen/IconArt.h"

#include <QImage>
#include <gtest/gtest.h>

#include <set>

TEST(AppIcon, OneSquarePicturePerThemeSizeWithTransparentCorners)
{
    const QStringList paths = AppIconPaths();
    ASSERT_EQ(paths.size(), static_cast<qsizetype>(IconArt::SIZES.size()));
    std::set<int> sizes;
    for (const QString& path : paths)
    {
        SCOPED_TRACE(path.toStdString());
        const QImage icon(path);
        ASSERT_FALSE(icon.isNull());
        ASSERT_EQ(icon.width(), icon.height());
        EXPECT_TRUE(path.endsWith(QStringLiteral("_%1.png").arg(icon.width())));
        sizes.insert(icon.width());
        const int last = icon.width() - 1;
        if (icon.width() > IconArt::SIZES.front())
        {
            EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
            EXPECT_EQ(qAlpha(icon.pixel(last, last)), 0);
        }
        EXPECT_EQ(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 255);
    }
    EXPECT_EQ(sizes, std::set<int>(IconArt::SIZES.begin(), IconArt::SIZES.end()));
}
