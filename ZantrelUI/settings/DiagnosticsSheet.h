#pragma once

// The support report shown before anything leaves the computer: the text, Copy (to the
// clipboard of the environment's platform operations), Cancel, and Open in Email, which
// hands the report to the desktop's email program.

#include <QDialog>
#include <QUrl>

#include <functional>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace ZantrelUI {

class AppContext;

// An email to be composed by the desktop's email program.
struct MailDraft {
    std::optional<QString> to;
    QString subject;
    QString body;

    // "mailto:<to>?subject=…&body=…", every value percent-encoded.
    QUrl mailto() const;
    // The arguments of `xdg-email` for this draft.
    QStringList xdgEmailArguments() const;

    friend bool operator==(const MailDraft&, const MailDraft&) = default;
};

// Hands a draft to an email program and later tells whether one opened.
using MailComposer = std::function<void(const MailDraft& draft, std::function<void(bool opened)> done)>;

namespace Mail {
// `xdg-email` when it is on the PATH, else the mailto: address through the desktop.
MailComposer live();
}  // namespace Mail

class DiagnosticsSheet final : public QDialog {
    Q_OBJECT
public:
    static constexpr double copiedSeconds = 1.5;

    // `composer` none means the live one; under the test host pass your own.
    DiagnosticsSheet(const AppContext& context, QString text, QWidget* parent = nullptr, MailComposer composer = {});

    const QString& text() const { return text_; }
    bool copied() const { return copied_; }
    // The email Open in Email composes.
    MailDraft draft() const;

    // Writes the report to the clipboard once and shows it copied for a moment.
    void copy();
    // Hands the report to the email program; closes once one opened, else says so.
    void openInMail();

    QPlainTextEdit* textView() const { return view_; }
    QPushButton* copyButton() const { return copyButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* mailButton() const { return mailButton_; }
    // The line shown when no email program opened; hidden otherwise.
    QLabel* problemLabel() const { return problem_; }

Q_SIGNALS:
    void copiedChanged(bool copied);

private:
    void setCopied(bool copied);
    void mailAnswered(bool opened);

    QString text_;
    std::optional<QString> email_;
    QString appName_;
    QString version_;
    QString build_;
    MailComposer composer_;
    bool copied_ = false;
    QPlainTextEdit* view_;
    QPushButton* copyButton_;
    QPushButton* cancelButton_;
    QPushButton* mailButton_;
    QLabel* problem_;
};

}  // namespace ZantrelUI
