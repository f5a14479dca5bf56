#pragma once

// The building blocks of a glass settings page: a card (optionally titled) whose rows are
// separated by hairlines, a row title with a detail line, a row with a control at its end,
// and a row with a switch. Texts are shown as given.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/GlassAccessibility.h"

#include <QWidget>

#include <optional>

class QLabel;
class QVBoxLayout;

namespace ZantrelUI {

class GlowSwitch;
class SectionLabel;

class SettingsCard final : public QWidget {
    Q_OBJECT
public:
    explicit SettingsCard(std::optional<QString> title = std::nullopt, QWidget* parent = nullptr);

    // Appends a child; every child but the first is preceded by a hairline.
    void addRow(QWidget* row);
    // Shows or hides a row with the hairline above it; hiding the first row also hides
    // the hairline of the next shown row.
    void setRowShown(QWidget* row, bool shown);
    int rowCount() const { return static_cast<int>(rows_.size()); }
    // The hairlines drawn now.
    int separatorCount() const;
    SectionLabel* heading() const { return heading_; }
    GlassCard* card() const { return card_; }

private:
    SectionLabel* heading_ = nullptr;
    GlassCard* card_;
    void placeHairlines();

    std::vector<QWidget*> rows_;
    std::vector<QWidget*> hairlines_;  // hairlines_[i] sits above rows_[i]; none above the first
    std::vector<bool> shown_;
};

// A title (13 semibold, primary) over a detail line (11.5, secondary); both wrap. An
// absent title draws no line; an absent or empty detail draws none.
class RowTitle final : public QWidget, public AccessibleSource {
    Q_OBJECT
public:
    RowTitle(std::optional<QString> title, std::optional<QString> detail, QWidget* parent = nullptr);

    QLabel* titleLabel() const { return title_; }
    QLabel* detailLabel() const { return detail_; }
    // Replaces the detail line; an absent or empty one removes it.
    void setDetail(const std::optional<QString>& detail);
    // What assistive technology reads: the title and the detail as one element.
    QString combinedText() const;

    QAccessible::Role accessibleRole() const override { return QAccessible::StaticText; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    bool event(QEvent* event) override;

private:
    void recolor();

    QLabel* title_ = nullptr;
    QLabel* detail_ = nullptr;
};

class SettingsRow final : public QWidget {
    Q_OBJECT
public:
    SettingsRow(std::optional<QString> title, std::optional<QString> detail, QWidget* trailing,
                QWidget* parent = nullptr);

    RowTitle* rowTitle() const { return rowTitle_; }
    QWidget* trailing() const { return trailing_; }

private:
    RowTitle* rowTitle_;
    QWidget* trailing_;
};

class SettingsSwitch final : public QWidget {
    Q_OBJECT
public:
    SettingsSwitch(std::optional<QString> title, std::optional<QString> detail, bool isOn, QWidget* parent = nullptr);

    GlowSwitch* toggle() const { return switch_; }
    RowTitle* rowTitle() const { return rowTitle_; }
    // Replaces the detail line (and what assistive technology reads).
    void setDetail(const std::optional<QString>& detail);
    bool isOn() const;
    void setOn(bool on);

Q_SIGNALS:
    void toggled(bool on);

private:
    GlowSwitch* switch_;
    RowTitle* rowTitle_;
};

}  // namespace ZantrelUI
