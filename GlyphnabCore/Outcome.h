#pragma once

// What one grab produces: the text for the clipboard, what kind of thing it was, the
// short preview for the notice and the second choices the notice offers. A pure value,
// computed from the grab's parts and line mode.

#include "GlyphnabCore/Part.h"
#include "text/LineMode.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>
#include <variant>

namespace GlyphnabCore {

struct Outcome {
    class Kind {
    public:
        // A single reading's table; columns are the cells of its first row.
        struct Table {
            int rows = 0;
            int columns = 0;
            friend bool operator==(const Table&, const Table&) = default;
        };
        // One distinct code payload; the kind name of the first code found.
        struct Code {
            QString name;
            friend bool operator==(const Code&, const Code&) = default;
        };
        // Two or more distinct payloads.
        struct Codes {
            int count = 0;
            friend bool operator==(const Codes&, const Codes&) = default;
        };
        struct Text {
            friend bool operator==(const Text&, const Text&) = default;
        };
        struct Nothing {
            friend bool operator==(const Nothing&, const Nothing&) = default;
        };

        static Kind table(int rows, int columns) { return Kind(Table{rows, columns}); }
        static Kind code(QString name) { return Kind(Code{std::move(name)}); }
        static Kind codes(int count) { return Kind(Codes{count}); }
        static Kind text() { return Kind(Text{}); }
        static Kind nothing() { return Kind(Nothing{}); }

        Kind() = default;  // nothing

        template <class Case>
        bool is() const noexcept { return std::holds_alternative<Case>(value_); }
        template <class Case>
        const Case* as() const noexcept { return std::get_if<Case>(&value_); }

        friend bool operator==(const Kind&, const Kind&) = default;

    private:
        using Value = std::variant<Nothing, Text, Table, Code, Codes>;
        explicit Kind(Value value) : value_(std::move(value)) {}
        Value value_;
    };

    Kind kind;
    // What goes on the clipboard; empty for nothing.
    QString copied;
    // Only beside codes: the recognized text of the same grab, when there is any.
    std::optional<QString> alternate;
    // The web address that `copied` is, if it is one.
    std::optional<QUrl> link;
    // At most two shortened lines of `copied`.
    QString preview;
    // Only for text: the grab with the other line handling, when that reads differently.
    std::optional<QString> otherWay;

    Outcome() = default;
    // Codes win over a table, a table over text. Parts come in input order.
    Outcome(const QList<Part>& parts, ZantrelText::LineMode mode);

    // The parts' texts joined with one empty line between inputs; blank pieces left out.
    static QString textOf(const QList<Part>& parts, ZantrelText::LineMode mode);
    // The whole trimmed text when it is one http or https address with a host.
    static std::optional<QUrl> linkIn(const QString& text);
    // The first two visible lines, tabs as two spaces, each cut at 120 characters with "…".
    static QString previewOf(const QString& text);

    // A text copied once more (a recent grab): a table when its lines read as the
    // tab-separated rows a table is copied as, else plain text in `keep` mode.
    static Outcome recopied(const QString& text);

    // The outcome of copying the other way; nothing without an other way. Flipping the
    // result again gives back the first text.
    std::optional<Outcome> flipped() const;

    friend bool operator==(const Outcome&, const Outcome&) = default;
};

}  // namespace GlyphnabCore
