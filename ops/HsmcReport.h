#pragma once

#include <QString>
#include <array>
#include <cstdint>

// Texts of the HSMC loopback panel, shared with hx9ctl.
inline constexpr const char* HSMC_TESTING_TEXT = "HSMC Loopback Testing...";
inline constexpr const char* HSMC_FAILED_TEXT = "Failed to perform HSMC test";
inline constexpr const char* HSMC_PASS_TEXT = "HSMC Loopback Test: PASS";
inline constexpr const char* HSMC_NG_TEXT = "HSMC Loopback Test: NG";
inline constexpr const char* HSMC_RESULT_PASS = "PASS";
inline constexpr const char* HSMC_RESULT_NG = "NG";

inline constexpr int HSMC_IO_BITS = 41;
inline constexpr int HSMC_XCVR_REPORTED_BITS = 4;

// First connector pin of the pair that each IO error bit stands for.
inline constexpr std::array<int, HSMC_IO_BITS> HsmcPinTable = {
    39,  41,  43,  47,  53,  59,  65,  71,  77,  83,  89,  49,  55,  61,
    67,  73,  79,  85,  91,  97,  99,  101, 107, 113, 119, 125, 131, 137,
    143, 149, 103, 109, 115, 121, 127, 133, 139, 145, 151, 157, 159,
};

/// The NG report shown in the information box: "HSMC Test:NG", then the transceiver and IO
/// pin lines in bit order, each line ended by "\r\n". Meant for masks that are not both 0.
QString HsmcReportText(uint64_t ioErrorMask, uint32_t xcvrErrorMask);
