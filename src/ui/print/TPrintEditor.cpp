#include "ui/print/TPrintEditor.h"

#include "base/MessageIds.h"
#include "base/MessageText.h"
#include "base/QuestionPort.h"
#include "ui/print/PrintPageView.h"
#include "ui/print/PrintRuler.h"
#include "ui/print/TPrintBlockProperties.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>

namespace Orbisong {

namespace {

PrintTemplate blankTemplate(const QRectF &printable)
{
    PrintTemplate tpl;
    tpl.flags = PrintTemplate::HasHeader | PrintTemplate::HasFooter;
    tpl.headerRect = QRectF(printable.left(), printable.top(), printable.width(), 1);
    tpl.footerRect = QRectF(printable.left(), printable.bottom() - 1, printable.width(), 1);
    return tpl;
}

} // namespace

TPrintEditor::TPrintEditor(QuestionPort *questions, QWidget *parent)
    : QMainWindow(parent), m_questions(questions),
      m_runProperties(
          [](TPrintBlockProperties &dialog) { return dialog.exec() == QDialog::Accepted; })
{
    setWindowTitle(tr("Edit Print Template"));
    m_page = new PrintPageView(m_template, this);
    m_page->setObjectName(QStringLiteral("Paper"));
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_page);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_horizontal = new PrintRuler(Qt::Horizontal, this);
    m_vertical = new PrintRuler(Qt::Vertical, this);
    auto *central = new QWidget(this);
    auto *grid = new QGridLayout(central);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_horizontal, 0, 1);
    grid->addWidget(m_vertical, 1, 0);
    grid->addWidget(m_scroll, 1, 1);
    setCentralWidget(central);
    m_position = new QLabel(this);
    statusBar()->addWidget(m_position, 1);
    buildToolBar();

    connect(m_page, &PrintPageView::changed, this, &TPrintEditor::markChanged);
    connect(m_page, &PrintPageView::selectionChanged, this, &TPrintEditor::syncTools);
    connect(m_page, &PrintPageView::propertiesRequested, this, &TPrintEditor::editProperties);
    connect(m_page, &PrintPageView::pointerMoved, this, [this](const QPointF &at) {
        m_position->setText(tr("%1\", %2\"").arg(at.x(), 0, 'f', 2).arg(at.y(), 0, 'f', 2));
    });
    for (QScrollBar *bar : {m_scroll->horizontalScrollBar(), m_scroll->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, &TPrintEditor::updateRulers);
    resize(760, 620);
    newTemplate({});
}

QAction *TPrintEditor::addTool(const QString &name, const QString &text, bool checkable)
{
    auto *action = new QAction(text, this);
    action->setObjectName(name);
    action->setCheckable(checkable);
    action->setToolTip(text);
    return action;
}

