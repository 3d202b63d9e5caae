#include "PrintTestSupport.h"
#include "ScriptedQuestionPort.h"
#include "TestHome.h"

#include "base/MessageIds.h"
#include "base/MessageText.h"
#include "ui/print/PrintPageView.h"
#include "ui/print/TPrintBlockProperties.h"
#include "ui/print/TPrintEditor.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

void grab(QWidget *w, const QString &name)
{
    const QString out = QDir(TestHome::binaryDir()).filePath(QStringLiteral("screenshots"));
    QDir().mkpath(out);
    EXPECT_TRUE(w->grab().save(out + QLatin1Char('/') + name));
}

// A point of the paper at 50%: 48 pixels an inch beyond a 16-pixel margin.
QPoint at(double x, double y)
{
    return QPoint(int(16 + x * 48), int(16 + y * 48));
}

QString shipped(const QString &name)
{
    return TestHome::sourceDir() + QStringLiteral("/data/templates/") + name;
}

} // namespace

TEST(PrintEditor, DrawsAreasAndSavesTheTemplate)
{
    TestHome home;
    ScriptedQuestionPort questions;
    TPrintEditor editor(&questions);
    editor.show();
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Edit Print Template"));
    EXPECT_EQ(editor.zoomBox()->currentText(), QStringLiteral("50%"));
    const PrintTemplate &tpl = editor.printTemplate();
    EXPECT_EQ(tpl.headerRect, QRectF(0.25, 0.25, 8, 1));
    EXPECT_EQ(tpl.footerRect, QRectF(0.25, 9.75, 8, 1));
    EXPECT_FALSE(editor.tool(QStringLiteral("SaveTool"))->isEnabled());

    // Two areas drawn with the area tool; the flow puts the right one second.
    editor.tool(QStringLiteral("AreaTool"))->trigger();
    PrintPageView *page = editor.page();
    for (const auto &[from, to] :
         {std::pair{at(4.5, 2), at(8, 5)}, std::pair{at(0.5, 2), at(4, 5)}}) {
        QTest::mousePress(page, Qt::LeftButton, {}, from);
        QTest::mouseMove(page, to);
        QTest::mouseRelease(page, Qt::LeftButton, {}, to);
    }
    ASSERT_EQ(tpl.areas.size(), 2);
    EXPECT_EQ(tpl.areas[0], QRectF(0.5, 2, 3.5, 3));
    EXPECT_EQ(tpl.areas[1], QRectF(4.5, 2, 3.5, 3));
    EXPECT_TRUE(editor.tool(QStringLiteral("SaveTool"))->isEnabled());

    // The arrow tool moves an area and drags the header's lower edge.
    editor.tool(QStringLiteral("ArrowTool"))->trigger();
    QTest::mousePress(page, Qt::LeftButton, {}, at(1, 3));
    QTest::mouseMove(page, at(1, 4));
    QTest::mouseRelease(page, Qt::LeftButton, {}, at(1, 4));
    EXPECT_EQ(tpl.areas[0], QRectF(0.5, 3, 3.5, 3));
    QTest::mousePress(page, Qt::LeftButton, {}, at(4, 1.25));
    QTest::mouseMove(page, at(4, 1.75));
    QTest::mouseRelease(page, Qt::LeftButton, {}, at(4, 1.75));
    EXPECT_DOUBLE_EQ(tpl.headerRect.height(), 1.5);

    // Rows first, and the second area deleted.
    editor.tool(QStringLiteral("RowColTool"))->trigger();
    EXPECT_TRUE(tpl.has(PrintTemplate::RowsFirst));
    QTest::mouseClick(page, Qt::LeftButton, {}, at(6, 3));
    editor.tool(QStringLiteral("DeleteTool"))->trigger();
    ASSERT_EQ(tpl.areas.size(), 1);

    const QString path = home.file(QStringLiteral("templates/mine.obt"));
    editor.setSavePath(path);
    ASSERT_TRUE(editor.save());
    EXPECT_FALSE(editor.tool(QStringLiteral("SaveTool"))->isEnabled());
    PrintTemplate back;
    ASSERT_TRUE(readPrintTemplate(path, back));
    EXPECT_EQ(back.flags, tpl.flags);
    EXPECT_EQ(back.areas, tpl.areas);
    EXPECT_TRUE(editor.close());
    EXPECT_TRUE(questions.asked().isEmpty());
}

TEST(PrintEditor, AsksBeforeClosingWithChanges)
{
    TestHome home;
    ScriptedQuestionPort questions;
    TPrintEditor editor(&questions);
    ASSERT_TRUE(editor.load(shipped(QStringLiteral("catalogue.obt"))));
    editor.show();
    EXPECT_EQ(editor.printTemplate().areas.size(), 2);
    EXPECT_TRUE(editor.tool(QStringLiteral("ColRowTool"))->isChecked());
    EXPECT_TRUE(editor.tool(QStringLiteral("HeaderTool"))->isChecked());
    grab(&editor, QStringLiteral("print-editor.png"));

    editor.tool(QStringLiteral("SingleAlbumTool"))->trigger();
    questions.answer(ResultCancel);
    EXPECT_FALSE(editor.close());
    questions.answer(ResultNo);
    EXPECT_TRUE(editor.close());
    ASSERT_EQ(questions.asked().size(), 2);
    EXPECT_EQ(questions.asked()[0].id, Msg::TemplateModified);
}

TEST(PrintEditor, BlockPropertiesEditTheContents)
{
    TestHome home;
    ScriptedQuestionPort questions;
    TPrintEditor editor(&questions);
    editor.show();
    QTest::mouseClick(editor.page(), Qt::LeftButton, {}, at(4, 0.5));
    ASSERT_EQ(editor.page()->selected(), PrintPageView::HeaderBlock);
    editor.setPropertiesRunner([](TPrintBlockProperties &dialog) {
        dialog.show();
        // Header and footer keep their place; only the height is theirs to change.
        EXPECT_FALSE(dialog.findChild<QLineEdit *>(QStringLiteral("LeftEdit"))->isEnabled());
        dialog.findChild<QLineEdit *>(QStringLiteral("HeightEdit"))
            ->setText(QStringLiteral("0.75"));
        dialog.editor()->setPlainText(QStringLiteral("Page "));
        dialog.editor()->moveCursor(QTextCursor::End);
        const QList<QAction *> actions = dialog.insertMenu()->actions();
        const auto page = std::find_if(actions.begin(), actions.end(), [](QAction *a) {
            return a->text() == QStringLiteral("Page");
        });
        EXPECT_NE(page, actions.end());
        (*page)->trigger();
        dialog.editor()->selectAll();
        dialog.findChild<QToolButton *>(QStringLiteral("Bold"))->click();
        dialog.findChild<QToolButton *>(QStringLiteral("AlignCenter"))->click();
        grab(&dialog, QStringLiteral("print-block-properties.png"));
        return true;
    });
    editor.tool(QStringLiteral("PropertiesTool"))->trigger();
    const PrintTemplate &tpl = editor.printTemplate();
    EXPECT_DOUBLE_EQ(tpl.headerRect.height(), 0.75);
    EXPECT_TRUE(tpl.header.contains(QStringLiteral("\\qc")));
    EXPECT_TRUE(tpl.header.contains(QStringLiteral("\\b Page [%page]")));
    EXPECT_TRUE(editor.isModified());
}
