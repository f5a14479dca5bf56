#include "Glyphnab/shell/ArgumentNames.h"

#include <algorithm>

namespace Glyphnab::ArgumentNames {

namespace {

constexpr char16_t escapeBase = 0xdc00;

bool isEscapedByte(char16_t unit) { return unit >= escapeBase + 0x80 && unit <= escapeBase + 0xff; }

// The length of the valid UTF-8 sequence at `at`, or 0.
int sequenceLength(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    int length = 0;
    char32_t value = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        value = lead & 0x1f;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        value = lead & 0x0f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xc0) != 0x80)
            return 0;
        value = value << 6 | (byte(at + i) & 0x3f);
    }
    // Overlong forms, surrogates and values past Unicode are not UTF-8.
    if ((length == 3 && value < 0x800) || (length == 4 && (value < 0x10000 || value > 0x10ffff)) ||
        (value >= 0xd800 && value <= 0xdfff))
        return 0;
    return length;
}

}  // namespace

QString fromNative(const QByteArray& bytes) {
    QString name;
    for (qsizetype at = 0; at < bytes.size();) {
        const int length = sequenceLength(bytes, at);
        if (length == 0) {
            name.append(QChar(static_cast<char16_t>(escapeBase + static_cast<unsigned char>(bytes[at]))));
            ++at;
            continue;
        }
        name.append(QString::fromUtf8(bytes.constData() + at, length));
        at += length;
    }
    return name;
}

QByteArray toNative(const QString& name) {
    QByteArray bytes;
    qsizetype run = 0;  // the start of the text not written yet
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isEscapedByte(name[i].unicode()))
            continue;
        bytes.append(QStringView(name).sliced(run, i - run).toUtf8());
        if (i < name.size())
            bytes.append(static_cast<char>(name[i].unicode() - escapeBase));
        run = i + 1;
    }
    return bytes;
}

bool hasForeignBytes(const QString& name) {
    return std::any_of(name.cbegin(), name.cend(), [](QChar c) { return isEscapedByte(c.unicode()); });
}

QString shown(const QString& name) {
    QString text;
    for (const QChar c : name) {
        const char16_t unit = c.unicode();
        if (isEscapedByte(unit)) {
            text += QStringLiteral("\\x%1").arg(unit - escapeBase, 2, 16, QLatin1Char('0'));
        } else if (unit == u'\n') {
            text += QStringLiteral("\\n");
        } else if (unit == u'\t') {
            text += QStringLiteral("\\t");
        } else if (unit == 0x1b) {
            text += QStringLiteral("\\e");
        } else if (unit < 0x20 || unit == 0x7f || (unit >= 0x80 && unit < 0xa0)) {
            text += QStringLiteral("\\x%1").arg(int(unit), 2, 16, QLatin1Char('0'));
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace Glyphnab::ArgumentNames
