#include "ZantrelUI/design/SettingsCard.h"

#include "ZantrelUI/design/GlowSwitch.h"
#include "ZantrelUI/design/SectionLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace ZantrelUI {

namespace {

// A hairline across the card, 1 point high.
class Hairline final : public GlassWidget {
public:
    explicit Hairline(QWidget* parent = nullptr) : GlassWidget(parent) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setObjectName(QStringLiteral("zantrel.hairline"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), resolve(Surface::hairline()));
    }
};

QLabel* wrappingLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);  // wrapped lines make the row taller
    label->setSizePolicy(policy);
    label->setWordWrap(true);
    return label;
}

}  // namespace

SettingsCard::SettingsCard(std::optional<QString> title, QWidget* parent)
    : QWidget(parent), card_(new GlassCard(14)) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);
    if (title) {
        heading_ = new SectionLabel(*title);
        auto* headingRow = new QHBoxLayout();
        headingRow->setContentsMargins(4, 0, 0, 0);
        headingRow->addWidget(heading_);
        stack->addLayout(headingRow);
    }
    card_->contentLayout()->setContentsMargins(16, 0, 16, 0);
    stack->addWidget(card_);
}

void SettingsCard::addRow(QWidget* row) {
    QWidget* line = nullptr;
    if (!rows_.empty()) {
        // Between neighbours only, across the card inside its 16-point insets.
        line = new Hairline();
        card_->contentLayout()->addWidget(line);
        card_->contentLayout()->setAlignment(line, Qt::Alignment());
    }
    card_->contentLayout()->addWidget(row);
    rows_.push_back(row);
    hairlines_.push_back(line);
    shown_.push_back(true);
}

void SettingsCard::setRowShown(QWidget* row, bool shown) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i] != row)
            continue;
        shown_[i] = shown;
        row->setVisible(shown);
    }
    placeHairlines();
}

void SettingsCard::placeHairlines() {
    bool anyAbove = false;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (hairlines_[i] != nullptr)
            hairlines_[i]->setVisible(shown_[i] && anyAbove);
        anyAbove = anyAbove || shown_[i];
    }
}

int SettingsCard::separatorCount() const {
    int count = 0;
    for (const QWidget* line : hairlines_)
        if (line != nullptr && !line->isHidden())
            ++count;
    return count;
}

RowTitle::RowTitle(std::optional<QString> title, std::optional<QString> detail, QWidget* parent) : QWidget(parent) {
    ensureGlassAccessibility();
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(2);
    if (title)
        title_ = wrappingLabel(*title, Fonts::label(), this);
    if (detail && !detail->isEmpty())
        detail_ = wrappingLabel(*detail, Fonts::footnote(), this);
    // Spare height goes around the lines, never between them. (Aligning the layout instead
    // would size it by its hint at another width and cut wrapped lines.)
    stack->addStretch(1);
    if (title_)
        stack->addWidget(title_);
    if (detail_)
        stack->addWidget(detail_);
    stack->addStretch(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    recolor();
}

void RowTitle::setDetail(const std::optional<QString>& detail) {
    const bool wanted = detail && !detail->isEmpty();
    if (!wanted) {
        delete detail_;
        detail_ = nullptr;
        return;
    }
    if (detail_ == nullptr) {
        detail_ = wrappingLabel(*detail, Fonts::footnote(), this);
        auto* stack = static_cast<QVBoxLayout*>(layout());
        stack->insertWidget(stack->count() - 1, detail_);
        recolor();
    } else {
        detail_->setText(*detail);
    }
}

void RowTitle::recolor() {
    const ColorScheme s = colorScheme(this);
    for (auto [label, token] : {std::pair{title_, &Ink::primary()}, std::pair{detail_, &Ink::secondary()}}) {
        if (label == nullptr)
            continue;
        QPalette palette = label->palette();
        // Inside a button the label draws with the button's text role.
        palette.setColor(QPalette::WindowText, token->resolve(s));
        palette.setColor(QPalette::ButtonText, token->resolve(s));
        label->setPalette(palette);
    }
}

bool RowTitle::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ParentChange:
    case QEvent::Polish:
    case QEvent::Show:
        recolor();
        break;
    default:
        if (event->type() == EnvironmentChangeEvent::type())
            recolor();
        break;
    }
    return QWidget::event(event);
}

QString RowTitle::combinedText() const {
    QStringList parts;
    if (title_ && !title_->text().isEmpty())
        parts << title_->text();
    if (detail_)
        parts << detail_->text();
    return parts.join(QStringLiteral(", "));
}

QString RowTitle::accessibleText(QAccessible::Text kind) const {
    return kind == QAccessible::Name ? combinedText() : QString();
}

SettingsRow::SettingsRow(std::optional<QString> title, std::optional<QString> detail, QWidget* trailing, QWidget* parent)
    : QWidget(parent), rowTitle_(new RowTitle(std::move(title), std::move(detail))), trailing_(trailing) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 12, 0, 12);
    row->setSpacing(12);
    row->addWidget(rowTitle_, 1);
    if (trailing_)
        row->addWidget(trailing_, 0, Qt::AlignVCenter);
}

SettingsSwitch::SettingsSwitch(std::optional<QString> title, std::optional<QString> detail, bool isOn, QWidget* parent)
    : QWidget(parent), switch_(new GlowSwitch()), rowTitle_(new RowTitle(title, detail)) {
    switch_->setLabelWidget(rowTitle_);
    switch_->setAccessibleLabel(rowTitle_->combinedText());
    switch_->setChecked(isOn);
    auto* row = new QVBoxLayout(this);
    row->setContentsMargins(0, 12, 0, 12);
    row->addWidget(switch_);
    connect(switch_, &QAbstractButton::toggled, this, &SettingsSwitch::toggled);
}

void SettingsSwitch::setDetail(const std::optional<QString>& detail) {
    rowTitle_->setDetail(detail);
    switch_->setAccessibleLabel(rowTitle_->combinedText());
}

bool SettingsSwitch::isOn() const { return switch_->isChecked(); }
void SettingsSwitch::setOn(bool on) { switch_->setChecked(on); }

}  // namespace ZantrelUI
