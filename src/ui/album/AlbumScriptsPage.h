#pragma once

#include "ui/album/AlbumPage.h"

#include <array>

class QComboBox;
class QPlainTextEdit;

namespace Orbisong {

// "Scripts": the album's two event scripts, one at a time; an empty one shows the template.
class AlbumScriptsPage : public AlbumPage
{
    Q_OBJECT

public:
    explicit AlbumScriptsPage(QWidget *parent = nullptr);

    void load(const AlbumDraft &draft) override;
    void save(AlbumDraft &draft) override;

private:
    void showEvent(int index);
    void editScript();

    std::array<QString, 2> m_scripts;
    bool m_showing = false;
    QComboBox *m_event = nullptr;
    QPlainTextEdit *m_script = nullptr;
};

} // namespace Orbisong
