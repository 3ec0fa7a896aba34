// The welcome clip as the main window's player gets it: 27 frames of 387 x 296 at 100 ms,
// looping for ever, moving, and without a jump where the loop closes.

#include "PictureMath.h"
#include "resources/SkinResources.h"

#include <QImageReader>
#include <QMovie>
#include <QPixmap>
#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

constexpr int FRAMES = 27;
constexpr int FRAME_MS = 100;
const QSize SIZE(387, 296);
constexpr int INFO_STRIP_ROWS = 20;

std::vector<QImage> ReadFrames()
{
    QImageReader reader(SkinClipPath(QStringLiteral("welcome_avi")));
    std::vector<QImage> frames;
    QImage frame;
    while (reader.read(&frame))
    {
        frames.push_back(frame.convertToFormat(QImage::Format_RGB32));
    }
    return frames;
}

} // namespace

TEST(WelcomeClip, PlaysAsALoopOf27FramesAt100Ms)
{
    QImageReader reader(SkinClipPath(QStringLiteral("WELCOME_AVI")));
    ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
    EXPECT_EQ(reader.format(), QByteArray("gif"));
    EXPECT_EQ(reader.imageCount(), FRAMES);
    EXPECT_EQ(reader.loopCount(), -1) << "loops for ever";
    QImage frame;
    for (int i = 0; i < FRAMES; ++i)
    {
        ASSERT_TRUE(reader.read(&frame)) << "frame " << i;
        EXPECT_EQ(frame.size(), SIZE) << "frame " << i;
        EXPECT_EQ(reader.nextImageDelay(), FRAME_MS) << "frame " << i;
    }

    // as the main window plays it
    QMovie movie(SkinClipPath(QStringLiteral("WELCOME_AVI")));
    ASSERT_TRUE(movie.isValid());
    EXPECT_EQ(movie.frameCount(), FRAMES);
    ASSERT_TRUE(movie.jumpToFrame(0));
    EXPECT_EQ(movie.currentPixmap().size(), SIZE);
}

TEST(WelcomeClip, MovesSmoothlyAndClosesTheLoopWithoutAJump)
{
    const std::vector<QImage> frames = ReadFrames();
    ASSERT_EQ(frames.size(), size_t(FRAMES));
    double largestStep = 0;
    for (int i = 0; i + 1 < FRAMES; ++i)
    {
        const double step =
            MeanDifference(frames[static_cast<size_t>(i)], frames[static_cast<size_t>(i + 1)]);
        EXPECT_GT(step, 0.0) << "frame " << i << " to " << i + 1 << " stands still";
        largestStep = std::max(largestStep, step);
    }
    EXPECT_LE(MeanDifference(frames.back(), frames.front()), 1.5 * largestStep);
}

TEST(WelcomeClip, InfoStripRowsStayCalm)
{
    // the info line may be shown over the clip's lowest rows: they never change
    const std::vector<QImage> frames = ReadFrames();
    ASSERT_EQ(frames.size(), size_t(FRAMES));
    const QRect strip(0, SIZE.height() - INFO_STRIP_ROWS, SIZE.width(), INFO_STRIP_ROWS);
    const QImage first = frames.front().copy(strip);
    for (const QImage& frame : frames)
    {
        EXPECT_EQ(frame.copy(strip), first);
    }
}
