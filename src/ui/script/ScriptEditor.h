#pragma once

#include <QPlainTextEdit>

namespace Orbisong {

// The editor of event scripts: highlighted keywords, strings and remarks, line numbers in a
// margin, and the line of the last failed run marked until the text changes.
class ScriptEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit ScriptEditor(QWidget *parent = nullptr);

    // Line 1 is the first; 0 removes the mark.
    void markErrorLine(int line);
    int errorLine() const { return m_errorLine; }
    int lineNumberWidth() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    class LineNumbers;
    void paintLineNumbers(QPaintEvent *event);
    void updateMargin();
    void updateSelections();

    LineNumbers *m_lineNumbers;
    int m_errorLine = 0;
};

} // namespace Orbisong
