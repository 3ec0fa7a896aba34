#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace hx9test
{

// A temporary folder for one test's files, removed with the object.
class TScratchFolder
{
public:
    QString Path() const { return m_Dir.path(); }
    QString Path(const QString& name) const { return m_Dir.filePath(name); }

    /// Writes content to a new file of that name; its full path.
    QString Make(const QString& name, const QByteArray& content) const
    {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }

    /// The whole content of a file, empty when it cannot be read.
    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    /// The files in the folder, hidden ones (temporary saves) included.
    QStringList Entries() const { return QDir(m_Dir.path()).entryList(QDir::Files | QDir::Hidden); }

private:
    QTemporaryDir m_Dir;
};

} // namespace hx9test
