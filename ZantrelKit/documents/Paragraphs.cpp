#include "ZantrelKit/documents/Paragraphs.h"

#include "ZantrelKit/JSONCoding.h"
#include "ZantrelKit/documents/OrderedJSON.h"

#include <QJsonObject>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>
#include <optional>

namespace ZantrelKit {
namespace {

QString trimmedOfSpaces(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && (text[start] == u' ' || text[start] == u'\t'))
        ++start;
    while (end > start && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.sliced(start, end - start);
}

// The first character (a whole grapheme) is lowercase: one lowercase code point, or a
// cluster that lower-casing keeps and upper-casing changes.
bool startsLowercase(const QString& text) {
    if (text.isEmpty())
        return false;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    const qsizetype end = graphemes.toNextBoundary();
    const QString first = text.left(end > 0 ? end : 1);
    const QList<uint> points = first.toUcs4();
    if (points.size() == 1 && QChar::isLower(char32_t(points.front())))
        return true;
    return first.toLower() == first && first.toUpper() != first;
}

bool boolean(const QJsonObject& object, const QString& key) {
    const QJsonValue value = JSONCoding::required(object, key);
    if (!value.isBool())
        throw JSONDecodingError(QStringLiteral("Expected a Boolean for \"%1\".").arg(key));
    return value.toBool();
}

struct Open {
    QString text;
    double size = 0;
    TextLine last;
};

}  // namespace

QByteArray ParagraphSettings::jsonText() const {
    return OrderedJSON::object({{QStringLiteral("gap"), QJsonValue(gap)},
                                {QStringLiteral("joinHyphens"), QJsonValue(joinHyphens)},
                                {QStringLiteral("keepLines"), QJsonValue(keepLines)}});
}

QJsonValue ParagraphSettings::toJson() const { return JSONCoding::decode(jsonText()); }

ParagraphSettings ParagraphSettings::fromJson(const QJsonValue& json) {
    const QJsonObject object = JSONCoding::object(json);
    const QJsonValue gap = JSONCoding::required(object, QStringLiteral("gap"));
    if (!gap.isDouble())
        throw JSONDecodingError(QStringLiteral("Expected a number for \"gap\"."));
    return {gap.toDouble(), boolean(object, QStringLiteral("joinHyphens")), boolean(object, QStringLiteral("keepLines"))};
}

namespace Paragraphs {

std::vector<Paragraph> build(const std::vector<TextLine>& lines, const ParagraphSettings& settings) {
    std::vector<TextLine> kept;
    for (const TextLine& line : lines) {
        TextLine trimmed = line;
        trimmed.text = trimmedOfSpaces(line.text);
        if (!trimmed.text.isEmpty())
            kept.push_back(std::move(trimmed));
    }
    if (kept.empty())
        return {};

    std::vector<double> sizes;
    for (const TextLine& line : kept)
        sizes.push_back(line.size);
    std::sort(sizes.begin(), sizes.end());
    const double headingSize = sizes[sizes.size() / 2] * 1.3;

    std::vector<Paragraph> paragraphs;
    std::optional<Open> open;
    const auto finish = [&] {
        if (open)
            paragraphs.push_back({open->text, open->size, headingSize <= open->size});
        open.reset();
    };
    for (const TextLine& line : kept) {
        if (open && !settings.keepLines) {
            const TextLine& last = open->last;
            const double lineHeight = std::max(last.top - last.bottom, 1.0);
            const double space = last.bottom - line.top;
            const double indent = line.left - last.left;
            const bool continues = space <= (settings.gap - 1) * lineHeight + 0.5 &&
                                   std::abs(open->size - line.size) < std::max(open->size * 0.15, 1.0) &&
                                   indent <= lineHeight * 1.2;
            if (continues) {
                if (settings.joinHyphens && open->text.endsWith(u'-') && startsLowercase(line.text)) {
                    open->text.chop(1);
                    open->text += line.text;
                } else {
                    open->text += u' ' + line.text;
                }
                open->last = line;
                continue;
            }
        }
        finish();
        open = Open{line.text, line.size, line};
    }
    finish();
    return paragraphs;
}

}  // namespace Paragraphs

}  // namespace ZantrelKit
