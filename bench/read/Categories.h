#pragma once

// Screen content that readers get wrong in telling ways: code with lone braces, lists,
// coloured buttons, large headings, tables of long cells, figures, accented words and a
// plain region. Each picture is drawn with what a correct reading must give.

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace Bench {

struct CategorySample {
    QString name;
    QImage picture;
    // One entry per drawn row of text, in reading order, with code indentation.
    QStringList lines;
    // List items that must each start a line of their own, with a marker, in join mode.
    int listItems = 0;
    // The table a reading should find; empty when the picture holds none.
    QList<QStringList> table;
    // The reading's languages (BCP 47); empty reads the default.
    QStringList languages;
};

std::vector<CategorySample> categorySamples();

}  // namespace Bench
