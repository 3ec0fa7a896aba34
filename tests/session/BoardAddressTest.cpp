#include "session/BoardAddress.h"

#include <gtest/gtest.h>

// What -a accepts: the library's own form, so that a typo fails before any link is tried.
TEST(BoardAddress, HostAndPortOrNothing)
{
    const struct
    {
        const char* Address;
        bool Accepted;
    } cases[] = {
        {"127.0.0.1:45480", true}, {"board.lab:1", true}, {"[::1]:65535", true},
        {"localhost", false},      {":45480", false},     {"host:", false},
        {"host:0", false},         {"host:65536", false}, {"host:12ab", false},
        {"::1:45480", false},      {"[]:45480", false},   {"host:-1", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsBoardAddress(QString::fromLatin1(c.Address)), c.Accepted) << c.Address;
}
