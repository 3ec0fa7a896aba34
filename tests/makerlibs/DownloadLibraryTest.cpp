// The download library through its C interface, with scripted stand-ins for the programmer.

#include <gtest/gtest.h>

#include <QSettings>

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "makerlibs/download/KelvaroDownload.h"
#include "tests/makerlibs/ScopedEnvironment.h"

namespace
{
namespace fs = std::filesystem;

constexpr const char* ROOT_VARIABLE = "QUARTUS_ROOTDIR";
constexpr const char* VERSION_SCRIPT = "#!/bin/sh\n"
                                       "[ \"$1\" = --version ] || exit 3\n"
                                       "echo 'Quartus Prime Programmer'\n"
                                       "echo 'Version %s Build 625 09/12/2018 SJ Lite Edition'\n";

const std::vector<std::string> UNUSED_NAMES = {
    "KELVARO_DownloadEEPROMByByteBlaster",
    "KELVARO_JtagDownloadByteBlaster",
    "KELVARO_JtagDownloadChain",
    "KELVARO_Programming",
    "KELVARO_DownloadNios2",
    "KELVARO_DownloadNios2Ex",
    "KELVARO_FlashProgrammer",
    "KELVARO_AsDownload",
    "KELVARO_AsDownloadPV",
    "KELVARO_IsUsbBlasterDriverReady",
    "KELVARO_SetQuartusProgrammerPath",
    "KELVARO_quartus_pgm",
    "KELVARO_Nios2Terminal",
    "KELVARO_KillNios2Terminal",
    "KELVARO_EnableBlasterII",
    "KELVARO_SetUB2Name",
    "KELVARO_Jtagconfig",
    "KELVARO_ExecuteJava",
    "KELVARO_quartus_hps",
};

std::string VersionScript(const std::string& version)
{
    std::string text = VERSION_SCRIPT;
    text.replace(text.find("%s"), 2, version);
    return text;
}

class DownloadLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pModule = ::dlopen(HX9_PROGRAM_DIR "/KELVARO_DOWNLOAD.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_pModule, nullptr) << ::dlerror();
        m_pVersion =
            reinterpret_cast<decltype(m_pVersion)>(::dlsym(m_pModule, "KELVARO_GetQuatusVersion"));
        m_pDownload =
            reinterpret_cast<decltype(m_pDownload)>(::dlsym(m_pModule, "KELVARO_JtagDownload"));
        ASSERT_NE(m_pVersion, nullptr);
        ASSERT_NE(m_pDownload, nullptr);

        char pattern[] = "/tmp/hx9-download-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_Root = pattern;
        // The system-scope settings (the registry's stand-in) come from an empty folder of ours.
        fs::create_directories(m_Root / "settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                           QString::fromStdString((m_Root / "settings").string()));
    }

    void TearDown() override
    {
        if (m_pModule != nullptr)
            ::dlclose(m_pModule);
        std::error_code ignored;
        fs::remove_all(m_Root, ignored);
    }

    // Writes an executable quartus_pgm into root/sub.
    static void Programmer(const fs::path& root, const std::string& sub, const std::string& script)
    {
        fs::create_directories(root / sub);
        const fs::path path = root / sub / "quartus_pgm";
        std::ofstream(path) << script;
        fs::permissions(path, fs::perms::owner_all);
    }

    void RecordInSettings(const fs::path& root)
    {
        QSettings settings(QSettings::SystemScope, "Altera Corporation", "Quartus");
        settings.setValue("Quartus Install Directory", QString::fromStdString(root.string()));
        settings.sync();
    }

    static std::string ReadFile(const fs::path& path)
    {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    int32_t Download(const char* image) { return m_pDownload(image, 20000, 0, 0, 0, 0, 1); }

    void* m_pModule = nullptr;
    double (*m_pVersion)() = nullptr;
    decltype(&KELVARO_JtagDownload) m_pDownload = nullptr;
    fs::path m_Root;
    TScopedEnvironment m_RootSetting{ROOT_VARIABLE, std::nullopt};
};

TEST_F(DownloadLibraryTest, ExportsEveryNameAndTheUnusedOnesReportFailure)
{
    for (const std::string& name : UNUSED_NAMES)
    {
        auto function = reinterpret_cast<int32_t (*)()>(::dlsym(m_pModule, name.c_str()));
        ASSERT_NE(function, nullptr) << name;
        EXPECT_EQ(function(), 0) << name;
    }
}

TEST_F(DownloadLibraryTest, VersionComesFromTheProgrammerUnderTheRoot)
{
    Programmer(m_Root / "env", "bin", VersionScript("18.1.0"));
    Programmer(m_Root / "env", "bin32", VersionScript("13.0.1"));
    m_RootSetting.Set((m_Root / "env").string());
    EXPECT_DOUBLE_EQ(m_pVersion(), 18.1);

    // Only the 32-bit folder: that one.
    fs::remove_all(m_Root / "env" / "bin");
    EXPECT_DOUBLE_EQ(m_pVersion(), 13.0);
}

TEST_F(DownloadLibraryTest, SettingsNameTheRootWhenTheEnvironmentFindsNoFolder)
{
    Programmer(m_Root / "installed", "bin", VersionScript("20.1.1"));
    RecordInSettings(m_Root / "installed");
    EXPECT_DOUBLE_EQ(m_pVersion(), 20.1);

    fs::create_directories(m_Root / "empty");
    m_RootSetting.Set((m_Root / "empty").string());
    EXPECT_DOUBLE_EQ(m_pVersion(), 20.1);

    // The environment wins when it leads to a folder.
    Programmer(m_Root / "env", "bin", VersionScript("17.0.2"));
    m_RootSetting.Set((m_Root / "env").string());
    EXPECT_DOUBLE_EQ(m_pVersion(), 17.0);
}

TEST_F(DownloadLibraryTest, NoWorkingProgrammerGivesVersionZero)
{
    EXPECT_EQ(m_pVersion(), 0.0); // no root anywhere

    m_RootSetting.Set((m_Root / "env").string());
    fs::create_directories(m_Root / "env" / "bin");
    EXPECT_EQ(m_pVersion(), 0.0); // folder without a programmer

    Programmer(m_Root / "env", "bin", "#!/bin/sh\necho 'Version 18.1.0'\nexit 1\n");
    EXPECT_EQ(m_pVersion(), 0.0); // it fails

    Programmer(m_Root / "env", "bin", "#!/bin/sh\necho 'Quartus Prime Programmer'\n");
    EXPECT_EQ(m_pVersion(), 0.0); // it names no version
}

TEST_F(DownloadLibraryTest, DownloadProgramsTheWholeImagePathOverJtag)
{
    const fs::path log = m_Root / "arguments";
    Programmer(m_Root / "env", "bin",
               "#!/bin/sh\nprintf '%s|' \"$@\" > '" + log.string() + "'\npwd >> '" + log.string() +
                   "'\n");
    m_RootSetting.Set((m_Root / "env").string());
    const std::string folder = (m_Root / "env" / "bin").string();

    EXPECT_NE(Download("/images/HX9 Control Panel.sof"), 0);
    EXPECT_EQ(ReadFile(log), "-m|jtag|-o|p;/images/HX9 Control Panel.sof|" + folder + "\n");

    // The programmer runs in its own folder, so a relative path is made whole first.
    EXPECT_NE(Download("HX9_ControlPanel.sof"), 0);
    EXPECT_EQ(ReadFile(log), "-m|jtag|-o|p;" + fs::current_path().string() +
                                 "/HX9_ControlPanel.sof|" + folder + "\n");
}

TEST_F(DownloadLibraryTest, DownloadFailsWhenTheProgrammerDoesOrIsMissing)
{
    EXPECT_EQ(Download("/images/x.sof"), 0);
    m_RootSetting.Set((m_Root / "env").string());
    Programmer(m_Root / "env", "bin", "#!/bin/sh\necho 'Error: no board' >&2\nexit 2\n");
    EXPECT_EQ(Download("/images/x.sof"), 0);
    Programmer(m_Root / "env", "bin", "#!/bin/sh\nexit 0\n");
    EXPECT_EQ(Download(nullptr), 0);
    EXPECT_EQ(Download(""), 0);
    EXPECT_NE(Download("/images/x.sof"), 0);
}
} // namespace
