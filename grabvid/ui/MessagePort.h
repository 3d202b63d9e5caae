#pragma once

#include <QString>

class QWidget;

namespace Orbisong {

// Where the capture program's message boxes go: real boxes in the program, a recorder in
// tests.
class MessagePort
{
public:
    enum Icon { Information, Warning, Error };

    virtual ~MessagePort() = default;
    virtual void show(Icon icon, const QString &title, const QString &text) = 0;
};

// Modal message boxes over a parent window.
class BoxMessagePort : public MessagePort
{
public:
    explicit BoxMessagePort(QWidget *parent) : m_parent(parent) {}
    void show(Icon icon, const QString &title, const QString &text) override;

private:
    QWidget *m_parent;
};

} // namespace Orbisong
