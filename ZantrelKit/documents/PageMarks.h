#pragma once

// One thing stamped on the pages of a PDF (a header or footer, a page number, a watermark,
// Bates numbers, line numbers, a picture) and what drawing it needs: the pages it applies
// to, its text on one page, and where it sits. Drawing is the caller's.

#include <QByteArray>
#include <QJsonValue>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace ZantrelKit {

struct PageMark {
    enum class Slot { topLeft, topCenter, topRight, middle, bottomLeft, bottomCenter, bottomRight };
    enum class Role { header, footer, watermark, lineNumbers, bates, pageNumber };

    // What is stamped. Coded as one key naming the case:
    // {"text":{"_0":…}}, {"bates":{"prefix","digits","start","suffix"}},
    // {"lineNumbers":{"every","restartEachPage"}}, {"picture":{"_0":base64,"scale"}}.
    struct Content {
        // With the placeholders {page}, {pages}, {date} and {file}.
        struct Text {
            QString text;
            friend bool operator==(const Text&, const Text&) = default;
        };
        struct Bates {
            QString prefix;
            std::int64_t digits = 0;
            std::int64_t start = 0;
            QString suffix;
            friend bool operator==(const Bates&, const Bates&) = default;
        };
        struct LineNumbers {
            std::int64_t every = 1;
            bool restartEachPage = false;
            friend bool operator==(const LineNumbers&, const LineNumbers&) = default;
        };
        struct Picture {
            QByteArray data;  // the encoded picture
            double scale = 1.0;
            friend bool operator==(const Picture&, const Picture&) = default;
        };

        std::variant<Text, Bates, LineNumbers, Picture> value;

        static Content text(QString text) { return {Text{std::move(text)}}; }

        QByteArray jsonText() const;
        // Throws JSONDecodingError; with no key or several keys naming a case, the
        // description is "Invalid number of keys found, expected one.".
        static Content fromJson(const QJsonValue& json);

        friend bool operator==(const Content&, const Content&) = default;
    };

    Content content;
    Role role = Role::header;
    Slot slot = Slot::topCenter;
    double size = 10;  // points, for text
    std::uint32_t color = 0x333333;  // 0xRRGGBB
    double opacity = 1.0;
    double angle = 0;  // degrees
    bool behind = false;  // under the page's own content
    double margin = 36;  // points from the page edges
    QString pages;  // a page-range text; empty for every page

    PageMark(Content content, Role role, Slot slot)
        : content(std::move(content)), role(role), slot(slot) {}

    static PageMark pageNumber(QString text, Slot slot);
    static PageMark watermark(QString text);

    // All ten keys, in field order; every one required when decoding, which throws
    // JSONDecodingError.
    QByteArray jsonText() const;
    QJsonValue toJson() const;
    static PageMark fromJson(const QJsonValue& json);

    friend bool operator==(const PageMark&, const PageMark&) = default;
};

inline constexpr std::array<PageMark::Slot, 7> allPageMarkSlots{
    PageMark::Slot::topLeft,    PageMark::Slot::topCenter,    PageMark::Slot::topRight,   PageMark::Slot::middle,
    PageMark::Slot::bottomLeft, PageMark::Slot::bottomCenter, PageMark::Slot::bottomRight};
inline constexpr std::array<PageMark::Role, 6> allPageMarkRoles{
    PageMark::Role::header,      PageMark::Role::footer, PageMark::Role::watermark,
    PageMark::Role::lineNumbers, PageMark::Role::bates,  PageMark::Role::pageNumber};

QString rawValue(PageMark::Slot slot);
std::optional<PageMark::Slot> pageMarkSlotFromRawValue(QStringView rawValue);
QString rawValue(PageMark::Role role);
std::optional<PageMark::Role> pageMarkRoleFromRawValue(QStringView rawValue);

namespace PageMarks {

// Zero-based indexes of the pages the mark applies to, ascending, each once; nothing
// when its pages text cannot be read.
std::optional<std::vector<std::int64_t>> pageIndexes(const PageMark& mark, std::int64_t pageCount);

// The text on one page: {page} (the label when given, else the page's number), {pages},
// {date} and {file} replaced, in that order; other braces stay.
QString expand(QString template_, std::int64_t pageIndex, std::int64_t pageCount, const QString& date,
               const QString& file, const std::optional<QString>& label);

// prefix, the number start + pageIndex padded with zeros to `digits` (12 at most), suffix.
QString batesNumber(const QString& prefix, std::int64_t digits, std::int64_t start, const QString& suffix,
                    std::int64_t pageIndex);

struct NumberedLine {
    std::int64_t line = 0;  // index on the page
    std::int64_t number = 0;
    friend bool operator==(const NumberedLine&, const NumberedLine&) = default;
};

// The lines of one page that carry a number: those whose number is a multiple of `every`.
std::vector<NumberedLine> lineNumbers(std::int64_t count, std::int64_t every, bool restartEachPage,
                                      std::int64_t linesBefore);

// Bottom-left corner of the mark's box, from the page's bottom-left with y up.
QPointF origin(PageMark::Slot slot, QSizeF size, QSizeF page, double margin);

}  // namespace PageMarks

}  // namespace ZantrelKit
