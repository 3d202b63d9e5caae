#include "export/TemplateNode.h"

namespace Orbisong {

namespace {

class Parser
{
public:
    explicit Parser(const QString &text) : m_text(text) {}

    // Reads nodes up to the end of the text or the "[&END" that closes the block.
    QList<TemplateNode> block()
    {
        QList<TemplateNode> nodes;
        QString text;
        const auto flush = [&] {
            if (!text.isEmpty())
                nodes.append({TemplateNode::Text, text, {}, TemplateNode::Html, {}});
            text.clear();
        };
        const qsizetype n = m_text.size();
        while (m_pos < n) {
            const qsizetype open = m_text.indexOf(QLatin1Char('['), m_pos);
            if (open < 0) {
                text.append(QStringView(m_text).mid(m_pos));
                m_pos = n;
                break;
            }
            text.append(QStringView(m_text).mid(m_pos, open - m_pos));
            m_pos = open;
            if (open + 1 >= n) {
                text.append(QLatin1Char('['));
                m_pos = n;
                break;
            }
            const QChar next = m_text.at(open + 1);
            if (next == QLatin1Char('[')) {
                text.append(QLatin1Char('['));
                m_pos = open + 2;
                continue;
            }
            if (QStringView(m_text).mid(open, 5).compare(QLatin1String("[&END"),
                                                         Qt::CaseInsensitive) == 0) {
                flush();
                m_pos = closeAfter(open);
                return nodes;
            }
            flush();
            const qsizetype close = m_text.indexOf(QLatin1Char(']'), open + 1);
            const qsizetype end = close < 0 ? n : close;
            const QString content = m_text.mid(open + 1, end - open - 1).trimmed();
            m_pos = close < 0 ? n : close + 1;
            nodes.append(next == QLatin1Char('&') ? command(content) : variable(content));
        }
        flush();
        return nodes;
    }

private:
    qsizetype closeAfter(qsizetype from) const
    {
        const qsizetype close = m_text.indexOf(QLatin1Char(']'), from);
        return close < 0 ? m_text.size() : close + 1;
    }

    TemplateNode command(const QString &content)
    {
        const QStringList words = content.simplified().split(QLatin1Char(' '));
        TemplateNode node;
        node.kind = TemplateNode::Command;
        node.command = words.value(0).toUpper();
        node.text = words.value(1);
        node.children = block();
        return node;
    }

    static TemplateNode variable(const QString &content)
    {
        TemplateNode node;
        node.kind = TemplateNode::Variable;
        QString name = content.mid(1).trimmed();
        if (name.endsWith(QLatin1Char('!'))) {
            node.encoding = TemplateNode::Form;
            name.chop(1);
        } else if (name.endsWith(QLatin1Char('~'))) {
            node.encoding = TemplateNode::Raw;
            name.chop(1);
        }
        node.text = name.trimmed().toUpper();
        return node;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

} // namespace

QList<TemplateNode> parseTemplate(const QString &text)
{
    // A stray "[&END" at the top ends the top-level block, as it ends any other.
    return Parser(text).block();
}

} // namespace Orbisong
