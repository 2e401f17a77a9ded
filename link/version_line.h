#pragma once

#include "core/device_profile.h"
#include "link/transfer_packet.h"

#include <cstdint>
#include <limits>
#include <string_view>

// The version line of the 99-record model, "V%*d.%*d, B%d, S%d, R%d": its
// firmware version, then the page count, page size and max records.
inline constexpr const char *kVersionLineFormat = "V%*d.%*d, B%d, S%d, R%d";

// Pages at the start of flash that a device of the version line reserves.
inline constexpr int32_t kVersionLineReservedPages = 5;

// The values a version line may bring. An upload packet holds one page plus
// 4 bytes in a buffer of 2000; the image's directory page holds 131 entries;
// the page count leaves pages after the reserved ones and keeps
// (pages - reserved) x page size within 32 bits for every page size allowed.
inline constexpr int32_t kLargestPageSize = kMaxBlockSize;
inline constexpr int32_t kLargestMaxRecords = 131;
inline constexpr int32_t kSmallestPageCount = kVersionLineReservedPages + 1;
inline constexpr int32_t kLargestPageCount =
    kVersionLineReservedPages + std::numeric_limits<int32_t>::max() / kLargestPageSize;

// Reads text as formatted input with kVersionLineFormat: the text must begin
// with "V"; each number skips white space and reads an optional sign and
// digits; the point and the commas match exactly; a blank matches any run of
// white space, also none. Each of B, S and R goes into the profile (page
// count, page size, max records) the moment it is read. A number outside the
// values above stops the reading like a mismatch and is not stored, so the
// profile never takes a value the program cannot work with. Returns how many
// of the three were stored.
int readVersionLine(std::string_view text, DeviceProfile &profile);
