#pragma once

// A large dashed panel that takes dropped files: `FileDrop` reads the file URLs of a drop,
// filters them through the owner's rule and hands the accepted ones over; the surface draws
// the panel, lights up while a file drag hovers and shows the owner's refusal line when a
// drop brought nothing usable.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/pieces/EmptyState.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <optional>

class QMimeData;

namespace ZantrelUI {

class FileDrop final : public QObject {
    Q_OBJECT
public:
    using Accepts = std::function<bool(const QUrl&)>;
    using Take = std::function<void(const QList<QUrl>&)>;

    FileDrop(Accepts accepts, Take take, QObject* parent = nullptr);

    // The local file URLs a drag carries, in its order; anything else (web addresses,
    // relative or broken entries) is skipped.
    static QList<QUrl> fileURLs(const QMimeData& data);
    static bool carriesFiles(const QMimeData& data) { return !fileURLs(data).isEmpty(); }

    // One drop: reads its files, then delivers them.
    void receive(const QMimeData& data);
    // Filters the files of one drop; `refused` is written before `take` runs, and `take`
    // never sees an empty list.
    void deliver(const QList<QUrl>& urls);

    bool refused() const { return refused_; }
    bool targeted() const { return targeted_; }
    void setTargeted(bool targeted);

Q_SIGNALS:
    void refusedChanged(bool refused);
    void targetedChanged(bool targeted);

private:
    void setRefused(bool refused);

    Accepts accepts_;
    Take take_;
    bool refused_ = false;
    bool targeted_ = false;
};

class FileDropSurface final : public GlassWidget {
    Q_OBJECT
public:
    struct Border {
        QColor color;
        qreal width;
        friend bool operator==(const Border&, const Border&) = default;
    };

    FileDropSurface(FileDrop* drop, QString symbol, QString title, QString line, QString refusal,
                    std::optional<EmptyState::Action> action, QWidget* parent = nullptr);

    FileDrop* drop() const { return drop_; }
    EmptyState* emptyState() const { return empty_; }
    // The line shown now: the refusal while the last drop was refused.
    QString shownLine() const;
    // The dashed border and the fill as drawn now.
    Border border() const;
    QColor fill() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void sync();

    QPointer<FileDrop> drop_;
    QString line_;
    QString refusal_;
    EmptyState* empty_;
};

}  // namespace ZantrelUI
