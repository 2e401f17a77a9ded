#include "core/device_profile.h"

#include "core/wrap32.h"

int32_t maxVolumeOf(int32_t pageCount, int32_t reservedPages, int32_t pageSize)
{
    return wrap32(int64_t{wrap32(int64_t{pageCount} - reservedPages)} * pageSize);
}

DeviceProfile fixedProfile(DeviceModel model)
{
    DeviceProfile p;
    if (model == DeviceModel::Records32) {
        p.pageSize = 528;
        p.pageCount = 8192;
        p.reservedPages = 10;
        p.maxRecords = 32;
        p.blockSize = 128;
        p.protocol = ProtocolVariant::ShortBlock;
    } else {
        p.pageSize = 1056;
        p.pageCount = 8192;
        p.reservedPages = 5;
        p.maxRecords = 99;
        p.blockSize = 1056;
        p.protocol = ProtocolVariant::PageBlock;
    }
    p.maxVolume = maxVolumeOf(p.pageCount, p.reservedPages, p.pageSize);
    return p;
}

DeviceProfile startupProfile()
{
    DeviceProfile p = fixedProfile(DeviceModel::Records32);
    p.blockSize = 0;
    return p;
}

int32_t lineSpeedOf(DeviceModel model)
{
    return model == DeviceModel::Records32 ? 115200 : 230400;
}
