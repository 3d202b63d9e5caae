#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Orbisong {

class QuestionPort;

// Edits the title and address of one web link, and whether it goes to every album by the
// artist. "Get Current Site" asks the browser for the page it shows.
class TWeblinkForm : public QDialog
{
    Q_OBJECT

public:
    // Fills `address` and `title` with the browser's page; false when it cannot tell.
    using PageAsker = std::function<bool(QString *address, QString *title)>;

    TWeblinkForm(const QString &caption, const QString &explanation, QWidget *parent = nullptr);

    void setPageAsker(PageAsker asker) { m_asker = std::move(asker); }
    // Where "the browser cannot be asked" is shown.
    void setQuestionPort(QuestionPort *questions) { m_questions = questions; }
    void setLink(const QString &title, const QString &address);
    void setAllArtistEnabled(bool enabled);
    void setAllArtist(bool on);

    // What the user accepted: trimmed, the address with a scheme.
    QString title() const;
    QString address() const;
    bool allArtist() const;

    // "Get Current Site".
    void getCurrentSite();
    // An address without ":/" gets "http://" in front; an empty one stays empty.
    static QString completeAddress(const QString &address);

    QLineEdit *titleEdit() const { return m_title; }
    QLineEdit *urlEdit() const { return m_url; }

private:
    QLabel *m_explanation = nullptr;
    QLineEdit *m_title = nullptr;
    QLineEdit *m_url = nullptr;
    QCheckBox *m_allArtist = nullptr;
    QPushButton *m_getUrl = nullptr;
    PageAsker m_asker;
    QuestionPort *m_questions = nullptr;
};

} // namespace Orbisong
