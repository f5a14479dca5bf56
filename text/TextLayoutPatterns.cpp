#include "text/TextLayoutSteps.h"

#include <QRegularExpression>

namespace ZantrelText::LayoutSteps {

namespace {

// Compiled once per thread: layouts are built on the reader's worker threads, and a
// QRegularExpression is only reentrant.
const QRegularExpression& codePattern()
{
    thread_local const QRegularExpression pattern(
        QStringLiteral(R"([;{}]\s*$|^\s*(\/\/|#!|\$ |>>> )|^\s*(func|let|var|const|def|return|import|)"
                       R"(class|struct|if|for|while|public|private|fn)\b.*[(=:{]|=>|->|==|!=)"),
        QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

const QRegularExpression& listPattern()
{
    thread_local const QRegularExpression pattern(
        QStringLiteral(R"(^\s*([\x{2022}\x{25E6}\x{25AA}\x{2023}\x{00B7}*+\-\x{2013}\x{2014}])"
                       R"(|\d{1,3}[.)]|[a-zA-Z][.)])\s+\S)"),
        QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

}  // namespace

bool isCodeLine(QStringView rowText)
{
    return codePattern().match(rowText).hasMatch();
}

bool isListLine(QStringView rowText)
{
    return listPattern().match(rowText).hasMatch();
}

}  // namespace ZantrelText::LayoutSteps
