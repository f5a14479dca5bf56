#pragma once

// What a document tool blacks out of a PDF before writing it: boxes drawn on pages
// (marks) and words or phrases to find in the text (terms). Terms match on folded text:
// case, accents and character width do not count.

#include <QMap>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace ZantrelKit {

struct RedactionPlan {
    struct Mark {
        std::int64_t page = 0;  // as the caller counts pages
        QRectF box;  // page points

        friend bool operator==(const Mark& a, const Mark& b);
    };

    std::vector<Mark> marks;  // in the order added
    QStringList terms;  // trimmed, in the order added, none two equal once folded

    bool isEmpty() const { return marks.empty() && terms.isEmpty(); }

    // Ignored for an empty or non-finite box, or one narrower or lower than a point.
    void addMark(std::int64_t page, const QRectF& box);
    // Ignored outside the list.
    void removeMark(std::int64_t index);
    void clear();

    // Trimmed of white space and line breaks; ignored when nothing is left or when a term
    // that folds the same is there already (the first one stays).
    void addTerm(const QString& text);
    // Every term exactly equal to the text: no folding, no trimming.
    void removeTerm(const QString& text);

    // Pages holding a mark, each once, ascending.
    std::vector<std::int64_t> pages() const;
    std::vector<QRectF> boxes(std::int64_t page) const;

    static QString fold(const QString& text);
    // Some folded term is a substring of the folded text; false without terms.
    bool matches(const QString& text) const;
    bool isClean(const QString& text) const { return !matches(text); }
    // The document-information entries whose values hold no term; keys are not looked at.
    QMap<QString, QString> scrub(const QMap<QString, QString>& info) const;

    friend bool operator==(const RedactionPlan&, const RedactionPlan&) = default;
};

}  // namespace ZantrelKit
