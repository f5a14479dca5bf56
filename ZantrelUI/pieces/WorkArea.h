#pragma once

// The batch-work windows' sidebar: a narrow column of square tiles, one per work area, with
// its symbol, title, an optional count and, while the area works, a small bar under the
// symbol. A click or Ctrl+1 … Ctrl+9 selects an area.

#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/Motion.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/pieces/Bound.h"
#include "platform/async/MainThread.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <QVBoxLayout>

#include <functional>
#include <optional>
#include <vector>

namespace ZantrelUI {

class Bump;
class FlowDashes;
class RollingNumber;

struct AreaBusy {
    enum class Kind { fraction, unknown };
    Kind kind = Kind::unknown;
    double value = 0;  // share done, for `fraction`

    static AreaBusy fraction(double value) { return {Kind::fraction, value}; }
    static AreaBusy unknown() { return {Kind::unknown, 0}; }

    friend bool operator==(const AreaBusy& a, const AreaBusy& b) {
        return a.kind == b.kind && (a.kind == Kind::unknown || a.value == b.value);
    }
};

template <class Id>
struct FlowArea {
    Id id;
    QString title;
    QString symbol;
    std::optional<AreaBusy> busy;
    std::optional<int> count;
    QString countSpoken;
    int bumps = 0;
};

namespace AreaSidebarText {
// "" idle; the working text; or the percentage done, rounded half away from zero.
QString spoken(const std::optional<AreaBusy>& busy);
// The tile's spoken value: the busy text and the spoken count (while the count shows).
QString value(const std::optional<AreaBusy>& busy, std::optional<int> count, const QString& countSpoken);
// The width of the progress bar of a 24-point track: never under 3, never over 24.
qreal barWidth(double fraction);
}  // namespace AreaSidebarText

// One tile: the 40 × 32 face, its title and count; a button that selects its area.
class AreaTile final : public QAbstractButton, public AccessibleSource {
    Q_OBJECT
public:
    struct Face {
        QString title;
        QString symbol;
        std::optional<AreaBusy> busy;
        std::optional<int> count;
        QString countSpoken;
        int bumps = 0;
    };

    explicit AreaTile(Face face, QWidget* parent = nullptr);

    const Face& face() const { return face_; }
    void setFace(Face face);
    bool isSelected() const { return selected_; }
    // `animated`: the selection moved by the user, with the snappy spring (or its reduced ease).
    void setSelected(bool selected, bool animated);

    // Frames of the face in the ancestor named `space` go to `report` as they change.
    void reportFrames(const QString& space, std::function<void(const QRectF&)> report);

    QWidget* faceView() const { return faceView_; }
    Bump* bump() const { return bump_; }
    RollingNumber* countView() const { return count_; }
    FlowDashes* dashes() const { return dashes_; }
    const AnimatedValue& lit() const { return *lit_; }
    const AnimatedValue& lift() const { return *lift_; }
    const AnimatedValue& bar() const { return *bar_; }
    // The bar's fill width now (0 while idle or unknown); a new share of the work moves it
    // there with the tile's spring.
    qreal barWidth() const;

    QAccessible::Role accessibleRole() const override { return QAccessible::Button; }
    QString accessibleText(QAccessible::Text kind) const override;
    void addAccessibleState(QAccessible::State& state) const override;
    QStringList accessibleActions() const override;
    void doAccessibleAction(const QString& action) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class AreaTileFace;
    void sync();
    void report();

    Face face_;
    bool selected_ = false;
    QWidget* faceView_;
    Bump* bump_;
    QWidget* title_;
    RollingNumber* count_ = nullptr;
    FlowDashes* dashes_ = nullptr;
    bool dashesSelected_ = false;
    AnimatedValue* lit_;
    AnimatedValue* lift_;
    AnimatedValue* bar_;  // the bar's fill width
    QString space_;
    std::function<void(const QRectF&)> report_;
    std::optional<QRectF> reported_;
};

// The column itself, generic over the areas' identifier.
template <class Id>
class AreaSidebar final : public GlassWidget {
public:
    static constexpr int columnWidth = 72;  // named apart from QWidget::width()
    static constexpr QSize tileSize{40, 32};

