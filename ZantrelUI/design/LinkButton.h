#pragma once

// A text link of the glass look: 12-point semibold in the accent's ink, opening its address
// through the environment's platform operations.

#include "ZantrelUI/context/Environment.h"

#include <QAbstractButton>
#include <QUrl>

namespace ZantrelUI {

class LinkButton final : public QAbstractButton {
    Q_OBJECT
public:
    LinkButton(const QString& title, QUrl url, QWidget* parent = nullptr);

    const QUrl& url() const { return url_; }
    // Shown as given (no mnemonic is made of an ampersand).
    const QString& title() const { return title_; }
    // Plain look (outside the glass pages): the given font, still in the accent's ink.
    void setPlainFont(const QFont& font);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QString title_;
    QUrl url_;
};

}  // namespace ZantrelUI
