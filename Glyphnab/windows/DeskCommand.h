#pragma once

// A command to bind in the desktop's own keyboard settings, where apps cannot set global
// keys: the command line as selectable text and a button that copies it.

#include <QString>
#include <QWidget>

namespace ZantrelUI {
class InkLabel;
class PlainButton;
}  // namespace ZantrelUI

namespace Glyphnab {

class DeskCommand final : public QWidget {
    Q_OBJECT
public:
    DeskCommand(QString command, bool glass, QWidget* parent = nullptr);

    const QString& command() const { return command_; }
    ZantrelUI::PlainButton* copyButton() const { return copy_; }

    // "glyphnab grab", with "--other" for the other line handling.
    static QString grabCommand(bool other);

private:
    QString command_;
    ZantrelUI::InkLabel* line_;
    ZantrelUI::PlainButton* copy_;
};

}  // namespace Glyphnab
