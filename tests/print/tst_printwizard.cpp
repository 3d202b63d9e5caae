#include "PrintTestSupport.h"
#include "ScriptedQuestionPort.h"
#include "TestFiles.h"
#include "TestHome.h"

#include "base/MessageIds.h"
#include "collection/Collection.h"
#include "collection/Settings.h"
#include "ui/collection/AlbumListModel.h"
#include "ui/print/PrintAlbumDropList.h"
#include "ui/print/TPrintWizard.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

class PrintWizard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString path = m_home.file(QStringLiteral("demo.obc"));
        ASSERT_TRUE(QFile::copy(
            TestHome::sourceDir() + QStringLiteral("/tests/data/collection/browse.obc"), path));
        m_settings = Settings::defaults(m_home.path(), QStringLiteral("ann"), QString());
        m_collection = std::make_unique<Collection>(m_settings, path);
        m_collection->BuildAlbumIndex();
    }

    std::unique_ptr<TPrintWizard> wizard(const TPrintWizard::CollectionView &view = {})
    {
        auto w = std::make_unique<TPrintWizard>(*m_collection, &m_questions, view);
        w->setPrinterChooser([this](QPrinter &printer, QWidget *) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(m_pdf);
            return true;
        });
        w->show();
        return w;
    }

    static void grab(QWidget *w, const QString &name)
    {
        const QString out = QDir(TestHome::binaryDir()).filePath(QStringLiteral("screenshots"));
        QDir().mkpath(out);
        EXPECT_TRUE(w->grab().save(out + QLatin1Char('/') + name));
    }

    static QString pdfText(const QString &pdf)
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    static QStringList listed(QListWidget *list)
    {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts.append(list->item(row)->text());
        return texts;
    }

    TestHome m_home;
    Settings m_settings;
    std::unique_ptr<Collection> m_collection;
    ScriptedQuestionPort m_questions;
    QString m_pdf = m_home.file(QStringLiteral("out.pdf"));
};

} // namespace

TEST_F(PrintWizard, ChoosesATemplateAndPrintsTheSelectedGroup)
{
    // The user's own template joins the shipped ones; export templates are not offered.
    writeFile(m_home.file(QStringLiteral("templates/mine.obt")), "PRINT\n0\n\n\nx\n");
    writeFile(m_home.file(QStringLiteral("templates/pages.obt")), "EXPORT\n");
    TPrintWizard::CollectionView view;
    view.displayedIds = {QStringLiteral("1000000000001"), QStringLiteral("2000000000002")};
    view.groupWord = QStringLiteral("artist");
    view.groupValue = QStringLiteral("The Beatles");
    view.groupIds = {QStringLiteral("1000000000001")};
    auto w = wizard(view);
    EXPECT_EQ(listed(w->templateList()), (QStringList{"catalogue", "cd-insert", "mine"}));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Print - Step 1 of 3"));
    grab(w.get(), QStringLiteral("print-wizard-template.png"));

    // Without a template the wizard stays where it is.
    w->templateList()->setCurrentRow(-1);
    w->nextButton()->click();
    ASSERT_EQ(m_questions.asked().size(), 1);
    EXPECT_EQ(m_questions.asked()[0].id, Msg::TemplateNameInvalid);
    EXPECT_EQ(w->currentPane(), w->panes().first());

    w->templateList()->setCurrentRow(0);
    w->nextButton()->click();
    EXPECT_EQ(w->currentPane(), w->panes()[1]);
    EXPECT_TRUE(w->groupButton()->isEnabled());
    EXPECT_EQ(w->groupButton()->text(),
              QStringLiteral("Print a&lbums with artist \"The Beatles\""));
    w->groupButton()->setChecked(true);
    grab(w.get(), QStringLiteral("print-wizard-albums.png"));
    w->nextButton()->click();
    grab(w.get(), QStringLiteral("print-wizard-confirm.png"));
    w->finishButton()->click();

    EXPECT_EQ(w->printedPages(), 1);
    const QString text = pdfText(m_pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Abbey Road")));
    EXPECT_FALSE(text.contains(QStringLiteral("Main Course")));
}

TEST_F(PrintWizard, PrintsAlbumsDroppedFromTheCollectionWindow)
{
    auto w = wizard();
    EXPECT_FALSE(w->groupButton()->isEnabled());
    EXPECT_FALSE(w->displayedButton()->isEnabled());
    EXPECT_EQ(w->groupButton()->text(), QStringLiteral("Print a&lbums with artist \"(None)\""));

    // The CD insert puts two albums on a page.
    w->templateList()->setCurrentRow(1);
    w->nextButton()->click();

    // Two drops, one album twice and one unknown ID: each known album once.
    for (const QByteArray &ids :
         {QByteArray("2000000000002\nFFFF"), QByteArray("2000000000002\n1000000000001")}) {
        QMimeData data;
        data.setData(AlbumListModel::mimeType(), ids);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w->albumList()->viewport(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w->albumList()->viewport(), &drop);
    }
    EXPECT_TRUE(w->theseButton()->isChecked());
    EXPECT_EQ(w->albumList()->albumIds(), (QStringList{"2000000000002", "1000000000001"}));
    EXPECT_EQ(listed(w->albumList()).value(0), QStringLiteral("BEE GEES - Main Course"));
    EXPECT_EQ(w->chosenIds(), w->albumList()->albumIds());

    w->nextButton()->click();
    w->finishButton()->click();
    EXPECT_EQ(w->printedPages(), 1);
    EXPECT_TRUE(QFileInfo::exists(m_pdf));
    EXPECT_TRUE(m_questions.asked().isEmpty());
}
