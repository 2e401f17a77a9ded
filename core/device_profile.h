#pragma once

#include <cstdint>

enum class ProtocolVariant : uint8_t {
    PageBlock = 0,  // 99-record model: whole pages, 16-bit block counter
    ShortBlock = 1, // 32-record model: 128-byte blocks, 8-bit block number
};

enum class DeviceModel { Records32, Records99 };

// The model parameters that accounting, image building, detection and the
// upload read. The window owns exactly one.
struct DeviceProfile {
    int32_t pageSize = 0;      // bytes per flash page
    int32_t pageCount = 0;     // flash pages
    int32_t reservedPages = 0; // pages at the start of flash that recordings may not use
    int32_t maxRecords = 0;
    int32_t maxVolume = 0;     // always (pageCount - reservedPages) * pageSize
    int32_t blockSize = 0;     // payload bytes of one upload packet
    ProtocolVariant protocol = ProtocolVariant::ShortBlock;

    bool operator==(const DeviceProfile &) const = default;
};

int32_t maxVolumeOf(int32_t pageCount, int32_t reservedPages, int32_t pageSize);

// The fixed profile a model button installs.
DeviceProfile fixedProfile(DeviceModel model);

// The 32-record profile with no block size yet: what the program starts with,
// before any model is chosen or recognised.
DeviceProfile startupProfile();

// Line speed set on the open port for a model.
int32_t lineSpeedOf(DeviceModel model);
