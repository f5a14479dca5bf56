#pragma once

// How a view learns the window that hosts it: an invisible child that records its window
// in a shared home whenever it is placed, and lets every click through.

#include <QPointer>
#include <QWidget>

#include <memory>

namespace ZantrelUI {

// The window a view was last placed in; empty before, and again once that window is gone.
struct WindowHome {
    QPointer<QWidget> window;
};

class WindowReader final : public QWidget {
    Q_OBJECT
public:
    explicit WindowReader(std::shared_ptr<WindowHome> home, QWidget* parent = nullptr);

    const std::shared_ptr<WindowHome>& home() const { return home_; }

protected:
    bool event(QEvent* event) override;

private:
    void record();

    std::shared_ptr<WindowHome> home_;
};

}  // namespace ZantrelUI
