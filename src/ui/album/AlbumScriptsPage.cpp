#include "ui/album/AlbumScriptsPage.h"

#include "collection/AlbumDraft.h"
#include "ui/album/AlbumEditText.h"
#include "ui/script/ScriptEditor.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace Orbisong {

AlbumScriptsPage::AlbumScriptsPage(QWidget *parent) : AlbumPage(parent)
{
    m_event = new QComboBox(this);
    m_event->setObjectName(QStringLiteral("EventCombo"));
    m_event->addItems({QStringLiteral("On_AlbumInsert"), QStringLiteral("On_AlbumEject")});
    m_script = new ScriptEditor(this);
    m_script->setObjectName(QStringLiteral("ScriptEdit"));
    m_script->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_script->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_event);
    layout->addWidget(m_script, 1);
    connect(m_event, &QComboBox::currentIndexChanged, this, &AlbumScriptsPage::showEvent);
    connect(m_script, &QPlainTextEdit::textChanged, this, &AlbumScriptsPage::editScript);
}

void AlbumScriptsPage::load(const AlbumDraft &draft)
{
    for (int n = 1; n <= AlbumDraft::EventCount; ++n)
        m_scripts[std::size_t(n - 1)] = toEditorText(draft.eventText(n));
    showEvent(m_event->currentIndex());
}

void AlbumScriptsPage::save(AlbumDraft &draft)
{
    for (std::size_t i = 0; i < m_scripts.size(); ++i)
        draft.events[i] = fromEditorText(m_scripts[i]);
}

void AlbumScriptsPage::showEvent(int index)
{
    if (index < 0 || index >= int(m_scripts.size()))
        return;
    m_showing = true;
    m_script->setPlainText(m_scripts[std::size_t(index)]);
    m_showing = false;
}

void AlbumScriptsPage::editScript()
{
    const int index = m_event->currentIndex();
    if (m_showing || index < 0 || index >= int(m_scripts.size()))
        return;
    m_scripts[std::size_t(index)] = m_script->toPlainText();
    emit changed();
}

} // namespace Orbisong
