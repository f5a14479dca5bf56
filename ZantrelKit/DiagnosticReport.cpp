#include "ZantrelKit/DiagnosticReport.h"

#include "ZantrelKit/Copy.h"

#include <QRegularExpression>

namespace ZantrelKit::DiagnosticReport {
namespace {

bool isNameCharacter(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'.'; }

// Replaces every occurrence of the folder with "~" where it ends the name: "/Users/u501"
// stays whole inside "/Users/u5012".
QString shortenFolder(const QString& line, const QString& folder) {
    QString result;
    qsizetype from = 0;
    while (true) {
        const qsizetype found = line.indexOf(folder, from);
        if (found < 0)
            break;
        const qsizetype end = found + folder.size();
        result.append(QStringView(line).mid(from, found - from));
        if (end < line.size() && isNameCharacter(line[end]))
            result.append(folder);
        else
            result.append(u'~');
        from = end;
    }
    result.append(QStringView(line).mid(from));
    return result;
}

// The name as a whole word, matched literally and in any case. The name's own first and
// last characters may be punctuation ("Studio (2)"), so the edges are "no word character
// beside it" rather than a word boundary, which would never hold after ")".
bool namesWord(const QString& line, const QString& name) {
    const QRegularExpression pattern(
        QStringLiteral("(?<!\\w)") + QRegularExpression::escape(name) + QStringLiteral("(?!\\w)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return pattern.match(line).hasMatch();
}

}  // namespace

std::optional<QString> clean(const QString& line, const PrivateNames& names) {
    QString rewritten = line;
    if (names.home.size() > 1)
        rewritten = shortenFolder(rewritten, names.home);
    if (!names.user.isEmpty()) {
        rewritten = shortenFolder(rewritten, QStringLiteral("/Users/") + names.user);
        rewritten = shortenFolder(rewritten, QStringLiteral("/home/") + names.user);
    }
    for (const QString& name : {names.host, names.user})
        if (!name.isEmpty() && namesWord(rewritten, name))
            return std::nullopt;
    return rewritten;
}

QString make(const QString& appName, const QList<Fact>& facts, const QStringList& log,
             const PrivateNames& names) {
    QStringList lines{appName + QStringLiteral(" report")};
    for (const Fact& fact : facts)
        lines.append(fact.label + QStringLiteral(": ") + fact.value);
    lines.append(QString());
    QStringList kept;
    for (const QString& line : log)
        if (std::optional<QString> safe = clean(line, names))
            kept.append(*std::move(safe));
    if (kept.size() > lineCap)
        kept = kept.mid(kept.size() - lineCap);
    if (!kept.isEmpty()) {
        lines.append(kept);
        lines.append(QString());
    }
    lines.append(Copy::Diagnostics::footer(appName));
    return lines.join(u'\n');
}

}  // namespace ZantrelKit::DiagnosticReport
