#include "virtualboard/FpgaImage.h"

#include "virtualboard/Crc32.h"

#include <QtEndian>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace vboard
{

namespace
{

constexpr char IMAGE_MAGIC[8] = {'H', 'X', '9', '-', 'S', 'O', 'F', '\n'};
constexpr uint32_t IMAGE_FORMAT_VERSION = 1;
constexpr size_t DESIGN_NAME_FIELD = 32;
constexpr size_t HEADER_LEN = sizeof(IMAGE_MAGIC) + 4 + DESIGN_NAME_FIELD + 4;
constexpr size_t CRC_LEN = 4;
constexpr uint32_t BITSTREAM_LEN = 96 * 1024;

// Numbers in the image are 32-bit little-endian, as on the wire.
void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    uint8_t bytes[sizeof value];
    qToLittleEndian(value, bytes);
    out.insert(out.end(), bytes, bytes + sizeof value);
}

uint32_t Get32(const uint8_t* p)
{
    return qFromLittleEndian<uint32_t>(p);
}

} // namespace

std::vector<uint8_t> MakeHx9Image()
{
    std::vector<uint8_t> image(IMAGE_MAGIC, IMAGE_MAGIC + sizeof(IMAGE_MAGIC));
    Put32(image, IMAGE_FORMAT_VERSION);
    char name[DESIGN_NAME_FIELD] = {};
    std::strncpy(name, HX9_DESIGN_NAME, DESIGN_NAME_FIELD - 1);
    image.insert(image.end(), name, name + DESIGN_NAME_FIELD);
    Put32(image, BITSTREAM_LEN);
    // A fixed pseudo-random bitstream, so the file is the same on every build.
    uint32_t state = 0x48583921;
    for (uint32_t i = 0; i < BITSTREAM_LEN; ++i)
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        image.push_back(static_cast<uint8_t>(state >> 24));
    }
    Put32(image, Crc32(image.data(), image.size()));
    return image;
}

bool CheckHx9Image(const std::vector<uint8_t>& bytes, std::string& reason)
{
    if (bytes.size() < HEADER_LEN + CRC_LEN ||
        std::memcmp(bytes.data(), IMAGE_MAGIC, sizeof(IMAGE_MAGIC)) != 0)
    {
        reason = "not an FPGA image of this board";
        return false;
    }
    const uint32_t version = Get32(bytes.data() + sizeof(IMAGE_MAGIC));
    if (version != IMAGE_FORMAT_VERSION)
    {
        reason = "unknown image format version " + std::to_string(version);
        return false;
    }
    const char* nameField = reinterpret_cast<const char*>(bytes.data() + sizeof(IMAGE_MAGIC) + 4);
    const std::string name(nameField, strnlen(nameField, DESIGN_NAME_FIELD));
    if (name != HX9_DESIGN_NAME)
    {
        reason = "image of another design ('" + name + "'), not " + HX9_DESIGN_NAME;
        return false;
    }
    const uint64_t length = Get32(bytes.data() + HEADER_LEN - 4);
    if (HEADER_LEN + length + CRC_LEN != bytes.size())
    {
        reason = "image is truncated or has extra bytes";
        return false;
    }
    const size_t crcAt = bytes.size() - CRC_LEN;
    if (Crc32(bytes.data(), crcAt) != Get32(bytes.data() + crcAt))
    {
        reason = "image is damaged (checksum mismatch)";
        return false;
    }
    return true;
}

bool ReadFileBytes(const std::string& path, size_t limit, std::vector<uint8_t>& bytes,
                   std::string& error)
{
    struct stat info
    {
    };
    if (stat(path.c_str(), &info) != 0)
    {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode))
    {
        error = "cannot read '" + path + "': not a regular file";
        return false;
    }
    if (static_cast<uint64_t>(info.st_size) > limit)
    {
        error = "cannot read '" + path + "': file too large";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return false;
    }
    bytes.assign(static_cast<size_t>(info.st_size), 0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size()))
    {
        error = "cannot read '" + path + "': short read";
        return false;
    }
    return true;
}

bool LoadHx9Image(const std::string& path, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, IMAGE_FILE_LIMIT, bytes, error))
        return false;
    std::string reason;
    if (!CheckHx9Image(bytes, reason))
    {
        error = "'" + path + "' is not the HX9 image: " + reason;
        return false;
    }
    return true;
}

} // namespace vboard
