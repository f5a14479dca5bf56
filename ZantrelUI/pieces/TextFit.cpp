#include "ZantrelUI/pieces/TextFit.h"

#include <QFontMetricsF>
#include <QTextLayout>

#include <cmath>

namespace ZantrelUI::TextFit {

QStringList lines(const QString& text, const QFont& font, qreal width, int maxLines) {
    QStringList result;
    if (text.isEmpty())
        return result;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    const qreal room = std::max<qreal>(width, 1);
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(room);
        if (maxLines > 0 && result.size() == maxLines - 1) {
            // The last line holds the rest, cut at the end.
            const QString rest = text.mid(line.textStart()).simplified();
            result << QFontMetricsF(font).elidedText(rest, Qt::ElideRight, room);
            break;
        }
        result << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return result;
}

qreal height(const QString& text, const QFont& font, qreal width, int maxLines) {
    const qsizetype count = std::max<qsizetype>(lines(text, font, width, maxLines).size(), 1);
    return std::ceil(QFontMetricsF(font).lineSpacing() * static_cast<qreal>(count));
}

}  // namespace ZantrelUI::TextFit
