#pragma once

#include <optional>

// Faults the simulated device puts into an upload. Packets count from 1 in
// the order they arrive, good or bad, repeats included.
struct UploadFaults {
    std::optional<int> nakEvery;    // every K-th packet gets a NAK as if it were damaged
    std::optional<int> dropAck;     // the K-th packet is kept, but its ACK is lost
    std::optional<int> canAt;       // the K-th packet gets CAN: the device cancels
    std::optional<int> silentAfter; // after K packets the device answers nothing more
    bool strayBytes = false;        // bytes of no meaning come before every answer
    int ackDelayMs = 0;             // every answer to a packet comes this late
};