void TPrintEditor::buildToolBar()
{
    QToolBar *bar = addToolBar(tr("Tools"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto *tools = new QActionGroup(this);
    QAction *arrow = addTool(QStringLiteral("ArrowTool"), tr("Select and resize blocks"), true);
    QAction *area = addTool(QStringLiteral("AreaTool"), tr("Create body block"), true);
    arrow->setText(tr("Select"));
    area->setText(tr("Area"));
    tools->addAction(arrow);
    tools->addAction(area);
    arrow->setChecked(true);
    connect(arrow, &QAction::triggered, this,
            [this] { m_page->setTool(PrintPageView::ArrowTool); });
    connect(area, &QAction::triggered, this, [this] { m_page->setTool(PrintPageView::AreaTool); });
    QAction *header = addTool(QStringLiteral("HeaderTool"), tr("Show header"), true);
    QAction *footer = addTool(QStringLiteral("FooterTool"), tr("Show footer"), true);
    header->setText(tr("Header"));
    footer->setText(tr("Footer"));
    connect(header, &QAction::toggled, this,
            [this](bool on) { setFlag(PrintTemplate::HasHeader, on); });
    connect(footer, &QAction::toggled, this,
            [this](bool on) { setFlag(PrintTemplate::HasFooter, on); });
    QAction *printer = addTool(QStringLiteral("PrintTool"), tr("Printer setup"), false);
    printer->setText(tr("Printer"));
    connect(printer, &QAction::triggered, this, [this] {
        QPrinter device;
        QPageSetupDialog dialog(&device, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        const QPageLayout layout = device.pageLayout();
        m_page->setPaper(layout.fullRect(QPageLayout::Inch).size(),
                         layout.paintRect(QPageLayout::Inch));
        updateRulers();
    });
    QAction *save = addTool(QStringLiteral("SaveTool"), tr("Save changes"), false);
    save->setText(tr("Save"));
    connect(save, &QAction::triggered, this, &TPrintEditor::save);
    QAction *properties = addTool(QStringLiteral("PropertiesTool"), tr("Block properties"), false);
    properties->setText(tr("Properties"));
    connect(properties, &QAction::triggered, this, &TPrintEditor::editProperties);
    auto *flow = new QActionGroup(this);
    QAction *rows = addTool(QStringLiteral("RowColTool"), tr("Flow right then down"), true);
    QAction *columns = addTool(QStringLiteral("ColRowTool"), tr("Flow down then right"), true);
    rows->setText(tr("Rows"));
    columns->setText(tr("Columns"));
    flow->addAction(rows);
    flow->addAction(columns);
    connect(rows, &QAction::triggered, this, [this] { setFlag(PrintTemplate::RowsFirst, true); });
    connect(columns, &QAction::triggered, this,
            [this] { setFlag(PrintTemplate::RowsFirst, false); });
    QAction *single =
        addTool(QStringLiteral("SingleAlbumTool"), tr("Print one CD per body block"), true);
    single->setText(tr("One CD"));
    connect(single, &QAction::triggered, this,
            [this](bool on) { setFlag(PrintTemplate::SingleAlbum, on); });
    QAction *remove = addTool(QStringLiteral("DeleteTool"), tr("Delete block"), false);
    remove->setText(tr("Delete"));
    connect(remove, &QAction::triggered, m_page, &PrintPageView::deleteSelected);

    for (QAction *a :
         {arrow, area, header, footer, printer, save, properties, rows, columns, single, remove})
        bar->addAction(a);
    m_zoom = new QComboBox(bar);
    m_zoom->setObjectName(QStringLiteral("Zoom"));
    for (int percent : {25, 50, 100, 200, 400})
        m_zoom->addItem(QStringLiteral("%1%").arg(percent), percent / 100.0);
    m_zoom->setCurrentIndex(1);
    bar->addWidget(m_zoom);
    connect(m_zoom, &QComboBox::currentIndexChanged, this, [this] {
        m_page->setZoom(m_zoom->currentData().toDouble());
        updateRulers();
    });
}

QAction *TPrintEditor::tool(const QString &name) const
{
    return findChild<QAction *>(name);
}

void TPrintEditor::newTemplate(const QString &path)
{
    m_path = path;
    m_template = blankTemplate(m_page->printable());
    m_page->select(PrintPageView::NoBlock);
    m_page->setZoom(m_zoom->currentData().toDouble());
    m_modified = false;
    syncTools();
    updateRulers();
}

bool TPrintEditor::load(const QString &path)
{
    PrintTemplate loaded;
    if (!readPrintTemplate(path, loaded))
        return false;
    // Only the heights of header and footer are kept; their place follows the paper.
    const double header = loaded.headerRect.height() > 0 ? loaded.headerRect.height() : 1;
    const double footer = loaded.footerRect.height() > 0 ? loaded.footerRect.height() : 1;
    loaded.headerRect = QRectF(0, 0, 0, header);
    loaded.footerRect = QRectF(0, 0, 0, footer);
    m_template = loaded;
    m_path = path;
    m_page->select(PrintPageView::NoBlock);
    m_page->normalize();
    m_modified = false;
    syncTools();
    updateRulers();
    return true;
}

bool TPrintEditor::save()
{
    if (m_path.isEmpty() || !writePrintTemplate(m_path, m_template))
        return false;
    m_modified = false;
    syncTools();
    emit saved(m_path);
    return true;
}

void TPrintEditor::setPropertiesRunner(std::function<bool(TPrintBlockProperties &)> runner)
{
    m_runProperties = std::move(runner);
}

void TPrintEditor::editProperties()
{
    const int block = m_page->selected();
    if (block == PrintPageView::NoBlock)
        return;
    QString &contents = block == PrintPageView::HeaderBlock   ? m_template.header
                        : block == PrintPageView::FooterBlock ? m_template.footer
                                                              : m_template.area;
    TPrintBlockProperties dialog(m_page->blockRect(block), contents, block >= 0, m_customFields,
                                 this);
    if (!m_runProperties(dialog))
        return;
    contents = dialog.contents();
    const QRectF rect = dialog.rect();
    if (block == PrintPageView::HeaderBlock)
        m_template.headerRect.setHeight(rect.height());
    else if (block == PrintPageView::FooterBlock)
        m_template.footerRect.setHeight(rect.height());
    else
        m_template.areas[block] = rect;
    m_page->normalize();
    markChanged();
}

void TPrintEditor::setFlag(int flag, bool on)
{
    const int flags = on ? (m_template.flags | flag) : (m_template.flags & ~flag);
    if (flags == m_template.flags)
        return;
    m_template.flags = flags;
    if (!m_template.has(PrintTemplate::HasHeader) &&
        m_page->selected() == PrintPageView::HeaderBlock)
        m_page->select(PrintPageView::NoBlock);
    if (!m_template.has(PrintTemplate::HasFooter) &&
        m_page->selected() == PrintPageView::FooterBlock)
        m_page->select(PrintPageView::NoBlock);
    m_page->normalize();
    markChanged();
}

void TPrintEditor::markChanged()
{
    m_modified = true;
    syncTools();
    m_page->update();
}

void TPrintEditor::syncTools()
{
    const auto set = [this](const char *name, bool checked) {
        QAction *a = tool(QLatin1String(name));
        const QSignalBlocker block(a);
        a->setChecked(checked);
    };
    set("HeaderTool", m_template.has(PrintTemplate::HasHeader));
    set("FooterTool", m_template.has(PrintTemplate::HasFooter));
    set("RowColTool", m_template.has(PrintTemplate::RowsFirst));
    set("ColRowTool", !m_template.has(PrintTemplate::RowsFirst));
    set("SingleAlbumTool", m_template.has(PrintTemplate::SingleAlbum));
    tool(QStringLiteral("SaveTool"))->setEnabled(m_modified);
    tool(QStringLiteral("DeleteTool"))->setEnabled(m_page->selected() >= 0);
    tool(QStringLiteral("PropertiesTool"))
        ->setEnabled(m_page->selected() != PrintPageView::NoBlock);
}

void TPrintEditor::updateRulers()
{
    const QPoint origin = m_page->mapTo(m_scroll->viewport(), QPoint(16, 16));
    const int left =
        m_scroll->viewport()->mapTo(this, QPoint()).x() - m_horizontal->mapTo(this, QPoint()).x();
    const int top =
        m_scroll->viewport()->mapTo(this, QPoint()).y() - m_vertical->mapTo(this, QPoint()).y();
    m_horizontal->setScale(m_page->scale(), origin.x() + left);
    m_vertical->setScale(m_page->scale(), origin.y() + top);
}

void TPrintEditor::closeEvent(QCloseEvent *event)
{
    if (m_modified) {
        const int answer = askOrDefault(m_questions, Msg::TemplateModified);
        if (answer == ResultCancel || (answer == ResultYes && !save())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

} // namespace Orbisong
