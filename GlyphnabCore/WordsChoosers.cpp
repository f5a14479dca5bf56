// The texts that depend on a value: a line mode, an outcome's kind, a count, a link or
// a language.

#include "GlyphnabCore/Words.h"

#include "ZantrelKit/Copy.h"

#include <QRegularExpression>

namespace GlyphnabCore::Words {
namespace {

using ZantrelText::LineMode;

// Letters whose English names begin with a vowel sound ("an EAN-13", "an X code").
bool takesAn(const QString& name) {
    static const QString letters = QStringLiteral("AEFHILMNORSX");
    return !name.isEmpty() && letters.contains(name.front());
}

// A language identifier taken apart by the shape of its subtags.
struct Subtags {
    QString language;
    QString script;
    QString region;
};

bool isLetters(QStringView text) {
    for (const QChar c : text)
        if (!(c.unicode() < 128 && c.isLetter()))
            return false;
    return !text.isEmpty();
}

bool isDigits(QStringView text) {
    for (const QChar c : text)
        if (!(c.unicode() < 128 && c.isDigit()))
            return false;
    return !text.isEmpty();
}

Subtags subtagsOf(const QString& identifier) {
    Subtags subtags;
    const QStringList parts = QString(identifier).replace(u'_', u'-').split(u'-');
    if (parts.isEmpty() || !isLetters(parts.front()) || parts.front().size() < 2 || parts.front().size() > 8)
        return subtags;
    subtags.language = parts.front().toLower();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (subtags.script.isEmpty() && subtags.region.isEmpty() && part.size() == 4 && isLetters(part))
            subtags.script = part.left(1).toUpper() + part.mid(1).toLower();
        else if (subtags.region.isEmpty() && ((part.size() == 2 && isLetters(part)) || (part.size() == 3 && isDigits(part))))
            subtags.region = part.toUpper();
    }
    return subtags;
}

QString scriptName(QLocale::Script script) {
    switch (script) {
    case QLocale::SimplifiedHanScript:
        return QStringLiteral("Simplified");
    case QLocale::TraditionalHanScript:
        return QStringLiteral("Traditional");
    default:
        return QLocale::scriptToString(script);
    }
}

// "Portuguese (Brazil)", "Chinese (Simplified)"; nothing when a part has no known name.
// Qt names languages, scripts and regions in English only.
std::optional<QString> nameOf(const Subtags& subtags) {
    const QLocale::Language language = QLocale::codeToLanguage(subtags.language);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return std::nullopt;
    QStringList details;
    if (!subtags.script.isEmpty()) {
        const QLocale::Script script = QLocale::codeToScript(subtags.script);
        if (script == QLocale::AnyScript)
            return std::nullopt;
        details.append(scriptName(script));
    }
    if (!subtags.region.isEmpty()) {
        const QLocale::Territory territory = QLocale::codeToTerritory(subtags.region);
        if (territory == QLocale::AnyTerritory)
            return std::nullopt;
        details.append(QLocale::territoryToString(territory));
    }
    QString name = QLocale::languageToString(language);
    if (!details.isEmpty())
        name += QStringLiteral(" (") + details.join(QStringLiteral(", ")) + u')';
    return name;
}

}  // namespace

QString menuGrab(LineMode mode) { return mode == LineMode::join ? menuGrabJoin() : menuGrabKeep(); }

QString noticeTitle(const Outcome::Kind& kind, qsizetype characters) {
    if (const auto* table = kind.as<Outcome::Kind::Table>())
        return noticeTable(table->rows, table->columns);
    if (const auto* code = kind.as<Outcome::Kind::Code>()) {
        if (code->name == u"QR code" || code->name == u"Micro QR code")
            return noticeQr();
        return codeCopied(code->name);
    }
    if (const auto* codes = kind.as<Outcome::Kind::Codes>())
        return noticeCodes(codes->count);
    if (kind.is<Outcome::Kind::Text>())
        return characters == 1 ? noticeCopiedOne() : noticeCopied(characters);
    return noticeNothing();
}

QString codeCopied(const QString& kindName) {
    if (kindName == u"Barcode")
        return noticeBarcodePlain();
    const bool an = takesAn(kindName);
    if (kindName.endsWith(u" code"))
        return an ? noticeCodeAn(kindName) : noticeCode(kindName);
    return an ? noticeBarcodeAn(kindName) : noticeBarcode(kindName);
}

QString noticeMode(LineMode mode) { return mode == LineMode::join ? noticeModeJoin() : noticeModeKeep(); }

QString noticeReading(qsizetype pages) {
    if (pages == 1)
        return noticeReadingOne();
    return lookup(QStringLiteral("notice.reading"), QStringLiteral("Reading %lld pages"), {pages});
}

QString noticePagesCut(int read, int total, int files, const QString& appName, int limit) {
    if (files == 1)
        return lookup(QStringLiteral("notice.pagesCut"), QStringLiteral("Copied the first %lld of %lld pages."),
                      {read, total});
    return lookup(QStringLiteral("notice.pagesCutMany"),
                  QStringLiteral("Copied %lld of %lld pages. %@ reads the first %lld pages of each PDF."),
                  {read, total, appName, limit});
}

QString noticeOpen(const QUrl& link) {
    const QString host = link.host(QUrl::FullyEncoded);
    QString shown = host.isEmpty() ? link.toString(QUrl::FullyEncoded) : host;
    static const QRegularExpression leadingWww(QStringLiteral("^www\\."));
    shown.remove(leadingWww);
    return lookup(QStringLiteral("notice.open"), QStringLiteral("Open %@"), {shown});
}

QString noticeCopyOtherWay(LineMode mode) { return mode == LineMode::join ? noticeCopyKept() : noticeCopyJoined(); }

QString shortcutTitle(bool joined) { return joined ? settingsShortcutJoin() : settingsShortcutKeep(); }

QString followMacDetail(const QStringList& languageNames) {
    if (languageNames.isEmpty())
        return settingsFollowMacNone();
    return lookup(QStringLiteral("settings.followMacDetail"), QStringLiteral("Reads %@."),
                  {ZantrelKit::Copy::joinedList(languageNames)});
}

QString languagesPicked(qsizetype picked, qsizetype total) {
    return lookup(QStringLiteral("settings.languagesPicked"), QStringLiteral("%lld of %lld picked"), {picked, total});
}

QString languageKey(const QString& identifier, const QLocale& displayLocale) {
    // Qt holds the names of languages in English only, whatever the display locale.
    Q_UNUSED(displayLocale);
    const Subtags whole = subtagsOf(identifier);
    if (whole.language.isEmpty())
        return identifier;
    std::optional<Subtags> nameKey;
    if ((whole.language == u"zh" || whole.language == u"yue") && !whole.script.isEmpty())
        nameKey = Subtags{whole.language, whole.script, {}};
    else if (!whole.region.isEmpty())
        nameKey = Subtags{whole.language, {}, whole.region};
    if (nameKey)
        if (const std::optional<QString> name = nameOf(*nameKey))
            return *name;
    return nameOf(whole).value_or(identifier);
}

}  // namespace GlyphnabCore::Words
