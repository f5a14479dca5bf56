#pragma once

// The recent grabs the menu offers to copy again: in memory only, newest first.

#include <QString>
#include <QStringList>

namespace GlyphnabCore {

class Recents {
public:
    static constexpr qsizetype capacity = 20;
    static constexpr qsizetype titleLength = 40;

    Recents() = default;

    // Newest first, at most `capacity`, no two equal.
    const QStringList& items() const { return items_; }

    bool enabled() const { return enabled_; }
    // Turning it off forgets every grab at once; turning it on brings none back.
    void setEnabled(bool enabled);

    // Puts the text in front, removing an equal earlier entry; blank texts and a disabled
    // list are left alone. Texts are compared exactly, surrounding spaces included.
    void add(const QString& text);
    void clear();

    // The first visible line, tab-separated cells shown with single spaces, cut at 40
    // characters with "…"; empty for a text without visible lines.
    static QString menuTitle(const QString& text);

    friend bool operator==(const Recents&, const Recents&) = default;

private:
    QStringList items_;
    bool enabled_ = true;
};

}  // namespace GlyphnabCore
