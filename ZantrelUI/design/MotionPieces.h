#pragma once

// Animated view pieces: a number that rolls to its new value, a staggered entrance, a hover
// lift, a pop on change, a shared-frame grow, and a round status symbol with six faces.
// Each has a reduced form.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/Motion.h"

#include <QPointer>
#include <QVariant>

#include <map>

namespace ZantrelUI {

class CheckDraw;
class TurningRing;

// The number's characters that change roll out upwards (downwards for a smaller value) as
// the new ones roll in; under reduced motion the text is swapped at once.
class RollingNumber final : public GlassWidget {
    Q_OBJECT
public:
    RollingNumber(double value, QString text, QFont font, QWidget* parent = nullptr);

    void setValue(double value, const QString& text);
    double value() const { return value_; }
    const QString& text() const { return text_; }
    const AnimatedValue& roll() const { return *roll_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double value_;
    QString text_;
    QString previous_;
    bool rising_ = true;
    QFont font_;
    AnimatedValue* roll_;
};

// Fades its content in while it rises 8 points, index × 0.03 s after it first shows (at most
// 0.18 s); offscreen the content shows at once.
class Arrive final : public GlassWidget {
    Q_OBJECT
public:
    Arrive(QWidget* content, int index, QWidget* parent = nullptr);

    bool shown() const { return shown_; }
    double delay() const;
    const AnimatedValue& entrance() const { return *entrance_; }
    double contentOpacity() const;
    double contentOffset() const;

protected:
    void showEvent(QShowEvent* event) override;
    void environmentChanged() override;

private:
    void apply();
    QWidget* content_;
    int index_;
    bool shown_ = false;
    bool reduced_ = false;
    AnimatedValue* entrance_;
};

// A faint highlight under the pointer; with full motion also a 2 % lift and a soft shadow.
class HoverLift final : public GlassWidget {
    Q_OBJECT
public:
    HoverLift(QWidget* content, qreal radius, QWidget* parent = nullptr);

    bool hovering() const { return hovering_; }
    void setHovering(bool hovering);
    double highlightOpacity() const;
    double liftScale() const;
    double shadowOpacity() const;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void apply();
    QWidget* content_;
    qreal radius_;
    bool hovering_ = false;
    AnimatedValue* hover_;
    QWidget* overlay_;
};

// Springs its content to `scale` and back whenever the trigger changes.
class Bump final : public GlassWidget {
    Q_OBJECT
public:
    Bump(QWidget* content, QVariant trigger, qreal scale, QWidget* parent = nullptr);

    void setTrigger(const QVariant& trigger);
    bool isBumping() const;

private:
    QWidget* content_;
    QVariant trigger_;
    qreal scale_;
};

// Frames shared by id within one space: a Grows that appears where another with its id was
// grows from that frame into its own.
class GrowSpace final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    std::optional<QRectF> frame(const QVariant& id) const;
    void record(const QVariant& id, const QRectF& frame);

private:
    std::map<QString, QRectF> frames_;
};

class Grows final : public GlassWidget {
    Q_OBJECT
public:
    Grows(QWidget* content, QVariant id, GrowSpace* space, bool isSource, QWidget* parent = nullptr);

    bool isGrowing() const;

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRectF frameInWindow() const;
    QWidget* content_;
    QVariant id_;
    QPointer<GrowSpace> space_;
    bool isSource_;
};

struct StateFace {
    enum class Kind { found, waiting, working, done, needsAction, off };
    Kind kind = Kind::waiting;
    int count = 0;  // for `found`

    static StateFace found(int n) { return {Kind::found, n}; }
    static StateFace of(Kind kind) { return {kind, 0}; }

    friend bool operator==(const StateFace& a, const StateFace& b) {
        return a.kind == b.kind && (a.kind != Kind::found || a.count == b.count);
    }
};

class StateSymbol final : public GlassWidget {
    Q_OBJECT
public:
    StateSymbol(StateFace face, qreal size, double turnsFor, QWidget* parent = nullptr);

    const StateFace& face() const { return face_; }
    void setFace(const StateFace& face);
    bool drawDone() const { return drawDone_; }
    // The line width of the faces: max(size / 12, 1.5).
    qreal lineWidth() const;
    // The point size of the number of a `found` face.
    qreal numberSize() const;
    CheckDraw* check() const { return check_; }
    TurningRing* ring() const { return ring_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void environmentChanged() override;

private:
    void rebuild();
    void paintFace(QPainter& painter, const StateFace& face);

    StateFace face_;
    StateFace previous_;
    qreal size_;
    double turnsFor_;
    bool drawDone_ = false;
    AnimatedValue* change_;
    QPointer<CheckDraw> check_;
    QPointer<TurningRing> ring_;
};

}  // namespace ZantrelUI
