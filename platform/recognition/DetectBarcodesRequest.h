#pragma once

// The barcode request: zxing-cpp on a picture, every symbology it reads, dark codes on
// a light ground and light codes on a dark one.

#include "platform/recognition/Observations.h"

#include <QImage>

#include <stop_token>
#include <vector>

namespace Platform::Recognition {

struct DetectBarcodesRequest {
    using Result = std::vector<BarcodeObservation>;

    // The reader needs no loaded state: every device is the CPU.
    ComputeStageDevices supportedComputeStageDevices() const;
    void setComputeDevice(ComputeDevice device, ComputeStage stage);

    // Blocking; call it off the GUI thread. Throws CancellationError when the stop was
    // requested.
    Result perform(const QImage& picture, std::stop_token stop = {}) const;

    friend bool operator==(const DetectBarcodesRequest&, const DetectBarcodesRequest&) = default;
};

}  // namespace Platform::Recognition
