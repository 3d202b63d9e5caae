#include "ui/script/ScriptEditor.h"

#include "ui/script/ScriptHighlighter.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPaintEvent>
#include <QTextBlock>

namespace Orbisong {

namespace {

constexpr int MarginPadding = 6;

} // namespace

class ScriptEditor::LineNumbers : public QWidget
{
public:
    explicit LineNumbers(ScriptEditor *editor) : QWidget(editor), m_editor(editor) {}
    QSize sizeHint() const override { return {m_editor->lineNumberWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent *event) override { m_editor->paintLineNumbers(event); }

private:
    ScriptEditor *m_editor;
};

ScriptEditor::ScriptEditor(QWidget *parent)
    : QPlainTextEdit(parent), m_lineNumbers(new LineNumbers(this))
{
    new ScriptHighlighter(document());
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(font);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &ScriptEditor::updateMargin);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect &rect, int dy) {
        if (dy)
            m_lineNumbers->scroll(0, dy);
        else
            m_lineNumbers->update(0, rect.y(), m_lineNumbers->width(), rect.height());
    });
    // An edit makes the mark of the last run meaningless.
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_errorLine)
            markErrorLine(0);
    });
    updateMargin();
}

int ScriptEditor::lineNumberWidth() const
{
    const int digits = int(QString::number(qMax(1, blockCount())).size());
    return fontMetrics().horizontalAdvance(QLatin1Char('9')) * qMax(2, digits) + MarginPadding * 2;
}

void ScriptEditor::markErrorLine(int line)
{
    m_errorLine = line > 0 && line <= blockCount() ? line : 0;
    if (m_errorLine) {
        QTextCursor cursor(document()->findBlockByNumber(m_errorLine - 1));
        setTextCursor(cursor);
        ensureCursorVisible();
    }
    updateSelections();
    m_lineNumbers->update();
}

void ScriptEditor::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    m_lineNumbers->setGeometry(area.left(), area.top(), lineNumberWidth(), area.height());
}

void ScriptEditor::updateMargin()
{
    setViewportMargins(lineNumberWidth(), 0, 0, 0);
}

void ScriptEditor::updateSelections()
{
    QList<QTextEdit::ExtraSelection> selections;
    if (m_errorLine) {
        QTextEdit::ExtraSelection error;
        error.format.setBackground(QColor(0xFF, 0xC8, 0xC8));
        error.format.setProperty(QTextFormat::FullWidthSelection, true);
        error.cursor = QTextCursor(document()->findBlockByNumber(m_errorLine - 1));
        selections << error;
    }
    setExtraSelections(selections);
}

void ScriptEditor::paintLineNumbers(QPaintEvent *event)
{
    QPainter painter(m_lineNumbers);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int height = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible()) {
            const int number = block.blockNumber() + 1;
            if (number == m_errorLine) {
                painter.fillRect(0, top, m_lineNumbers->width(), height, QColor(0xD0, 0x30, 0x30));
                painter.setPen(Qt::white);
            } else {
                painter.setPen(palette().color(QPalette::PlaceholderText));
            }
            painter.drawText(0, top, m_lineNumbers->width() - MarginPadding, height,
                             Qt::AlignRight | Qt::AlignVCenter, QString::number(number));
        }
        top += qRound(blockBoundingRect(block).height());
        block = block.next();
    }
}

} // namespace Orbisong
