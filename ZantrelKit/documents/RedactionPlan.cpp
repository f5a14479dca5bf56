#include "ZantrelKit/documents/RedactionPlan.h"

#include <algorithm>
#include <cmath>

namespace ZantrelKit {
namespace {

bool isFinite(const QRectF& box) {
    return std::isfinite(box.x()) && std::isfinite(box.y()) && std::isfinite(box.width()) &&
           std::isfinite(box.height());
}

// Full-width and half-width forms as their ordinary characters.
QString narrowed(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        const QChar::Decomposition tag = QChar::decompositionTag(c);
        if (tag == QChar::Wide || tag == QChar::Narrow)
            result += QChar::decomposition(c);
        else
            result += QString::fromUcs4(&c, 1);
    }
    return result;
}

QString withoutMarks(const QString& decomposed) {
    QString result;
    result.reserve(decomposed.size());
    for (const char32_t c : decomposed.toUcs4())
        if (QChar::category(c) != QChar::Mark_NonSpacing)
            result += QString::fromUcs4(&c, 1);
    return result;
}

}  // namespace

bool operator==(const RedactionPlan::Mark& a, const RedactionPlan::Mark& b) {
    // Equal rectangles: the same area, however the corners were given.
    const QRectF x = a.box.normalized();
    const QRectF y = b.box.normalized();
    return a.page == b.page && x.x() == y.x() && x.y() == y.y() && x.width() == y.width() &&
           x.height() == y.height();
}

void RedactionPlan::addMark(std::int64_t page, const QRectF& box) {
    if (!isFinite(box) || std::abs(box.width()) < 1 || std::abs(box.height()) < 1)
        return;
    marks.push_back({page, box});
}

void RedactionPlan::removeMark(std::int64_t index) {
    if (index >= 0 && index < std::int64_t(marks.size()))
        marks.erase(marks.begin() + index);
}

void RedactionPlan::clear() {
    marks.clear();
    terms.clear();
}

void RedactionPlan::addTerm(const QString& text) {
    const QString term = text.trimmed();
    if (term.isEmpty())
        return;
    const QString folded = fold(term);
    if (std::any_of(terms.begin(), terms.end(), [&](const QString& known) { return fold(known) == folded; }))
        return;
    terms.append(term);
}

void RedactionPlan::removeTerm(const QString& text) { terms.removeAll(text); }

std::vector<std::int64_t> RedactionPlan::pages() const {
    std::vector<std::int64_t> result;
    for (const Mark& mark : marks)
        result.push_back(mark.page);
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

std::vector<QRectF> RedactionPlan::boxes(std::int64_t page) const {
    std::vector<QRectF> result;
    for (const Mark& mark : marks)
        if (mark.page == page)
            result.push_back(mark.box);
    return result;
}

QString RedactionPlan::fold(const QString& text) {
    const QString caseless = narrowed(text).toCaseFolded();
    return withoutMarks(caseless.normalized(QString::NormalizationForm_D)).normalized(QString::NormalizationForm_C);
}

bool RedactionPlan::matches(const QString& text) const {
    if (terms.isEmpty())
        return false;
    const QString folded = fold(text);
    return std::any_of(terms.begin(), terms.end(), [&](const QString& term) { return folded.contains(fold(term)); });
}

QMap<QString, QString> RedactionPlan::scrub(const QMap<QString, QString>& info) const {
    QMap<QString, QString> kept;
    for (auto entry = info.begin(); entry != info.end(); ++entry)
        if (isClean(entry.value()))
            kept.insert(entry.key(), entry.value());
    return kept;
}

}  // namespace ZantrelKit
