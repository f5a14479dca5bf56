#pragma once

// The path through the desktop's settings to a permission's switch, one capsule per step
// with a chevron between steps; the last step is the accented one. It keeps its own size.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassAccessibility.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace ZantrelUI {

class PathCrumbs final : public GlassWidget, public AccessibleSource {
    Q_OBJECT
public:
    static constexpr qreal spacing = 6;
    static constexpr qreal padX = 9;
    static constexpr qreal padY = 4;
    static constexpr qreal chevronSize = 9;

    // One step as laid out, in the widget's coordinates (the row starts at x 0).
    struct Crumb {
        QString name;
        QRectF capsule;
        QRectF text;
        std::optional<QRectF> chevron;  // before every crumb but the first
        bool last = false;
    };

    explicit PathCrumbs(QStringList pane, QWidget* parent = nullptr);

    const QStringList& pane() const { return pane_; }
    void setPane(QStringList pane);

    // The row for `pane`, vertically centred in `height` (its own height when none).
    static std::vector<Crumb> layout(const QStringList& pane, std::optional<qreal> height = std::nullopt);
    static QFont nameFont(bool last);
    static QSizeF idealSize(const QStringList& pane);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // One element for assistive technology: the names joined by ", ".
    QAccessible::Role accessibleRole() const override { return QAccessible::StaticText; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList pane_;
};

}  // namespace ZantrelUI
