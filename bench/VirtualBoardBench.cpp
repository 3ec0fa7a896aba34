// Prints how fast the virtual board moves memory frames: the firmware model in-process,
// and the daemon over its JTAG socket with the PC's one-request-at-a-time exchange.
// A benchmark, not a test: it prints figures and judges nothing.

#include "tests/support/VirtualBoardProcess.h"
#include "tests/virtualboard/FirmwareTestSupport.h"
#include "tests/virtualboard/JtagTestClient.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

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

// Sends one request frame and waits for its reply of replyLength bytes; false when it fails.
using TExchange = std::function<bool(const std::vector<uint8_t>& request, size_t replyLength)>;

constexpr size_t STATUS_REPLY_BYTES = REPLY_LEN_STATUS + PKT_FRAME_OVERHEAD;
constexpr size_t READ_REPLY_BYTES =
    ReplyPayloadLength(CMD_MEMORY_READ, MEMORY_READ_CHUNK) + PKT_FRAME_OVERHEAD;

// One pass over TOTAL_BYTES of LPDDR2, a request per chunk, and its rate printed.
bool Sweep(const TExchange& exchange, const std::string& what, uint32_t chunk, size_t replyLength,
           const std::function<std::vector<uint8_t>(uint32_t)>& request)
{
    const auto start = Clock::now();
    size_t done = 0;
    for (uint32_t address = 0; done < TOTAL_BYTES; address += chunk, done += chunk)
    {
        if (!exchange(request(address), replyLength))
            return false;
    }
    Report(what.c_str(), done, Seconds(start));
    return true;
}

// Writes the memory twice (fresh pages, then pages already there) and reads it once.
bool MemoryPasses(const TExchange& exchange, const std::string& where)
{
    const std::vector<uint8_t> data = Pattern(MEMORY_WRITE_CHUNK);
    const auto write = [&data](uint32_t address) {
        return Frame(CMD_MEMORY_WRITE, Concat({{MEM_TYPE_LPDDR2}, Le32(address), data}));
    };
    const auto read = [](uint32_t address)
    {
        return Frame(CMD_MEMORY_READ,
                     Concat({{MEM_TYPE_LPDDR2}, Le32(address), Le32(MEMORY_READ_CHUNK)}));
    };
    return Sweep(exchange, where + ", first MemoryWrite 32743 B", MEMORY_WRITE_CHUNK,
                 STATUS_REPLY_BYTES, write) &&
           Sweep(exchange, where + ", rewrite 32743 B", MEMORY_WRITE_CHUNK, STATUS_REPLY_BYTES,
                 write) &&
           Sweep(exchange, where + ", MemoryRead 32747 B", MEMORY_READ_CHUNK, READ_REPLY_BYTES,
                 read);
}

void InProcess()
{
    TFirmware firmware;
    MemoryPasses(
        [&firmware](const std::vector<uint8_t>& request, size_t)
        {
            firmware.Receive(request.data(), request.size());
            return true;
        },
        "firmware in-process");
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
    const TExchange exchange = [&jtag](const std::vector<uint8_t>& request, size_t replyLength)
    {
        jtag.Send(request);
        return jtag.Receive(replyLength).size() == replyLength;
    };
    if (!MemoryPasses(exchange, "daemon over TCP"))
        return false;

    const auto start = Clock::now();
    for (int i = 0; i < PINGS; ++i)
    {
        if (!exchange(Frame(CMD_PING), STATUS_REPLY_BYTES))
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
