// hx9-bench-transfer: how fast the program moves memory through the JTAG library and the
// virtual board, what one exchange costs and where that time goes, and how much memory the
// daemon needs for scattered writes. Prints figures; asserts nothing about them.

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <QString>
#include <QtEndian>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "board/Board.h"
#include "board/JtagPort.h"
#include "host/HeadlessHost.h"
#include "virtualboard/ControlClient.h"
#include "virtualboard/Endpoint.h"

namespace
{
using Clock = std::chrono::steady_clock;

constexpr uint32_t TRANSFER_BYTES = 16u * 1024 * 1024;
constexpr int TRANSFER_ROUNDS = 3;
constexpr int PING_COUNT = 1000;
constexpr int RAW_EXCHANGES = 300;
// Scattered writes: one chunk at the start of every megabyte, 16 MB in all.
constexpr uint32_t SCATTER_STRIDE = 1024u * 1024;
constexpr uint32_t SCATTER_CHUNK = 32u * 1024;
constexpr uint32_t SCATTER_CHUNKS = TRANSFER_BYTES / SCATTER_CHUNK;
constexpr int PORT_LINE_LIMIT_MS = 10000;
constexpr double MEGABYTE = 1024.0 * 1024.0;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0
                          : values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

// The daemon, started as our own child so its pid is known for the memory figure.
struct TSim
{
    pid_t Pid = -1;
    vboard::TEndpoint Endpoint;
};

bool ReadPortLine(int fd, uint16_t& port)
{
    std::string line;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(PORT_LINE_LIMIT_MS);
    char buffer[64];
    while (line.find('\n') == std::string::npos && Clock::now() < deadline)
    {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, 100) <= 0)
            continue;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        line.append(buffer, static_cast<size_t>(n));
    }
    unsigned value = 0;
    if (std::sscanf(line.c_str(), "port %u", &value) != 1 || value == 0 || value >= USHRT_MAX)
        return false;
    port = static_cast<uint16_t>(value);
    return true;
}

bool StartSim(const std::string& folder, TSim& sim)
{
    const std::string program = folder + "/hx9-board-sim";
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return false;
    sim.Pid = ::fork();
    if (sim.Pid == 0)
    {
        ::dup2(out[1], STDOUT_FILENO);
        ::execl(program.c_str(), program.c_str(), "serve", "--port", "0", "--programmed", nullptr);
        ::_exit(127);
    }
    ::close(out[1]);
    const bool ok = sim.Pid > 0 && ReadPortLine(out[0], sim.Endpoint.JtagPort);
    ::close(out[0]);
    return ok;
}

void StopSim(TSim& sim)
{
    if (sim.Pid <= 0)
        return;
    std::string reply, error;
    if (!vboard::ControlRequest(sim.Endpoint, "shutdown", reply, error))
        ::kill(sim.Pid, SIGKILL);
    ::waitpid(sim.Pid, nullptr, 0);
    sim.Pid = -1;
}

long ResidentKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
    {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

std::vector<uint8_t> Pattern(size_t count)
{
    std::vector<uint8_t> bytes(count);
    uint32_t x = 12345;
    for (uint8_t& b : bytes)
    {
        x = x * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(x >> 24);
    }
    return bytes;
}

void BenchTransfers(TBoard& board)
{
    const std::vector<uint8_t> data = Pattern(TRANSFER_BYTES);
    std::vector<uint8_t> back(TRANSFER_BYTES);
    for (int round = 1; round <= TRANSFER_ROUNDS; ++round)
    {
        Clock::time_point start = Clock::now();
        const bool wrote = board.MemoryWrite(MEM_TYPE_LPDDR2, 0, TRANSFER_BYTES, data.data());
        const double writeMs = Milliseconds(Clock::now() - start);
        start = Clock::now();
        const bool read = board.MemoryRead(MEM_TYPE_LPDDR2, 0, TRANSFER_BYTES, back.data());
        const double readMs = Milliseconds(Clock::now() - start);
        std::printf(
            "round %d: MemoryWrite 16 MB %7.1f ms = %5.1f MB/s%s   MemoryRead 16 MB %7.1f ms = "
            "%5.1f MB/s%s%s\n",
            round, writeMs, TRANSFER_BYTES / MEGABYTE / (writeMs / 1000), wrote ? "" : " (FAILED)",
            readMs, TRANSFER_BYTES / MEGABYTE / (readMs / 1000), read ? "" : " (FAILED)",
            back == data ? "" : "  DATA DIFFERS");
    }
}

void BenchPing(TBoard& board)
{
    std::vector<double> times;
    times.reserve(PING_COUNT);
    int failures = 0;
    for (int i = 0; i < PING_COUNT; ++i)
    {
        const Clock::time_point start = Clock::now();
        failures += board.Ping() ? 0 : 1;
        times.push_back(Milliseconds(Clock::now() - start));
    }
    std::printf("Ping exchange (%d): median %.3f ms, p10 %.3f ms, p90 %.3f ms%s\n", PING_COUNT,
                Median(times), Percentile(times, 0.1), Percentile(times, 0.9),
                failures == 0 ? "" : " (SOME FAILED)");

    times.clear();
    for (int i = 0; i < PING_COUNT / 4; ++i)
    {
        const Clock::time_point start = Clock::now();
        board.DrainInput();
        times.push_back(Milliseconds(Clock::now() - start));
    }
    std::printf("  of which DrainInput with nothing waiting: median %.3f ms\n", Median(times));
}

std::vector<uint8_t> ReadRequest(uint32_t address, uint32_t count)
{
    std::vector<uint8_t> frame(REQUEST_LEN_MEMORY_READ + PKT_FRAME_OVERHEAD);
    PutFrameHeader(frame.data(), CMD_MEMORY_READ, REQUEST_LEN_MEMORY_READ);
    uint8_t* payload = frame.data() + PKT_HEADER_LEN;
    payload[0] = MEM_TYPE_LPDDR2;
    qToLittleEndian(address, payload + MEMORY_REQUEST_ADDRESS_OFFSET);
    qToLittleEndian(count, payload + MEMORY_REQUEST_COUNT_OFFSET);
    PutFrameTrailer(frame.data());
    return frame;
}

// One full read chunk through TBoard, timed alone: an exchange costs one tick of the
// program's millisecond clock when nothing delays it, two when it misses the tick.
void BenchChunk(TBoard& board)
{
    std::vector<uint8_t> chunk(MEMORY_READ_CHUNK);
    std::vector<double> times;
    for (int i = 0; i < RAW_EXCHANGES; ++i)
    {
        const Clock::time_point start = Clock::now();
        board.MemoryRead(MEM_TYPE_LPDDR2, i * MEMORY_READ_CHUNK, MEMORY_READ_CHUNK, chunk.data());
        times.push_back(Milliseconds(Clock::now() - start));
    }
    const auto slow = std::count_if(times.begin(), times.end(), [](double ms) { return ms > 1.5; });
    std::printf("one 32747-byte MemoryRead (%d): median %.3f ms, p90 %.3f ms, %ld over 1.5 ms\n",
                RAW_EXCHANGES, Median(times), Percentile(times, 0.9), static_cast<long>(slow));
}

// One full read chunk through the port without the board's drain: request out, 32 KB reply
// in. What is left of an exchange once the drain's millisecond is taken away.
void BenchRawExchange(THost& host)
{
    TJtagPort port(host, 0, QString());
    if (!port.Open())
    {
        std::printf("raw exchange: no link\n");
        return;
    }
    std::vector<uint8_t> reply(MEMORY_READ_CHUNK + 1 + PKT_FRAME_OVERHEAD);
    std::vector<double> total, first;
    for (int i = 0; i < RAW_EXCHANGES; ++i)
    {
        const std::vector<uint8_t> request = ReadRequest(i * MEMORY_READ_CHUNK, MEMORY_READ_CHUNK);
        const Clock::time_point start = Clock::now();
        port.Write(request.data(), static_cast<uint32_t>(request.size()));
        const int32_t header = port.Read(reply.data(), PKT_HEADER_LEN, REPLY_HEADER_LIMIT_MS);
        const Clock::time_point headerAt = Clock::now();
        const int32_t rest =
            port.Read(reply.data() + PKT_HEADER_LEN,
                      static_cast<uint32_t>(reply.size() - PKT_HEADER_LEN), REPLY_REST_LIMIT_MS);
        total.push_back(Milliseconds(Clock::now() - start));
        first.push_back(Milliseconds(headerAt - start));
        if (header + rest != static_cast<int32_t>(reply.size()))
            std::printf("raw exchange %d: short reply (%d bytes)\n", i, header + rest);
    }
    port.Close();
    const double median = Median(total);
    std::printf(
        "raw 32 KB read exchange without drain (%d): median %.3f ms (reply header after %.3f ms) = "
        "%.1f MB/s\n",
        RAW_EXCHANGES, median, Median(first), MEMORY_READ_CHUNK / MEGABYTE / (median / 1000));
}

void BenchScatteredMemory(TBoard& board, pid_t pid)
{
    const long before = ResidentKilobytes(pid);
    const std::vector<uint8_t> chunk = Pattern(SCATTER_CHUNK);
    bool ok = true;
    for (uint32_t i = 0; i < SCATTER_CHUNKS && ok; ++i)
        ok = board.MemoryWrite(MEM_TYPE_LPDDR2, i * SCATTER_STRIDE, SCATTER_CHUNK, chunk.data());
    const long after = ResidentKilobytes(pid);
    std::printf("daemon VmRSS: %ld kB before, %ld kB after 16 MB in %u chunks of 32 KB, 1 MB apart "
                "(all 512 MB of LPDDR2 spanned)%s\n",
                before, after, SCATTER_CHUNKS, ok ? "" : " (WRITE FAILED)");
}
} // namespace

int main()
{
    THeadlessHost host;
    const std::string folder = host.ProgramFolder().toStdString();
    // The port switches to the programmer's folder at open; point it at the virtual one.
    ::setenv("QUARTUS_ROOTDIR", (folder + "quartus").c_str(), 0);

    TSim sim;
    if (!StartSim(folder, sim))
    {
        std::fprintf(stderr, "hx9-bench-transfer: could not start %shx9-board-sim\n",
                     folder.c_str());
        StopSim(sim);
        return 1;
    }
    const std::string address = "127.0.0.1:" + std::to_string(sim.Endpoint.JtagPort);
    ::setenv(vboard::JTAG_SERVER_VARIABLE, address.c_str(), 1);
    std::printf("virtual board at %s (pid %d); daemon VmRSS at start %ld kB\n", address.c_str(),
                static_cast<int>(sim.Pid), ResidentKilobytes(sim.Pid));

    int result = 0;
    {
        TBoard board(host);
        QString error;
        if (board.Connect(error, 0))
        {
            BenchPing(board);
            BenchTransfers(board);
            BenchChunk(board);
            BenchScatteredMemory(board, sim.Pid);
            board.Disconnect();
            BenchRawExchange(host);
        }
        else
        {
            std::fprintf(stderr, "hx9-bench-transfer: %s\n", error.toLocal8Bit().constData());
            result = 1;
        }
    }
    StopSim(sim);
    return result;
}
