#include "GlyphnabCore/Outcome.h"

#include "GlyphnabCore/TextLines.h"
#include "GlyphnabCore/WebLink.h"

#include <QSet>

#include <algorithm>

namespace GlyphnabCore {
namespace {

using ZantrelText::LineMode;
using ZantrelText::Reading;

constexpr qsizetype previewLineLength = 120;
constexpr qsizetype previewLines = 2;

LineMode otherMode(LineMode mode) { return mode == LineMode::keep ? LineMode::join : LineMode::keep; }

QString pieceOf(const Part& part, LineMode mode) {
    if (const QString* text = part.asText())
        return text->trimmed();
    const Reading& reading = *part.asReading();
    if (reading.table)
        return reading.table->tabSeparated();
    return reading.layout.text(mode);
}

}  // namespace

QString Outcome::textOf(const QList<Part>& parts, LineMode mode) {
    QStringList pieces;
    for (const Part& part : parts) {
        QString piece = pieceOf(part, mode);
        if (!piece.isEmpty())
            pieces.append(std::move(piece));
    }
    return pieces.join(QStringLiteral("\n\n"));
}

Outcome::Outcome(const QList<Part>& parts, LineMode mode) {
    QList<const ZantrelText::FoundCode*> codes;
    for (const Part& part : parts)
        if (const Reading* reading = part.asReading())
            for (const ZantrelText::FoundCode& code : reading->codes)
                codes.append(&code);

    const QString rendered = textOf(parts, mode);

    if (!codes.isEmpty()) {
        QStringList payloads;
        QSet<QString> seen;
        for (const ZantrelText::FoundCode* code : codes)
            if (!seen.contains(code->payload)) {
                seen.insert(code->payload);
                payloads.append(code->payload);
            }
        copied = payloads.join(u'\n');
        kind = payloads.size() == 1 ? Kind::code(codes.front()->kind) : Kind::codes(int(payloads.size()));
        if (!rendered.isEmpty())
            alternate = rendered;
    } else if (!rendered.isEmpty()) {
        copied = rendered;
        const Reading* single = parts.size() == 1 ? parts.front().asReading() : nullptr;
        if (single && single->table) {
            const QList<QStringList>& rows = single->table->rows;
            kind = Kind::table(int(rows.size()), rows.isEmpty() ? 0 : int(rows.front().size()));
        } else {
            kind = Kind::text();
            QString other = textOf(parts, otherMode(mode));
            if (other != copied)
                otherWay = std::move(other);
        }
    } else {
        return;  // nothing: every field keeps its empty default
    }
    link = linkIn(copied);
    preview = previewOf(copied);
}

Outcome Outcome::recopied(const QString& text) {
    Outcome outcome({Part::text(text)}, LineMode::keep);
    const QStringList rows = text.trimmed().split(u'\n');
    if (rows.size() < 2)
        return outcome;
    // Trimming may take the empty edge cells of the first and last rows, so only the rows
    // between must show their tabs; and a tab only at the start is indentation.
    qsizetype columns = 0;
    bool separates = false;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString& row = rows[i];
        if (i > 0 && i < rows.size() - 1 && !row.contains(u'\t'))
            return outcome;
        const auto firstText = std::find_if(row.begin(), row.end(), [](QChar c) { return c != u'\t'; });
        separates = separates || std::find(firstText, row.end(), u'\t') != row.end();
        columns = std::max(columns, row.count(u'\t') + 1);
    }
    if (!separates)
        return outcome;
    // The text as it goes on the clipboard, edge cells and all.
    outcome.kind = Kind::table(int(rows.size()), int(columns));
    outcome.copied = text;
    outcome.otherWay.reset();
    outcome.link = linkIn(text);
    outcome.preview = previewOf(text);
    return outcome;
}

std::optional<QUrl> Outcome::linkIn(const QString& text) { return WebLink::find(text); }

QString Outcome::previewOf(const QString& text) {
    QStringList kept;
    for (const QString& line : TextLines::nonEmptyLines(text)) {
        QString visible = TextLines::trimmedHorizontally(QString(line).replace(u'\t', QStringLiteral("  ")));
        if (visible.isEmpty())
            continue;
        if (TextLines::characterCount(visible) > previewLineLength)
            visible = TextLines::trimmedHorizontally(TextLines::firstCharacters(visible, previewLineLength)) +
                      QChar(0x2026);
        kept.append(std::move(visible));
        if (kept.size() == previewLines)
            break;
    }
    return kept.join(u'\n');
}

std::optional<Outcome> Outcome::flipped() const {
    if (!otherWay)
        return std::nullopt;
    Outcome result;
    result.kind = kind;
    result.copied = *otherWay;
    result.link = linkIn(result.copied);
    result.preview = previewOf(result.copied);
    result.otherWay = copied;
    return result;
}

}  // namespace GlyphnabCore
