// Draws the skin into a folder at build time: NAME.bmp for every bitmap (24-bit),
// WELCOME_AVI.gif for the welcome clip and APP_ICON_<size>.png for the application icon.
// Run with QT_QPA_PLATFORM=offscreen.

#include "resources/skingen/GifWriter.h"
#include "resources/skingen/IconArt.h"
#include "resources/skingen/SkinCatalog.h"
#include "resources/skingen/WelcomeClip.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

namespace
{

constexpr const char* CLIP_NAME = "WELCOME_AVI";
constexpr const char* ICON_NAME = "APP_ICON_%1.png";

bool WriteFile(const QString& path, const QByteArray& bytes, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    {
        error = QStringLiteral("Unable to write '%1': %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool WriteBitmap(const QString& path, const QImage& image, QString& error)
{
    // 32-bit pixels are written by Qt's BMP writer as 24-bit, which is what the skin needs
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP"))
    {
        error = QStringLiteral("Unable to encode '%1' as BMP").arg(path);
        return false;
    }
    return WriteFile(path, bytes, error);
}

bool WritePng(const QString& path, const QImage& image, QString& error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
    {
        error = QStringLiteral("Unable to encode '%1' as PNG").arg(path);
        return false;
    }
    return WriteFile(path, bytes, error);
}

bool DrawIcons(const QDir& folder, QString& error)
{
    for (const int pixels : IconArt::SIZES)
    {
        const QString name = QString::fromLatin1(ICON_NAME).arg(pixels);
        if (!WritePng(folder.filePath(name), IconArt::Draw(pixels), error))
            return false;
    }
    return true;
}

bool DrawAll(const QDir& folder, QString& error)
{
    for (const SkinPicture& picture : SkinPictures())
    {
        const QImage image = picture.Draw();
        const QString name = QString::fromLatin1(picture.Name);
        if (image.size() != picture.Size)
        {
            error = QStringLiteral("%1 came out %2 x %3, expected %4 x %5")
                        .arg(name)
                        .arg(image.width())
                        .arg(image.height())
                        .arg(picture.Size.width())
                        .arg(picture.Size.height());
            return false;
        }
        if (!WriteBitmap(folder.filePath(name + QStringLiteral(".bmp")), image, error))
        {
            return false;
        }
    }
    const QByteArray clip = TGifWriter::Encode(WelcomeClip::Frames(), WelcomeClip::FRAME_MS);
    if (clip.isEmpty())
    {
        error = QStringLiteral("The welcome clip could not be encoded");
        return false;
    }
    return WriteFile(folder.filePath(QString::fromLatin1(CLIP_NAME) + QStringLiteral(".gif")), clip,
                     error) &&
           DrawIcons(folder, error);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2)
    {
        err << "usage: hx9-skingen OUTPUT_FOLDER\n";
        return 2;
    }
    QDir folder(args.at(1));
    if (!folder.mkpath(QStringLiteral(".")))
    {
        err << "Unable to create '" << args.at(1) << "'\n";
        return 1;
    }
    QString error;
    if (!DrawAll(folder, error))
    {
        err << "hx9-skingen: " << error << "\n";
        return 1;
    }
    return 0;
}
