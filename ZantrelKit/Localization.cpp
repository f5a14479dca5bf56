#include "ZantrelKit/Localization.h"

#include "ZantrelKit/DataFolder.h"
#include "platform/log/Log.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <mutex>
#include <optional>

namespace ZantrelKit {
namespace {

using Table = QHash<QString, QString>;

const Platform::Logger& log() {
    static const Platform::Logger logger(QStringLiteral("texts"));
    return logger;
}

std::optional<Table> readTable(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) {
        log().error(u"string table unreadable: %{public}s", path);
        return Table{};
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        log().error(u"string table not a JSON object: %{public}s", path);
        return Table{};
    }
    Table table;
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it)
        if (it.value().isString())
            table.insert(it.key(), it.value().toString());
    return table;
}

// The length of an integer conversion ("d", "ld", "lld", with i or u) at the position, or 0.
qsizetype integerConversionLength(QStringView rest) {
    qsizetype length = 0;
    while (length < 2 && length < rest.size() && rest[length] == u'l')
        ++length;
    if (length < rest.size() && (rest[length] == u'd' || rest[length] == u'i' || rest[length] == u'u'))
        return length + 1;
    return 0;
}

std::mutex& localeMutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<QLocale>& chosenLocale() {
    static std::optional<QLocale> locale;
    return locale;
}

}  // namespace

QString TextArgument::text() const {
    if (const auto* number = std::get_if<qint64>(&value_))
        return QString::number(*number);
    return std::get<QString>(value_);
}

QString fillArguments(const QString& pattern, std::initializer_list<TextArgument> arguments) {
    const std::vector<TextArgument> list(arguments);
    QString result;
    result.reserve(pattern.size());
    std::size_t next = 0;
    const QStringView view(pattern);
    qsizetype i = 0;
    while (i < view.size()) {
        const QChar c = view[i];
        if (c != u'%' || i + 1 >= view.size()) {
            result.append(c);
            ++i;
            continue;
        }
        if (view[i + 1] == u'%') {
            result.append(u'%');
            i += 2;
            continue;
        }
        // Optional position: digits followed by '$'.
        qsizetype cursor = i + 1;
        std::optional<std::size_t> position;
        qsizetype digitsEnd = cursor;
        while (digitsEnd < view.size() && view[digitsEnd].isDigit() && view[digitsEnd].unicode() < 128)
            ++digitsEnd;
        if (digitsEnd > cursor && digitsEnd < view.size() && view[digitsEnd] == u'$') {
            const unsigned long number = view.mid(cursor, digitsEnd - cursor).toULong();
            if (number >= 1)
                position = number - 1;
            cursor = digitsEnd + 1;
        }
        qsizetype conversion = 0;
        if (cursor < view.size() && view[cursor] == u'@')
            conversion = 1;
        else
            conversion = integerConversionLength(view.mid(cursor));
        if (conversion == 0) {
            result.append(c);  // not a specifier of ours: keep the percent sign as text
            ++i;
            continue;
        }
        const qsizetype end = cursor + conversion;
        const std::size_t index = position ? *position : next++;
        if (index < list.size())
            result.append(list[index].text());
        else
            result.append(view.mid(i, end - i));
        i = end;
    }
    return result;
}

QStringList tableLanguages(const QLocale& locale) {
    QStringList languages;
    const auto add = [&languages](const QString& name) {
        if (!name.isEmpty() && name != u"C" && !languages.contains(name))
            languages.append(name);
    };
    const QString name = locale.name();  // "pt_BR"
    const QString language = QLocale::languageToCode(locale.language());
    if (name.contains(u'_')) {
        add(QString(name).replace(u'_', u'-'));
        add(name);
    }
    if (locale.script() != QLocale::AnyScript && !language.isEmpty())
        add(language + u'-' + QLocale::scriptToCode(locale.script()));  // "zh-Hans"
    add(language);
    return languages;
}

struct StringTables::Cache {
    std::mutex mutex;
    QHash<QString, std::optional<Table>> tables;  // by language; nothing = no table
};

StringTables::StringTables(QString folder) : folder_(std::move(folder)), cache_(std::make_unique<Cache>()) {}

StringTables::~StringTables() = default;

QString StringTables::lookup(const QString& key, const QString& englishDefault, const QLocale& locale) const {
    const QStringList languages = tableLanguages(locale);
    const std::lock_guard lock(cache_->mutex);
    for (const QString& language : languages) {
        auto found = cache_->tables.find(language);
        if (found == cache_->tables.end())
            found = cache_->tables.insert(
                language, readTable(folder_ + u'/' + language + QStringLiteral(".lproj/Localizable.json")));
        if (!found.value())
            continue;
        const auto entry = found.value()->constFind(key);
        if (entry != found.value()->constEnd())
            return entry.value();
    }
    return englishDefault;
}

QString StringTables::text(const QString& key, const QString& englishDefault,
                           std::initializer_list<TextArgument> arguments) const {
    const QString pattern = lookup(key, englishDefault, Localization::locale());
    return arguments.size() == 0 ? pattern : fillArguments(pattern, arguments);
}

QLocale Localization::locale() {
    const std::lock_guard lock(localeMutex());
    return chosenLocale().value_or(QLocale());
}

void Localization::setLocale(const QLocale& locale) {
    const std::lock_guard lock(localeMutex());
    chosenLocale() = locale;
}

void Localization::resetLocale() {
    const std::lock_guard lock(localeMutex());
    chosenLocale().reset();
}

const StringTables& kitStrings() {
    static const StringTables tables(kitResourceBundle());
    return tables;
}

}  // namespace ZantrelKit
