#include "config/ProgrammerLocation.h"
#include "tests/support/RecordingHost.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
// Temporary Quartus roots, the environment variable and system-scope settings standing in
// for the registry, all undone at the end of each test.
class ProgrammerLocationTest : public ::testing::Test
{
protected:
    ProgrammerLocationTest() : Host(m_Program.path() + QLatin1Char('/'))
    {
        for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        {
            QSettings::setPath(format, QSettings::SystemScope, m_Registry.path());
            QSettings::setPath(format, QSettings::UserScope, m_UserSettings.path());
        }
        qunsetenv(QUARTUS_ROOT_ENV);
        QDir::setCurrent(m_Program.path());
    }
    ~ProgrammerLocationTest() override { qunsetenv(QUARTUS_ROOT_ENV); }

    // A root under the temporary folder with the given subfolders.
    QString MakeRoot(const QString& name, const QStringList& subfolders)
    {
        const QString root = m_Roots.path() + QLatin1Char('/') + name;
        for (const QString& sub : subfolders)
            QDir().mkpath(root + QLatin1Char('/') + sub);
        QDir().mkpath(root);
        return root;
    }

    void SetEnvironmentRoot(const QString& root) { qputenv(QUARTUS_ROOT_ENV, root.toLocal8Bit()); }

    void SetRegistryRoot(const QString& root)
    {
        QSettings settings(QSettings::SystemScope, QLatin1String(QUARTUS_REGISTRY_ORGANIZATION),
                           QLatin1String(QUARTUS_REGISTRY_APPLICATION));
        settings.setValue(QLatin1String(QUARTUS_REGISTRY_VALUE), root);
    }

    static QString Current() { return QDir::current().canonicalPath(); }
    static QString Canonical(const QString& path) { return QDir(path).canonicalPath(); }

    QTemporaryDir m_Program;
    QTemporaryDir m_Roots;
    QTemporaryDir m_Registry;
    QTemporaryDir m_UserSettings;
    TRecordingHost Host;
};

TEST_F(ProgrammerLocationTest, EnvironmentRootPrefersBinOverBin32)
{
    SetEnvironmentRoot(
        MakeRoot(QStringLiteral("q"), {QStringLiteral("bin"), QStringLiteral("bin32")}));
    SelectWorkingFolder(Host, true);
    EXPECT_EQ(Current(), Canonical(m_Roots.path() + QStringLiteral("/q/bin")));
    EXPECT_TRUE(Host.Messages.empty());

    SelectWorkingFolder(Host, false);
    EXPECT_EQ(Current(), Canonical(m_Program.path()));
}

TEST_F(ProgrammerLocationTest, EnvironmentBin32WinsOverTheRegistry)
{
    SetEnvironmentRoot(MakeRoot(QStringLiteral("env"), {QStringLiteral("bin32")}));
    SetRegistryRoot(MakeRoot(QStringLiteral("reg"), {QStringLiteral("bin")}));
    SelectWorkingFolder(Host, true);
    EXPECT_EQ(Current(), Canonical(m_Roots.path() + QStringLiteral("/env/bin32")));
}

TEST_F(ProgrammerLocationTest, RegistryIsTriedWhenTheEnvironmentRootHasNoProgramFolder)
{
    SetEnvironmentRoot(MakeRoot(QStringLiteral("empty"), {}));
    const QString registryRoot = MakeRoot(QStringLiteral("reg"), {QStringLiteral("bin32")});
    SetRegistryRoot(registryRoot);
    EXPECT_EQ(QuartusRootFromRegistry(), registryRoot);
    SelectWorkingFolder(Host, true);
    EXPECT_EQ(Current(), Canonical(registryRoot + QStringLiteral("/bin32")));
    EXPECT_TRUE(Host.Messages.empty());
}

TEST_F(ProgrammerLocationTest, NothingFoundWarnsOnceAndKeepsTheCurrentFolder)
{
    SetRegistryRoot(MakeRoot(QStringLiteral("reg"), {QStringLiteral("lib")}));
    const QString before = Current();
    SelectWorkingFolder(Host, true);
    EXPECT_EQ(Current(), before);
    ASSERT_EQ(Host.Messages.size(), 1u);
    EXPECT_EQ(Host.Messages[0].Kind, THost::mkWarning);
    EXPECT_EQ(Host.Messages[0].Text,
              QStringLiteral("Failed to find Quartus installatino folder!"));
}

TEST_F(ProgrammerLocationTest, UnsetSourcesGiveEmptyText)
{
    EXPECT_TRUE(QuartusRootFromEnvironment().isEmpty());
    EXPECT_TRUE(QuartusRootFromRegistry().isEmpty());
}

TEST_F(ProgrammerLocationTest, TheRegistryRootIsReadFromItsOwnKeyOnly)
{
    // The organisation's own key and the user's settings hold the value name; neither counts.
    const QString root = MakeRoot(QStringLiteral("elsewhere"), {QStringLiteral("bin")});
    QSettings organisation(QSettings::SystemScope, QLatin1String(QUARTUS_REGISTRY_ORGANIZATION));
    organisation.setValue(QLatin1String(QUARTUS_REGISTRY_VALUE), root);
    organisation.sync();
    QSettings user(QSettings::UserScope, QLatin1String(QUARTUS_REGISTRY_ORGANIZATION),
                   QLatin1String(QUARTUS_REGISTRY_APPLICATION));
    user.setValue(QLatin1String(QUARTUS_REGISTRY_VALUE), root);
    user.sync();
    EXPECT_TRUE(QuartusRootFromRegistry().isEmpty());

    SelectWorkingFolder(Host, true);
    EXPECT_EQ(Host.Messages.size(), 1u) << "no programmer folder was found";
}

TEST_F(ProgrammerLocationTest, LongEnvironmentRootIsReadWhole)
{
    QString name;
    while (name.size() < 300)
        name += QStringLiteral("quartus_installation_folder/");
    const QString root = MakeRoot(name + QStringLiteral("root"), {QStringLiteral("bin")});
    ASSERT_GT(root.size(), 255);
    SetEnvironmentRoot(root);
    EXPECT_EQ(QuartusRootFromEnvironment(), root);
    SelectWorkingFolder(Host, true);
    EXPECT_EQ(Current(), Canonical(root + QStringLiteral("/bin")));
}
} // namespace
