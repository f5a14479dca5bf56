#include "platform/recognition/DollarFives.h"

#include "platform/recognition/LookAlikes.h"

#include <QRegularExpression>

#include <optional>

namespace Platform::Recognition {
namespace {

// The sign's bar reaches past the digits by a sixth of their height or so on each side; a
// "5" keeps within them but for its round bottom's pixel.
bool keepsWithinDigit(const QRect& sign, const QRect& digit) {
    const double reach = 0.1 * digit.height();
    return sign.top() >= digit.top() - reach && sign.bottom() <= digit.bottom() + reach;
}

}  // namespace

void restoreDollarFives(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes) {
    static const QRegularExpression figure(QStringLiteral("^\\$\\d[\\d.,:/\\-]*%?$"));
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            if (!figure.match(word.text).hasMatch())
                continue;
            const std::optional<std::vector<QRect>> pieces = characterShapes(word, shapes);
            if (pieces && keepsWithinDigit((*pieces)[0], (*pieces)[1]))
                word.text[0] = u'5';
        }
    }
}

}  // namespace Platform::Recognition
