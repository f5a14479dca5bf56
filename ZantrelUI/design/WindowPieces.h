#pragma once

// Small pieces the family's windows and tray apps share: a one-line tool row that moves
// what doesn't fit into a More menu, a paused or attention mark cut into a tray icon, a
// watcher of whether a window is on screen, the card that hides or shows the tray icon,
// and a small round icon button for list rows.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassAccessibility.h"

#include <QAbstractButton>
#include <QImage>
#include <QPointer>

#include <functional>
#include <optional>
#include <vector>

class QHBoxLayout;

namespace ZantrelUI {

class PillButton;
class SettingsSwitch;
class SettingsRow;

class OverflowToolRow final : public GlassWidget {
    Q_OBJECT
public:
    struct Tool {
        QString title;   // unique within a row
        QString symbol;  // a symbol name
        bool enabled = true;
        std::function<void()> run;
    };

    OverflowToolRow(std::vector<Tool> tools, std::vector<Tool> pinned, QWidget* parent = nullptr);

    // The width a tool's pill takes: its 12-point semibold title rounded up, plus 16, 6 and 28.
    static qreal pillWidth(const QString& title);
    // How many leading tools fit beside the pinned ones (and the More button when needed).
    static int visibleCount(const std::vector<Tool>& tools, const std::vector<Tool>& pinned, qreal width);

    int shownCount() const { return shown_; }
    bool hasMoreMenu() const;
    PillButton* moreButton() const { return more_; }
    QStringList overflowTitles() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuild();

    std::vector<Tool> tools_;
    std::vector<Tool> pinned_;
    QHBoxLayout* row_;
    PillButton* more_ = nullptr;
    int shown_ = -1;
};

namespace StatusGlyph {

enum class Mark { paused, attention };

struct Image {
    QImage image;
    bool isTemplate = false;  // the tray tints it
    QString description;
};

// The icon with a hole punched in its lower right and the mark drawn there; without a mark,
// the very same icon.
Image image(const Image& icon, std::optional<Mark> mark);

}  // namespace StatusGlyph

// Reports, on a later turn of the event loop, whether its window is shown and exposed:
// true when that starts, false when it stops or the window closes; only changes.
class OnScreen final : public QWidget {
    Q_OBJECT
public:
    explicit OnScreen(std::function<void(bool)> changed, QWidget* parent = nullptr);

    void setChanged(std::function<void(bool)> changed) { changed_ = std::move(changed); }
    bool last() const { return last_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch();
    void recompute();

    std::function<void(bool)> changed_;
    QPointer<QWidget> window_;
    QPointer<QObject> handle_;
    bool last_ = false;
};

// The settings card that hides or shows the app's tray icon; while the icon is hidden it
// offers to quit the app, through the platform operations of its environment.
class MenuBarIconCard final : public QWidget {
    Q_OBJECT
public:
    MenuBarIconCard(QString app, bool isOn, QWidget* parent = nullptr);

    bool isOn() const;
    void setOn(bool on);
    SettingsSwitch* iconSwitch() const { return switch_; }
    // The Quit row, shown only while the icon is hidden.
    SettingsRow* quitRow() const { return quitRow_; }

Q_SIGNALS:
    void toggled(bool on);

private:
    SettingsSwitch* switch_;
    SettingsRow* quitRow_;
};

class RowIconButton final : public QAbstractButton {
    Q_OBJECT
public:
    RowIconButton(QString symbol, QString label, bool enabled, std::function<void()> action, QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(24, 24); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QString symbol_;
};

}  // namespace ZantrelUI
