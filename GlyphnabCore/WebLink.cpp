#include "GlyphnabCore/WebLink.h"

namespace GlyphnabCore::WebLink {
namespace {

// A link detector leaves sentence punctuation after an address out of the match, so a
// text ending in it is not an address alone.
bool endsInPunctuation(const QString& text) {
    static const QString punctuation = QStringLiteral(".,;:!?'\"");
    return punctuation.contains(text.back());
}

bool hasUnbalancedClosing(const QString& text) {
    int parentheses = 0;
    int brackets = 0;
    for (const QChar c : text) {
        parentheses += c == u'(' ? 1 : c == u')' ? -1 : 0;
        brackets += c == u'[' ? 1 : c == u']' ? -1 : 0;
        if (parentheses < 0 || brackets < 0)
            return true;
    }
    return false;
}

}  // namespace

std::optional<QUrl> find(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    for (const QChar c : trimmed)
        if (c.isSpace())
            return std::nullopt;
    if (endsInPunctuation(trimmed) || hasUnbalancedClosing(trimmed))
        return std::nullopt;

    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme != u"http" && scheme != u"https")
        return std::nullopt;
    // "https:example.com" has no authority; "https://" has an empty one.
    if (url.host().isEmpty() || !trimmed.mid(scheme.size()).startsWith(u"://"))
        return std::nullopt;
    return url;
}

}  // namespace GlyphnabCore::WebLink
