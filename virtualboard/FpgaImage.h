#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The HX9 image: the only configuration the virtual FPGA accepts. Its layout:
//   8  magic "HX9-SOF\n"
//   4  format version (little-endian)
//   32 design name, NUL-padded ("HX9_ControlPanel")
//   4  bitstream length L
//   L  bitstream
//   4  CRC-32 of everything before it
namespace vboard
{

constexpr const char* HX9_IMAGE_FILE_NAME = "HX9_ControlPanel.sof";
constexpr const char* HX9_DESIGN_NAME = "HX9_ControlPanel";
// Far above the real image; keeps a wrong file from being read whole.
constexpr size_t IMAGE_FILE_LIMIT = 64 * 1024 * 1024;

/// The image bytes the build writes to the program folder.
std::vector<uint8_t> MakeHx9Image();

/// True when bytes are the HX9 image; otherwise reason says what is wrong with them.
bool CheckHx9Image(const std::vector<uint8_t>& bytes, std::string& reason);

/// Reads a whole file of at most limit bytes; false with "cannot read 'path': why".
bool ReadFileBytes(const std::string& path, size_t limit, std::vector<uint8_t>& bytes,
                   std::string& error);

/// Reads path and checks it is the HX9 image; false with a one-line reason.
bool LoadHx9Image(const std::string& path, std::string& error);

} // namespace vboard
