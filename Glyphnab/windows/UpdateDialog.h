#pragma once

// The small window of the user's update check: checking, up to date, a new version with a
// button to its download page, or why the check failed. It never blocks: the check goes on
// in the background and the window follows it.

#include "Glyphnab/shell/UpdateFeed.h"
#include "ZantrelUI/context/Environment.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <optional>

class QLabel;
class QHBoxLayout;

namespace ZantrelUI {
class BusyBar;
class GlassWindow;
class PillButton;
}  // namespace ZantrelUI

namespace Glyphnab {

// What the window says for a state; none = the check is running.
struct UpdateMessage {
    QString title;
    QString detail;
    std::optional<QUrl> download;  // offered only for a page the desktop may open

    friend bool operator==(const UpdateMessage&, const UpdateMessage&) = default;
};
UpdateMessage updateMessage(const std::optional<UpdateFeed::Result>& state, const QString& appName);

class UpdateView final : public ZantrelUI::GlassWidget {
    Q_OBJECT
public:
    UpdateView(const UpdateMessage& message, bool checking, QWidget* parent = nullptr);

    void show(const UpdateMessage& message, bool checking);

    QString title() const;
    QString detail() const;
    bool checking() const;
    // The download button while a page is offered, else none.
    ZantrelUI::PillButton* downloadButton() const { return download_; }
    ZantrelUI::PillButton* okButton() const { return ok_; }

Q_SIGNALS:
    void openPage(const QUrl& page);
    void dismissed();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* title_;
    QLabel* detail_;
    ZantrelUI::BusyBar* busy_;
    QHBoxLayout* buttons_;
    ZantrelUI::PillButton* download_ = nullptr;
    ZantrelUI::PillButton* ok_;
    std::optional<QUrl> page_;
};

class UpdateDialog final : public QObject {
    Q_OBJECT
public:
    explicit UpdateDialog(QString appName, QObject* parent = nullptr);
    ~UpdateDialog() override;

    // Shows the window with the state, bringing it to the front; none = checking.
    void show(const std::optional<UpdateFeed::Result>& state);
    void close();
    bool isVisible() const;
    UpdateView* view() const { return view_; }

private:
    void open(const QUrl& page);

    QString appName_;
    ZantrelUI::GlassWindow* window_;
    QPointer<UpdateView> view_;
};

}  // namespace Glyphnab
