#include "platform/recognition/TableCellRepair.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace Platform::Recognition {
namespace {

// A lone cell this long is a number or a code at most; longer text is left alone.
constexpr qsizetype longestRereadCell = 14;

bool isSingleColumn(const DocumentCell& cell) {
    return cell.columnRange.lowerBound == cell.columnRange.upperBound;
}

// Code cells are alike in length; a misread one differs by a character at most.
bool aboutAsLong(qsizetype a, qsizetype b) { return std::abs(a - b) <= 1; }

// The letters the row's codes use, in either case, then digits of which at least one
// was read as a letter that looks like it ("Qi", "ql" or "QI" for "Q1", "QO" for "Q0").
bool looksLikeSlippedCode(const QString& text, const QString& codeCharacters) {
    static const QRegularExpression shape(QStringLiteral("^([A-Za-z]{1,3}?)([0-9lIi|OoSZB]{1,3})$"));
    const QRegularExpressionMatch match = shape.match(text);
    if (!match.hasMatch())
        return false;
    const QString letters = match.captured(1);
    const QString digits = match.captured(2);
    const bool codeLetters = std::all_of(letters.begin(), letters.end(),
                                         [&](QChar ch) { return codeCharacters.contains(ch.toUpper()); });
    return !letters.isEmpty() && codeLetters &&
           std::any_of(digits.begin(), digits.end(), [](QChar ch) { return !ch.isDigit(); });
}

// A code with figures after it, such as "Q1 2025": a header over a period.
bool isCodeWithFigures(const QString& text) {
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    return words.size() >= 2 && isCodeText(words.front()) &&
           std::all_of(words.begin() + 1, words.end(), [](const QString& word) { return isNumericText(word); });
}

// A body row: most of its filled cells are numbers. A second header row of words
// ("Server", "Share") is none.
bool mostlyNumbers(const std::vector<DocumentCell>& row) {
    int numbers = 0, filled = 0;
    for (const DocumentCell& cell : row) {
        const QString text = cell.content.transcript.trimmed();
        filled += text.isEmpty() ? 0 : 1;
        numbers += isNumericText(text) ? 1 : 0;
    }
    return 2 * numbers >= filled && numbers > 0;
}

bool isColumnLetter(const QString& text) { return text.size() == 1 && text.front() >= u'A' && text.front() <= u'Z'; }

}  // namespace

QString numericCharacters() { return QStringLiteral("0123456789.,:/-+%$\u20ac\u00a3\u00a5()"); }

bool isNumericText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    const QString allowed = numericCharacters() + u' ';
    bool digit = false;
    for (const QChar c : trimmed) {
        if (!allowed.contains(c))
            return false;
        digit = digit || (c >= u'0' && c <= u'9');
    }
    return digit;
}

bool isCodeText(const QString& text) {
    static const QRegularExpression code(QStringLiteral("^[A-Z]{1,3}[0-9]{1,3}$"));
    return code.match(text.trimmed()).hasMatch();
}

