#include "Glyphnab/windows/DeskCommand.h"

#include "GlyphnabCore/Words.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/design/PlainButton.h"
#include "ZantrelUI/design/Tokens.h"
#include "platform/pasteboard/Pasteboard.h"

#include <QFontDatabase>
#include <QHBoxLayout>

namespace Glyphnab {

using namespace ZantrelUI;

QString DeskCommand::grabCommand(bool other) {
    return other ? QStringLiteral("glyphnab grab --other") : QStringLiteral("glyphnab grab");
}

DeskCommand::DeskCommand(QString command, bool glass, QWidget* parent) : QWidget(parent), command_(std::move(command)) {
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPixelSize(12);
    line_ = new InkLabel(command_, mono, glass ? Ink::secondary() : Ink::primary(), this);
    line_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    copy_ = new PlainButton(GlyphnabCore::Words::settingsCopyCommand(), this);
    copy_->setAccessibleName(GlyphnabCore::Words::settingsCopyCommand() + u' ' + command_);
    // The button has the focus when clicked, so even a Wayland desktop hands the app the clipboard.
    connect(copy_, &QAbstractButton::clicked, this, [this] { Platform::ClipboardPasteboard().setString(command_); });
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addStretch(1);
    row->addWidget(line_);
    row->addWidget(copy_);
}

}  // namespace Glyphnab
