#include "tests/support/ProgramFolder.h"

#include "tests/support/VirtualBoardProcess.h"

#include <QDir>
#include <QFile>

TProgramFolder::TProgramFolder() = default;

bool TProgramFolder::Link(const QString& name)
{
    const QString target = QString::fromStdString(hx9test::ProgramDir()) + QLatin1Char('/') + name;
    return QFile::link(target, m_Dir.filePath(name));
}

bool TProgramFolder::Write(const QString& name, const QByteArray& content)
{
    QFile file(m_Dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QString TProgramFolder::Path() const
{
    return m_Dir.path() + QLatin1Char('/');
}

TQuartusRoot::TQuartusRoot(const QString& root)
    : m_Saved(qgetenv("QUARTUS_ROOTDIR")), m_bWasSet(qEnvironmentVariableIsSet("QUARTUS_ROOTDIR"))
{
    qputenv("QUARTUS_ROOTDIR", root.toLocal8Bit());
}

TQuartusRoot::~TQuartusRoot()
{
    if (m_bWasSet)
    {
        qputenv("QUARTUS_ROOTDIR", m_Saved);
    }
    else
    {
        qunsetenv("QUARTUS_ROOTDIR");
    }
}