std::vector<CellReread> cellsToReread(const DocumentTable& table) {
    std::vector<CellReread> rereads;
    // Numeric columns: judged by the body; the first row is most often a header.
    std::map<int, std::pair<int, int>> numbersAndFilled;
    for (std::size_t r = 1; r < table.rows.size(); ++r) {
        for (const DocumentCell& cell : table.rows[r]) {
            if (!isSingleColumn(cell) || cell.content.transcript.trimmed().isEmpty())
                continue;
            auto& [numbers, filled] = numbersAndFilled[cell.columnRange.lowerBound];
            ++filled;
            numbers += isNumericText(cell.content.transcript) ? 1 : 0;
        }
    }
    for (std::size_t r = 1; r < table.rows.size(); ++r) {
        for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
            const DocumentCell& cell = table.rows[r][c];
            const QString text = cell.content.transcript.trimmed();
            if (!isSingleColumn(cell) || text.isEmpty() || text.size() > longestRereadCell || isNumericText(text))
                continue;
            const auto [numbers, filled] = numbersAndFilled[cell.columnRange.lowerBound];
            if (numbers < 2 || 5 * numbers < 3 * filled)
                continue;
            // "n/a" or a dash stays: only a number with a slip in it is read again.
            const auto digits = std::count_if(text.begin(), text.end(), [](QChar ch) { return ch.isDigit(); });
            const auto letters = std::count_if(text.begin(), text.end(), [](QChar ch) { return ch.isLetter(); });
            if (digits > 0 && digits >= letters)
                rereads.push_back({CellReread::Kind::number, r, c, numericCharacters()});
            else if (digits == 0 && !text.contains(u' ') && mostlyNumbers(table.rows[r]))
                rereads.push_back({CellReread::Kind::alone, r, c, {}});
        }
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& cells = table.rows[r];
        std::vector<qsizetype> codeLengths;
        // Codes of one row share their letters (Q1 to Q4, FY23 and FY24): a slipped one
        // is read with those letters and digits only.
        QString characters = QStringLiteral("0123456789");
        for (const DocumentCell& cell : cells) {
            const QString text = cell.content.transcript.trimmed();
            if (!isCodeText(text))
                continue;
            codeLengths.push_back(text.size());
            for (const QChar ch : text)
                if (ch.isLetter() && !characters.contains(ch))
                    characters.append(ch);
        }
        if (codeLengths.empty())
            continue;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const QString text = cells[c].content.transcript.trimmed();
            if (text.isEmpty() || isCodeText(text) || text.contains(u' ') ||
                std::none_of(codeLengths.begin(), codeLengths.end(),
                             [&](qsizetype length) { return aboutAsLong(length, text.size()); }))
                continue;
            // Beside a single code ("Qi" and "Q2" in a header), only a cell that is the
            // same code with a digit slipped into a look-alike is read again.
            if (codeLengths.size() < 2 && !looksLikeSlippedCode(text, characters))
                continue;
            const bool alreadyListed = std::any_of(rereads.begin(), rereads.end(), [&](const CellReread& reread) {
                return reread.row == r && reread.cell == c;
            });
            if (!alreadyListed)
                rereads.push_back({CellReread::Kind::code, r, c, characters});
        }
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        // Periods over column groups ("Q1 2025", "H2 2026"): one whose code slipped
        // ("Ql1 2025") is read with the codes' letters and digits only.
        const auto& cells = table.rows[r];
        QString characters = QStringLiteral("0123456789");
        int periods = 0;
        for (const DocumentCell& cell : cells) {
            const QString text = cell.content.transcript.trimmed();
            if (!isCodeWithFigures(text))
                continue;
            ++periods;
            for (const QChar ch : text.section(u' ', 0, 0))
                if (ch.isLetter() && !characters.contains(ch))
                    characters.append(ch);
        }
        if (periods < 2)
            continue;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const QString text = cells[c].content.transcript.trimmed();
            QStringList words = text.split(u' ', Qt::SkipEmptyParts);
            if (words.size() < 2 || !looksLikeSlippedCode(words.takeFirst(), characters) ||
                !std::all_of(words.begin(), words.end(), [](const QString& word) { return isNumericText(word); }))
                continue;
            rereads.push_back({CellReread::Kind::period, r, c, characters + u' '});
        }
    }
    // Column letters head a spreadsheet in order: a cell between two of them that is no
    // capital ("(e" between "B" and "D") can only be a letter of the gap.
    if (!table.rows.empty()) {
        const auto& cells = table.rows.front();
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const QString text = cells[c].content.transcript.trimmed();
            if (text.isEmpty() || text.size() > 2 || isColumnLetter(text) || text.contains(u' '))
                continue;
            const auto letterAt = [&](std::size_t k) {
                const QString neighbour = cells[k].content.transcript.trimmed();
                return isColumnLetter(neighbour) ? neighbour.front().unicode() : 0;
            };
            const char16_t before = c > 0 ? letterAt(c - 1) : 0;
            const char16_t after = c + 1 < cells.size() ? letterAt(c + 1) : 0;
            if (before == 0 || after == 0 || after - before < 2)
                continue;
            QString gap;
            for (char16_t letter = before + 1; letter < after; ++letter)
                gap.append(QChar(letter));
            rereads.push_back({CellReread::Kind::letter, 0, c, gap});
        }
    }
    return rereads;
}

bool acceptsReread(const CellReread& reread, const QString& text) {
    switch (reread.kind) {
    case CellReread::Kind::code:
        return isCodeText(text);
    case CellReread::Kind::letter:
        return isColumnLetter(text) && reread.characters.contains(text);
    case CellReread::Kind::period:
        return isCodeWithFigures(text);
    case CellReread::Kind::number:
    case CellReread::Kind::alone:
        break;
    }
    return isNumericText(text);
}

}  // namespace Platform::Recognition
