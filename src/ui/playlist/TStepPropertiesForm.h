#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSlider;
class QTabWidget;

namespace Orbisong {

class PlayerEngine;

// "Item Properties" of one step of the player's list: its own title, where it starts and ends
// within its track, and its "On_ItemPlay" script.
class TStepPropertiesForm : public QDialog
{
    Q_OBJECT

public:
    // `serial` names the step in the engine's list.
    TStepPropertiesForm(PlayerEngine &engine, int serial, QWidget *parent = nullptr);

    int serial() const { return m_serial; }
    QTabWidget *pages() const { return m_pages; }
    QLineEdit *titleEdit() const { return m_title; }
    QSlider *startSlider() const { return m_start; }
    QSlider *endSlider() const { return m_end; }
    QLabel *startTime() const { return m_startTime; }
    QLabel *endTime() const { return m_endTime; }
    QPlainTextEdit *scriptEdit() const { return m_script; }

    // "OK": keeps the window open when the end lies before the start.
    void accept() override;

signals:
    // The step took the window's entries: the player redraws its list.
    void stepChanged();

private:
    QWidget *buildTitlePage();
    QWidget *buildPositionPage(int track, const QString &title, int length);
    QWidget *buildScriptPage();

    PlayerEngine &m_engine;
    int m_serial;
    QTabWidget *m_pages = nullptr;
    QLineEdit *m_title = nullptr;
    QSlider *m_start = nullptr;
    QSlider *m_end = nullptr;
    QLabel *m_startTime = nullptr;
    QLabel *m_endTime = nullptr;
    QPlainTextEdit *m_script = nullptr;
};

} // namespace Orbisong
