#include "config/Download.h"
#include "tests/support/RecordingHost.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace
{
// Controls of the fake download library, reached through dlopen of the file TDownload loads.
class TFakeDownload
{
public:
    explicit TFakeDownload(const char* folder)
    {
        const std::string path = std::string(folder) + "/KELVARO_DOWNLOAD.so";
        m_pHandle = dlopen(path.c_str(), RTLD_NOW);
        if (!m_pHandle)
            return;
        Reset = reinterpret_cast<void (*)()>(dlsym(m_pHandle, "FakeDownload_Reset"));
        Set = reinterpret_cast<void (*)(double, int32_t)>(dlsym(m_pHandle, "FakeDownload_Set"));
        Calls = reinterpret_cast<uint32_t (*)(uint32_t*, uint32_t*)>(
            dlsym(m_pHandle, "FakeDownload_Calls"));
        LastPath =
            reinterpret_cast<const char* (*)(int32_t*)>(dlsym(m_pHandle, "FakeDownload_LastPath"));
        if (IsOpen())
            Reset();
    }
    ~TFakeDownload()
    {
        if (m_pHandle)
            dlclose(m_pHandle);
    }
    bool IsOpen() const { return m_pHandle && Reset && Set && Calls && LastPath; }

    void (*Reset)() = nullptr;
    void (*Set)(double version, int32_t result) = nullptr;
    uint32_t (*Calls)(uint32_t* versionCalls, uint32_t* otherCalls) = nullptr;
    const char* (*LastPath)(int32_t* args) = nullptr;

private:
    void* m_pHandle = nullptr;
};

TEST(DownloadTest, PassesTheImageAndTheFixedArguments)
{
    TFakeDownload fake(HX9_FAKE_DOWNLOAD_DIR);
    ASSERT_TRUE(fake.IsOpen());
    TRecordingHost host(QStringLiteral(HX9_FAKE_DOWNLOAD_DIR "/"));
    TDownload download(host);
    ASSERT_TRUE(download.IsLoaded());
    EXPECT_TRUE(host.Messages.empty());

    fake.Set(18.1, 1);
    EXPECT_DOUBLE_EQ(download.QuartusVersion(), 18.1);
    EXPECT_TRUE(download.DownloadImage(QStringLiteral("/tmp/dir with space/HX9_ControlPanel.sof")));
    int32_t args[6] = {};
    EXPECT_STREQ(fake.LastPath(args), "/tmp/dir with space/HX9_ControlPanel.sof");
    EXPECT_EQ(std::vector<int32_t>(args, args + 6), (std::vector<int32_t>{20000, 0, 0, 0, 0, 1}));

    fake.Set(0.0, 0);
    EXPECT_EQ(download.QuartusVersion(), 0.0);
    EXPECT_FALSE(download.DownloadImage(QStringLiteral("x.sof")));
    uint32_t versionCalls = 0, otherCalls = 0;
    EXPECT_EQ(fake.Calls(&versionCalls, &otherCalls), 2u);
    EXPECT_EQ(versionCalls, 2u);
    EXPECT_EQ(otherCalls, 0u);
}

TEST(DownloadTest, MissingLibraryShowsItsPathAndCallsNothing)
{
    TRecordingHost host(QStringLiteral(HX9_NO_LIBRARY_DIR "/"));
    TDownload download(host);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Kind, THost::mkError);
    EXPECT_EQ(host.Messages[0].Text,
              QStringLiteral("fail to load dll - " HX9_NO_LIBRARY_DIR "/KELVARO_DOWNLOAD.so"));
    EXPECT_FALSE(download.IsLoaded());
    EXPECT_EQ(download.QuartusVersion(), 0.0);
    EXPECT_FALSE(download.DownloadImage(QStringLiteral("x.sof")));
}

TEST(DownloadTest, LibraryLackingOneNameIsRefused)
{
    TFakeDownload fake(HX9_FAKE_DOWNLOAD_INCOMPLETE_DIR);
    ASSERT_TRUE(fake.IsOpen());
    TRecordingHost host(QStringLiteral(HX9_FAKE_DOWNLOAD_INCOMPLETE_DIR "/"));
    TDownload download(host);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Text,
              QStringLiteral("load KELVARO_DOWNLOAD.DLL fail. Cannot find all of desired API"));
    EXPECT_FALSE(download.IsLoaded());
    EXPECT_EQ(download.QuartusVersion(), 0.0);
    EXPECT_FALSE(download.DownloadImage(QStringLiteral("x.sof")));
    uint32_t versionCalls = 0, otherCalls = 0;
    EXPECT_EQ(fake.Calls(&versionCalls, &otherCalls), 0u);
    EXPECT_EQ(versionCalls, 0u);
}
} // namespace
