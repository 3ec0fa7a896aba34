#include "host/HeadlessHost.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace
{
TEST(HeadlessHostTest, ProgramFolderIsTheExecutablesFolderWithATrailingSeparator)
{
    THeadlessHost host;
    const QString folder = host.ProgramFolder();
    ASSERT_TRUE(folder.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("hx9_board_tests")));
}
} // namespace
