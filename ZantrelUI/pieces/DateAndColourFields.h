#pragma once

// Two small form fields in the glass look: a date (optionally with a time) typed in the
// locale's own format on a rounded plate, and a round colour swatch that opens the shared
// colour panel. All wells share that one panel; the one that opened it last gets its colours.

#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/pieces/Bound.h"

#include <QAbstractButton>
#include <QColor>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QPointer>

#include <functional>
#include <optional>

class QColorDialog;
class QLocale;

namespace ZantrelUI {

// The edit format for a locale: its short date (with a four-digit year, so no century is
// guessed) and, with `time`, its short time of hours and minutes.
QString dateFieldFormat(const QLocale& locale, bool time);

// The platform field inside the plate: no frame, no buttons, no background.
class DateField final : public QDateTimeEdit {
    Q_OBJECT
public:
    DateField(QString title, BoundPtr<QDateTime> selection, std::optional<QDateTime> earliest, bool time,
              QWidget* parent = nullptr);

    // Takes the owner's values again: the format, the earliest date and the date itself
    // (only when it differs, so a date being typed is left alone).
    void update(std::optional<QDateTime> earliest, bool time);
    bool showsTime() const { return time_; }
    // How often the shown date was replaced from the owner's value.
    int refreshes() const { return refreshes_; }

private:
    void pull();

    BoundPtr<QDateTime> selection_;
    std::optional<QDateTime> earliest_;
    bool time_;
    int refreshes_ = 0;
};

class GlassDatePicker final : public GlassWidget {
    Q_OBJECT
public:
    GlassDatePicker(QString title, BoundPtr<QDateTime> selection, std::optional<QDateTime> earliest, bool time,
                    QWidget* parent = nullptr);

    DateField* field() const { return field_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void environmentChanged() override;

private:
    void recolor();

    DateField* field_;
};

// A well's tie to the shared colour panel.
class ColorLink final : public QObject {
    Q_OBJECT
public:
    using Picked = std::function<void(const QColor&)>;

    explicit ColorLink(QObject* parent = nullptr) : QObject(parent) {}
    ~ColorLink() override { close(); }

    // The process's one panel, made on first use and kept.
    static QColorDialog* panel();
    // The link that opened the panel last, if it still exists.
    static ColorLink* current();

    void open(const QColor& color, bool supportsOpacity, Picked picked);
    void close();
    bool isRegistered() const { return bool(token_); }

private:
    void panelChanged(const QColor& color);

    Picked picked_;
    QMetaObject::Connection token_;
    bool opening_ = false;
};

class GlassColorWell final : public QAbstractButton, public AccessibleSource {
    Q_OBJECT
public:
    GlassColorWell(QString title, BoundPtr<QColor> selection, bool supportsOpacity, QWidget* parent = nullptr);

    ColorLink* link() const { return link_; }
    QSize sizeHint() const override { return {26, 26}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

    QAccessible::Role accessibleRole() const override { return QAccessible::Button; }
    QString accessibleText(QAccessible::Text kind) const override;
    QStringList accessibleActions() const override;
    void doAccessibleAction(const QString& action) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    QString title_;
    BoundPtr<QColor> selection_;
    bool supportsOpacity_;
    ColorLink* link_;
};

}  // namespace ZantrelUI
