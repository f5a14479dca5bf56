#pragma once

// The pictures the benchmark reads, drawn the same way on every run so that numbers
// from different machines and days compare: screen text in DejaVu Sans with its true
// text beside it.

#include <QImage>
#include <QString>

#include <vector>

namespace Bench {

struct Sample {
    QString name;   // file name without extension
    QImage picture;
    QString truth;  // the drawn text, lines separated by "\n", columns one after the other
};

// light: 1000 × 300, 14 px text, dark on white; dark: the same text light on a dark
// ground; screen: 1920 × 1080, three columns of dense 14 px text; small: 1000 × 300 of
// 11 px text; region: 960 × 320 of 14 px text, a typical grab.
std::vector<Sample> makeSamples();

// Writes NAME.png and NAME.txt for each sample; false when a file cannot be written.
bool writeSamples(const QString& folder);

}  // namespace Bench
