#pragma once

#include <QTreeView>

class QMenu;

namespace Orbisong {

class QuestionPort;
class ResultListModel;

// A list of search results or ranked items with the menu "Information" and "P&roperties";
// double-click or Enter opens the album's properties.
class ResultListView : public QTreeView
{
    Q_OBJECT

public:
    ResultListView(ResultListModel *model, QuestionPort *questions, QWidget *parent = nullptr);

    ResultListModel *resultModel() const { return m_model; }
    QMenu *menu() const { return m_menu; }
    // "Information" on a row: its album, artist and track in a notice.
    void showInformation(int row);
    void requestProperties(int row);

signals:
    void propertiesRequested(const QString &albumId);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    ResultListModel *m_model;
    QuestionPort *m_questions;
    QMenu *m_menu;
};

} // namespace Orbisong
