#include "GlyphnabCore/TextLines.h"

#include <QTextBoundaryFinder>

namespace GlyphnabCore::TextLines {
namespace {

bool isLineBreak(char16_t c) {
    switch (c) {
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case u'\u0085':
    case u'\u2028':
    case u'\u2029':
        return true;
    default:
        return false;
    }
}

// After a split no line breaks are left, so every remaining space character is horizontal.
bool isHorizontalSpace(QChar c) { return c.isSpace() && !isLineBreak(c.unicode()); }

}  // namespace

QStringList nonEmptyLines(QStringView text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (!isLineBreak(text[i].unicode()))
            continue;
        if (i > start)
            lines.append(text.sliced(start, i - start).toString());
        if (text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.sliced(start).toString());
    return lines;
}

QString trimmedHorizontally(QStringView line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isHorizontalSpace(line[begin]))
        ++begin;
    while (end > begin && isHorizontalSpace(line[end - 1]))
        --end;
    return line.sliced(begin, end - begin).toString();
}

qsizetype characterCount(QStringView text) {
    if (text.isEmpty())
        return 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

QString firstCharacters(QStringView text, qsizetype count) {
    if (count <= 0 || text.isEmpty())
        return {};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype end = 0;
    for (qsizetype taken = 0; taken < count; ++taken) {
        const qsizetype next = finder.toNextBoundary();
        if (next == -1)
            break;
        end = next;
    }
    return text.first(end).toString();
}

}  // namespace GlyphnabCore::TextLines
