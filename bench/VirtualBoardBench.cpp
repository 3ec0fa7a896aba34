// Prints how fast the virtual board moves memory frames: the firmware model in-process,
// and the daemon over its JTAG socket with the PC's one-request-at-a-time exchange.
// A benchmark, not a test: it prints figures and judges nothing.

#include "tests/support/VirtualBoardProcess.h"
#include "tests/virtualboard/FirmwareTestSupport.h"
#include "tests/virtualboard/JtagTestClient.h"

#include <chrono>
#include <cstdio>

namespace
{

using namespace vboard;
using vboardtest::Concat;
using vboardtest::Frame;
using vboardtest::Le32;

constexpr size_t TOTAL_BYTES = 64u * 1024 * 1024;
constexpr int PINGS = 2000;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void Report(const char* what, size_t bytes, double seconds)
{
    std::printf("%-48s %8.1f MB/s  (%zu MB in %.2f s)\n", what, bytes / seconds / 1e6,
                bytes / (1024 * 1024), seconds);
}

std::vector<uint8_t> Pattern(size_t n)
{
    std::vector<uint8_t> data(n);
    for (size_t i = 0; i < n; ++i)
        data[i] = static_cast<uint8_t>(i * 29 + (i >> 11));
    return data;
}

void InProcess()
{
    TFirmware firmware;
    const std::vector<uint8_t> data = Pattern(MEMORY_WRITE_CHUNK);
    auto writeAll = [&](const char* what)
    {
        const auto start = Clock::now();
        size_t done = 0;
        for (uint32_t address = 0; done < TOTAL_BYTES;
             address += MEMORY_WRITE_CHUNK, done += MEMORY_WRITE_CHUNK)
        {
            const auto frame =
                Frame(CMD_MEMORY_WRITE, Concat({{MEM_TYPE_LPDDR2}, Le32(address), data}));
            firmware.Receive(frame.data(), frame.size());
        }
        Report(what, done, Seconds(start));
    };
    writeAll("firmware in-process, first MemoryWrite 32743 B");
    writeAll("firmware in-process, rewrite 32743 B");

    const auto start = Clock::now();
    size_t done = 0;
    for (uint32_t address = 0; done < TOTAL_BYTES;
         address += MEMORY_READ_CHUNK, done += MEMORY_READ_CHUNK)
    {
        const auto frame = Frame(
            CMD_MEMORY_READ, Concat({{MEM_TYPE_LPDDR2}, Le32(address), Le32(MEMORY_READ_CHUNK)}));
        firmware.Receive(frame.data(), frame.size());
    }
    Report("firmware in-process, MemoryRead 32747 B", done, Seconds(start));
    std::printf("%-48s %8.1f MB\n", "LPDDR2 pages allocated for 64 MB written",
                firmware.Memory(MEM_TYPE_LPDDR2)->AllocatedBytes() / 1e6);
}

bool OverSocket()
{
    hx9test::TVirtualBoardProcess::TOptions options;
    options.Programmed = true;
    hx9test::TVirtualBoardProcess board(options);
    if (!board.Start())
    {
        std::fprintf(stderr, "cannot start the virtual board: %s\n", board.LastError().c_str());
        return false;
    }
    vboardtest::TJtagTestClient jtag;
    if (!jtag.Connect(board.JtagPort()))
    {
        std::fprintf(stderr, "cannot connect to the JTAG port\n");
        return false;
    }
    const std::vector<uint8_t> data = Pattern(MEMORY_WRITE_CHUNK);
    auto writeAll = [&](const char* what)
    {
        const auto start = Clock::now();
        size_t done = 0;
        for (uint32_t address = 0; done < TOTAL_BYTES;
             address += MEMORY_WRITE_CHUNK, done += MEMORY_WRITE_CHUNK)
        {
            jtag.Send(Frame(CMD_MEMORY_WRITE, Concat({{MEM_TYPE_LPDDR2}, Le32(address), data})));
            if (jtag.Receive(7).size() != 7)
                return false;
        }
        Report(what, done, Seconds(start));
        return true;
    };
    if (!writeAll("daemon over TCP, first MemoryWrite 32743 B") ||
        !writeAll("daemon over TCP, rewrite 32743 B"))
        return false;

    auto start = Clock::now();
    size_t done = 0;
    for (uint32_t address = 0; done < TOTAL_BYTES;
         address += MEMORY_READ_CHUNK, done += MEMORY_READ_CHUNK)
    {
        jtag.Send(Frame(CMD_MEMORY_READ,
                        Concat({{MEM_TYPE_LPDDR2}, Le32(address), Le32(MEMORY_READ_CHUNK)})));
        if (jtag.Receive(MEMORY_READ_CHUNK + 1 + PKT_FRAME_OVERHEAD).size() !=
            MEMORY_READ_CHUNK + 1 + PKT_FRAME_OVERHEAD)
            return false;
    }
    Report("daemon over TCP, MemoryRead 32747 B", done, Seconds(start));

    start = Clock::now();
    for (int i = 0; i < PINGS; ++i)
    {
        jtag.Send(Frame(CMD_PING));
        if (jtag.Receive(7).size() != 7)
            return false;
    }
    std::printf("%-48s %8.1f us\n", "daemon over TCP, ping round trip",
                Seconds(start) / PINGS * 1e6);
    return true;
}

} // namespace

int main()
{
    InProcess();
    return OverSocket() ? 0 : 1;
}
