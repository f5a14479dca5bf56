#include "ZantrelUI/settings/DiagnosticsSheet.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/design/Symbols.h"
#include "ZantrelUI/design/Tokens.h"
#include "platform/async/Clock.h"
#include "platform/async/MainThread.h"
#include "platform/log/Log.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>
#include <memory>

namespace ZantrelUI {

namespace Texts = ZantrelKit::Copy::Diagnostics;

QUrl MailDraft::mailto() const {
    QByteArray encoded = "mailto:";
    if (to)
        encoded += QUrl::toPercentEncoding(*to, "@");
    encoded += "?subject=" + QUrl::toPercentEncoding(subject) + "&body=" + QUrl::toPercentEncoding(body);
    return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}

QStringList MailDraft::xdgEmailArguments() const {
    QStringList arguments{QStringLiteral("--utf8"), QStringLiteral("--subject"), subject, QStringLiteral("--body"),
                          body};
    if (to)
        arguments.append(*to);
    return arguments;
}

namespace Mail {

namespace {

// A composer still running after this long has its window open.
constexpr int stillComposingMs = 3000;

void openAddress(const MailDraft& draft, const std::function<void(bool)>& done) {
    const bool opened = QDesktopServices::openUrl(draft.mailto());
    if (!opened)
        Platform::Logger(QStringLiteral("support")).error(u"no email program took the report");
    done(opened);
}

}  // namespace

MailComposer live() {
    return [](const MailDraft& draft, std::function<void(bool)> done) {
        LiveCalls::refuseUnderTestHost(QStringLiteral("composing an email"));
        const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
        if (program.isEmpty()) {
            openAddress(draft, done);
            return;
        }
        auto* process = new QProcess(QCoreApplication::instance());
        auto answered = std::make_shared<bool>(false);
        auto answer = [answered, draft, done](std::optional<bool> opened) {
            if (*answered)
                return;
            *answered = true;
            if (opened.value_or(false))
                done(true);
            else
                openAddress(draft, done);
        };
        QObject::connect(process, &QProcess::errorOccurred, process, [process, answer](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) {
                answer(false);
                process->deleteLater();
            }
        });
        QObject::connect(process, &QProcess::finished, process,
                         [process, answer](int code, QProcess::ExitStatus status) {
                             answer(status == QProcess::NormalExit && code == 0);
                             process->deleteLater();
                         });
        QTimer::singleShot(stillComposingMs, process, [answer] { answer(true); });
        process->setStandardInputFile(QProcess::nullDevice());
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start(program, draft.xdgEmailArguments());
    };
}

}  // namespace Mail

namespace {

QCoro::Task<> resetLater(QPointer<DiagnosticsSheet> sheet, std::function<void()> reset) {
    using namespace std::chrono;
    co_await Platform::Clock::shared().sleep(duration_cast<nanoseconds>(duration<double>(DiagnosticsSheet::copiedSeconds)));
    if (sheet)
        reset();
}

QIcon symbolIcon(const QString& name, const QWidget* widget) {
    const QColor ink = widget->palette().color(QPalette::ButtonText);
    return QIcon(QPixmap::fromImage(Symbols::image(name, 14, ink, widget->devicePixelRatioF())));
}

}  // namespace

DiagnosticsSheet::DiagnosticsSheet(const AppContext& context, QString text, QWidget* parent, MailComposer composer)
    : QDialog(parent),
      text_(std::move(text)),
      email_(context.config().value(QStringLiteral("ZNSupportEmail"))),
      appName_(context.product().name),
      version_(context.shortVersion()),
      build_(context.buildNumber()),
      composer_(composer ? std::move(composer) : Mail::live()) {
    Platform::assertMain();
    setWindowTitle(Texts::title());
    setFixedWidth(520);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(10);

    auto* title = new QLabel(Texts::title(), this);
    title->setTextFormat(Qt::PlainText);
    title->setFont(Fonts::system(15, QFont::DemiBold));
    title->setAccessibleName(Texts::title());
    title->setAccessibleDescription(QStringLiteral("heading"));
    auto* lead = new QLabel(Texts::lead(), this);
    lead->setTextFormat(Qt::PlainText);
    lead->setWordWrap(true);
    lead->setForegroundRole(QPalette::PlaceholderText);

    view_ = new QPlainTextEdit(this);
    view_->setReadOnly(true);
    view_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view_->setPlainText(text_);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPixelSize(11);
    view_->setFont(mono);
    view_->setFixedHeight(300);
    view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    problem_ = new QLabel(Texts::noMail(), this);
    problem_->setTextFormat(Qt::PlainText);
    problem_->setWordWrap(true);
    problem_->hide();

    copyButton_ = new QPushButton(Texts::copy(), this);
    cancelButton_ = new QPushButton(Texts::cancel(), this);
    mailButton_ = new QPushButton(Texts::openInMail(), this);
    copyButton_->setAutoDefault(false);
    cancelButton_->setAutoDefault(false);
    mailButton_->setDefault(true);  // Return
    copyButton_->setIcon(symbolIcon(QStringLiteral("doc.on.doc"), copyButton_));

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(copyButton_);
    buttons->addStretch(1);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(mailButton_);

    column->addWidget(title);
    column->addWidget(lead);
    column->addWidget(view_);
    column->addWidget(problem_);
    column->addLayout(buttons);

    connect(copyButton_, &QPushButton::clicked, this, &DiagnosticsSheet::copy);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);  // Escape does the same
    connect(mailButton_, &QPushButton::clicked, this, &DiagnosticsSheet::openInMail);
}

MailDraft DiagnosticsSheet::draft() const { return {email_, Texts::subject(appName_, version_, build_), text_}; }

void DiagnosticsSheet::copy() {
    Platform::assertMain();
    Platform::Pasteboard& board = macCallsOf(this).board();
    board.clearContents();
    board.setString(text_);
    setCopied(true);
    QPointer<DiagnosticsSheet> self = this;
    resetLater(self, [self] { self->setCopied(false); });
}

void DiagnosticsSheet::setCopied(bool copied) {
    if (copied == copied_)
        return;
    copied_ = copied;
    copyButton_->setIcon(symbolIcon(copied ? QStringLiteral("checkmark") : QStringLiteral("doc.on.doc"), copyButton_));
    Q_EMIT copiedChanged(copied);
}

void DiagnosticsSheet::openInMail() {
    Platform::assertMain();
    mailButton_->setEnabled(false);  // one draft at a time
    QPointer<DiagnosticsSheet> self = this;
    composer_(draft(), [self](bool opened) {
        if (self)
            self->mailAnswered(opened);
    });
}

void DiagnosticsSheet::mailAnswered(bool opened) {
    Platform::assertMain();
    mailButton_->setEnabled(true);
    if (opened) {
        accept();
        return;
    }
    // Nothing took the report: say so, and keep it here to be copied.
    problem_->show();
}

}  // namespace ZantrelUI
