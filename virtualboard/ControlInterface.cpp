#include "virtualboard/ControlInterface.h"

#include "virtualboard/Crc32.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <sstream>

namespace vboard
{

namespace
{

using TWords = std::vector<std::string>;

constexpr size_t CRC_CHUNK = 64 * 1024;

TWords Split(const std::string& line)
{
    std::istringstream in(line);
    TWords words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// The raw text after the first n words, inner blanks kept.
std::string RestAfter(const std::string& line, size_t n)
{
    size_t at = 0;
    for (size_t i = 0; i < n; ++i)
    {
        at = line.find_first_not_of(" \t", at);
        at = line.find_first_of(" \t", at);
        if (at == std::string::npos)
            return "";
    }
    at = line.find_first_not_of(" \t", at);
    if (at == std::string::npos)
        return "";
    const size_t end = line.find_last_not_of(" \t");
    return line.substr(at, end - at + 1);
}

// Decimal, or hexadecimal after 0x.
bool ParseUnsigned(const std::string& word, uint64_t max, uint64_t& value)
{
    const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    const std::string digits = hex ? word.substr(2) : word;
    const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
    if (digits.empty() || digits.size() > (hex ? 16u : 19u) ||
        digits.find_first_not_of(allowed) != std::string::npos)
        return false;
    value = std::stoull(digits, nullptr, hex ? 16 : 10);
    return value <= max;
}

std::string Hex(const uint8_t* bytes, size_t count)
{
    static const char DIGITS[] = "0123456789abcdef";
    std::string text;
    text.reserve(count * 2);
    for (size_t i = 0; i < count; ++i)
    {
        text += DIGITS[bytes[i] >> 4];
        text += DIGITS[bytes[i] & 0x0F];
    }
    return text;
}

bool ParseHex(const std::string& text, std::vector<uint8_t>& bytes)
{
    if (text.size() % 2 != 0 ||
        text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    bytes.clear();
    for (size_t i = 0; i < text.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    return true;
}

std::string HexWord(uint64_t value, int digits)
{
    char text[32];
    std::snprintf(text, sizeof(text), "0x%0*llx", digits, static_cast<unsigned long long>(value));
    return text;
}

std::string Ok(const std::string& text = "")
{
    return text.empty() ? "ok" : "ok " + text;
}

std::string Error(const std::string& reason)
{
    return "error " + reason;
}

bool ParseMemoryType(const std::string& word, uint8_t& type)
{
    if (word == "lpddr2")
        type = MEM_TYPE_LPDDR2;
    else if (word == "sram")
        type = MEM_TYPE_SRAM;
    else if (word == "adc")
        type = MEM_TYPE_ADC;
    else
    {
        uint64_t value = 0;
        if (!ParseUnsigned(word, 255, value))
            return false;
        type = static_cast<uint8_t>(value);
    }
    return true;
}

const char* StatusName(TStatus status)
{
    switch (status)
    {
    case STATUS_OK:
        return "ok";
    case STATUS_UNKNOWN_MEMORY:
        return "unknown memory type";
    case STATUS_OUT_OF_RANGE:
        return "range past the end of the memory";
    default:
        return "request refused";
    }
}

const char* const HELP_TEXT =
    "ping help status program power-cycle board-name keys key switches switch leds seg7 hdmi "
    "uart sd adc hsmc mem fault faults shutdown";

} // namespace

TControlInterface::TControlInterface(TVirtualBoard& board) : m_Board(board) {}

std::string TControlInterface::Execute(const std::string& line)
{
    if (line.size() > MAX_LINE)
        return Error("line too long");
    const TWords words = Split(line);
    if (words.empty())
        return Error("empty command");
    const std::string& command = words[0];
    if (command == "ping")
        return Ok("hx9-board-sim");
    if (command == "help")
        return Help();
    if (command == "status")
        return Status();
    if (command == "program")
        return Program(RestAfter(line, 1));
    if (command == "power-cycle")
    {
        m_Board.PowerCycle();
        return Ok();
    }
    if (command == "board-name")
        return BoardName(words, RestAfter(line, 1));
    if (command == "keys")
        return Keys(words);
    if (command == "key")
        return Key(words);
    if (command == "switches")
        return Switches(words);
    if (command == "switch")
        return Switch(words);
    if (command == "leds")
        return Leds();
    if (command == "seg7")
        return Seg7();
    if (command == "hdmi")
        return Hdmi();
    if (command == "uart")
        return Uart(words, line);
    if (command == "sd")
        return SdCard(words);
    if (command == "adc")
        return Adc(words);
    if (command == "hsmc")
        return Hsmc(words);
    if (command == "mem")
        return Memory(words);
    if (command == "fault")
        return Fault(RestAfter(line, 1));
    if (command == "faults")
        return Ok(m_Board.Faults().Describe());
    if (command == "shutdown")
    {
        m_bShutdown = true;
        return Ok();
    }
    return Error("unknown command '" + command + "' (try help)");
}

std::string TControlInterface::Help() const
{
    return Ok(HELP_TEXT);
}

std::string TControlInterface::Status() const
{
    const TServerStatus server = m_StatusSource ? m_StatusSource() : TServerStatus{};
    const TFirmware& firmware = m_Board.Firmware();
    std::ostringstream out;
    out << "programmed=" << (m_Board.IsProgrammed() ? 1 : 0) << " jtag-port=" << server.JtagPort
        << " jtag-client=" << (server.JtagClient ? 1 : 0)
        << " control-clients=" << server.ControlClients
        << " requests=" << firmware.RequestsAnswered()
        << " dropped-bytes=" << firmware.Reader().DroppedBytes()
        << " faults=" << m_Board.Faults().Describe();
    return Ok(out.str());
}

std::string TControlInterface::Program(const std::string& rest)
{
    if (rest.empty())
        return Error("program needs the image path");
    if (rest[0] != '/')
        return Error("image path must be absolute: '" + rest + "'");
    std::string error;
    if (!m_Board.Program(rest, error))
        return Error(error);
    return Ok();
}

std::string TControlInterface::BoardName(const TWords& words, const std::string& rest)
{
    std::string& name = m_Board.Firmware().Inputs().BoardName;
    if (words.size() == 1)
        return Ok(name);
    if (rest.size() >= BOARD_NAME_TEXT_LEN)
        return Error("board name longer than " + std::to_string(BOARD_NAME_TEXT_LEN - 1) +
                     " bytes");
    name = rest;
    return Ok();
}

std::string TControlInterface::Keys(const TWords& words)
{
    uint32_t& keys = m_Board.Firmware().Inputs().Keys;
    if (words.size() == 1)
        return Ok(HexWord(keys, 1));
    uint64_t mask = 0;
    if (words.size() != 2 || !ParseUnsigned(words[1], BUTTON_KEY_MASK, mask))
        return Error("keys takes a mask from 0 to 0xf (bit k set: KEY k held down)");
    keys = static_cast<uint32_t>(mask);
    return Ok();
}

std::string TControlInterface::Key(const TWords& words)
{
    uint64_t index = 0;
    if (words.size() != 3 || !ParseUnsigned(words[1], BUTTON_KEY_COUNT - 1, index) ||
        (words[2] != "down" && words[2] != "up"))
        return Error("usage: key 0..3 down|up");
    uint32_t& keys = m_Board.Firmware().Inputs().Keys;
    const uint32_t bit = 1u << index;
    keys = words[2] == "down" ? (keys | bit) : (keys & ~bit);
    return Ok();
}

std::string TControlInterface::Switches(const TWords& words)
{
    uint32_t& switches = m_Board.Firmware().Inputs().Switches;
    if (words.size() == 1)
        return Ok(HexWord(switches, 3));
    uint64_t mask = 0;
    if (words.size() != 2 || !ParseUnsigned(words[1], BUTTON_SWITCH_MASK, mask))
        return Error("switches takes a mask from 0 to 0x3ff (bit k set: SW k on)");
    switches = static_cast<uint32_t>(mask);
    return Ok();
}

std::string TControlInterface::Switch(const TWords& words)
{
    uint64_t index = 0;
    if (words.size() != 3 || !ParseUnsigned(words[1], BUTTON_SWITCH_COUNT - 1, index) ||
        (words[2] != "on" && words[2] != "off"))
        return Error("usage: switch 0..9 on|off");
    uint32_t& switches = m_Board.Firmware().Inputs().Switches;
    const uint32_t bit = 1u << index;
    switches = words[2] == "on" ? (switches | bit) : (switches & ~bit);
    return Ok();
}

std::string TControlInterface::Leds() const
{
    return Ok(HexWord(m_Board.Firmware().Outputs().Leds, 5));
}

std::string TControlInterface::Seg7() const
{
    const TBoardOutputs& out = m_Board.Firmware().Outputs();
    char digits[8];
    // HEX3 first, as the digits stand on the board.
    std::snprintf(digits, sizeof(digits), "%04x", out.DigitWord & 0xFFFFu);
    return Ok(std::string("digits=") + digits + " word=" + HexWord(out.DigitWord, 8) +
              " extra=" + HexWord(out.DigitExtra, 2));
}

std::string TControlInterface::Hdmi() const
{
    const TBoardOutputs& out = m_Board.Firmware().Outputs();
    return Ok("running=" + std::to_string(out.HdmiRunning ? 1 : 0) +
              " pattern=" + std::to_string(out.HdmiPattern));
}

std::string TControlInterface::Uart(const TWords& words, const std::string& line)
{
    TBoardOutputs& out = m_Board.Firmware().Outputs();
    if (words.size() == 1)
        return Ok("running=" + std::to_string(out.UartRunning ? 1 : 0) +
                  " sent=" + std::to_string(out.UartSent.size()) +
                  " to-receive=" + std::to_string(out.UartToReceive.size()));
    const std::string& sub = words[1];
    if (sub == "sent" && words.size() == 2)
        return Ok(Hex(out.UartSent.data(), out.UartSent.size()));
    if (sub == "blocks" && words.size() == 2)
    {
        std::string sizes;
        for (const size_t size : out.UartSentBlocks)
            sizes += (sizes.empty() ? "" : " ") + std::to_string(size);
        return Ok(sizes);
    }
    if (sub == "clear" && words.size() == 2)
    {
        out.UartSent.clear();
        out.UartSentBlocks.clear();
        return Ok();
    }
    if (sub == "terminal" && words.size() == 2)
    {
        const std::string terminal = m_StatusSource ? m_StatusSource().UartTerminal : "";
        return terminal.empty() ? Error("this board offers no UART terminal") : Ok(terminal);
    }
    std::vector<uint8_t> bytes;
    if (sub == "receive")
    {
        if (words.size() != 3 || !ParseHex(words[2], bytes))
            return Error("usage: uart receive HEXBYTES");
    }
    else if (sub == "receive-text")
    {
        const std::string text = RestAfter(line, 2);
        bytes.assign(text.begin(), text.end());
    }
    else
        return Error("usage: uart [sent|blocks|clear|terminal|receive HEXBYTES|receive-text TEXT]");
    if (out.UartToReceive.size() + bytes.size() > UART_BUFFER_LIMIT)
        return Error("UART receive buffer full");
    out.UartToReceive.insert(out.UartToReceive.end(), bytes.begin(), bytes.end());
    return Ok();
}

std::string TControlInterface::SdCard(const TWords& words)
{
    TSdCard& card = m_Board.Firmware().Inputs().SdCard;
    if (words.size() == 1)
        return Ok("present=" + std::to_string(card.Present ? 1 : 0) +
                  " cid=" + Hex(card.Cid.data(), card.Cid.size()) +
                  " csd=" + Hex(card.Csd.data(), card.Csd.size()) +
                  " fs=" + std::to_string(card.FileSystem) + " flag=" + std::to_string(card.Flag));
    const std::string usage =
        "usage: sd [present 0|1 | card sdhc|sdsc | cid HEX32 | csd HEX32 | fs N | flag N]";
    if (words.size() != 3)
        return Error(usage);
    const std::string& sub = words[1];
    const std::string& arg = words[2];
    uint64_t value = 0;
    if (sub == "present" && ParseUnsigned(arg, 1, value))
        card.Present = value != 0;
    else if (sub == "card" && (arg == "sdhc" || arg == "sdsc"))
    {
        const bool present = card.Present;
        card = arg == "sdhc" ? MakeHighCapacityCard() : MakeStandardCapacityCard();
        card.Present = present;
    }
    else if (sub == "cid" || sub == "csd")
    {
        std::vector<uint8_t> bytes;
        if (!ParseHex(arg, bytes) || bytes.size() != card.Cid.size())
            return Error(sub + " takes exactly 16 bytes in hex, most significant first");
        TSdCard::TRegister& reg = sub == "cid" ? card.Cid : card.Csd;
        std::copy(bytes.begin(), bytes.end(), reg.begin());
    }
    else if (sub == "fs" && ParseUnsigned(arg, 255, value))
        card.FileSystem = static_cast<uint8_t>(value);
    else if (sub == "flag" && ParseUnsigned(arg, 255, value))
        card.Flag = static_cast<uint8_t>(value);
    else
        return Error(usage);
    return Ok();
}

std::string TControlInterface::Adc(const TWords& words)
{
    auto& values = m_Board.Firmware().Inputs().AdcMillivolts;
    if (words.size() == 1)
    {
        std::string text;
        for (uint16_t v : values)
            text += (text.empty() ? "" : " ") + std::to_string(v);
        return Ok(text);
    }
    // "adc raw CH WORD" sets any 16-bit word, past what the converter measures, so that a
    // test can see how the PC shows the whole range.
    const bool raw = words.size() == 4 && words[1] == "raw";
    const size_t first = raw ? 2 : 1;
    uint64_t channel = 0;
    uint64_t millivolts = 0;
    if (words.size() != first + 2 || !ParseUnsigned(words[first], ADC_CHANNEL_COUNT - 1, channel) ||
        !ParseUnsigned(words[first + 1], raw ? UINT16_MAX : ADC_MAX_MILLIVOLTS, millivolts))
        return Error("usage: adc CHANNEL(0..7) MILLIVOLTS(0.." +
                     std::to_string(ADC_MAX_MILLIVOLTS) + ") | adc raw CHANNEL WORD(0..65535)");
    values[channel] = static_cast<uint16_t>(millivolts);
    return Ok();
}

std::string TControlInterface::Hsmc(const TWords& words)
{
    TBoardInputs& in = m_Board.Firmware().Inputs();
    if (words.size() == 1)
        return Ok("a=" + HexWord(in.HsmcA, 8) + " b=" + HexWord(in.HsmcB, 8) +
                  " c=" + HexWord(in.HsmcC, 8) + " d=" + HexWord(in.HsmcD, 8));
    if (words.size() == 2 && words[1] == "pass")
    {
        in.HsmcA = in.HsmcB = in.HsmcC = in.HsmcD = 0;
        in.HsmcAdapter = true;
        return Ok();
    }
    if (words.size() == 2 && words[1] == "unplug")
    {
        in.HsmcAdapter = false;
        return Ok();
    }
    uint64_t w[4] = {};
    if (words.size() != 6 || words[1] != "fail" || !ParseUnsigned(words[2], UINT32_MAX, w[0]) ||
        !ParseUnsigned(words[3], UINT32_MAX, w[1]) || !ParseUnsigned(words[4], UINT32_MAX, w[2]) ||
        !ParseUnsigned(words[5], UINT32_MAX, w[3]))
        return Error("usage: hsmc [pass | fail A B C D | unplug]");
    in.HsmcAdapter = true;
    in.HsmcA = static_cast<uint32_t>(w[0]);
    in.HsmcB = static_cast<uint32_t>(w[1]);
    in.HsmcC = static_cast<uint32_t>(w[2]);
    in.HsmcD = static_cast<uint32_t>(w[3]);
    return Ok();
}

std::string TControlInterface::Memory(const TWords& words)
{
    const std::string usage =
        "usage: mem read|crc TYPE ADDRESS COUNT | mem write TYPE ADDRESS HEXBYTES "
        "| mem stuck TYPE BIT 0|1 [ADDRESS] | mem short TYPE LINE LINE | mem healthy TYPE "
        "(TYPE lpddr2, sram, adc or a number)";
    if (words.size() >= 3 && (words[1] == "stuck" || words[1] == "short" || words[1] == "healthy"))
        return MemoryFault(words, usage);
    uint8_t type = 0;
    uint64_t address = 0;
    if (words.size() != 5 || !ParseMemoryType(words[2], type) ||
        !ParseUnsigned(words[3], UINT32_MAX, address))
        return Error(usage);
    TFirmware& firmware = m_Board.Firmware();
    const std::string& sub = words[1];
    if (sub == "write")
    {
        std::vector<uint8_t> bytes;
        if (!ParseHex(words[4], bytes) || bytes.size() > MAX_MEMORY_LINE)
            return Error("mem write takes at most " + std::to_string(MAX_MEMORY_LINE) +
                         " bytes in hex");
        TSparseMemory* memory = firmware.Memory(type);
        if (memory == nullptr)
            return Error(type == MEM_TYPE_ADC ? "the ADC block is read-only (use adc)"
                                              : "unknown memory type");
        if (!memory->Write(address, bytes.data(), bytes.size()))
            return Error(StatusName(STATUS_OUT_OF_RANGE));
        return Ok();
    }
    uint64_t count = 0;
    if ((sub != "read" && sub != "crc") || !ParseUnsigned(words[4], UINT32_MAX, count))
        return Error(usage);
    if (sub == "read")
    {
        if (count > MAX_MEMORY_LINE)
            return Error("mem read takes at most " + std::to_string(MAX_MEMORY_LINE) + " bytes");
        std::vector<uint8_t> bytes(static_cast<size_t>(count));
        const TStatus status = firmware.ReadMemory(type, address, bytes.data(), bytes.size());
        if (status != STATUS_OK)
            return Error(StatusName(status));
        return Ok(Hex(bytes.data(), bytes.size()));
    }
    const TStatus range = firmware.CheckRange(type, address, count);
    if (range != STATUS_OK)
        return Error(StatusName(range));
    std::vector<uint8_t> chunk(CRC_CHUNK);
    uint32_t crc = 0;
    for (uint64_t done = 0; done < count;)
    {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(CRC_CHUNK, count - done));
        const TStatus status = firmware.ReadMemory(type, address + done, chunk.data(), n);
        if (status != STATUS_OK)
            return Error(StatusName(status));
        crc = Crc32(chunk.data(), n, crc);
        done += n;
    }
    return Ok(HexWord(crc, 8));
}

// Hardware faults of a memory chip, to prove a memory test finds them.
std::string TControlInterface::MemoryFault(const TWords& words, const std::string& usage)
{
    uint8_t type = 0;
    if (!ParseMemoryType(words[2], type))
        return Error(usage);
    TSparseMemory* memory = m_Board.Firmware().Memory(type);
    if (memory == nullptr)
        return Error("only lpddr2 and sram are chips with faults");
    TMemoryFaults& faults = memory->Faults();
    if (words[1] == "healthy" && words.size() == 3)
    {
        faults.Clear();
        return Ok();
    }
    constexpr uint64_t WORD_BITS = 16;
    // Word-address lines: as many as the memory has words' address bits.
    const uint64_t lines = static_cast<uint64_t>(std::bit_width(memory->Size() / 2) - 1);
    uint64_t a = 0;
    uint64_t b = 0;
    uint64_t cell = 0;
    const bool oneCell = words[1] == "stuck" && words.size() == 6;
    if (words.size() != 5 && !oneCell)
        return Error(usage);
    if (words[1] == "stuck" && ParseUnsigned(words[3], WORD_BITS - 1, a) &&
        ParseUnsigned(words[4], 1, b) &&
        (!oneCell || ParseUnsigned(words[5], memory->Size() / 2 - 1, cell)))
    {
        faults.StickBit(static_cast<int>(a), b != 0,
                        oneCell ? std::optional<uint64_t>(cell) : std::nullopt);
        return Ok();
    }
    if (words.size() == 5 && words[1] == "short" && ParseUnsigned(words[3], lines - 1, a) &&
        ParseUnsigned(words[4], lines - 1, b) && a != b)
    {
        faults.ShortLines(static_cast<int>(a), static_cast<int>(b));
        return Ok();
    }
    return Error(usage + "; BIT 0..15, LINE 0.." + std::to_string(lines - 1) +
                 ", ADDRESS a word address below " + HexWord(memory->Size() / 2, 1));
}

std::string TControlInterface::Fault(const std::string& rest)
{
    if (rest == "clear")
    {
        m_Board.Faults().Clear();
        return Ok();
    }
    TFault fault;
    std::string error;
    if (!TLinkFaults::Parse(rest, fault, error))
        return Error(error + " (usage: fault stall|checksum|endmark|code|length|drop [N] | "
                             "fault delay MS [N] | fault junk BYTES [N] | fault clear)");
    m_Board.Faults().Add(fault);
    return Ok();
}

} // namespace vboard
