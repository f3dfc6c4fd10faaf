#include "platform/report/PreviewWindow.h"

#include "platform/report/FontMap.h"
#include "platform/report/PagePainter.h"
#include "platform/report/ReportError.h"

#include <QAction>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv::report {

namespace {

constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 8.0;
constexpr int kPageMarginPx = 16; // grey border around the page

} // namespace

PreviewWindow::PreviewWindow(Document document, QWidget* parent) : QDialog(parent), m_document(std::move(document))
{
    FontMap::install();
    setWindowTitle(m_document.title.isEmpty() ? QStringLiteral("Pré-visualização") : m_document.title);
    // Resized through its frame: a size grip would stand over the corner of
    // the page's scroll bars.
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();
    layout->addWidget(m_toolBar);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("PreviewScroll"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new QLabel;
    m_view->setObjectName(QStringLiteral("PreviewPage"));
    m_view->setAlignment(Qt::AlignCenter);
    m_view->setMargin(kPageMarginPx);
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(false);
    layout->addWidget(m_scroll, 1);

    m_message = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };
    refresh();

    // A document viewer opens large, with its whole tool bar in sight (the
    // layout alone would give it the size of an empty page).
    if (const QScreen* shown = screen()) {
        const QSize room = shown->availableGeometry().size();
        resize(std::min(std::max(m_toolBar->sizeHint().width(), room.width() * 3 / 4), room.width()),
               room.height() * 9 / 10);
    }
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("PreviewToolBar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto add = [this](const QString& name, const QString& text, QStyle::StandardPixmap icon, auto slot) {
        QAction* action = m_toolBar->addAction(style()->standardIcon(icon), text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_pageActions.push_back(add(QStringLiteral("ActPrimeira"), QStringLiteral("Primeira"), QStyle::SP_MediaSkipBackward,
                                [this] { setCurrentPage(0); }));
    m_pageActions.push_back(add(QStringLiteral("ActAnterior"), QStringLiteral("Anterior"), QStyle::SP_MediaSeekBackward,
                                [this] { setCurrentPage(m_page - 1); }));
    m_pageLabel = new QLabel(m_toolBar);
    m_pageLabel->setObjectName(QStringLiteral("PreviewPageLabel"));
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    m_toolBar->addWidget(m_pageLabel);
    m_pageActions.push_back(add(QStringLiteral("ActSeguinte"), QStringLiteral("Seguinte"), QStyle::SP_MediaSeekForward,
                                [this] { setCurrentPage(m_page + 1); }));
    m_pageActions.push_back(add(QStringLiteral("ActUltima"), QStringLiteral("Última"), QStyle::SP_MediaSkipForward,
                                [this] { setCurrentPage(pageCount() - 1); }));
    m_toolBar->addSeparator();
    m_pageActions.push_back(add(QStringLiteral("ActDiminuir"), QStringLiteral("Diminuir"), QStyle::SP_ArrowDown,
                                [this] { setZoom(m_zoom / 1.25); }));
    m_zoomLabel = new QLabel(m_toolBar);
    m_zoomLabel->setObjectName(QStringLiteral("PreviewZoomLabel"));
    m_zoomLabel->setContentsMargins(8, 0, 8, 0);
    m_toolBar->addWidget(m_zoomLabel);
    m_pageActions.push_back(add(QStringLiteral("ActAumentar"), QStringLiteral("Aumentar"), QStyle::SP_ArrowUp,
                                [this] { setZoom(m_zoom * 1.25); }));
    m_pageActions.push_back(add(QStringLiteral("ActLargura"), QStringLiteral("Largura da página"),
                                QStyle::SP_TitleBarMaxButton, [this] { fitPageWidth(); }));
    m_pageActions.push_back(add(QStringLiteral("ActPaginaInteira"), QStringLiteral("Página inteira"),
                                QStyle::SP_TitleBarNormalButton, [this] { fitWholePage(); }));
    m_toolBar->addSeparator();
    m_pageActions.push_back(add(QStringLiteral("ActImprimir"), QStringLiteral("Imprimir"), QStyle::SP_DialogSaveButton,
                                [this] { askPrint(); }));

    m_exportMenu = new QMenu(QStringLiteral("Exportar"), this);
    m_exportMenu->setObjectName(QStringLiteral("PreviewExportMenu"));
    for (const ExportFormatInfo& info : exportFormats()) {
        QAction* action = m_exportMenu->addAction(info.label + QStringLiteral("..."));
        action->setObjectName(QStringLiteral("ActExportar_") + info.suffix);
        const ExportFormat format = info.format;
        connect(action, &QAction::triggered, this, [this, format] { askExport(format); });
    }
    auto* exportButton = new QToolButton(m_toolBar);
    exportButton->setObjectName(QStringLiteral("BotExportar"));
    exportButton->setText(QStringLiteral("Exportar"));
    exportButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    exportButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    exportButton->setPopupMode(QToolButton::InstantPopup);
    exportButton->setMenu(m_exportMenu);
    m_pageActions.push_back(m_toolBar->addWidget(exportButton));
    m_toolBar->addSeparator();
    add(QStringLiteral("ActFechar"), QStringLiteral("Fechar"), QStyle::SP_DialogCloseButton, [this] { reject(); });
}

int PreviewWindow::exec()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    return QDialog::exec();
}

void PreviewWindow::showPreview() { showMaximized(); }

void PreviewWindow::setCurrentPage(int page)
{
    if (pageCount() == 0)
        return;
    page = std::clamp(page, 0, pageCount() - 1);
    if (page == m_page)
        return;
    m_page = page;
    refresh();
    m_scroll->verticalScrollBar()->setValue(0);
}

void PreviewWindow::setZoom(double zoom)
{
    m_fit = Fit::None;
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    refresh();
}

void PreviewWindow::fitPageWidth()
{
    m_fit = Fit::Width;
    applyFit();
}

void PreviewWindow::fitWholePage()
{
    m_fit = Fit::Page;
    applyFit();
}

double PreviewWindow::screenDpi() const { return logicalDpiX(); }

void PreviewWindow::applyFit()
{
    if (m_fit != Fit::None && pageCount() > 0) {
        const QSizeF pageMm = m_document.pages[static_cast<std::size_t>(m_page)].setup.sizeMm();
        const QSize room = m_scroll->maximumViewportSize() - QSize(2 * kPageMarginPx, 2 * kPageMarginPx)
                           - QSize(m_scroll->verticalScrollBar()->sizeHint().width(), 0);
        const double widthZoom = room.width() / (pageMm.width() / 25.4 * screenDpi());
        const double heightZoom = room.height() / (pageMm.height() / 25.4 * screenDpi());
        m_zoom = std::clamp(m_fit == Fit::Width ? widthZoom : std::min(widthZoom, heightZoom), kMinZoom, kMaxZoom);
    }
    refresh();
}

QImage PreviewWindow::currentImage() const
{
    if (pageCount() == 0)
        return {};
    return PagePainter::image(m_document.pages[static_cast<std::size_t>(m_page)], m_zoom * screenDpi());
}

void PreviewWindow::refresh()
{
    const bool any = pageCount() > 0;
    for (QAction* action : m_pageActions)
        action->setEnabled(any);
    m_pageLabel->setText(any ? QStringLiteral("Página %1 de %2").arg(m_page + 1).arg(pageCount())
                             : QStringLiteral("Sem páginas"));
    m_zoomLabel->setText(QStringLiteral("%1 %").arg(qRound(m_zoom * 100)));
    if (!any) {
        m_view->setPixmap(QPixmap());
        m_view->setText(QStringLiteral("O relatório não tem páginas."));
    } else {
        m_view->setPixmap(QPixmap::fromImage(currentImage()));
    }
    m_view->adjustSize();
}

void PreviewWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (m_fit != Fit::None)
        applyFit();
}

void PreviewWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageDown: setCurrentPage(m_page + 1); return;
    case Qt::Key_PageUp: setCurrentPage(m_page - 1); return;
    case Qt::Key_Home: setCurrentPage(0); return;
    case Qt::Key_End: setCurrentPage(pageCount() - 1); return;
    case Qt::Key_Plus: setZoom(m_zoom * 1.25); return;
    case Qt::Key_Minus: setZoom(m_zoom / 1.25); return;
    default: QDialog::keyPressEvent(event);
    }
}

void PreviewWindow::showMessage(const QString& text)
{
    if (m_message)
        m_message(text);
}

void PreviewWindow::print(QPrinter& printer)
{
    if (pageCount() == 0)
        return;
    int from = 0;
    int to = pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::clamp(printer.fromPage() - 1, 0, pageCount() - 1);
        to = std::clamp(printer.toPage() > 0 ? printer.toPage() - 1 : to, from, pageCount() - 1);
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        from = to = m_page;
    }
    printer.setFullPage(true);
    printer.setDocName(m_document.title);
    QPainter painter;
    for (int i = from; i <= to; ++i) {
        const RenderedPage& page = m_document.pages[static_cast<std::size_t>(i)];
        printer.setPageLayout(page.setup.layout());
        if (i == from) {
            if (!painter.begin(&printer))
                throw ReportError(
                    QStringLiteral("Não foi possível abrir a impressora \"%1\".").arg(printer.printerName()));
        } else {
            printer.newPage();
        }
        PagePainter::paint(painter, page);
    }
    painter.end();
}

void PreviewWindow::askPrint()
{
    QPrinter printer(QPrinter::HighResolution);
    if (pageCount() > 0)
        printer.setPageLayout(m_document.pages.front().setup.layout());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimir"));
    dialog.setMinMax(1, pageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        print(printer);
    } catch (const ReportError& error) {
        showMessage(error.text());
    }
}

void PreviewWindow::exportTo(ExportFormat format, const QString& path) { exportDocument(m_document, format, path); }

void PreviewWindow::askExport(ExportFormat format)
{
    const ExportFormatInfo& info = exportFormatInfo(format);
    QString suggested = m_document.title.isEmpty() ? QStringLiteral("relatorio") : m_document.title;
    suggested.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Exportar"), suggested + u'.' + info.suffix,
                                                      QStringLiteral("%1 (*.%2)").arg(info.label, info.suffix));
    if (path.isEmpty())
        return;
    try {
        exportTo(format, path);
    } catch (const ReportError& error) {
        showMessage(error.text());
    }
}

} // namespace kv::report
