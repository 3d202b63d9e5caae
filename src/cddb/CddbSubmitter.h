#pragma once

#include "cddb/SubmitJob.h"

#include <QString>

#include <functional>

namespace Orbisong {

class Collection;
class QuestionPort;
struct Settings;

// Turns an album of the collection into a submission: reads and checks the album, lets the
// user replace a category the database does not know, checks the settings the chosen method
// needs, and says why when nothing can be sent.
class CddbSubmitter
{
public:
    // Offers the categories for `*category` (not one of the database's); false cancels.
    using CategoryChooser = std::function<bool(QString *category)>;

    CddbSubmitter(Collection &collection, Settings &settings, QuestionPort *questions);

    void setCategoryChooser(CategoryChooser chooser) { m_chooser = std::move(chooser); }
    // Sends by HTTP to `url` whatever the settings say.
    void setHttpUrl(const QString &url) { m_httpUrl = url; }
    // The year in the entry's copyright line.
    void setYear(int year) { m_year = year; }

    // False when nothing is to be sent; the reason was shown through the question port,
    // except for an album the collection does not hold and a cancelled category choice.
    bool prepare(const QString &albumId, SubmitJob *job);

    // The trimmed category when it is one of the database's, in lower case; else empty.
    static QString validCategory(const QString &category);
    // Trims the address (and stores it back) and checks it: 0 or the message to show.
    static int checkAddress(Settings &settings);

private:
    Collection &m_collection;
    Settings &m_settings;
    QuestionPort *m_questions;
    CategoryChooser m_chooser;
    QString m_httpUrl;
    int m_year = 0;
};

} // namespace Orbisong
