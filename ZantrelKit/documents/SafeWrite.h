#pragma once

// Output files of the document tools: a free name beside the source (never the source
// itself), and a write through a scratch folder that moves the finished file into place,
// so that a failed or half-written output never shows under the final name.

#include <QString>
#include <QUrl>

#include <exception>
#include <functional>
#include <optional>

namespace ZantrelKit {

// True: the name is in use.
using TakenTest = std::function<bool(const QUrl&)>;
// Writes the whole output to the given file; may throw.
using OutputWriter = std::function<void(const QUrl&)>;

namespace OutputNaming {

// "<stem>[ <suffix>].<ext>", then "… 2.<ext>", "… 3.<ext>" while taken, in `folder` or
// else the source's own folder; a name that is the source's (in any case) is skipped.
QUrl url(const QUrl& source, const std::optional<QString>& suffix, const QString& ext,
         const std::optional<QUrl>& folder, const TakenTest& taken);

// "<name>.<ext>", then "<name> 2.<ext>", … in the folder.
QUrl url(const QUrl& folder, const QString& name, const QString& ext, const TakenTest& taken);

}  // namespace OutputNaming

class SafeWriteError : public std::exception {
public:
    enum class Kind { cantSave };

    static SafeWriteError cantSave() { return SafeWriteError(Kind::cantSave); }

    Kind kind() const { return kind_; }
    const char* what() const noexcept override { return "The output could not be saved."; }

    friend bool operator==(const SafeWriteError& a, const SafeWriteError& b) { return a.kind_ == b.kind_; }

private:
    explicit SafeWriteError(Kind kind) : kind_(kind) {}
    Kind kind_;
};

namespace SafeWrite {

// Writes beside the source (or into `folder`) under the first free output name; returns
// where the output is. The writer's own errors pass through unchanged; every other
// failure is SafeWriteError::cantSave, and nothing is left behind.
QUrl write(const QUrl& source, const std::optional<QString>& suffix, const QString& ext,
           const std::optional<QUrl>& folder, const OutputWriter& writer);

// The same under "<name>.<ext>", "<name> 2.<ext>", … in the folder.
QUrl write(const QUrl& folder, const QString& name, const QString& ext, const OutputWriter& writer);

}  // namespace SafeWrite

}  // namespace ZantrelKit
