#include "makerlibs/jtag/KelvaroJtag.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include <dlfcn.h>

#include "makerlibs/jtag/BoardSimLauncher.h"
#include "makerlibs/jtag/LinkTable.h"
#include "makerlibs/jtag/ServerAddress.h"
#include "makerlibs/jtag/TcpLink.h"

namespace
{
// Loopback answers or refuses at once; a remote host gets a few seconds.
constexpr int CONNECT_LIMIT_MS = 3000;
// Layout of the info record the caller provides.
constexpr size_t INFO_RECORD_BYTES = 167;
constexpr size_t INFO_NAME_OFFSET = 112;
constexpr const char* INFO_NAME_PREFIX = "HX9 virtual JTAG (";

// The folder this library was loaded from, where the virtual board program sits beside it.
std::string LibraryFolder()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&KELVARO_JtagOpen), &info) == 0 ||
        info.dli_fname == nullptr)
        return {};
    const std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

uint32_t Register(std::unique_ptr<TTcpLink> link)
{
    if (link == nullptr)
        return 0;
    return TLinkTable::Instance().Add(std::shared_ptr<TTcpLink>(std::move(link)));
}

// The default board: when nothing answers, start the virtual board unless it is already up
// (then its FPGA is blank and refusing connections is the right answer).
uint32_t OpenDefault()
{
    const TServerAddress address;
    std::unique_ptr<TTcpLink> link = TTcpLink::Connect(address, CONNECT_LIMIT_MS);
    if (link != nullptr)
        return Register(std::move(link));
    if (TTcpLink::Answers(address.Host(), address.ControlPort(), CONNECT_LIMIT_MS))
        return 0;
    if (!TBoardSimLauncher::Start(LibraryFolder(), address))
        return 0;
    return Register(TTcpLink::Connect(address, CONNECT_LIMIT_MS));
}
} // namespace

extern "C" uint32_t KELVARO_JtagOpen(int32_t deviceIndex, const char* /*deviceName*/)
{
    // One board per server: cable 0 is the only one.
    if (deviceIndex != 0)
        return 0;
    const char* setting = std::getenv(TServerAddress::ENVIRONMENT_NAME);
    if (setting == nullptr || *setting == '\0')
        return OpenDefault();
    TServerAddress address;
    if (!TServerAddress::Parse(setting, address))
        return 0;
    return Register(TTcpLink::Connect(address, CONNECT_LIMIT_MS));
}

extern "C" void KELVARO_JtagClose(uint32_t handle)
{
    // The socket closes when the last user of the link lets go of it.
    TLinkTable::Instance().Remove(handle);
}

extern "C" int32_t KELVARO_JtagWrite(uint32_t handle, const uint8_t* bytes, uint32_t count)
{
    const std::shared_ptr<TTcpLink> link = TLinkTable::Instance().Find(handle);
    if (link == nullptr || (bytes == nullptr && count != 0))
        return 0;
    return link->Write(bytes, count) ? 1 : 0;
}

extern "C" int32_t KELVARO_JtagRead(uint32_t handle, uint8_t* buffer, uint32_t room)
{
    const std::shared_ptr<TTcpLink> link = TLinkTable::Instance().Find(handle);
    if (link == nullptr || buffer == nullptr)
        return 0;
    // The result is signed: never report more than fits.
    const size_t limit = std::min<size_t>(room, std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(link->Read(buffer, limit));
}

extern "C" int32_t KELVARO_JtagGetInfo(uint32_t handle, void* info)
{
    const std::shared_ptr<TTcpLink> link = TLinkTable::Instance().Find(handle);
    if (link == nullptr || info == nullptr)
        return 0;
    auto* record = static_cast<char*>(info);
    std::memset(record, 0, INFO_RECORD_BYTES);
    const std::string name = INFO_NAME_PREFIX + link->Address().Text() + ")";
    const size_t room = INFO_RECORD_BYTES - INFO_NAME_OFFSET - 1;
    std::memcpy(record + INFO_NAME_OFFSET, name.data(), std::min(name.size(), room));
    return 1;
}
