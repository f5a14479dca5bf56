#include "ZantrelKit/Formatting.h"

#include "ZantrelKit/Localization.h"

#include <QStringList>

#include <unicode/unum.h>
#include <unicode/unumberformatter.h>

#include <array>
#include <cmath>
#include <memory>
#include <mutex>
#include <string>

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

// Decimal units as file sizes are shown: whole kilobytes, megabytes to a tenth, the rest
// to a hundredth.
constexpr std::array<int, 6> unitFractionDigits{0, 1, 2, 2, 2, 2};

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

// The locale's short name of the decimal unit 1000^power ("kB", "MB"; "ko", "Mo" in French).
QString unitName(const QLocale& locale, std::size_t power) {
    const auto amount = static_cast<qint64>(std::pow(1000.0, static_cast<double>(power)));
    const QString text = locale.formattedDataSize(amount, 0, QLocale::DataSizeSIFormat);
    const QString one = locale.toString(1);
    return text.startsWith(one) ? text.mid(one.size()).trimmed() : text.section(u' ', 1);
}

QString fromIcu(const UChar* text, int32_t length) {
    return QString(reinterpret_cast<const QChar*>(text), length);
}

std::string icuLocale(const QLocale& locale) { return locale.name().toStdString(); }

// A count of bytes spelled out in the locale, with its plural ("1 byte", "500 Byte").
std::optional<QString> byteCount(const QLocale& locale, std::int64_t count) {
    UErrorCode status = U_ZERO_ERROR;
    const std::u16string skeleton = u"measure-unit/digital-byte unit-width-full-name";
    const std::unique_ptr<UNumberFormatter, decltype(&unumf_close)> formatter(
        unumf_openForSkeletonAndLocale(skeleton.data(), static_cast<int32_t>(skeleton.size()),
                                       icuLocale(locale).c_str(), &status),
        &unumf_close);
    const std::unique_ptr<UFormattedNumber, decltype(&unumf_closeResult)> result(unumf_openResult(&status),
                                                                                 &unumf_closeResult);
    unumf_formatInt(formatter.get(), count, result.get(), &status);
    std::array<UChar, 128> text{};
    const int32_t length = unumf_resultToString(result.get(), text.data(), text.size(), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    return fromIcu(text.data(), length);
}

// A whole percentage in the locale's percent pattern ("25%", "25 %", "%25").
std::optional<QString> icuPercent(const QLocale& locale, std::int64_t wholePercent) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UNumberFormat, decltype(&unum_close)> format(
        unum_open(UNUM_PERCENT, nullptr, 0, icuLocale(locale).c_str(), nullptr, &status), &unum_close);
    if (U_FAILURE(status))
        return std::nullopt;
    unum_setAttribute(format.get(), UNUM_MAX_FRACTION_DIGITS, 0);
    std::array<UChar, 128> text{};
    const int32_t length = unum_formatDouble(format.get(), static_cast<double>(wholePercent) / 100.0, text.data(),
                                             text.size(), nullptr, &status);
    if (U_FAILURE(status))
        return std::nullopt;
    return fromIcu(text.data(), length);
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
        if (std::optional<QString> spelled = byteCount(in, count))
            return *spelled;
        return in.formattedDataSize(count, 0, QLocale::DataSizeSIFormat);
    }
    std::size_t unit = 0;
    double value = magnitude / 1000.0;
    while (unit + 1 < unitFractionDigits.size() && value >= 1000.0) {
        value /= 1000.0;
        ++unit;
    }
    // Rounding may reach the next unit: 999,999 bytes read 1 MB, not 1000 KB.
    const double scale = std::pow(10.0, unitFractionDigits[unit]);
    double rounded = std::round(value * scale) / scale;
    if (rounded >= 1000.0 && unit + 1 < unitFractionDigits.size()) {
        ++unit;
        const double nextScale = std::pow(10.0, unitFractionDigits[unit]);
        rounded = std::round(rounded / 1000.0 * nextScale) / nextScale;
    }
    QString name = unitName(in, unit + 1);
    // Kilobytes always read with a capital K.
    if (name == u"kB")
        name = QStringLiteral("KB");
    return sign + trimmedNumber(in, rounded, unitFractionDigits[unit]) + u' ' + name;
}

QString percent(std::int64_t wholePercent) {
    const QLocale in = locale();
    if (std::optional<QString> text = icuPercent(in, wholePercent))
        return *text;
    return in.toString(static_cast<qint64>(wholePercent)) + in.percent();
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