    AreaSidebar(std::vector<FlowArea<Id>> areas, BoundPtr<Id> selection, std::optional<QString> dockSpace = {},
                std::function<void(const Id&, const QRectF&)> tileFrame = {}, QWidget* parent = nullptr)
        : GlassWidget(parent), selection_(std::move(selection)), dockSpace_(std::move(dockSpace)),
          tileFrame_(std::move(tileFrame)) {
        setFixedWidth(columnWidth);
        column_ = new QVBoxLayout(this);
        column_->setContentsMargins(4, 8, 4, 8);
        column_->setSpacing(4);
        column_->addStretch(1);
        selection_->watch(this, [this] { select(true); });
        setAreas(std::move(areas));
    }

    static QString spoken(const std::optional<AreaBusy>& busy) { return AreaSidebarText::spoken(busy); }

    // New values for the tiles: the same areas are updated in place (a raised `bumps`
    // makes a tile pop), a different set of areas is laid out afresh.
    void setAreas(std::vector<FlowArea<Id>> areas) {
        bool sameIds = areas.size() == areas_.size();
        for (std::size_t i = 0; sameIds && i < areas.size(); ++i)
            sameIds = areas[i].id == areas_[i].id;
        areas_ = std::move(areas);
        if (!sameIds)
            rebuild();
        for (std::size_t i = 0; i < areas_.size(); ++i)
            tiles_[i]->setFace(faceOf(areas_[i]));
        select(false);
    }

    const std::vector<FlowArea<Id>>& areas() const { return areas_; }
    AreaTile* tileAt(std::size_t i) const { return i < tiles_.size() ? tiles_[i].data() : nullptr; }
    // The Ctrl+digit shortcut of the tile at `i`, if it has one.
    QShortcut* shortcutAt(std::size_t i) const { return i < shortcuts_.size() ? shortcuts_[i].data() : nullptr; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QColor fill = resolve(Surface::faintFill());
        fill.setAlphaF(fill.alphaF() * 0.5f);
        painter.fillRect(rect(), fill);
        painter.fillRect(QRectF(width() - 1, 0, 1, height()), resolve(Surface::hairline()));
    }

private:
    static AreaTile::Face faceOf(const FlowArea<Id>& area) {
        return {area.title, area.symbol, area.busy, area.count, area.countSpoken, area.bumps};
    }

    void rebuild() {
        for (auto& shortcut : shortcuts_)
            delete shortcut.data();
        for (auto& t : tiles_)
            delete t.data();
        tiles_.clear();
        shortcuts_.clear();
        for (std::size_t i = 0; i < areas_.size(); ++i) {
            auto* t = new AreaTile(faceOf(areas_[i]), this);
            column_->insertWidget(static_cast<int>(i), t, 0, Qt::AlignHCenter | Qt::AlignTop);
            const Id id = areas_[i].id;
            QObject::connect(t, &QAbstractButton::clicked, this, [this, id] {
                Platform::assertMain();
                selection_->set(id);
            });
            if (dockSpace_ && tileFrame_)
                t->reportFrames(*dockSpace_, [this, id](const QRectF& frame) { tileFrame_(id, frame); });
            tiles_.push_back(t);
            if (i < 9) {
                // Ctrl+1 … Ctrl+9 act exactly like a click; the tenth area on answers only to clicks.
                auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + int(i))), this);
                shortcut->setContext(Qt::WindowShortcut);
                QObject::connect(shortcut, &QShortcut::activated, t, &QAbstractButton::click);
                shortcuts_.push_back(shortcut);
            }
        }
    }

    void select(bool animated) {
        for (std::size_t i = 0; i < areas_.size(); ++i)
            tiles_[i]->setSelected(areas_[i].id == selection_->get(), animated);
    }

    std::vector<FlowArea<Id>> areas_;
    BoundPtr<Id> selection_;
    std::optional<QString> dockSpace_;
    std::function<void(const Id&, const QRectF&)> tileFrame_;
    QVBoxLayout* column_;
    std::vector<QPointer<AreaTile>> tiles_;
    std::vector<QPointer<QShortcut>> shortcuts_;
};

}  // namespace ZantrelUI
