// Recognized pieces in any number, place and text, laid out and rendered in both line
// modes: no crash, no endless loop, and the text holds no piece that was not given.

#include "text/LineMode.h"
#include "text/TextLayout.h"
#include "text/TextPiece.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    double coordinate() {
        const std::uint8_t kind = byte();
        // Now and then a value no recognizer should give, but one might.
        if (kind == 0xff) {
            static const double odd[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                                         -std::numeric_limits<double>::infinity(), 1e300, -1e300, -0.0};
            return odd[byte() % std::size(odd)];
        }
        const auto raw = static_cast<std::int16_t>(byte() | (byte() << 8));
        return raw / 4.0;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Letters, digits, list marks, code signs, spaces and a few wide characters.
const char16_t alphabet[] = u"aZ0 9.-•*·1)([]{};=\t ÄßЖ中\u00a0\u200b";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    QList<ZantrelText::TextPiece> pieces;
    while (!in.empty() && pieces.size() < 400) {
        ZantrelText::TextPiece piece;
        const double x = in.coordinate(), y = in.coordinate(), width = in.coordinate(), height = in.coordinate();
        piece.box = QRectF(x, y, width, height);
        const int length = in.byte() % 24;
        for (int i = 0; i < length; ++i)
            piece.text.append(QChar(alphabet[in.byte() % (std::size(alphabet) - 1)]));
        pieces.append(piece);
    }
    const ZantrelText::TextLayout layout(pieces);
    for (const ZantrelText::LineMode mode : ZantrelText::allLineModes) {
        const QString text = layout.text(mode);
        // Code lines are indented at most 4096 columns; anything longer is text out of
        // nothing.
        if (text.size() > (4096 + 64) * 2 * (pieces.size() + 1))
            std::abort();
    }
    for (const ZantrelText::TextLayout::Block& block : layout.blocks) {
        (void)block.paragraph();
        (void)block.lines();
    }
    return 0;
}
