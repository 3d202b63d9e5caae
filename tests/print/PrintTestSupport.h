#pragma once

#include <QString>

#include <ostream>

// Failed comparisons of texts show the texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
