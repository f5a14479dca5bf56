#pragma once

// After an action that can be taken back: a short line at the bottom of the content with
// an arrow, a sentence and Undo. It announces itself, answers Ctrl+Z when asked to, and
// goes away by itself after six seconds or the moment it is used.

#include "ZantrelUI/design/MotionClock.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/pieces/Bound.h"

#include <QPointer>
#include <QUuid>

#include <functional>
#include <optional>

class QLabel;
class QShortcut;

namespace ZantrelUI {

class PillButton;

struct UndoNote {
    static constexpr double lifetime = 6;

    QUuid id;
    QString text;
    std::function<void()> undo;

    UndoNote(QString text, std::function<void()> undo);

    friend bool operator==(const UndoNote& a, const UndoNote& b) { return a.id == b.id; }
};

using PendingUndo = BoundPtr<std::optional<UndoNote>>;

// One timer on the kit's motion clock; scheduling again replaces the one before.
class OneShot final : public QObject {
    Q_OBJECT
public:
    explicit OneShot(QObject* parent = nullptr) : QObject(parent) {}
    ~OneShot() override { cancel(); }

    void schedule(double seconds, std::function<void()> action);
    void cancel();
    bool isScheduled() const { return timer_.has_value(); }

private:
    std::optional<MotionClock::TimerId> timer_;
};

// The line itself: arrow, text (two lines at most), Undo.
class UndoLineView final : public GlassWidget {
    Q_OBJECT
public:
    static constexpr int maxWidth = 420;

    UndoLineView(QString text, std::function<void()> undo, QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    PillButton* undoButton() const { return button_; }
    // The text as drawn: wrapped to two lines at most, cut at the end.
    QString shownText() const;

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    static constexpr qreal shadowRadius = 14;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void environmentChanged() override;

private:
    void place();
    void updateShadow();

    QString text_;
    PillButton* button_;
};

// Wraps `content` and shows the owner's current note under it (`reserves`: in a 60-point
// band of its own, so the content never moves) or floating over its bottom edge.
class UndoLine final : public GlassWidget {
    Q_OBJECT
public:
    static constexpr int bandHeight = 60;

    UndoLine(QWidget* content, PendingUndo note, bool commandZ, bool reserves, QWidget* parent = nullptr);

    QWidget* content() const { return content_; }
    UndoLineView* line() const { return line_; }
    const OneShot& clock() const { return *clock_; }
    bool reserves() const { return reserves_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void sync();
    void runUndo();
    void layoutChildren();

    QWidget* content_;
    PendingUndo note_;
    bool commandZ_;
    bool reserves_;
    OneShot* clock_;
    QShortcut* commandZShortcut_;
    std::optional<QUuid> shown_;
    QPointer<UndoLineView> line_;
};

// The same as a function, for symmetry with the other attached pieces.
UndoLine* undoLine(QWidget* content, PendingUndo note, bool commandZ, bool reserves, QWidget* parent = nullptr);

}  // namespace ZantrelUI
