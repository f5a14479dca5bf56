#include "ZantrelUI/design/SectionLabel.h"

#include "ZantrelUI/design/Tokens.h"

#include <QPainter>

#include <cmath>

namespace ZantrelUI {

SectionLabel::SectionLabel(QString text, QWidget* parent) : GlassWidget(parent), text_(std::move(text)) {
    ensureGlassAccessibility();
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QFont SectionLabel::font() const {
    QFont f = Fonts::caption();
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    return f;
}

QSize SectionLabel::sizeHint() const {
    const QFontMetricsF metrics(font());
    return QSize(static_cast<int>(std::ceil(metrics.horizontalAdvance(shownText()))),
                 static_cast<int>(std::ceil(metrics.height())));
}

void SectionLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(resolve(Ink::tertiary()));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownText());
}

QString SectionLabel::accessibleText(QAccessible::Text kind) const {
    return kind == QAccessible::Name ? text_ : QString();
}

}  // namespace ZantrelUI
