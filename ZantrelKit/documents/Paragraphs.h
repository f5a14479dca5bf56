#pragma once

// Text lines with their positions on a page joined into paragraphs: lines close together,
// at about the same left edge and size continue a paragraph; hyphens at line ends can be
// joined away; clearly larger type is a heading. Pure.

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <vector>

namespace ZantrelKit {

// Page points with y up, so `top` > `bottom`.
struct TextLine {
    QString text;
    double top = 0;
    double bottom = 0;
    double left = 0;
    double size = 0;  // font size

    friend bool operator==(const TextLine&, const TextLine&) = default;
};

struct Paragraph {
    QString text;
    double size = 0;  // of its first line
    bool heading = false;

    friend bool operator==(const Paragraph&, const Paragraph&) = default;
};

struct ParagraphSettings {
    double gap = 1.0;  // the widest line spacing, in line heights, that continues a paragraph
    bool joinHyphens = false;
    bool keepLines = false;  // every line a paragraph of its own

    // {"gap":…,"joinHyphens":…,"keepLines":…}; all three required when decoding, which
    // throws JSONDecodingError.
    QByteArray jsonText() const;
    QJsonValue toJson() const;
    static ParagraphSettings fromJson(const QJsonValue& json);

    friend bool operator==(const ParagraphSettings&, const ParagraphSettings&) = default;
};

namespace Paragraphs {

// In the order of the lines, which the caller has put in reading order.
std::vector<Paragraph> build(const std::vector<TextLine>& lines, const ParagraphSettings& settings);

}  // namespace Paragraphs

}  // namespace ZantrelKit
