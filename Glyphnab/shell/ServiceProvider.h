#pragma once

// The copy-text service that other programs reach through the bus: what they hand over
// (file URLs, or a picture or PDF) is read like any other grab and its text copied.

#include <QPointer>

namespace Platform {
class Pasteboard;
}

namespace Glyphnab {

class GlyphnabModel;

class ServiceProvider final {
public:
    // Held weakly: the provider never keeps the model alive. Nothing until launch sets it.
    QPointer<GlyphnabModel> model;

    // Starts the reading with the preferred line handling; false when the model is gone,
    // so that the caller learns nothing was read. GUI thread.
    bool copyText(const Platform::Pasteboard& board) const;
};

}  // namespace Glyphnab
