#pragma once

// The program's commands: `glyphnab grab`, `glyphnab read FILE…` and `glyphnab code FILE`
// print the text on standard output, or the failure on standard error with a non-zero
// exit. They go to the running instance when there is one; `read` and `code` also work
// without one, and without a display.

#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <expected>
#include <optional>
#include <variant>

namespace Glyphnab {

// The exit code of a command, or nothing when the arguments are the app's own (no
// command, files to open, the app's options): the app starts then.
std::optional<int> runCommandLine(int argc, char** argv);

namespace CommandLine {

enum Exit : int { success = 0, failure = 1, usage = 2 };

struct Command {
    enum class Action { grab, read, code, help };
    Action action = Action::help;
    // In order; "-" is standard input.
    QStringList files;
    // grab: with the other line handling (--other).
    bool other = false;

    friend bool operator==(const Command&, const Command&) = default;
};

// Arguments that name no command the program knows: what was wrong.
struct Misuse {
    QString problem;
    friend bool operator==(const Misuse&, const Misuse&) = default;
};

// Not a command: the app's own arguments.
struct AppArguments {
    friend bool operator==(const AppArguments&, const AppArguments&) = default;
};

using Parsed = std::variant<Command, Misuse, AppArguments>;

// `arguments` without the program name.
Parsed parse(const QStringList& arguments);

QString usageText();

// What standard input may hold: more is refused rather than read until memory runs out.
inline constexpr qsizetype inputCap = qsizetype{200} << 20;
// The time one file may take before it is given up as taking too long.
inline constexpr std::chrono::milliseconds fileTimeBudget{25'000};

// The whole stream, or why not (larger than `cap`, a read error).
std::expected<QByteArray, QString> readInput(std::FILE* stream, qsizetype cap = inputCap);

// Standard input's file name, for the messages.
inline const QString standardInput = QStringLiteral("-");

}  // namespace CommandLine

}  // namespace Glyphnab
