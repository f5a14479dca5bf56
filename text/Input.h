#pragma once

// One thing to read: a picture for the recognizer, or text that needs no recognition
// (the text layer of a PDF page).

#include <QImage>
#include <QString>

#include <utility>
#include <variant>

namespace ZantrelText {

class Input {
public:
    enum class Kind { picture, text };

    static Input picture(QImage image) { return Input(std::move(image)); }
    static Input text(QString string) { return Input(std::move(string)); }

    Kind kind() const noexcept { return value_.index() == 0 ? Kind::picture : Kind::text; }
    bool isPicture() const noexcept { return kind() == Kind::picture; }
    bool isText() const noexcept { return kind() == Kind::text; }

    // The picture of a picture input, null for a text input.
    const QImage* image() const noexcept { return std::get_if<QImage>(&value_); }
    // The text of a text input, null for a picture input.
    const QString* string() const noexcept { return std::get_if<QString>(&value_); }

    friend bool operator==(const Input&, const Input&) = default;

private:
    explicit Input(QImage image) : value_(std::in_place_index<0>, std::move(image)) {}
    explicit Input(QString string) : value_(std::in_place_index<1>, std::move(string)) {}

    std::variant<QImage, QString> value_;
};

}  // namespace ZantrelText
