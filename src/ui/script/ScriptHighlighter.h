#pragma once

#include <QSet>
#include <QSyntaxHighlighter>

namespace Orbisong {

// Colours the keywords, strings and remarks of scripts; brace remarks may span lines.
class ScriptHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit ScriptHighlighter(QTextDocument *document);

protected:
    void highlightBlock(const QString &text) override;

private:
    QSet<QString> m_keywords;
};

} // namespace Orbisong
