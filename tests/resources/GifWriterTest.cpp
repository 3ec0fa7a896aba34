// The clip encoder, checked by decoding its output with Qt's own GIF reader.

#include "resources/skingen/GifWriter.h"

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

std::vector<QImage> Decode(const QByteArray& gif)
{
    QBuffer buffer;
    buffer.setData(gif);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    std::vector<QImage> frames;
    QImage frame;
    while (reader.read(&frame))
    {
        frames.push_back(frame.convertToFormat(QImage::Format_RGB32));
    }
    return frames;
}

QImage Blank(int w, int h, QRgb fill)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// Up to `colours` distinct colours, placed at random.
QImage Noise(int w, int h, int colours, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
    {
        for (int x = 0; x < w; ++x)
        {
            const int c = random.bounded(colours);
            image.setPixel(x, y, qRgb((c * 37) & 0xFF, (c * 91) & 0xFF, c & 0xFF));
        }
    }
    return image;
}

} // namespace

TEST(GifWriter, FramesWithFewColoursComeBackExactly)
{
    // unchanged frames, changes touching each edge, and a change of one pixel
    std::vector<QImage> frames;
    frames.push_back(Noise(37, 23, 40, 1));
    frames.push_back(frames.back());
    QImage edges = frames.back();
    edges.setPixel(0, 5, qRgb(255, 0, 0));
    edges.setPixel(36, 22, qRgb(0, 255, 0));
    frames.push_back(edges);
    QImage one = edges;
    one.setPixel(18, 11, qRgb(1, 2, 3));
    frames.push_back(one);
    frames.push_back(Noise(37, 23, 40, 2));

    const QByteArray gif = TGifWriter::Encode(frames, 70);
    ASSERT_FALSE(gif.isEmpty());
    const std::vector<QImage> decoded = Decode(gif);
    ASSERT_EQ(decoded.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i)
    {
        EXPECT_EQ(decoded[i], frames[i]) << "frame " << i;
    }

    QBuffer buffer;
    buffer.setData(gif);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    EXPECT_EQ(reader.loopCount(), -1);
    QImage first;
    ASSERT_TRUE(reader.read(&first));
    EXPECT_EQ(reader.nextImageDelay(), 70);
}

TEST(GifWriter, LongRunsOfCodesSurviveTheTableReset)
{
    // random pixels fill the 4096-entry string table many times over
    const QImage busy = Noise(300, 200, 255, 7);
    const std::vector<QImage> decoded = Decode(TGifWriter::Encode({busy}, 100));
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_EQ(decoded[0], busy);

    // a single still picture may use all 256 colours
    const QImage full = Noise(64, 64, 256, 8);
    const std::vector<QImage> still = Decode(TGifWriter::Encode({full}, 100));
    ASSERT_EQ(still.size(), 1u);
    EXPECT_EQ(still[0], full);
}

TEST(GifWriter, ManyColoursAreReducedCloseToTheOriginal)
{
    // a smooth two-way gradient holds far more than 256 colours
    QImage gradient(128, 96, QImage::Format_RGB32);
    for (int y = 0; y < gradient.height(); ++y)
    {
        for (int x = 0; x < gradient.width(); ++x)
        {
            gradient.setPixel(x, y, qRgb(x * 2, y * 2, 128 + (x - y) / 2));
        }
    }
    const std::vector<QImage> frames = {gradient, gradient.mirrored(true, false)};
    const std::vector<QImage> decoded = Decode(TGifWriter::Encode(frames, 100));
    ASSERT_EQ(decoded.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i)
    {
        double error = 0;
        for (int y = 0; y < gradient.height(); ++y)
        {
            for (int x = 0; x < gradient.width(); ++x)
            {
                const QRgb a = frames[i].pixel(x, y);
                const QRgb b = decoded[i].pixel(x, y);
                error += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                         std::abs(qBlue(a) - qBlue(b));
            }
        }
        EXPECT_LT(error / (gradient.width() * gradient.height() * 3), 4.0) << "frame " << i;
    }
}

TEST(GifWriter, RefusesWhatItCannotEncode)
{
    EXPECT_TRUE(TGifWriter::Encode({}, 100).isEmpty());
    EXPECT_TRUE(TGifWriter::Encode({Blank(10, 10, 0), Blank(10, 11, 0)}, 100).isEmpty());
    EXPECT_TRUE(TGifWriter::Encode({QImage()}, 100).isEmpty());
}
