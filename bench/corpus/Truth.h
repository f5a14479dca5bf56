#pragma once

// One rendered page of the corpus and what is drawn on it, as the renderer read it back
// from the laid-out page.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Corpus {

struct TruthLine {
    QString text;
    // Monospace lines keep their spaces: indentation and columns count.
    bool mono = false;
    // The list marker as drawn ("•", "◦", "▪", "–", "3."), when the line starts an item.
    QString marker;
};

struct Page {
    QString name;
    QString picture;
    QString kind;
    QString look;
    // The reader's languages, as a user of the page would have set them; empty for English.
    QStringList languages;
    QList<TruthLine> lines;
    // Lines cut by the picture's edge: reading them whole is as good as dropping them.
    QStringList optional;
    // Each table's rows of cells (rows with merged cells left out).
    QList<QList<QStringList>> tables;
};

// The pages of one folder, in name order; a page whose truth cannot be read is skipped
// with a message.
QList<Page> loadPages(const QString& folder);

}  // namespace Corpus
