#pragma once

// The family's list search field: a glass field with a magnifying glass that clears itself
// on Escape, hands the keyboard to its list on a second Escape or on Down, and takes the
// keyboard on Ctrl+F or when the Find command is given for its own window.

#include "ZantrelUI/desktop/FindBroadcast.h"
#include "ZantrelUI/pieces/GlassField.h"
#include "ZantrelUI/pieces/WindowReader.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QAbstractButton;
class QShortcut;

namespace ZantrelUI {

class FindField final : public QWidget {
    Q_OBJECT
public:
    // `list` is the list the search filters; none when there is no list to hand focus to.
    FindField(QString prompt, QString text, QWidget* list = nullptr, QWidget* parent = nullptr);

    QString text() const { return field_->text(); }
    void setText(const QString& text) { field_->setText(text); }
    void setList(QWidget* list) { list_ = list; }
    QWidget* list() const { return list_; }

    GlassField* field() const { return field_; }
    QShortcut* findShortcut() const { return shortcut_; }
    const std::shared_ptr<WindowHome>& home() const { return home_; }

    bool isFieldFocused() const { return field_->isFieldFocused(); }
    void focusField() { field_->focusField(); }

Q_SIGNALS:
    void textChanged(const QString& text);
    void focusChanged(bool focused);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void leaveForList();
    void findPosted(QObject* window);

    GlassField* field_;
    QPointer<QWidget> list_;
    std::shared_ptr<WindowHome> home_;
    QShortcut* shortcut_;
};

// Shown in place of a filtered list with no rows left: a line on what to do and a button
// that clears the search.
class NothingMatches final : public GlassWidget {
    Q_OBJECT
public:
    explicit NothingMatches(std::function<void()> clear, QWidget* parent = nullptr);

    QAbstractButton* clearButton() const { return button_; }

protected:
    void environmentChanged() override;

private:
    void recolor();

    std::function<void()> clear_;
    QAbstractButton* button_;
};

}  // namespace ZantrelUI
