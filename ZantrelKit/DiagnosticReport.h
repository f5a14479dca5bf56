#pragma once

// The support report as the user sees it before sending: a few facts, then the app's own
// log made safe (the home folder shortened, lines naming the computer or the user left
// out) and capped at its newest lines.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace ZantrelKit::DiagnosticReport {

inline constexpr int lineCap = 200;

struct Fact {
    QString label;
    QString value;

    friend bool operator==(const Fact&, const Fact&) = default;
};

// The names a report must not carry; either may be empty.
struct PrivateNames {
    QString host;  // the computer's name
    QString user;  // the account name
    // The home folder, shortened to "~" like "/Users/<user>" and "/home/<user>".
    QString home;
};

// The line made safe, or nothing when it must be left out.
std::optional<QString> clean(const QString& line, const PrivateNames& names);

// The report text; log lines oldest first. Never fails.
QString make(const QString& appName, const QList<Fact>& facts, const QStringList& log,
             const PrivateNames& names);

}  // namespace ZantrelKit::DiagnosticReport
