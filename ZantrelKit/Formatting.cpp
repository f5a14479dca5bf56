#include "ZantrelKit/Formatting.h"

#include "ZantrelKit/Localization.h"

#include <QStringList>

#include <array>
#include <cmath>
#include <mutex>

namespace ZantrelKit::Formatting {
namespace {

std::mutex& localeMutex() {
    static std::mutex mutex;
    return mutex;
}

QLocale& sharedLocale() {
    static QLocale locale(QStringLiteral("en_US"));
    return locale;
}

struct Unit {
    const char16_t* name;
    int fractionDigits;
};

// Decimal units as file sizes are shown: whole kilobytes, megabytes to a tenth, the rest
// to a hundredth.
constexpr std::array<Unit, 6> units{{{u"KB", 0}, {u"MB", 1}, {u"GB", 2}, {u"TB", 2}, {u"PB", 2}, {u"EB", 2}}};

QString trimmedNumber(const QLocale& locale, double value, int fractionDigits) {
    QString text = locale.toString(value, 'f', fractionDigits);
    const QString point = locale.decimalPoint();
    if (fractionDigits > 0 && text.contains(point)) {
        const QString zero = locale.zeroDigit();
        while (text.endsWith(zero))
            text.chop(zero.size());
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text;
}

// Where the percent sign stands, for the languages that do not write "25%".
QString percentPattern(const QLocale& locale) {
    switch (locale.language()) {
    case QLocale::French:
        return QStringLiteral("%1\u202F%2");
    case QLocale::German:
    case QLocale::Spanish:
    case QLocale::Swedish:
    case QLocale::NorwegianBokmal:
    case QLocale::NorwegianNynorsk:
    case QLocale::Danish:
    case QLocale::Finnish:
    case QLocale::Czech:
    case QLocale::Slovak:
    case QLocale::Russian:
    case QLocale::Ukrainian:
        return QStringLiteral("%1\u00A0%2");
    case QLocale::Turkish:
        return QStringLiteral("%2%1");
    default:
        return QStringLiteral("%1%2");
    }
}

}  // namespace

QLocale locale() {
    const std::lock_guard lock(localeMutex());
    return sharedLocale();
}

void setLocale(const QLocale& locale) {
    const std::lock_guard lock(localeMutex());
    sharedLocale() = locale;
}

QString bytes(std::int64_t count) {
    if (count == 0)
        return kitText(QStringLiteral("unit.zeroKB"), QStringLiteral("0 KB"));
    const QLocale in = locale();
    const QString sign = count < 0 ? in.negativeSign() : QString();
    // The magnitude as a double: exact below 2^53, and the one count without a positive
    // counterpart (the lowest int64) still works.
    const double magnitude = std::fabs(static_cast<double>(count));
    if (magnitude < 1000.0) {
        const auto whole = static_cast<qint64>(magnitude);
        return sign + in.toString(whole) + (whole == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));
    }
    std::size_t unit = 0;
    double value = magnitude / 1000.0;
    while (unit + 1 < units.size() && value >= 1000.0) {
        value /= 1000.0;
        ++unit;
    }
    // Rounding may reach the next unit: 999,999 bytes read 1 MB, not 1000 KB.
    const double scale = std::pow(10.0, units[unit].fractionDigits);
    double rounded = std::round(value * scale) / scale;
    if (rounded >= 1000.0 && unit + 1 < units.size()) {
        ++unit;
        const double nextScale = std::pow(10.0, units[unit].fractionDigits);
        rounded = std::round(rounded / 1000.0 * nextScale) / nextScale;
    }
    return sign + trimmedNumber(in, rounded, units[unit].fractionDigits) + u' ' +
           QString::fromUtf16(units[unit].name);
}

QString percent(std::int64_t wholePercent) {
    const QLocale in = locale();
    return percentPattern(in).arg(in.toString(static_cast<qint64>(wholePercent)), in.percent());
}

std::optional<QString> sizeChange(std::int64_t from, std::int64_t to) {
    if (from < 1)
        return std::nullopt;
    const double change =
        std::round(static_cast<double>(to - from) * 100.0 / static_cast<double>(from));
    const auto whole = static_cast<std::int64_t>(change);
    if (whole == 0)
        return kitText(QStringLiteral("size.same"), QStringLiteral("About the same size"));
    if (whole > 0)
        return kitText(QStringLiteral("size.larger"), QStringLiteral("%@ larger"), {percent(whole)});
    return kitText(QStringLiteral("size.smaller"), QStringLiteral("%@ smaller"), {percent(-whole)});
}

}  // namespace ZantrelKit::Formatting
