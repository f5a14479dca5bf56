#pragma once

// The card row for one suggested item: a tick box or a symbol, the title with an optional
// size that rolls when it changes, the reason, an optional detail and busy line, and an
// optional open button. Every text but the size comes from the caller.

#include "ZantrelKit/TickState.h"
#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/context/Environment.h"

#include <cstdint>
#include <functional>
#include <optional>

class QLabel;

namespace ZantrelUI {

class PillButton;
class PulseDot;
class RollingNumber;
class TickBox;

class SuggestionCard final : public GlassWidget, public AccessibleSource {
    Q_OBJECT
public:
    struct Tick {
        ZantrelKit::TickState state = ZantrelKit::TickState::off;
        bool enabled = true;
        std::optional<QString> label;
        std::function<void()> toggle;
    };

    struct Content {
        QString title;
        std::optional<std::int64_t> size;
        QString reason;
        std::optional<QString> detail;
        QString symbol;
        std::optional<QString> busy;
        std::optional<QString> openTitle;
        bool chevron = false;
        std::optional<Tick> tick;
        std::function<void()> open;
    };

    explicit SuggestionCard(Content content, QWidget* parent = nullptr);

    // The owner's rebuild when its state changes; a size shown before and after rolls from
    // the old number to the new one (at once under reduced motion).
    void setContent(Content content);

    // "<title>, <size text>. <reason>", or "<title>. <reason>" without a size.
    static QString accessibleLabel(const QString& title, std::optional<std::int64_t> size, const QString& reason);

    const Content& content() const { return content_; }
    TickBox* tickBox() const { return tickBox_; }
    // The leading symbol; none while a tick box leads.
    QWidget* symbolView() const { return symbol_; }
    RollingNumber* sizeView() const { return size_; }
    QLabel* detailLabel() const { return detail_; }
    QWidget* busyRow() const { return busyRow_; }
    PillButton* openButton() const { return open_; }

    QAccessible::Role accessibleRole() const override { return QAccessible::Grouping; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void build(RollingNumber* keptSize);

    Content content_;
    QWidget* body_ = nullptr;
    TickBox* tickBox_ = nullptr;
    QWidget* symbol_ = nullptr;
    RollingNumber* size_ = nullptr;
    QLabel* detail_ = nullptr;
    QWidget* busyRow_ = nullptr;
    PillButton* open_ = nullptr;
};

}  // namespace ZantrelUI
